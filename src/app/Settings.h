// The user's settings, kept with QSettings under the organisation "VELMORA"
// and the application "ZMP-318T", group "Backup". Every reader applies the
// value's reading rule (StartupRules.h); absent or bad values read as their
// defaults, and nothing is reported.
//
// Tests point the settings at an ini file (SetSettingsFileForTesting or the
// environment variable ZMP_SETTINGS_FILE) and the documents folder at a
// temporary folder (ZMP_DOCUMENTS_DIR), so the user's own are never touched.
#pragma once

#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <optional>

#include "app/StartupRules.h"

class QSettings;

namespace zmp {

inline constexpr const char* kSettingsOrganisation = "VELMORA";
inline constexpr const char* kSettingsApplication = "ZMP-318T";
inline constexpr const char* kSettingsGroup = "Backup";

// An ini file used instead of the user's settings; empty restores them
// (unless ZMP_SETTINGS_FILE is set).
void SetSettingsFileForTesting(const QString& iniPath);
// Where the settings are kept now (a file path).
QString SettingsLocation();

class Settings {
 public:
  Settings();
  ~Settings();
  Settings(const Settings&) = delete;
  Settings& operator=(const Settings&) = delete;

  std::optional<ModelRecord> LastModel() const;
  void SetLastModel(const ModelRecord& r);
  int ComPort() const;
  void SetComPort(int port);
  int Baudrate() const;
  void SetBaudrate(int baud);
  // The stored folder when it exists, else defaultFolder.
  QString LastFilePath(const QString& defaultFolder) const;
  void SetLastFilePath(const QString& path);
  int Language() const;
  void SetLanguage(int id);
  int DataFile() const;
  void SetDataFile(int on);
  // Absent or unreadable: protection off, no password.
  Protection Protect() const;
  void SetProtect(const Protection& p);
  std::optional<WindowPlacement> LastWinPos() const;
  void SetLastWinPos(const WindowPlacement& p);

  // The user's own COM port map ("PortMap" group: COM<n>=<device path>).
  std::map<int, QString> PortMapOverrides() const;
  void SetPortMapEntry(int port, const QString& path);

  // The "Print Out List" choices: the sections left out (so that the section
  // of an editor added later is chosen until the user leaves it out) and the
  // channel range (absent or bad: 1 to 30).
  QStringList PrintOmitted() const;
  void SetPrintOmitted(const QStringList& keys);
  std::pair<int, int> PrintChannels() const;
  void SetPrintChannels(int first, int last);

  void Sync();
  QString FileName() const;

 private:
  std::unique_ptr<QSettings> s_;
};

// The user's documents folder (ZMP_DOCUMENTS_DIR when set); empty when the
// system has none.
QString DocumentsFolder();
// The documents folder with "Velmora" and "ZMP-318T" appended, each created
// when missing (a failed creation stops at the path built so far); without a
// documents folder, programDir/DATA when that exists, else programDir. Always
// ends with a separator.
QString DefaultDataFolder(const QString& documentsFolder, const QString& programDir);

// The settings' port map into the program's, under what ZMP_PORT_MAP says
// for this run.
void LoadPortMap(const Settings& settings);

}  // namespace zmp
