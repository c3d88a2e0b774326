// After every complete read from a repeater the image as read is kept as a
// data file in a backups folder, named by date, time and model
// ("20261207-143005-WAV-500K.dat"), and after every complete write the image
// as written ("20261207-143005-WAV-500K-written.dat"). Only the newest files
// are kept, so a repeater's configuration can always be restored.
#pragma once

#include <ctime>
#include <string>

#include "data/ImageStore.h"
#include "data/SafeFile.h"

namespace zmp {

inline constexpr int kBackupsKept = 20;

// What a backup holds: what was read from a repeater, or what was written into one.
enum class BackupKind { Read, Written };

// The file name of a backup taken at when (local time) of image's model.
std::string BackupFileName(const ImageCopy& image, std::time_t when, BackupKind kind = BackupKind::Read);

// Writes the backup into folder (made when missing) and removes the oldest
// backups beyond keep. The path written, or empty (with the error) on failure.
std::string SaveBackup(const std::string& folder, const ImageCopy& image, std::time_t when,
                       int keep = kBackupsKept, FileError* error = nullptr, BackupKind kind = BackupKind::Read);

}  // namespace zmp
