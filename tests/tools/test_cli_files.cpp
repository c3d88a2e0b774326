// The tuning file and channel plan commands of zmp318t-cli on files made in
// process (the other file commands: transcripts/files.txt).
#include <gtest/gtest.h>

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
