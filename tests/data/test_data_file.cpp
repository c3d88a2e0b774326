// Data files on disk: the layout byte for byte, keys, passwords, every
// damaged kind, failing saves, and a mutation run over corrupted files.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "../support/Files.h"
#include "data/DataFile.h"
#include "data/ModelInfo.h"
#include "data/NewImage.h"
#include "data/TuningFile.h"

using namespace zmp;
using zmp::testing::ReadBytes;
using zmp::testing::TempDir;
using zmp::testing::WriteBytes;
namespace fs = std::filesystem;

namespace {

class DataFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeStartupImage(image, std::nullopt);
    // Something in every block, so that block mix-ups show.
    for (BlockId b : kAllBlocks)
      for (std::size_t i = 0; i < 40; ++i) image.Block(b).SetByte(BlockSize(b) - 1 - i, static_cast<std::uint8_t>(i * 7 + static_cast<int>(b)));
  }
  std::string Path(const char* name) const { return (dir / name).string(); }
  std::string Saved(const DataFileOptions& o = {}) {
    const std::string p = Path("plan.dat");
    EXPECT_EQ(WriteDataFile(p, image, o).code, 0);
    return p;
  }
  int Read(const std::string& p, std::optional<std::string> password = std::nullopt) {
    return ReadDataFile(p, loaded, [&] { ++prompts; return password; }).code;
  }

  const TempDir dir{"datafile"};
  ImageStore image, loaded;
  int prompts = 0;
};

TEST_F(DataFileTest, UnkeyedLayoutIsTheBlocksAsTheyAre) {
  const std::string p = Saved();
  const auto f = ReadBytes(p);
  ASSERT_EQ(f.size(), kDataFileSize);
  EXPECT_EQ(std::string(f.begin(), f.begin() + 7), "ZMP318T");
  EXPECT_EQ(f[7], 0xFF);
  EXPECT_EQ(std::string(f.begin() + 10, f.begin() + 15), "V1.40");
  EXPECT_EQ(f[15], 0xFF);
  EXPECT_EQ(f[32], 0x44);
  for (std::size_t i = 33; i < 64; ++i) EXPECT_EQ(f[i], 0xFF) << i;
  const auto rec = image.Main().Read(region::kModelRecord, 16);
  EXPECT_TRUE(std::equal(rec.begin(), rec.end(), f.begin() + 16));
  EXPECT_EQ(f[114], 0);
  const auto main = image.Main().span();
  EXPECT_TRUE(std::equal(main.begin(), main.begin() + 50, f.begin() + 64));
  EXPECT_TRUE(std::equal(main.begin() + 50, main.end(), f.begin() + 115));
  const auto third = image.working().Third().span(), second = image.working().Second().span(), fourth = image.working().Fourth().span();
  EXPECT_TRUE(std::equal(third.begin(), third.end(), f.begin() + 26945));
  EXPECT_TRUE(std::equal(second.begin(), second.end(), f.begin() + 27015));
  EXPECT_TRUE(std::equal(fourth.begin(), fourth.end(), f.begin() + 51015));
  // Saving stamped the version and the checksum into the working copy.
  EXPECT_EQ(image.Main().Text(kVersionTextOffset, 5), "V1.40");
  EXPECT_EQ(image.Main().Word(kChecksumOffset), ComputeChecksum(image.working()));
  ASSERT_EQ(Read(p), 0);
  EXPECT_EQ(prompts, 0);
  EXPECT_TRUE(loaded.transfer() == image.working());
  EXPECT_FALSE(loaded.working() == image.working()) << "reading fills the transfer copy only";
}

TEST_F(DataFileTest, KeyedLayoutScramblesEveryBlockAndLoadsTheSame) {
  DataFileOptions o;
  o.key = 0x5A;
  const auto f = ReadBytes(Saved(o));
  EXPECT_EQ(f[114], 0x5A);
  EXPECT_EQ(f[64], image.Main().Byte(0) ^ 0x5A);
  EXPECT_EQ(f[115], image.Main().Byte(50) ^ 0x5A);
  EXPECT_EQ(f[26945], image.working().Third().Byte(0) ^ 0x5A);
  EXPECT_EQ(f[52038], image.working().Fourth().Byte(1023) ^ 0x5A);
  EXPECT_EQ(f[16], image.Main().Byte(region::kModelRecord)) << "the header is never scrambled";
  ASSERT_EQ(Read(Path("plan.dat")), 0);
  EXPECT_TRUE(loaded.transfer() == image.working());
  EXPECT_EQ(ChooseFileKey(false), 0);
}

TEST_F(DataFileTest, RoundTripForEveryModelAndBand) {
  int variants = 0;
  for (int m = 0; m < kModelCount; ++m) {
    for (const auto& row : BandTable()) {
      ImageStore img;
      img.MakeBlank();
      ModelInfo info(img);
      info.SetRecord(ModelRecord::Default());
      ASSERT_TRUE(info.SetModelIndex(m));
      info.SetBandWord(row.bandWord);
      if (!IsValidRecord(info.Record())) continue;
      ApplyNewImageDefaults(img, false, false);
      ASSERT_EQ(WriteDataFile(Path("m.dat"), img, {}).code, 0);
      ImageStore back;
      ASSERT_EQ(ReadDataFile(Path("m.dat"), back, {}).code, 0) << m << " " << row.bandWord;
      EXPECT_TRUE(back.transfer() == img.working()) << m << " " << row.bandWord;
      ++variants;
    }
  }
  EXPECT_GE(variants, kBandRowCount) << "every band row of its model";
}

TEST_F(DataFileTest, PasswordIsEncodedAndAsked) {
  const auto enc = EncodePassword("0912");
  EXPECT_EQ(enc[0], static_cast<std::uint8_t>('T' ^ 'Z'));
  EXPECT_EQ(enc[1], static_cast<std::uint8_t>('s' ^ 'M'));
  EXPECT_EQ(enc[4], static_cast<std::uint8_t>(0xFF ^ '1'));
  EXPECT_EQ(DecodePassword(enc), "0912");
  DataFileOptions o;
  o.password = "0912";
  const std::string p = Saved(o);
  EXPECT_EQ(Read(p, std::string("0913")), kDataFilePasswordRefused);
  EXPECT_EQ(Read(p, std::nullopt), kDataFilePasswordRefused);
  EXPECT_EQ(loaded.transfer().Main().Byte(0), 0xFF) << "a refused file leaves the transfer copy";
  EXPECT_EQ(Read(p, std::string("0912")), 0);
  EXPECT_EQ(prompts, 3);
  // An empty password embeds nothing: no prompt.
  o.password = "";
  prompts = 0;
  EXPECT_EQ(Read(Saved(o)), 0);
  EXPECT_EQ(prompts, 0);
}

// The password is asked once the header is found sound and before any block
// is read: a short protected file asks, then fails as unreadable.
TEST_F(DataFileTest, PasswordIsAskedBeforeTheBlocksAreRead) {
  DataFileOptions o;
  o.password = "4711";
  auto bytes = ReadBytes(Saved(o));
  bytes.resize(30000);
  WriteBytes(dir / "short.dat", bytes);
  EXPECT_EQ(Read(Path("short.dat"), std::string("4711")), kDataFileUnreadable);
  EXPECT_EQ(prompts, 1);
  EXPECT_EQ(Read(Path("short.dat"), std::string("0000")), kDataFilePasswordRefused);
  EXPECT_EQ(prompts, 2);
  bytes.resize(40);  // no whole header: nothing to ask about
  WriteBytes(dir / "short.dat", bytes);
  EXPECT_EQ(Read(Path("short.dat"), std::string("4711")), kDataFileUnreadable);
  EXPECT_EQ(prompts, 2);
}

// A named pipe, a device or anything else that is not a regular file is
// refused at once instead of blocking the program on it.
TEST_F(DataFileTest, NamedPipeIsRefusedWithoutBlocking) {
  const std::string fifo = Path("pipe.dat");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::alarm(5);  // a read that blocks ends the child by the alarm
    ImageStore s;
    TuningFile t;
    FileError e;
    const bool ok = ReadDataFile(fifo, s, {}).code == kDataFileUnreadable &&
                    t.ReadTuningFile(fifo, &e) == kTuningUnreadable && e.code != 0 &&
                    ReadDataFile("/dev/zero", s, {}).code == kDataFileUnreadable;
    ::_exit(ok ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status)) << "blocked on the pipe";
  EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);
}

TEST_F(DataFileTest, EveryDamagedKindHasItsCode) {
  const auto good = ReadBytes(Saved());
  auto write = [&](std::vector<std::uint8_t> bytes) {
    WriteBytes(dir / "bad.dat", bytes);
    return Read(Path("bad.dat"));
  };
  EXPECT_EQ(Read(Path("missing.dat")), kDataFileUnreadable);
  EXPECT_EQ(Read(dir.path().string()), kDataFileUnreadable) << "a folder";
  EXPECT_EQ(write({}), kDataFileUnreadable);
  for (std::size_t n : {std::size_t{10}, std::size_t{63}, std::size_t{64}, std::size_t{114}, std::size_t{115},
                        std::size_t{26944}, std::size_t{26945}, std::size_t{27014}, std::size_t{27015},
                        std::size_t{51014}})
    EXPECT_EQ(write({good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n)}), kDataFileUnreadable) << n;
  // Bytes beyond the fourth block are not read: the file loads as without them.
  auto longer = good;
  longer.insert(longer.end(), 700, 0x5A);
  ASSERT_EQ(write(longer), 0);
  EXPECT_TRUE(loaded.transfer() == image.working());
  // Without the fourth block: loads with a fourth block of 0xFF.
  ASSERT_EQ(write({good.begin(), good.begin() + 51015}), 0);
  EXPECT_TRUE(loaded.transfer().Fourth().IsAll(0, 1024, 0xFF));
  EXPECT_TRUE(loaded.transfer().Main().span().size() == kMainBlockSize);
  auto edited = [&](std::size_t at, std::uint8_t v) {
    auto b = good;
    b[at] = v;
    return b;
  };
  auto other = good;
  for (std::size_t i = 3; i < 10; ++i) other[i] = "418XYZ"[i - 3 < 6 ? i - 3 : 5];
  other[9] = 0xFF;
  DataFileResult r;
  WriteBytes(dir / "bad.dat", other);
  r = ReadDataFile(Path("bad.dat"), loaded, {});
  EXPECT_EQ(r.code, kDataFileOtherProgram);
  EXPECT_EQ(r.foreignCode, "ZMP418XYZ");
  EXPECT_LE(r.foreignCode.size(), 10u);
  EXPECT_EQ(write(edited(0, 'Q')), kDataFileForeign);
  EXPECT_EQ(write(edited(32, 0x54)), kDataFileBadMarker);
  EXPECT_EQ(write(edited(16 + 7, '9')), kDataFileBadModel) << "unknown model";
  EXPECT_EQ(write(edited(16 + 11, 0x07)), kDataFileBadModel) << "band not allowed";
  EXPECT_EQ(write(edited(16 + 12, 0x00)), kDataFileBadRecordTail);
  // The image's own record is checked too.
  EXPECT_EQ(write(edited(115 + region::kModelRecord - 50 + 13, 0x00)), kDataFileBadModel);
  EXPECT_EQ(write(edited(115 + region::kModelRecord - 50 + 7, 'X')), kDataFileBadModel);
  EXPECT_EQ(loaded.transfer().Main().Byte(0), image.Main().Byte(0)) << "only the sound load above";
  EXPECT_EQ(DataFileReadMessage(kDataFileBadRecordTail), 690_txt);
  EXPECT_EQ(DataFileReadMessage(kDataFilePasswordRefused), TextNo{0});
}

TEST_F(DataFileTest, FailedSaveLeavesTheOldFile) {
  const std::string p = Saved();
  const auto before = ReadBytes(p);
  image.Main().SetByte(0x0800, 0x11);
  // A folder path that runs through a regular file.
  EXPECT_EQ(WriteDataFile(p + "/inside.dat", image, {}).code, kDataFileCannotCreate);
  // A disk that fills up in the middle of the file (a limit on file size).
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit lim{20000, 20000};
    ::setrlimit(RLIMIT_FSIZE, &lim);
    const DataFileResult r = WriteDataFile(p, image, {});
    ::_exit(r.code == kDataFileCannotCreate && r.error.code == EFBIG ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the short write is a failure";
  EXPECT_EQ(ReadBytes(p), before);
  for (const auto& e : fs::directory_iterator(dir)) EXPECT_EQ(e.path().filename(), "plan.dat") << "no temporary file left";
}

}  // namespace
