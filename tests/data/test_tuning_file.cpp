// Tuning files: the 472-byte layout and reads that fail leaving both buffers alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "data/DataFile.h"
#include "data/TuningFile.h"

namespace zmp {
namespace {

namespace fs = std::filesystem;

class TuningFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("zmp_tun_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                         "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::vector<std::uint8_t> Load(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  void Store(const fs::path& p, const std::vector<std::uint8_t>& b) {
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
  }
  fs::path dir_;
};

TEST_F(TuningFileTest, RoundTripAndFailedReadsLeaveBuffersAlone) {
  TuningFile t;
  for (std::size_t i = 0; i < kTuningDataSize; ++i) t.Tuning()[i] = static_cast<std::uint8_t>(i * 7);
  for (std::size_t i = 0; i < kTuningIdentitySize; ++i) t.Identity()[i] = static_cast<std::uint8_t>(0x40 + i);
  const fs::path good = dir_ / "a.tun";
  ASSERT_EQ(t.WriteTuningFile(good.string()), kTuningOk);
  const auto bytes = Load(good);
  ASSERT_EQ(bytes.size(), kTuningFileSize);
  EXPECT_EQ(bytes[kTuningHeaderSize], 0x40);
  EXPECT_EQ(bytes[kTuningHeaderSize + kTuningIdentitySize + 1], 7);

  TuningFile back;
  ASSERT_EQ(back.ReadTuningFile(good.string()), kTuningOk);
  EXPECT_EQ(back.Tuning(), t.Tuning());
  EXPECT_EQ(back.Identity(), t.Identity());

  TuningFile keep;
  keep.Tuning().fill(0x11);
  keep.Identity().fill(0x22);
  const auto tuningBefore = keep.Tuning();
  const auto identityBefore = keep.Identity();
  auto expectUntouched = [&] {
    EXPECT_EQ(keep.Tuning(), tuningBefore);
    EXPECT_EQ(keep.Identity(), identityBefore);
  };

  for (std::size_t n : {std::size_t{0}, std::size_t{1}, kTuningHeaderSize, kTuningFileSize - 1}) {
    const fs::path p = dir_ / ("short" + std::to_string(n) + ".tun");
    Store(p, std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(n)));
    EXPECT_EQ(keep.ReadTuningFile(p.string()), kTuningUnreadable) << n;
    expectUntouched();
  }
  EXPECT_EQ(keep.ReadTuningFile((dir_ / "missing.tun").string()), kTuningUnreadable);
  expectUntouched();

  auto magic = bytes;
  magic[0] = 'Q';
  Store(dir_ / "magic.tun", magic);
  EXPECT_EQ(keep.ReadTuningFile((dir_ / "magic.tun").string()), kTuningWrongMagic);
  expectUntouched();
  EXPECT_LE(keep.ForeignCode().size(), 10u);

  auto marker = bytes;
  marker[kHeaderMarkerOffset] = 'X';
  Store(dir_ / "marker.tun", marker);
  EXPECT_EQ(keep.ReadTuningFile((dir_ / "marker.tun").string()), kTuningBadMarker);
  expectUntouched();
}

}  // namespace
}  // namespace zmp
