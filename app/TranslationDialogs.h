// The translation editor's dialogs: a language's name (insert, rename) and a
// new rule. Both refuse what the translations could not take while the user
// types, with the reason shown in the dialog and OK disabled.
//
// Ownership: the dialogs own their controls; their callers own them (they
// run modal, on the stack). Object names let tests drive them.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;

namespace app {

// Asks for a language name ("NameEdit"); for an insert also which
// language's texts the new one starts with ("CopyFromBox"), for a rename
// which language is renamed ("LanguageBox"). "Problem" shows why the name
// is refused.
class TLanguageDialog : public QDialog {
  Q_OBJECT

 public:
  // ProblemOf(Name, Language): why Name cannot be given to Language (for an
  // insert, Language is NotFound); "" when it can.
  using TProblem = std::function<std::string(const std::string& Name, int Language)>;
  enum TPurpose { dpInsert, dpRename };

  // Languages: the current names; Language: the one preselected (for an
  // insert, the language to copy from).
  TLanguageDialog(QWidget* Parent, TPurpose Purpose, const std::vector<std::string>& Languages,
                  int Language, TProblem ProblemOf);

  std::string Name() const;
  // The language renamed, or the one copied from (NotFound: none).
  int Language() const;

  QLineEdit* NameEdit;
  QComboBox* LanguageBox;  // the language renamed or copied from
  QLabel* Problem;
  QDialogButtonBox* Buttons;

 private:
  void Check();

  TPurpose FPurpose;
  TProblem FProblem;
};

// Asks for a rule: a class of the form ("ClassBox", classes by name), one of
// its property paths ("PathBox", refilled for each class), and the flags
// ("SubclassesCheck", "TranslateCheck", both set at first).
class TRuleDialog : public QDialog {
  Q_OBJECT

 public:
  // Paths(ClassName): the paths a rule of that class may name.
  using TPaths = std::function<std::vector<std::string>(const std::string& ClassName)>;

  TRuleDialog(QWidget* Parent, const std::vector<std::string>& Classes, TPaths Paths);

  std::string ClassName() const;
  std::string Path() const;
  bool IncludeSubclasses() const;
  bool Translate() const;

  QComboBox* ClassBox;
  QComboBox* PathBox;
  QCheckBox* SubclassesCheck;
  QCheckBox* TranslateCheck;
  QDialogButtonBox* Buttons;

 private:
  void FillPaths();

  TPaths FPaths;
};

}  // namespace app
