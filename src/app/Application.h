// The application object: start-up in its fixed order, the settings it holds
// while the program runs, and the exit that writes them back.
#pragma once

#include <QFont>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "app/StartupRules.h"
#include "data/ImageStore.h"

namespace zmp {

class CMainFrame;

struct StartOptions {
  // Where the language file is looked for first (normally the program's folder).
  QString programDir;
  // Show the splash window (the program does; tests do not).
  bool splash = true;
  // Show the main window (tests may keep it hidden).
  bool showWindow = true;
};

class CFPUApp {
 public:
  CFPUApp();
  ~CFPUApp();
  CFPUApp(const CFPUApp&) = delete;
  CFPUApp& operator=(const CFPUApp&) = delete;

  // Start-up; false when the program is to end (the reason has been shown).
  // args are the command-line arguments after the program name.
  bool InitInstance(const std::vector<std::string>& args, const StartOptions& options);
  // Writes the settings back unless start-up failed.
  void ExitInstance();

  // The program: QApplication, start-up, event loop, exit. Returns the exit status.
  static int Run(int argc, char** argv);

  bool StartedUp() const { return startedUp_; }
  CMainFrame* MainFrame() const { return frame_.get(); }
  ImageStore& Image() { return image_; }
  const CommandLineFlags& Flags() const { return flags_; }
  const StartOptions& Options() const { return options_; }

  // Serial link settings ("ComPort", "Baudrate"), held by the link itself.
  int ComPort() const;
  void SetComPort(int port);
  int Baudrate() const;
  void SetBaudrate(int baud);

  // The current data file name and folder ("LastFilePath", ending with a separator).
  const QString& DataFileName() const { return dataFileName_; }
  void SetDataFileName(const QString& name) { dataFileName_ = name; }
  const QString& SdtFileName() const { return sdtFileName_; }
  const QString& ItmFileName() const { return itmFileName_; }
  const QString& LastFilePath() const { return lastFilePath_; }
  void SetLastFilePath(const QString& folder);
  void ResetFileNames();

  // Language: the identifier written on exit and the user guide it selects.
  int LanguageId() const { return languageId_; }
  void SetLanguageId(int id);
  // The guide of the language below the data folders: "help/en"; empty when
  // the language has none.
  QString GuideName() const;
  // The folder holding the guide's index.html when it is installed, else empty.
  QString GuideFolder() const;

  // Security settings.
  const Protection& Security() const { return protection_; }
  void SetSecurity(const Protection& p) { protection_ = p; }
  bool DataFilePassword() const { return dataFile_ != 0; }
  void SetDataFilePassword(bool on) { dataFile_ = on ? 1 : 0; }

  int ColourDepth() const { return colourDepth_; }
  const QFont& FixedFont() const { return courier_; }

 private:
  bool LoadLanguage();
  bool AskStartupPassword();

  StartOptions options_;
  CommandLineFlags flags_;
  ImageStore image_;
  std::unique_ptr<CMainFrame> frame_;
  bool startedUp_ = false;
  QString dataFileName_;
  QString sdtFileName_;
  QString itmFileName_;
  QString lastFilePath_;
  int languageId_ = kDefaultLanguageId;
  int dataFile_ = 0;
  Protection protection_;
  int colourDepth_ = 0;
  QFont courier_;
};

// The running application object (nullptr before one exists).
CFPUApp* TheApp();

}  // namespace zmp
