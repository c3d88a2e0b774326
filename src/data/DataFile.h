// Data files ("*.dat", 52039 bytes): a 64-byte header naming the program, its
// version and the repeater model, then the four image blocks, each XORed with
// a key byte that the file carries at offset 114. The header may carry an
// encoded security password.
//
// Layout: header 0-63; main block bytes 0-49 at 64; the key at 114; main block
// bytes 50-26879 at 115; the third block at 26945; the second block at 27015;
// the fourth block at 51015.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "lang/TextNo.h"
#include "data/ImageStore.h"
#include "data/ModelInfo.h"
#include "data/SafeFile.h"

namespace zmp {

inline constexpr std::size_t kDataFileHeaderSize = 64;
inline constexpr std::size_t kDataFileKeyOffset = 114;
inline constexpr std::size_t kDataFileMainSplit = 50;  // main-block bytes before the key
inline constexpr std::size_t kDataFileThirdOffset = 26945;
inline constexpr std::size_t kDataFileSecondOffset = 27015;
inline constexpr std::size_t kDataFileFourthOffset = 51015;  // also the shortest readable file
inline constexpr std::size_t kDataFileSize = 52039;
inline constexpr std::size_t kHeaderRecordOffset = 16;
inline constexpr std::size_t kHeaderMarkerOffset = 32;
inline constexpr std::size_t kHeaderPasswordOffset = 33;
inline constexpr std::uint8_t kDataFileMarker = 0x44;  // 'D'
inline constexpr std::size_t kFileMagicSize = 10;
// "ZMP318T" and three 0xFF bytes; shared with the tuning file.
inline constexpr std::array<std::uint8_t, kFileMagicSize> kFileMagic{'Z', 'M', 'P', '3', '1', '8',
                                                                    'T', 0xFF, 0xFF, 0xFF};
inline constexpr std::size_t kSecurityPasswordLength = 6;

// Results of reading a data file.
enum DataFileRead : int {
  kDataFileLoaded = 0,
  kDataFileUnreadable = 1,    // cannot open, not a regular file, or too short
  kDataFileOtherProgram = 2,  // a file of another program of the family
  kDataFilePasswordRefused = 4,
  kDataFileBadModel = 5,      // model or band not allowed (header or image record)
  kDataFileBadMarker = 6,
  kDataFileBadRecordTail = 7,
  kDataFileForeign = 8,       // not a file of the family
};

// Results of writing.
enum DataFileWrite : int { kDataFileWritten = 0, kDataFileCannotCreate = 1, kDataFileNoBuffers = 3 };

// The six encoded header bytes of a password of up to six characters; digits
// go through the substitution key "TvbQxwHnKs", then every byte is XORed
// with the file magic.
std::array<std::uint8_t, kSecurityPasswordLength> EncodePassword(const std::string& password);
std::string DecodePassword(std::span<const std::uint8_t, kSecurityPasswordLength> encoded);

// The key byte of a save: 0 with the scrambling switch off, else minute +
// second + 1 of the local time, modulo 256.
std::uint8_t ChooseFileKey(bool scramble);

struct DataFileOptions {
  std::uint8_t key = 0;
  // The security password embedded in the header; nothing or empty: none.
  std::optional<std::string> password;
};

// The bytes of a data file of image (its model record goes into the header).
std::vector<std::uint8_t> EncodeDataFile(const ImageCopy& image, const DataFileOptions& options);

// What a data file holds, checked in the order the format gives.
struct DecodedDataFile {
  int code = kDataFileUnreadable;
  ImageCopy image;          // complete only when code is 0
  std::string foreignCode;  // with code 2: the other program's code (up to ten characters)
  bool hasPassword = false;
  std::uint8_t key = 0;
};

// Asks for the password of a protected file; nothing on Cancel.
using PasswordPrompt = std::function<std::optional<std::string>()>;

DecodedDataFile DecodeDataFile(std::span<const std::uint8_t> file, const PasswordPrompt& askPassword);

struct DataFileResult {
  int code = 0;
  FileError error;          // the system's error with write code 1 or read code 1
  std::string foreignCode;  // read code 2: the other program's code
};

// Stamps the version and checksum into the working copy, then writes it
// safely to path.
DataFileResult WriteDataFile(const std::string& path, ImageStore& image, const DataFileOptions& options);

// Reads path; on code 0 the transfer copy holds the file's image. On any other
// code no copy of the image has changed.
DataFileResult ReadDataFile(const std::string& path, ImageStore& image, const PasswordPrompt& askPassword);

// The language text of a read code's message (0 for codes without one).
TextNo DataFileReadMessage(int code);

}  // namespace zmp
