// The started application for GUI tests: a settings file of its own in a
// temporary folder, message boxes answered from a script (or with
// `otherAnswer` once it is empty) and recorded, dialogs and file prompts
// scripted.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QSettings>
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
  int passwordsAsked = 0;
  int RunDialog(QDialog& d) override { return dialog ? dialog(d) : QDialog::Rejected; }
  QString OpenFileName(QWidget*, const QString&, const QString&, const QString&) override {
    return openFiles.isEmpty() ? QString() : openFiles.takeFirst();
  }
  QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override {
    return saveFiles.isEmpty() ? QString() : saveFiles.takeFirst();
  }
  std::optional<QString> Password(QWidget*, const QString&, const QString&, int) override {
    ++passwordsAsked;
    return password;
  }
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
  // The program as it starts from `programDir` (the one built beside the
  // tests by default), its window not shown; false when it stops.
  bool Launch(std::vector<std::string> args = {}, const QString& programDir = QStringLiteral(ZMP_BIN_DIR)) {
    app.reset();
    app = std::make_unique<CFPUApp>();
    StartOptions o;
    o.programDir = programDir;
    o.splash = false;
    o.showWindow = false;
    const bool started = app->InitInstance(args, o);
    QApplication::processEvents();
    return started;
  }
  CMainFrame& Start(std::vector<std::string> args = {}) {
    EXPECT_TRUE(Launch(std::move(args)));
    return *app->MainFrame();
  }
  // A program folder of its own in the test's folder, holding `language` as
  // its language file (no file when it is empty).
  QString ProgramFolder(const QByteArray& language) {
    const QString prog = Path("prog");
    QDir().mkpath(prog);
    QFile file(prog + QStringLiteral("/zmp318t.lng"));
    if (!language.isEmpty() && file.open(QIODevice::WriteOnly)) file.write(language);
    return prog;
  }
  // The program's settings ("Backup" group) in the test's settings file.
  QVariant Setting(const char* key) const {
    return QSettings(Path("settings.ini"), QSettings::IniFormat).value(QStringLiteral("Backup/") + QLatin1String(key));
  }
  void SetSetting(const char* key, const QVariant& value) {
    QSettings(Path("settings.ini"), QSettings::IniFormat).setValue(QStringLiteral("Backup/") + QLatin1String(key), value);
  }
  ImageStore& Image() { return app->Image(); }
  QString Path(const QString& name) const { return dir.filePath(name); }
  QString Path(const char* name) const { return Path(QString::fromUtf8(name)); }

  QTemporaryDir dir;
  std::unique_ptr<CFPUApp> app;
  std::deque<Answer> answers;
  Answer otherAnswer = Answer::Cancel;
  QStringList asked;
  ScriptedPrompts prompts;
};

}  // namespace zmp::testing
