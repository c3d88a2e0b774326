#include "data/TuningFile.h"

#include <algorithm>
#include <vector>

#include "data/DataFile.h"

namespace zmp {

int TuningFile::WriteTuningFile(const std::string& path, FileError* error) const {
  std::vector<std::uint8_t> file(kTuningFileSize, 0xFF);
  std::copy(kFileMagic.begin(), kFileMagic.end(), file.begin());
  std::copy(kProgramVersion.begin(), kProgramVersion.end(), file.begin() + kFileMagicSize);
  file[kHeaderMarkerOffset] = kTuningFileMarker;
  std::copy(identity_.begin(), identity_.end(), file.begin() + kTuningHeaderSize);
  std::copy(tuning_.begin(), tuning_.end(), file.begin() + kTuningHeaderSize + kTuningIdentitySize);
  return WriteFileSafely(path, file, error) ? kTuningOk : kTuningUnreadable;
}

int TuningFile::ReadTuningFile(const std::string& path, FileError* error) {
  const auto bytes = ReadFileBytes(path, kTuningFileSize, error);
  if (!bytes || bytes->size() < kTuningFileSize) return kTuningUnreadable;
  const auto& f = *bytes;
  if (!std::equal(kFileMagic.begin(), kFileMagic.end(), f.begin())) {
    foreign_.clear();
    for (std::size_t i = 0; i < kFileMagicSize && f[i] != 0xFF && f[i] != 0; ++i)
      foreign_.push_back(static_cast<char>(f[i]));
    return kTuningWrongMagic;
  }
  if (f[kHeaderMarkerOffset] != kTuningFileMarker) return kTuningBadMarker;
  std::copy_n(f.begin() + kTuningHeaderSize, kTuningIdentitySize, identity_.begin());
  std::copy_n(f.begin() + kTuningHeaderSize + kTuningIdentitySize, kTuningDataSize, tuning_.begin());
  return kTuningOk;
}

TextNo TuningReadMessage(int code, const std::string& foreignCode) {
  switch (code) {
    case kTuningUnreadable: return 641_txt;
    case kTuningWrongMagic: return foreignCode.find("ZMP") != std::string::npos ? 662_txt : 663_txt;
    case 5: return 654_txt;
    case kTuningBadMarker: return 601_txt;
    default: return TextNo{0};
  }
}

}  // namespace zmp
