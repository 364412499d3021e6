// Message keys with their English texts, the built-in translator, the
// process-wide translation functions, and the small enumerations and
// constant tables shared by the data types, fields and rows.
//
// Texts shown to a user are message keys translated at the moment of use.
// A text may hold placeholders: "<$>" takes the next argument, "<$n>" the
// n-th (from 1).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "dataframework/types/TranslatorInterfaces.h"

namespace dataframework {

// Message keys: E_ errors, I_ information, Q_ questions.
inline constexpr const char* E_ValueInvalidType = "E_ValueInvalidType";
inline constexpr const char* E_ValueInvalidDate = "E_ValueInvalidDate";
inline constexpr const char* E_ValueInvalidTime = "E_ValueInvalidTime";
inline constexpr const char* E_ValueInvalidInteger = "E_ValueInvalidInteger";
inline constexpr const char* E_ValueInvalidNumber = "E_ValueInvalidNumber";
inline constexpr const char* E_ValueInvalidPercent = "E_ValueInvalidPercent";
inline constexpr const char* E_ValueInvalidCurrency = "E_ValueInvalidCurrency";
inline constexpr const char* E_CouldntSetValue = "E_CouldntSetValue";
inline constexpr const char* E_RestoringOldValue = "E_RestoringOldValue";
inline constexpr const char* E_RestoreOldValue = "E_RestoreOldValue";
inline constexpr const char* E_IndexOutOfBounds = "E_IndexOutOfBounds";
inline constexpr const char* E_InvalidParameter = "E_InvalidParameter";
inline constexpr const char* E_InvalidValue = "E_InvalidValue";
inline constexpr const char* E_ErrorOccuredWhileFreeing = "E_ErrorOccuredWhileFreeing";
inline constexpr const char* E_FieldReadOnly = "E_FieldReadOnly";
inline constexpr const char* E_NegativeIndex = "E_NegativeIndex";
inline constexpr const char* E_NoSuchType = "E_NoSuchType";
inline constexpr const char* E_OnlyTDataRowCanHaveCombo = "E_OnlyTDataRowCanHaveCombo";
inline constexpr const char* E_OnlyTKeyFieldCanHaveCombo = "E_OnlyTKeyFieldCanHaveCombo";
inline constexpr const char* E_ThisIsA = "E_ThisIsA";
inline constexpr const char* E_TooLargeIndex = "E_TooLargeIndex";
inline constexpr const char* I_CanNotDeleteRowsContainingLocked =
    "I_CanNotDeleteRowsContainingLocked";
inline constexpr const char* I_CanNotDeleteSubtotal = "I_CanNotDeleteSubtotal";
inline constexpr const char* I_StillHaveInvalidKeys = "I_StillHaveInvalidKeys";
inline constexpr const char* I_YouCanNotLockMoreColsThanSpace = "I_YouCanNotLockMoreColsThanSpace";
inline constexpr const char* I_KeyCombinationExists = "I_KeyCombinationExists";
inline constexpr const char* I_OldRowCanNotBeOverwritten = "I_OldRowCanNotBeOverwritten";
inline constexpr const char* Q_DeleteSelectedRow = "Q_DeleteSelectedRow";
inline constexpr const char* Q_DeleteSelectedRows = "Q_DeleteSelectedRows";
inline constexpr const char* Q_OverwriteOld = "Q_OverwriteOld";
inline constexpr const char* Q_SaveChanges = "Q_SaveChanges";

// A translation table entry: element 0 the key, element 1 the text.
using TDoubleStringArray = std::array<std::string, 2>;

// The built-in messages, in their fixed order.
struct TMessageDefinition {
  const char* Key;
  const char* Text;
};
inline constexpr int DefaultMessageCount = 31;
inline constexpr std::array<TMessageDefinition, DefaultMessageCount> DefaultMessages = {{
    {E_ValueInvalidType, "The given value '<$>' is not valid!"},
    {E_ValueInvalidDate, "The given value '<$>' is not a valid date!"},
    {E_ValueInvalidTime, "The given value '<$>' is not a valid time!"},
    {E_ValueInvalidInteger, "The given value '<$>' is not a valid integer!"},
    {E_ValueInvalidNumber, "The given value '<$>' is not a valid number!"},
    {E_ValueInvalidPercent, "The given value '<$>' is not a valid percent value!"},
    {E_ValueInvalidCurrency, "The given value '<$>' is not a valid currency value!"},
    {E_CouldntSetValue, "Could not set the value to '<$>'!"},
    {E_RestoringOldValue, "Restoring old value!"},
    {E_RestoreOldValue, "Restore old value?"},
    {E_IndexOutOfBounds, "Index out of bounds"},
    {E_InvalidParameter, "Invalid parameter!"},
    {E_InvalidValue, "Invalid Value!"},
    {E_ErrorOccuredWhileFreeing, "An error occured while freeing objects!"},
    {E_FieldReadOnly, "Field is ReadOnly!"},
    {E_NegativeIndex, "Negative index"},
    {E_NoSuchType, "No such type!"},
    {E_OnlyTDataRowCanHaveCombo, "Only rows of type TDataRow can have combos!"},
    {E_OnlyTKeyFieldCanHaveCombo, "Only fields of type TKeyField can have combos!"},
    {E_ThisIsA, "This is a"},
    {E_TooLargeIndex, "Too large index"},
    {I_CanNotDeleteRowsContainingLocked, "You can not delete rows containing locked months"},
    {I_CanNotDeleteSubtotal, "You can not delete a subtotal row!"},
    {I_StillHaveInvalidKeys, "You still have rows with invalid key values!"},
    {I_YouCanNotLockMoreColsThanSpace,
     "You can not lock more columns than there is space on the screen!"},
    {I_KeyCombinationExists, "This key combination already exists for a row."},
    {I_OldRowCanNotBeOverwritten, "The old row can not be overwritten!"},
    {Q_DeleteSelectedRow, "Do you want to delete the selected row?"},
    {Q_DeleteSelectedRows, "Do you want to delete the selected rows?"},
    {Q_OverwriteOld, "Do you want to owerwrite the old row?"},
    {Q_SaveChanges, "Save changes to"},
}};

// The built-in messages as a translation table.
std::vector<TDoubleStringArray> DefaultMessageTable();

// Translator over a fixed table, searched in its stored order with keys
// compared byte for byte. Owns a copy of the table.
class TDefaultTranslator : public IStringTranslator {
 public:
  explicit TDefaultTranslator(std::vector<TDoubleStringArray> Table);

  bool GetText(const std::string& Key, std::string& Text) override;
  bool GetTextFmt(const std::string& Key, const std::vector<std::string>& Args,
                  std::string& Text) override;
  bool Translate(const std::string& Key, std::string& Text) override;
  bool TranslateFmt(const std::string& Key, const std::vector<std::string>& Args,
                    std::string& Text) override;

 private:
  const std::vector<TDoubleStringArray> FTable;
};

// The translator over the built-in messages, made on first use and kept to
// the end of the process.
TDefaultTranslator* DefaultTranslator();

// The installed translator, or DefaultTranslator() when none is installed.
IStringTranslator* CurrentTranslator();

// Installs a translator (nullptr clears the slot) and returns the previous
// one. Not owned: the caller keeps it alive while installed.
IStringTranslator* InstallTranslator(IStringTranslator* Translator);

// The text of Key: from the current translator, else from the built-in
// messages, else the text of E_ValueInvalidType. Never fails.
std::string TranslateMessage(const std::string& Key);
// As TranslateMessage with the placeholders filled from Args.
std::string TranslateMessageFmt(const std::string& Key, const std::vector<std::string>& Args);

// Fills the placeholders of Text: "<$>" takes the arguments in turn, "<$n>"
// argument n; a placeholder without a matching argument (n beyond the list,
// or below 1) is removed; one whose inside is not an integer stays as it is.
// Each placeholder filled or removed advances the turn. An inserted argument
// is not searched again, so the result is always finite.
std::string SubstituteArgs(const std::string& Text, const std::vector<std::string>& Args);

// How a key field shows its value.
enum TDisplayValues { dvKeyOnly, dvKeyAndText, dvTextOnly, dvDefault };
enum TSortOrder { soAscending, soDescending };
// Outcome of writing a value into a row.
enum TSetResult { srOk, srInvalidValue, srKeyConflict, srKeyOverwrited, srReadOnly };
// When a dependent combo list is filled again.
enum TRefillType { rtNever, rtAlways, rtDependentChange };

// Display texts of the row storage's put results, by ordinal.
inline constexpr std::array<const char*, 7> ResultTexts = {
    "Ok",         "Values missing", "Key conflict", "Key overwrited", "Illegal key value",
    "Rows added", "Cannot add"};
inline constexpr std::array<const char*, 4> DisplayValuesNames = {"KeyOnly", "KeyAndText",
                                                                  "TextOnly", "Default"};
inline constexpr std::array<const char*, 3> MagnitudeNames = {"ONE", "KILO", "MEGA"};

}  // namespace dataframework
