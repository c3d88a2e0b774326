// GUI tests share one QApplication, made on first use, with the settings
// pointed at a fresh ini file so that no test touches the user's own.
#pragma once

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>

namespace zmp::testing {

inline QApplication& TestApp() {
  static int argc = 1;
  static char name[] = "zmp_test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QTemporaryDir home;
    // Documents and settings of this run live in a folder of its own.
    setenv("ZMP_DOCUMENTS_DIR", QDir(home.path()).filePath(QStringLiteral("Documents")).toLocal8Bit().constData(), 1);
    setenv("ZMP_SETTINGS_FILE", QDir(home.path()).filePath(QStringLiteral("settings.ini")).toLocal8Bit().constData(), 1);
    QDir(home.path()).mkdir(QStringLiteral("Documents"));
    return new QApplication(argc, argv);
  }();
  return *app;
}

}  // namespace zmp::testing
