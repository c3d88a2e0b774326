// Whole-file reading and crash-safe writing. A file is written to a
// temporary file in the same folder, flushed to the disk and only then renamed
// over the target, so a failed save never destroys the previous file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zmp {

struct FileError {
  int code = 0;  // errno of the failing call; 0 when none
  std::string Text() const;
};

// The bytes of the file, at most limit of them (a longer file yields limit + 1
// bytes, so the caller can tell); nothing when it cannot be opened or read, or
// is not a regular file (a named pipe or a device is refused at once, without
// waiting on it).
std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path, std::size_t limit,
                                                       FileError* error = nullptr);

// Writes bytes as the whole content of path. False (with the error) when any
// step failed; the previous file at path is then unchanged. A new file gets
// the usual permissions, a replaced one keeps its own.
bool WriteFileSafely(const std::string& path, std::span<const std::uint8_t> bytes,
                     FileError* error = nullptr);

bool FileExists(const std::string& path);

}  // namespace zmp
