#include "app/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "comm/PortMap.h"

namespace zmp {

namespace {

QString& TestFile() {
  static QString file;
  return file;
}

QString OverrideFile() {
  if (!TestFile().isEmpty()) return TestFile();
  return qEnvironmentVariable("ZMP_SETTINGS_FILE");
}

std::string Std(const QVariant& v) { return v.toString().toStdString(); }

long long IntOr(const QVariant& v, long long fallback) {
  if (!v.isValid()) return fallback;
  bool ok = false;
  const long long n = v.toString().trimmed().toLongLong(&ok);
  return ok ? n : fallback;
}

QString WithSeparator(QString path) {
  if (!path.endsWith(QLatin1Char('/'))) path += QLatin1Char('/');
  return path;
}

}  // namespace

void SetSettingsFileForTesting(const QString& iniPath) { TestFile() = iniPath; }

Settings::Settings() {
  const QString file = OverrideFile();
  if (!file.isEmpty())
    s_ = std::make_unique<QSettings>(file, QSettings::IniFormat);
  else
    s_ = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                     QString::fromLatin1(kSettingsOrganisation),
                                     QString::fromLatin1(kSettingsApplication));
  s_->beginGroup(QString::fromLatin1(kSettingsGroup));
}

Settings::~Settings() {
  s_->endGroup();
  s_->sync();
}

QString SettingsLocation() { return Settings().FileName(); }
QString Settings::FileName() const { return s_->fileName(); }

std::optional<ModelRecord> Settings::LastModel() const {
  const QVariant v = s_->value(QStringLiteral("LastModel"));
  if (!v.isValid()) return std::nullopt;
  return ParseLastModel(Std(v));
}

void Settings::SetLastModel(const ModelRecord& r) {
  s_->setValue(QStringLiteral("LastModel"), QString::fromStdString(FormatLastModel(r)));
}

int Settings::ComPort() const {
  return ComPortRule(IntOr(s_->value(QStringLiteral("ComPort")), kDefaultComPort));
}
void Settings::SetComPort(int port) { s_->setValue(QStringLiteral("ComPort"), port); }

int Settings::Baudrate() const {
  return BaudrateRule(IntOr(s_->value(QStringLiteral("Baudrate")), kDefaultBaudrate));
}
void Settings::SetBaudrate(int baud) { s_->setValue(QStringLiteral("Baudrate"), baud); }

QString Settings::LastFilePath(const QString& defaultFolder) const {
  const QString p = s_->value(QStringLiteral("LastFilePath")).toString();
  if (p.isEmpty() || !QFileInfo(p).isDir()) return defaultFolder;
  return WithSeparator(p);
}
void Settings::SetLastFilePath(const QString& path) {
  s_->setValue(QStringLiteral("LastFilePath"), path);
}

int Settings::Language() const {
  const long long id = IntOr(s_->value(QStringLiteral("Language")), kDefaultLanguageId);
  return id >= INT32_MIN && id <= INT32_MAX ? static_cast<int>(id) : kDefaultLanguageId;
}
void Settings::SetLanguage(int id) { s_->setValue(QStringLiteral("Language"), id); }

int Settings::DataFile() const {
  return IntOr(s_->value(QStringLiteral("DataFile")), 0) != 0 ? 1 : 0;
}
void Settings::SetDataFile(int on) { s_->setValue(QStringLiteral("DataFile"), on ? 1 : 0); }

Protection Settings::Protect() const {
  const QVariant v = s_->value(QStringLiteral("Protect"));
  if (!v.isValid()) return {};
  return ParseProtect(Std(v)).value_or(Protection{});
}
void Settings::SetProtect(const Protection& p) {
  s_->setValue(QStringLiteral("Protect"), QString::fromStdString(FormatProtect(p)));
}

std::optional<WindowPlacement> Settings::LastWinPos() const {
  const QVariant v = s_->value(QStringLiteral("LastWinPos"));
  if (!v.isValid()) return std::nullopt;
  return ParseWindowPlacement(Std(v));
}
void Settings::SetLastWinPos(const WindowPlacement& p) {
  s_->setValue(QStringLiteral("LastWinPos"), QString::fromStdString(FormatWindowPlacement(p)));
}

QStringList Settings::PrintOmitted() const {
  return s_->value(QStringLiteral("PrintOmit")).toString().split(QLatin1Char(','), Qt::SkipEmptyParts);
}

void Settings::SetPrintOmitted(const QStringList& keys) {
  s_->setValue(QStringLiteral("PrintOmit"), keys.join(QLatin1Char(',')));
}

std::pair<int, int> Settings::PrintChannels() const {
  // The caller limits the range; here only the number is read.
  auto read = [this](const char* key, long long fallback) {
    return static_cast<int>(std::clamp(IntOr(s_->value(QLatin1String(key)), fallback), -1000LL, 1000LL));
  };
  return {read("PrintFrom", 1), read("PrintTo", 30)};
}

void Settings::SetPrintChannels(int first, int last) {
  s_->setValue(QStringLiteral("PrintFrom"), first);
  s_->setValue(QStringLiteral("PrintTo"), last);
}

void Settings::Sync() { s_->sync(); }

std::map<int, QString> Settings::PortMapOverrides() const {
  std::map<int, QString> out;
  s_->endGroup();
  s_->beginGroup(QStringLiteral("PortMap"));
  for (const QString& key : s_->childKeys()) {
    bool ok = false;
    const int port = key.startsWith(QStringLiteral("COM"), Qt::CaseInsensitive) ? key.mid(3).toInt(&ok) : 0;
    const QString path = s_->value(key).toString();
    if (ok && port >= 1 && port <= 255 && !path.isEmpty()) out[port] = path;
  }
  s_->endGroup();
  s_->beginGroup(QString::fromLatin1(kSettingsGroup));
  return out;
}

void Settings::SetPortMapEntry(int port, const QString& path) {
  s_->endGroup();
  s_->setValue(QStringLiteral("PortMap/COM%1").arg(port), path);
  s_->beginGroup(QString::fromLatin1(kSettingsGroup));
}

void LoadPortMap(const Settings& settings) {
  PortMap& map = ProgramPortMap();
  for (const auto& [port, path] : settings.PortMapOverrides()) map.SetOverride(port, path.toStdString());
  // This run's own map wins.
  if (const char* env = std::getenv("ZMP_PORT_MAP")) map.AddOverrides(env);
}

QString DocumentsFolder() {
  const QString env = qEnvironmentVariable("ZMP_DOCUMENTS_DIR");
  if (!env.isEmpty()) return env;
  return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

QString DefaultDataFolder(const QString& documentsFolder, const QString& programDir) {
  if (documentsFolder.isEmpty()) {
    const QString data = QDir(programDir).filePath(QStringLiteral("DATA"));
    if (QFileInfo(data).isDir()) return WithSeparator(data);
    return WithSeparator(programDir);
  }
  QString path = documentsFolder;
  // On a fresh account the documents folder itself may be missing.
  if (!QFileInfo(path).isDir() && !QDir().mkpath(path)) return WithSeparator(path);
  for (const char* sub : {"Velmora", "ZMP-318T"}) {
    const QString next = QDir(path).filePath(QString::fromLatin1(sub));
    if (!QFileInfo(next).isDir() && !QDir().mkdir(next)) break;
    path = next;
  }
  return WithSeparator(path);
}

}  // namespace zmp
