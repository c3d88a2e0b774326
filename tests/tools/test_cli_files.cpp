// The file commands of zmp318t-cli (and channels), run as a technician runs them.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "../editors/ChannelPlan.h"
#include "../support/Files.h"
#include "CliRun.h"
#include "lang/LanguageTexts.h"
#include "data/DataFile.h"
#include "data/TuningFile.h"
#include "editors/ChannelStore.h"
#include "fields/DecimalSeparator.h"

namespace fs = std::filesystem;

namespace {

using namespace zmp::testing;

class CliFiles : public ::testing::Test {
 protected:
  TempDir dir{"cli-files"};
};

TEST_F(CliFiles, NewInfoDecodeEncodeRoundTrip) {
  CliRun r = Cli(dir, "new --model 2 --band 2304 -o site.dat");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(fs::file_size(dir / "site.dat"), zmp::kDataFileSize);
  r = Cli(dir, "info site.dat");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("WAV-500: K  UHF: 450-480 MHz"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("version:     V1.40"), std::string::npos);
  EXPECT_NE(r.out.find("data format: 101"), std::string::npos);
  EXPECT_NE(r.out.find("The checksum is correct."), std::string::npos);
  EXPECT_NE(r.out.find("key byte:    0x00"), std::string::npos);

  ASSERT_EQ(Cli(dir, "decode site.dat blocks").status, 0);
  EXPECT_EQ(fs::file_size(dir / "blocks/main.bin"), 26880u);
  EXPECT_EQ(fs::file_size(dir / "blocks/third.bin"), 70u);
  // Unkeyed: the same file again, byte for byte.
  ASSERT_EQ(Cli(dir, "encode blocks -o again.dat").status, 0);
  EXPECT_EQ(ReadBytes(dir / "again.dat"), ReadBytes(dir / "site.dat"));
  // Keyed and protected: another file that decodes to the same blocks.
  ASSERT_EQ(Cli(dir, "encode blocks -o keyed.dat --key 0x5A --password 4711").status, 0);
  r = Cli(dir, "info keyed.dat");
  EXPECT_NE(r.out.find("key byte:    0x5A"), std::string::npos);
  EXPECT_NE(r.out.find("A password is embedded."), std::string::npos);
  r = Cli(dir, "decode keyed.dat out");
  EXPECT_EQ(r.status, 4);
  EXPECT_NE(r.err.find("The password is missing or wrong."), std::string::npos);
  EXPECT_FALSE(fs::exists(dir / "out/main.bin"));
  ASSERT_EQ(Cli(dir, "decode keyed.dat out --password 4711").status, 0);
  EXPECT_EQ(ReadBytes(dir / "out/second.bin"), ReadBytes(dir / "blocks/second.bin"));
}

TEST_F(CliFiles, BadInputGivesItsCodeAndMessage) {
  ASSERT_EQ(Cli(dir, "new --model 0 -o a.dat").status, 0);
  auto f = ReadBytes(dir / "a.dat");
  WriteBytes(dir / "short.dat", std::span(f).first(30000));
  CliRun r = Cli(dir, "decode short.dat out");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("cannot be read"), std::string::npos) << r.err;
  f[0] = 'Q';
  WriteBytes(dir / "foreign.dat", f);
  r = Cli(dir, "info foreign.dat");
  EXPECT_EQ(r.status, 8);
  EXPECT_NE(r.err.find("foreign.dat is not a data file of this program."), std::string::npos) << r.err;
  EXPECT_EQ(Cli(dir, "new --model 7 -o x.dat").status, 2);
  EXPECT_EQ(Cli(dir, "new --model 0 --band 9999 -o x.dat").status, 2);
  EXPECT_FALSE(fs::exists(dir / "x.dat"));
  fs::create_directories(dir / "partial");
  WriteBytes(dir / "partial/main.bin", "too short");
  r = Cli(dir, "encode partial -o p.dat");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("26880"), std::string::npos);
  EXPECT_EQ(Cli(dir, "encode partial").status, 2) << "no -o";
  EXPECT_EQ(Cli(dir, "info --help").status, 0);
  // A named pipe is refused at once instead of waiting for a writer (a data
  // file: DataFileTest).
  ASSERT_EQ(::mkfifo((dir / "pipe.dat").c_str(), 0600), 0);
  r = Cli(dir, "tune-info pipe.dat");
  EXPECT_EQ(r.status, 1);
}

TEST_F(CliFiles, TuningFiles) {
  zmp::TuningFile t;
  for (std::size_t i = 0; i < t.Tuning().size(); ++i) t.Tuning()[i] = static_cast<std::uint8_t>(i * 3);
  t.Identity().fill(0xA1);
  ASSERT_EQ(t.WriteTuningFile((dir / "rx.tun").string()), 0);
  CliRun r = Cli(dir, "tune-info rx.tun");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("A1 A1 A1"), std::string::npos);
  ASSERT_EQ(Cli(dir, "tune-decode rx.tun out").status, 0);
  EXPECT_TRUE(std::ranges::equal(ReadBytes(dir / "out/tuning.bin"), t.Tuning()));
  EXPECT_TRUE(std::ranges::equal(ReadBytes(dir / "out/identity.bin"), t.Identity()));
  ASSERT_EQ(Cli(dir, "new --model 1 -o plan.dat").status, 0);
  r = Cli(dir, "tune-decode plan.dat out2");
  EXPECT_EQ(r.status, 6) << "a data file is no tuning file";
  EXPECT_FALSE(fs::exists(dir / "out2"));
}

// Output that cannot be written is a failure with a message, and what stands
// at the output's place is left as it was: standard output full or closed,
// -o onto a named pipe or a folder, a decode whose disk fills up.
TEST_F(CliFiles, OutputThatCannotBeWrittenFailsAndLeavesThingsAsTheyWere) {
  ASSERT_EQ(Cli(dir, "new --model 1 -o a.dat").status, 0);
  for (const char* command : {"fields a.dat", "fields a.dat --json", "channels a.dat", "info a.dat", "export a.dat"}) {
    for (const char* to : {" >/dev/full", " >&-"}) {
      const CliRun r = Cli(dir, std::string(command) + to);
      EXPECT_EQ(r.status, 1) << command << to;
      EXPECT_NE(r.err.find("standard output could not be written"), std::string::npos) << command << to << r.err;
    }
  }
  EXPECT_EQ(Cli(dir, "set a.dat cw_message.speed=10 -o b.dat >&-").status, 0) << "nothing for standard output";

  // -o through a symbolic link writes the file it names; onto a named pipe or
  // a folder nothing is written and the pipe stays.
  fs::create_symlink("b.dat", dir / "link.dat");
  ASSERT_EQ(Cli(dir, "set a.dat cw_message.speed=12 -o link.dat").status, 0);
  EXPECT_TRUE(fs::is_symlink(dir / "link.dat"));
  EXPECT_NE(ReadBytes(dir / "b.dat"), ReadBytes(dir / "a.dat"));
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
  fs::create_directories(dir / "adir");
  ASSERT_EQ(Cli(dir, "decode a.dat blocks").status, 0);
  for (const char* out : {"pipe", "adir", "adir/"}) {
    for (const std::string command : {"set a.dat cw_message.speed=10 -o ", "export a.dat -o ", "encode blocks -o "}) {
      const CliRun r = Cli(dir, command + out);
      EXPECT_EQ(r.status, 1) << command << out;
      EXPECT_NE(r.err.find(std::string(out) + ": not a regular file (a folder, a named pipe or a device)"),
                std::string::npos) << r.err;
    }
  }
  EXPECT_TRUE(fs::is_fifo(dir / "pipe"));
  EXPECT_TRUE(fs::is_empty(dir / "adir"));
  CliRun r = Cli(dir, "import pipe --into a.dat -o c.dat");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("pipe: not a regular file"), std::string::npos) << r.err;

  // decode writes its four blocks whole or not at all: a first file that does
  // not fit leaves no folder, and into an existing folder a block file that
  // cannot be replaced leaves every old block in place.
  r = Cli(dir, "decode a.dat new", "trap '' XFSZ; ulimit -f 20;");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("new: File too large; nothing was written"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(dir / "new"));
  ASSERT_EQ(Cli(dir, "decode b.dat old").status, 0);
  const auto oldMain = ReadBytes(dir / "old/main.bin");
  fs::remove(dir / "old/second.bin");
  ASSERT_EQ(::mkfifo((dir / "old/second.bin").c_str(), 0600), 0);
  EXPECT_EQ(Cli(dir, "decode a.dat old").status, 1);
  EXPECT_EQ(ReadBytes(dir / "old/main.bin"), oldMain);
  EXPECT_TRUE(fs::is_fifo(dir / "old/second.bin"));
  for (const auto& e : fs::directory_iterator(dir)) EXPECT_NE(e.path().filename().string()[0], '.') << e.path();
  for (const auto& e : fs::directory_iterator(dir / "old")) EXPECT_NE(e.path().filename().string()[0], '.') << e.path();
}

// One exit-code table for every command: a data file that cannot be read
// gives its read code whatever the command (diff keeps 1 for "differ" and
// gives 3 for an unreadable file).
TEST_F(CliFiles, EveryCommandExitsWithTheReadCodeOfItsFile) {
  ASSERT_EQ(Cli(dir, "new --model 1 -o a.dat").status, 0);
  ASSERT_EQ(Cli(dir, "export a.dat -o a.yaml").status, 0);
  ASSERT_EQ(Cli(dir, "decode a.dat blocks").status, 0);
  auto main = ReadBytes(dir / "blocks/main.bin");
  for (std::size_t i = 0x412; i < 0x422; ++i) main[i] = 0x5A;  // no model of this program
  WriteBytes(dir / "blocks/main.bin", main);
  ASSERT_EQ(Cli(dir, "encode blocks -o bad.dat").status, 0);
  for (const char* command :
       {"info bad.dat", "decode bad.dat out", "channels bad.dat", "fields bad.dat", "set bad.dat cw_message.speed=9 -o x.dat",
        "export bad.dat", "import a.yaml --into bad.dat -o x.dat", "diff a.dat bad.dat", "print bad.dat -o x.pdf",
        "write --port /dev/null bad.dat", "read --port /dev/null --like bad.dat -o x.dat"}) {
    const CliRun r = Cli(dir, command);
    EXPECT_EQ(r.status, zmp::kDataFileBadModel) << command << ": " << r.err;
    EXPECT_NE(r.err.find("bad.dat: "), std::string::npos) << command << ": " << r.err;
  }
  EXPECT_EQ(Cli(dir, "channels missing.dat").status, zmp::kDataFileUnreadable);
  EXPECT_EQ(Cli(dir, "diff a.dat missing.dat").status, 3);
  EXPECT_FALSE(fs::exists(dir / "x.dat"));
}

// channels FILE lists the channel grid as the editors show it (a protected
// file only with its password); --csv writes the plan a spreadsheet edits,
// --from applies one to a file of the same model and band; a cell the paste
// refuses (its row and column), a line left out or broken CSV stop the plan
// and nothing is written.
TEST_F(CliFiles, ChannelsListsExportsAndAppliesThePlan) {
  using namespace zmp;
  SetDecimalSeparator('.');
  ASSERT_EQ(Texts().LoadFile(ZMP_BIN_DIR "/zmp318t.lng", "English"), LanguageTexts::LoadResult::Loaded);
  ASSERT_EQ(Cli(dir, "new --model 1 --band 258 -o blank.dat").status, 0);
  ImageStore image;
  ASSERT_EQ(ReadDataFile((dir / "blank.dat").string(), image, {}).code, kDataFileLoaded);
  image.CopyTransferToWorking();
  {
    ChannelGridSource grid(image);
    TypeChannelPlan(grid);
    ASSERT_TRUE(grid.SetCellText(1, 9, "A,").stored);
    ASSERT_TRUE(grid.SetCellText(5, 1, "").stored) << "channel 6 does not exist";
  }
  DataFileOptions locked;
  locked.password = "1234";
  ASSERT_EQ(WriteDataFile((dir / "site.dat").string(), image, {}).code, kDataFileWritten);
  ASSERT_EQ(WriteDataFile((dir / "locked.dat").string(), image, locked).code, kDataFileWritten);
  CliRun r = Cli(dir, "channels site.dat");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, ChannelPlanText(image) + "\n");
  EXPECT_EQ(r.out.rfind("CH\tRX Freq.\tTX Freq.\t", 0), 0u) << r.out;
  EXPECT_NE(r.out.find("\n2\t146.112500\t150.225000\tDigital\t"), std::string::npos) << r.out;
  EXPECT_EQ(Cli(dir, "channels locked.dat").status, kDataFilePasswordRefused);
  EXPECT_EQ(Cli(dir, "channels locked.dat --password 1234").out, r.out);
  EXPECT_EQ(Cli(dir, "channels").status, 2);

  ASSERT_EQ(Cli(dir, "channels site.dat --csv -o plan.csv").status, 0);
  const std::string csv = ReadText(dir / "plan.csv");
  EXPECT_EQ(csv.rfind("CH,RX Freq.,TX Freq.,CH Type,", 0), 0u) << csv;
  EXPECT_NE(csv.find("\r\n2,146.112500,150.225000,Digital,"), std::string::npos) << csv;
  EXPECT_NE(csv.find("\r\n6,,,,,,,,,\r\n"), std::string::npos) << csv;
  ASSERT_EQ(Cli(dir, "channels blank.dat --from plan.csv -o out.dat").status, 0);
  ImageStore back;
  ASSERT_EQ(ReadDataFile((dir / "out.dat").string(), back, {}).code, kDataFileLoaded);
  back.CopyTransferToWorking();
  for (auto [from, length] : {std::pair{kChannelIndexOffset, std::size_t{2 * kChannelIndexEntries}},
                              std::pair{kRecordAreaStart, kRecordAreaEnd - kRecordAreaStart},
                              std::pair{AuxRecordOffset(0), kAuxRecordSize * kChannelCount}})
    EXPECT_EQ(back.Main().Read(from, length), image.Main().Read(from, length)) << "channels at " << from;

  std::string outside = csv, thinned = csv;
  outside.replace(csv.find("\r\n5,146.150000,"), 15, "\r\n5,200,");
  thinned.erase(csv.find("\r\n3,") + 2, csv.find("\r\n4,") - csv.find("\r\n3,"));
  for (const auto& [text, message] :
       {std::pair{outside, "Row 5, RX Freq.: " + Tx(656_txt)},
        std::pair{thinned, std::string("line 4: CH 4 is in the place of channel 3")},
        std::pair{std::string("CH,Name\r\n1,\"AB\r\n"), std::string("line 2: a quoted cell")}}) {
    WriteBytes(dir / "bad.csv", text);
    r = Cli(dir, "channels blank.dat --from bad.csv -o none.dat");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
  }
  EXPECT_FALSE(fs::exists(dir / "none.dat"));
  EXPECT_EQ(Cli(dir, "channels blank.dat --from plan.csv").status, 2) << "no -o";
}

}  // namespace
