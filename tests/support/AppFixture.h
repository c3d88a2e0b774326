// The started application for GUI tests: a settings file of its own in a
// temporary folder, message boxes answered from a script (or with
// `otherAnswer` once it is empty) and recorded, dialogs and file prompts
// scripted.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include "QtTestApp.h"
#include "app/Application.h"
#include "app/MainFrame.h"
#include "ui/Messages.h"
#include "app/Prompts.h"
#include "app/Settings.h"

namespace zmp::testing {

// Dialogs run by the test's script (rejected without one), file names and
// passwords taken from lists.
class ScriptedPrompts : public Prompts {
 public:
  std::function<int(QDialog&)> dialog;
  QStringList openFiles, saveFiles;
  std::optional<QString> password;
  int RunDialog(QDialog& d) override { return dialog ? dialog(d) : QDialog::Rejected; }
  QString OpenFileName(QWidget*, const QString&, const QString&, const QString&) override {
    return openFiles.isEmpty() ? QString() : openFiles.takeFirst();
  }
  QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override {
    return saveFiles.isEmpty() ? QString() : saveFiles.takeFirst();
  }
  std::optional<QString> Password(QWidget*, const QString&, const QString&, int) override { return password; }
};

class AppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApp();
    ASSERT_TRUE(dir.isValid());
    SetSettingsFileForTesting(dir.filePath(QStringLiteral("settings.ini")));
    SetMessageHook([this](const MessageRequest& r) {
      asked.push_back(r.text);
      if (answers.empty()) return otherAnswer;
      const Answer a = answers.front();
      answers.pop_front();
      return a;
    });
    SetPrompts(&prompts);
  }
  void TearDown() override {
    app.reset();
    SetPrompts(nullptr);
    SetMessageHook(nullptr);
    SetSettingsFileForTesting({});
  }
  // The program as it starts from its folder, its window not shown.
  CMainFrame& Start(std::vector<std::string> args = {}) {
    app = std::make_unique<CFPUApp>();
    StartOptions o;
    o.programDir = QStringLiteral(ZMP_BIN_DIR);
    o.splash = false;
    o.showWindow = false;
    EXPECT_TRUE(app->InitInstance(args, o));
    QApplication::processEvents();
    return *app->MainFrame();
  }
  ImageStore& Image() { return app->Image(); }
  QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

  QTemporaryDir dir;
  std::unique_ptr<CFPUApp> app;
  std::deque<Answer> answers;
  Answer otherAnswer = Answer::Cancel;
  QStringList asked;
  ScriptedPrompts prompts;
};

}  // namespace zmp::testing
