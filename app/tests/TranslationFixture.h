// The fixture of the window's translation tests: the window and its editor
// offscreen over a copy of the shipped translation file, with every error,
// message and question the presenter gets logged (questions answered from
// Answers).
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/FRMClavira.h"
#include "app/MessagePresenter.h"
#include "app/TranslationEditor.h"
#include "dataframework/qt/RowStorageModel.h"
#include "dataframework/translation/FormTranslator.h"
#include "dataframework/translation/TranslatedStrings.h"
#include "dataframework/translation/TranslationFile.h"
#include "testsupport/Process.h"

namespace apptest {

namespace fs = std::filesystem;
using dataframework::LanguageColumnOffset;

// Errors and messages as they are shown; questions are logged as "ask: "
// and answered from Answers (No, or Cancel when cancellable, once empty).
class TErrorLog : public app::IMessagePresenter {
 public:
  TErrorLog(std::vector<std::string>* Errors, std::deque<app::TAnswer>* Answers)
      : FErrors(Errors), FAnswers(Answers) {}
  void ShowMessage(QWidget*, const QString& Text) override {
    FErrors->push_back("message: " + Text.toStdString());
  }
  void ShowError(QWidget*, const QString& Text) override {
    FErrors->push_back(Text.toUtf8().toStdString());
  }
  app::TAnswer Ask(QWidget*, const QString& Text, bool Cancellable) override {
    FErrors->push_back("ask: " + Text.toStdString());
    if (FAnswers->empty()) return Cancellable ? app::TAnswer::Cancel : app::TAnswer::No;
    const app::TAnswer answer = FAnswers->front();
    FAnswers->pop_front();
    return answer;
  }

 private:
  std::vector<std::string>* FErrors;
  std::deque<app::TAnswer>* FAnswers;
};

inline std::string ContentText(const dataframework::TTranslatedStrings& Strings) {
  std::ostringstream text;
  dataframework::WriteTranslationContent(text, Strings.Content(), "strings");
  return text.str();
}

class TranslationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FPrevious = app::SetPresenter(std::make_unique<TErrorLog>(&Errors, &Answers));
    Dir = testsupport::MakeTempDir("clavira-translations");
    File = Dir + "/FRMClavira.translations";
    fs::copy_file(std::string(CLAVIRA_SOURCE_DIR) + "/app/translations/FRMClavira.translations",
                  File);
    setenv("CLAVIRA_TRANSLATIONS", File.c_str(), 1);
  }
  void TearDown() override {
    Editor.reset();
    Window.reset();
    app::SetPresenter(std::move(FPrevious));
    unsetenv("CLAVIRA_TRANSLATIONS");
    setenv("VESQUIN_LANGUAGE", "", 1);
    fs::remove_all(Dir);
  }

  void Open(const char* Language) {
    setenv("VESQUIN_LANGUAGE", Language, 1);
    Window = std::make_unique<app::TFRMClavira>();
    Window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Window.get()));
  }
  void OpenEditor() {
    Editor = std::make_unique<app::TFRMTranslationEditor>(*Window);
    Editor->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Editor.get()));
  }
  // The grid's cell of Component's "text" row in language column Language.
  QModelIndex Cell(const char* Component, int Language) {
    dataframework::qt::TRowStorageModel* model = Editor->Model();
    for (int row = 0; row < model->rowCount(); ++row) {
      if (model->index(row, 2).data().toString() == Component) {
        return model->index(row, LanguageColumnOffset + Language);
      }
    }
    return {};
  }
  std::vector<std::string> Captions() {
    return {Window->Label1->text().toStdString(),     Window->Label2->text().toStdString(),
            Window->Label3->text().toStdString(),     Window->Label4->text().toStdString(),
            Window->Autenticar->text().toStdString(), Window->Button1->text().toStdString()};
  }

  std::vector<std::string> Errors;
  std::deque<app::TAnswer> Answers;
  std::string Dir;
  std::string File;
  std::unique_ptr<app::TFRMClavira> Window;
  std::unique_ptr<app::TFRMTranslationEditor> Editor;

 private:
  std::unique_ptr<app::IMessagePresenter> FPrevious;
};

inline const std::vector<std::string> Spanish = {"Nombre",    "Dominio",    "Clave",
                                                 "Seguridad", "Autenticar", "Autenticar DB"};
inline const std::vector<std::string> English = {"Name",     "Domain", "Password",
                                                 "Security", "Log in", "Log in DB"};
inline const std::vector<std::string> Portuguese = {"Nome",      "Domínio",    "Senha",
                                                    "Segurança", "Autenticar", "Autenticar BD"};

inline std::string ReadFile(const std::string& Name) {
  std::ifstream in(Name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs Open, which shows a modal dialog, and Drive on that dialog once it
// runs; a dialog Drive leaves open is cancelled, so a test never hangs.
inline void WithDialog(const std::function<void()>& Open,
                       const std::function<void(QDialog&)>& Drive) {
  bool driven = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) {
      ADD_FAILURE() << "no dialog";
      return;
    }
    Drive(*dialog);
    driven = true;
    if (dialog->isVisible()) dialog->reject();
  });
  Open();
  EXPECT_TRUE(driven);
}

}  // namespace apptest
