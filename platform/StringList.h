// String lists: the abstract TStrings and the stored, optionally sorted
// TStringList.
//
// A list holds entries of a text and an object reference. The list never
// owns the objects. TStrings defines the operations on top of a storage that
// subclasses supply (Get, Insert, Delete, Clear, GetCount at least), so a
// subclass may keep richer entries of its own. Positions count from 0; a
// position out of range raises EListError "List index out of bounds (%d)".
// BeginUpdate/EndUpdate bracket changes; nested brackets are counted and
// SetUpdateState is told when the outermost opens and closes.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Errors.h"
#include "platform/Persistent.h"
#include "platform/StringEntries.h"

namespace platform {

// Texts of the list errors; %d is the position.
inline constexpr const char* SListIndexError = "List index out of bounds (%d)";
inline constexpr const char* SListCapacityError = "List capacity out of bounds (%d)";
inline constexpr const char* SDuplicateString = "String list does not allow duplicates";
inline constexpr const char* SSortedListError = "Operation not allowed on sorted list";

// What adding an equal entry to a sorted list does.
enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStrings : public TPersistent {
  CLAVIRA_DECLARE_CLASS()

 public:
  TStrings() = default;
  TStrings(const TStrings&) = delete;
  TStrings& operator=(const TStrings&) = delete;

  // Storage, supplied or refined by subclasses.
  virtual std::string Get(int Index) const = 0;
  virtual void Put(int Index, const std::string& S);    // default: replace, keeping the object
  virtual TObject* GetObject(int Index) const;          // default: none
  virtual void PutObject(int Index, TObject* AObject);  // default: ignored
  virtual int Add(const std::string& S);                // default: Insert at the end
  virtual int AddObject(const std::string& S, TObject* AObject);
  virtual void Insert(int Index, const std::string& S) = 0;
  void InsertObject(int Index, const std::string& S, TObject* AObject);
  virtual void Delete(int Index) = 0;
  virtual void Exchange(int Index1, int Index2);
  virtual void Clear() = 0;
  virtual int GetCount() const = 0;
  virtual int GetCapacity() const;            // default: GetCount
  virtual void SetCapacity(int NewCapacity);  // default: nothing

  int Count() const { return GetCount(); }
  std::string operator[](int Index) const { return Get(Index); }

  // First position whose text equals S by CompareStrings, or -1.
  virtual int IndexOf(const std::string& S) const;
  int IndexOfObject(const TObject* AObject) const;

  // Appends every entry (text and object) of Strings, within one update.
  void AddStrings(const TStrings& Strings);
  // From a TStrings: the texts and objects; else the TPersistent rule.
  void Assign(const TPersistent* Source) override;

  // Lines of the form Name=Value; names compare ignoring case.
  std::string Names(int Index) const;
  std::string ValueFromIndex(int Index) const;
  int IndexOfName(const std::string& Name) const;
  std::string Values(const std::string& Name) const;  // "" when absent
  // Replaces the line's value, appends a line, or removes it for "".
  void SetValues(const std::string& Name, const std::string& Value);

  // All texts, each followed by a line feed; SetText splits at CR, LF or CRLF.
  std::string Text() const;
  void SetText(std::string_view Text);

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

 protected:
  // Called with true when the outermost bracket opens, false when it closes.
  virtual void SetUpdateState(bool Updating);
  // Text comparison used by IndexOf; the base ignores case.
  virtual int CompareStrings(const std::string& S1, const std::string& S2) const;
  // Raises EListError with Msg, "%d" filled with Data.
  [[noreturn]] static void Error(const char* Msg, int Data);
  [[noreturn]] static void Error(const char* Msg);

 private:
  int FUpdateCount = 0;
};

// A list that stores its entries, optionally kept sorted by text.
class TStringList : public TStrings {
  CLAVIRA_DECLARE_CLASS()

 public:
  using TCompare = std::function<int(const TStringList& List, int Index1, int Index2)>;

  TStringList() = default;
  ~TStringList() override = default;

  std::string Get(int Index) const override;
  void Put(int Index, const std::string& S) override;  // refused when sorted
  TObject* GetObject(int Index) const override;
  void PutObject(int Index, TObject* AObject) override;
  int Add(const std::string& S) override;  // sorted: at its place, by Duplicates
  int AddObject(const std::string& S, TObject* AObject) override;
  void Insert(int Index, const std::string& S) override;  // refused when sorted
  void Delete(int Index) override;
  void Exchange(int Index1, int Index2) override;
  void Clear() override;
  int GetCount() const override { return FItems.Count(); }
  int GetCapacity() const override { return FItems.Capacity(); }
  void SetCapacity(int NewCapacity) override;
  int IndexOf(const std::string& S) const override;  // binary search when sorted

  // Binary search of a sorted list: true when found; Index is the position
  // found, or where S would be inserted. With dupAccept the first of equal
  // texts is found. Raises EListError on an unsorted list.
  bool Find(const std::string& S, int& Index) const;
  virtual void Sort();
  void CustomSort(const TCompare& Compare);

  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);  // sorts when turned on
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);  // re-sorts a sorted list

  // Fired around each change while no update bracket is open.
  std::function<void()> OnChanging;
  std::function<void()> OnChange;

 protected:
  void SetUpdateState(bool Updating) override;
  int CompareStrings(const std::string& S1, const std::string& S2) const override;
  virtual void Changing();
  virtual void Changed();

 private:
  void CheckIndex(int Index) const;
  void InsertItem(int Index, const std::string& S, TObject* AObject);

  TStringEntries FItems;
  bool FSorted = false;
  bool FCaseSensitive = false;
  TDuplicates FDuplicates = dupIgnore;
};

}  // namespace platform
