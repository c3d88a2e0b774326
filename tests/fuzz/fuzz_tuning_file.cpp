// The tuning file read, through a real file: a refused file leaves the tuning
// data as it was; an accepted one writes back to the same identity and
// tuning bytes behind the same magic and marker.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "data/DataFile.h"
#include "data/TuningFile.h"

using namespace zmp;

namespace {

const std::string& Folder() {
  static const std::string folder = [] {
    char name[] = "/tmp/zmp-fuzz-tun-XXXXXX";
    const char* made = mkdtemp(name);
    if (!made) std::abort();
    return std::string(made);
  }();
  return folder;
}

std::vector<std::uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input = Folder() + "/input.tun", output = Folder() + "/output.tun";
  {
    std::ofstream out(input, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  TuningFile tuning;
  tuning.Tuning().fill(0x5A);
  tuning.Identity().fill(0xA5);
  const auto before = tuning.Tuning();
  const auto identityBefore = tuning.Identity();
  const int code = tuning.ReadTuningFile(input);
  if (code != kTuningOk) {
    FUZZ_CHECK(code == kTuningUnreadable || code == kTuningWrongMagic || code == kTuningBadMarker);
    FUZZ_CHECK(tuning.Tuning() == before);
    FUZZ_CHECK(tuning.Identity() == identityBefore);
    return 0;
  }
  FUZZ_CHECK(size >= kTuningFileSize);
  FUZZ_CHECK(std::equal(kFileMagic.begin(), kFileMagic.end(), data));
  FUZZ_CHECK(data[kHeaderMarkerOffset] == kTuningFileMarker);
  FUZZ_CHECK(tuning.WriteTuningFile(output) == kTuningOk);
  const auto rebuilt = FileBytes(output);
  FUZZ_CHECK(rebuilt.size() == kTuningFileSize);
  FUZZ_CHECK(std::equal(rebuilt.begin() + kTuningHeaderSize, rebuilt.end(), data + kTuningHeaderSize));
  FUZZ_CHECK(std::equal(kFileMagic.begin(), kFileMagic.end(), rebuilt.begin()));
  FUZZ_CHECK(rebuilt[kHeaderMarkerOffset] == kTuningFileMarker);
  return 0;
}
