// Tuning files ("*.tun", 472 bytes): a 64-byte header with the file magic,
// "V1.40" and the marker 'T', the 32-byte identity block and the repeater's
// 376-byte tuning data block. Not scrambled, no checksum.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "lang/TextNo.h"
#include "data/SafeFile.h"

namespace zmp {

inline constexpr std::size_t kTuningHeaderSize = 64;
inline constexpr std::size_t kTuningIdentitySize = 32;
inline constexpr std::size_t kTuningDataSize = 376;
inline constexpr std::size_t kTuningFileSize = kTuningHeaderSize + kTuningIdentitySize + kTuningDataSize;
inline constexpr std::uint8_t kTuningFileMarker = 0x54;  // 'T'
inline constexpr const char* kDefaultTuningName = "zmp318t.tun";

enum TuningFileCode : int {
  kTuningOk = 0,
  kTuningUnreadable = 1,  // cannot open or create, or shorter than 472 bytes
  kTuningWrongMagic = 2,
  kTuningCancelled = 4,
  kTuningBadMarker = 6,
  kTuningNoBuffer = 10,
};

class TuningFile {
 public:
  std::array<std::uint8_t, kTuningDataSize>& Tuning() { return tuning_; }
  const std::array<std::uint8_t, kTuningDataSize>& Tuning() const { return tuning_; }
  std::array<std::uint8_t, kTuningIdentitySize>& Identity() { return identity_; }
  const std::array<std::uint8_t, kTuningIdentitySize>& Identity() const { return identity_; }
  // With read code 2: the rejected file's magic as text (0xFF ends it).
  const std::string& ForeignCode() const { return foreign_; }
  // The last file name used ("zmp318t.tun" at first).
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& name) { fileName_ = name; }

  int WriteTuningFile(const std::string& path, FileError* error = nullptr) const;
  // A failed read leaves the tuning data and the identity block as they were.
  int ReadTuningFile(const std::string& path, FileError* error = nullptr);

 private:
  std::array<std::uint8_t, kTuningDataSize> tuning_{};
  std::array<std::uint8_t, kTuningIdentitySize> identity_{};
  std::string foreign_;
  std::string fileName_ = kDefaultTuningName;
};

// The message of a failed read: 641, 662 (a family file of another program,
// filled with the file name and the code), 663 (filled with the file name),
// 1167 for a file of ours that is no tuning file (a data file; filled with the
// file name) or 654; 0 for none.
TextNo TuningReadMessage(int code, const std::string& foreignCode);

}  // namespace zmp
