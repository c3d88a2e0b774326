#include "data/Backups.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "data/DataFile.h"
#include "data/ModelInfo.h"

namespace zmp {

namespace fs = std::filesystem;

namespace {

// "WAV-500: K" becomes "WAV-500K": letters, digits and '-' only.
std::string ModelWord(const ImageCopy& image) {
  const ModelRecord r = ModelRecord::FromBytes(image.Main().Range(region::kModelRecord, kModelRecordSize));
  const int index = ModelIndexOf(r);
  std::string caption = index >= 0 ? ModelCaption(index) : std::string("unknown");
  std::string out;
  for (char c : caption)
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-') out.push_back(c);
  return out;
}

bool IsBackupName(const std::string& name) {
  // "YYYYMMDD-HHMMSS-" then the model, ".dat".
  if (name.size() < 21 || name.substr(name.size() - 4) != ".dat" || name[8] != '-' || name[15] != '-') return false;
  for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14})
    if (name[static_cast<std::size_t>(i)] < '0' || name[static_cast<std::size_t>(i)] > '9') return false;
  return true;
}

}  // namespace

std::string BackupFileName(const ImageCopy& image, std::time_t when, BackupKind kind) {
  std::tm local{};
  localtime_r(&when, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  return std::string(stamp) + "-" + ModelWord(image) + (kind == BackupKind::Written ? "-written" : "") + ".dat";
}

std::string SaveBackup(const std::string& folder, const ImageCopy& image, std::time_t when, int keep,
                       FileError* error, BackupKind kind) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) {
    if (error) error->code = ec.value();
    return {};
  }
  const std::string name = BackupFileName(image, when, kind);
  std::string path = (fs::path(folder) / name).string();
  // Two transfers in the same second keep both.
  for (int n = 2; FileExists(path) && n < 100; ++n)
    path = (fs::path(folder) / (name.substr(0, 15) + "-" + std::to_string(n) + name.substr(15))).string();
  if (!WriteFileSafely(path, EncodeDataFile(image, {}), error)) return {};
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder, ec))
    if (entry.is_regular_file() && IsBackupName(entry.path().filename().string()))
      names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  for (std::size_t i = 0; names.size() > static_cast<std::size_t>(keep) && i < names.size() - static_cast<std::size_t>(keep); ++i)
    fs::remove(fs::path(folder) / names[i], ec);
  return path;
}

}  // namespace zmp
