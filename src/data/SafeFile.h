// Whole-file reading and crash-safe writing. A file is written to a
// temporary file in the same folder, flushed to the disk and only then renamed
// over the target, so a failed save never destroys the previous file.
//
// A write follows a symbolic link to the file it names (the link stays) and
// refuses a target that is not a regular file (a folder, a named pipe, a
// device): renaming over it would replace the node itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zmp {

struct FileError {
  int code = 0;                // errno of the failing call; 0 when none
  bool notRegularFile = false; // the path names a folder, a named pipe, a device or the like
  // The system's words for code (callers that show messages use
  // FileErrorText, which also words notRegularFile).
  std::string Text() const;
};

// Why a file could not be read or written, in words: the program's own text
// for a path that is not a regular file, otherwise the system's.
std::string FileErrorText(const FileError& error);

// The bytes of the file, at most limit of them (a longer file yields limit + 1
// bytes, so the caller can tell); nothing when it cannot be opened or read, or
// is not a regular file (a named pipe or a device is refused at once, without
// waiting on it).
std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path, std::size_t limit,
                                                       FileError* error = nullptr);

// Writes bytes as the whole content of path (through a symbolic link to its
// target). False (with the error) when any step failed or the target is not a
// regular file; the previous file at path is then unchanged. A new file gets
// the usual permissions, a replaced one keeps its own.
bool WriteFileSafely(const std::string& path, std::span<const std::uint8_t> bytes,
                     FileError* error = nullptr);

// Several files written into one folder, all of them or none: each is
// complete on the disk before any is put in place. A folder that does not
// exist yet is written as a temporary folder beside it and renamed when every
// file is complete, so a failure leaves neither files nor an empty folder.
struct FolderFile {
  std::string name;
  std::span<const std::uint8_t> bytes;
};
bool WriteFolderSafely(const std::string& folder, std::span<const FolderFile> files, FileError* error = nullptr);

bool FileExists(const std::string& path);

}  // namespace zmp
