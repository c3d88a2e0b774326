// The data file read: any bytes are either refused with one of the read codes
// or give an image whose file rebuilds to the same bytes (header record,
// marker, key and every block byte) and whose model record is sound.
#include <algorithm>
#include <cstdint>
#include <span>

#include "FuzzCheck.h"
#include "data/DataFile.h"

using namespace zmp;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  // The prompt answers with the password the header holds, so that protected
  // files reach the blocks too.
  std::string embedded;
  if (size >= kDataFileHeaderSize)
    embedded = DecodePassword(file.subspan<kHeaderPasswordOffset, kSecurityPasswordLength>());
  const DecodedDataFile d = DecodeDataFile(file, [&] { return std::optional<std::string>(embedded); });
  switch (d.code) {
    case kDataFileUnreadable:
    case kDataFileOtherProgram:
    case kDataFilePasswordRefused:
    case kDataFileBadModel:
    case kDataFileBadMarker:
    case kDataFileBadRecordTail:
    case kDataFileForeign: return 0;
    case kDataFileLoaded: break;
    default: FUZZ_CHECK(!"an unknown read code");
  }
  FUZZ_CHECK(size >= kDataFileFourthOffset);
  FUZZ_CHECK(std::equal(kFileMagic.begin(), kFileMagic.end(), file.begin()));
  FUZZ_CHECK(file[kHeaderMarkerOffset] == kDataFileMarker);
  const auto record = ModelRecord::FromBytes(d.image.Main().Range(region::kModelRecord, kModelRecordSize));
  FUZZ_CHECK(IsValidRecord(record));
  FUZZ_CHECK(IsValidRecord(ModelRecord::FromBytes(file.subspan(kHeaderRecordOffset, kModelRecordSize))));
  // The image's file: every byte from the key on is the input's.
  DataFileOptions options;
  options.key = d.key;
  const auto rebuilt = EncodeDataFile(d.image, options);
  // A fourth block shorter than 1024 bytes is not read (the block is 0xFF).
  const std::size_t blocksEnd = size >= kDataFileSize ? kDataFileSize : kDataFileFourthOffset;
  FUZZ_CHECK(std::equal(file.begin() + kDataFileHeaderSize, file.begin() + static_cast<std::ptrdiff_t>(blocksEnd),
                        rebuilt.begin() + kDataFileHeaderSize));
  if (size < kDataFileSize) FUZZ_CHECK(d.image.Fourth().IsAll(0, kFourthBlockSize, 0xFF));
  // Read again, the rebuilt file gives the same image.
  const DecodedDataFile again = DecodeDataFile(rebuilt, [] { return std::optional<std::string>(); });
  FUZZ_CHECK(again.code == kDataFileLoaded);
  FUZZ_CHECK(again.image == d.image);
  return 0;
}
