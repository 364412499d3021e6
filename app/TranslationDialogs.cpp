#include "app/TranslationDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dataframework/translation/ITranslatedStrings.h"
#include "platform/qt/QtText.h"

namespace app {

using dataframework::NotFound;
using platform::qt::FromUtf8;
using platform::qt::ToUtf8;

namespace {

QDialogButtonBox* OkCancel(QDialog* Dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Dialog);
  buttons->setObjectName(QStringLiteral("Buttons"));
  QObject::connect(buttons, &QDialogButtonBox::accepted, Dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, Dialog, &QDialog::reject);
  return buttons;
}

QComboBox* NamedBox(QWidget* Parent, const char* Name) {
  auto* box = new QComboBox(Parent);
  box->setObjectName(QString::fromLatin1(Name));
  return box;
}

}  // namespace

TLanguageDialog::TLanguageDialog(QWidget* Parent, TPurpose Purpose,
                                 const std::vector<std::string>& Languages, int Language,
                                 TProblem ProblemOf)
    : QDialog(Parent), FPurpose(Purpose), FProblem(std::move(ProblemOf)) {
  setObjectName(QStringLiteral("LanguageDialog"));
  setWindowTitle(Purpose == dpInsert ? QStringLiteral("Insert language")
                                     : QStringLiteral("Rename language"));
  auto* layout = new QVBoxLayout(this);
  if (Purpose == dpInsert) {
    auto* about = new QLabel(
        QStringLiteral("The new language is added at the end, after the others. Its texts "
                       "start as a copy of the language chosen below."),
        this);
    about->setObjectName(QStringLiteral("About"));
    about->setWordWrap(true);
    layout->addWidget(about);
  }
  auto* form = new QFormLayout;
  layout->addLayout(form);
  LanguageBox = NamedBox(this, Purpose == dpInsert ? "CopyFromBox" : "LanguageBox");
  for (const std::string& name : Languages) LanguageBox->addItem(FromUtf8(name));
  if (Language >= 0 && Language < LanguageBox->count()) LanguageBox->setCurrentIndex(Language);
  NameEdit = new QLineEdit(this);
  NameEdit->setObjectName(QStringLiteral("NameEdit"));
  if (Purpose == dpRename) {
    form->addRow(QStringLiteral("Language:"), LanguageBox);
    form->addRow(QStringLiteral("Language name:"), NameEdit);
    NameEdit->setText(LanguageBox->currentText());
    connect(LanguageBox, &QComboBox::currentIndexChanged, this,
            [this] { NameEdit->setText(LanguageBox->currentText()); });
  } else {
    form->addRow(QStringLiteral("Language name:"), NameEdit);
    form->addRow(QStringLiteral("Copy texts from:"), LanguageBox);
    if (Languages.empty()) LanguageBox->setEnabled(false);
  }
  Problem = new QLabel(this);
  Problem->setObjectName(QStringLiteral("Problem"));
  Problem->setWordWrap(true);
  layout->addWidget(Problem);
  Buttons = OkCancel(this);
  layout->addWidget(Buttons);
  connect(NameEdit, &QLineEdit::textChanged, this, &TLanguageDialog::Check);
  connect(LanguageBox, &QComboBox::currentIndexChanged, this, &TLanguageDialog::Check);
  Check();
}

std::string TLanguageDialog::Name() const {
  return ToUtf8(NameEdit->text());
}

int TLanguageDialog::Language() const {
  return LanguageBox->currentIndex() < 0 ? NotFound : LanguageBox->currentIndex();
}

void TLanguageDialog::Check() {
  const std::string problem = FProblem(Name(), FPurpose == dpRename ? Language() : NotFound);
  Problem->setText(FromUtf8(problem));
  Buttons->button(QDialogButtonBox::Ok)->setEnabled(problem.empty());
}

TRuleDialog::TRuleDialog(QWidget* Parent, const std::vector<std::string>& Classes, TPaths Paths)
    : QDialog(Parent), FPaths(std::move(Paths)) {
  setObjectName(QStringLiteral("RuleDialog"));
  setWindowTitle(QStringLiteral("Add rule"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  layout->addLayout(form);
  ClassBox = NamedBox(this, "ClassBox");
  for (const std::string& name : Classes) ClassBox->addItem(FromUtf8(name));
  PathBox = NamedBox(this, "PathBox");
  SubclassesCheck = new QCheckBox(QStringLiteral("Also for subclasses"), this);
  SubclassesCheck->setObjectName(QStringLiteral("SubclassesCheck"));
  SubclassesCheck->setChecked(true);
  TranslateCheck = new QCheckBox(QStringLiteral("Translate"), this);
  TranslateCheck->setObjectName(QStringLiteral("TranslateCheck"));
  TranslateCheck->setChecked(true);
  form->addRow(QStringLiteral("Class:"), ClassBox);
  form->addRow(QStringLiteral("Property:"), PathBox);
  form->addRow(SubclassesCheck);
  form->addRow(TranslateCheck);
  Buttons = OkCancel(this);
  layout->addWidget(Buttons);
  connect(ClassBox, &QComboBox::currentIndexChanged, this, &TRuleDialog::FillPaths);
  connect(PathBox, &QComboBox::currentIndexChanged, this, [this] {
    Buttons->button(QDialogButtonBox::Ok)->setEnabled(PathBox->currentIndex() >= 0);
  });
  FillPaths();
}

void TRuleDialog::FillPaths() {
  PathBox->clear();
  if (ClassBox->currentIndex() >= 0) {
    for (const std::string& path : FPaths(ClassName())) PathBox->addItem(FromUtf8(path));
  }
  Buttons->button(QDialogButtonBox::Ok)->setEnabled(PathBox->currentIndex() >= 0);
}

std::string TRuleDialog::ClassName() const {
  return ToUtf8(ClassBox->currentText());
}
std::string TRuleDialog::Path() const {
  return ToUtf8(PathBox->currentText());
}
bool TRuleDialog::IncludeSubclasses() const {
  return SubclassesCheck->isChecked();
}
bool TRuleDialog::Translate() const {
  return TranslateCheck->isChecked();
}

}  // namespace app
