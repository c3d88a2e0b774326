// zmp318t-cli channels FILE, run as a technician would: a real data file in a
// temporary folder, the tool's output read back.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "ChannelPlan.h"
#include "EditorTestSupport.h"
#include "data/DataFile.h"
#include "data/NewImage.h"
#include "editors/ChannelFields.h"
#include "editors/ChannelGridSource.h"

using namespace zmp;
using namespace zmp::testing;
namespace fs = std::filesystem;

namespace {

struct CliRun {
  int status = -1;
  std::string out;
};

// Runs the tool with stderr joined to stdout.
CliRun RunCli(const std::string& args) {
  CliRun r;
  const std::string cmd = std::string(ZMP_BIN_DIR) + "/zmp318t-cli " + args + " 2>&1";
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  std::array<char, 4096> buf;
  std::size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
  const int st = pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

class ChannelPlanCli : public ::testing::Test {
 protected:
  void SetUp() override {
    UseProgramTexts();
    SetDecimalSeparator('.');
    dir = fs::temp_directory_path() / ("zmp-channels-" + std::to_string(::getpid()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path dir;
};

TEST_F(ChannelPlanCli, PrintsTheGridWithTitlesOfADataFile) {
  if (!fs::exists(std::string(ZMP_BIN_DIR) + "/zmp318t-cli")) GTEST_SKIP() << "zmp318t-cli is not built";
  ImageStore image;
  SetModel(image, Vhf146E());
  ChannelStore store(image);
  ASSERT_TRUE(CommitFieldText(ChannelField(0, "rx_frequency"), store.Image(), "146.5").ok());
  ASSERT_TRUE(CommitFieldText(ChannelField(0, "tx_frequency"), store.Image(), "150.1").ok());
  ASSERT_TRUE(CommitFieldText(ChannelField(3, "rx_frequency"), store.Image(), "147.0125").ok());
  ASSERT_TRUE(CommitFieldText(ChannelField(3, "name"), store.Image(), "GW").ok());
  const std::string path = (dir / "plan.dat").string();
  ASSERT_EQ(WriteDataFile(path, image, {}).code, kDataFileWritten);
  const CliRun r = RunCli("channels '" + path + "'");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out, ChannelPlanText(image) + "\n");
  // Title line, then one line per channel.
  std::size_t lines = 0;
  for (char c : r.out) lines += c == '\n';
  EXPECT_EQ(lines, 31u);
  EXPECT_EQ(r.out.rfind("CH\tRX Freq.\tTX Freq.\t", 0), 0u);
  EXPECT_NE(r.out.find("\n1\t146.500000\t150.100000\t"), std::string::npos);
  EXPECT_NE(r.out.find("\n4\t147.012500\t"), std::string::npos);
  EXPECT_NE(r.out.find("\tGW\n"), std::string::npos);
}

TEST_F(ChannelPlanCli, AProtectedFileIsListedOnlyWithItsPassword) {
  if (!fs::exists(std::string(ZMP_BIN_DIR) + "/zmp318t-cli")) GTEST_SKIP() << "zmp318t-cli is not built";
  ImageStore image;
  SetModel(image, Vhf146E());
  ASSERT_TRUE(CommitFieldText(ChannelField(0, "rx_frequency"), ChannelStore(image).Image(), "146.5").ok());
  const std::string path = (dir / "locked.dat").string();
  DataFileOptions options;
  options.password = "1234";
  ASSERT_EQ(WriteDataFile(path, image, options).code, kDataFileWritten);
  const CliRun refused = RunCli("channels '" + path + "'");
  EXPECT_EQ(refused.status, kDataFilePasswordRefused) << "the read code, as every command gives it";
  EXPECT_EQ(refused.out.find("146.500000"), std::string::npos);
  const CliRun wrong = RunCli("channels '" + path + "' --password 9999");
  EXPECT_EQ(wrong.status, kDataFilePasswordRefused);
  const CliRun right = RunCli("channels '" + path + "' --password 1234");
  ASSERT_EQ(right.status, 0) << right.out;
  EXPECT_EQ(right.out, ChannelPlanText(image) + "\n");
}

TEST_F(ChannelPlanCli, AFileThatIsNoDataFileIsRefusedWithItsMessage) {
  if (!fs::exists(std::string(ZMP_BIN_DIR) + "/zmp318t-cli")) GTEST_SKIP() << "zmp318t-cli is not built";
  const std::string path = (dir / "short.dat").string();
  { std::ofstream(path) << "not a data file"; }
  const CliRun bad = RunCli("channels '" + path + "'");
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.out.find(path), std::string::npos) << bad.out;
  EXPECT_EQ(fs::file_size(path), 15u) << "the file is left as it was";
  const CliRun missing = RunCli("channels '" + (dir / "none.dat").string() + "'");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(RunCli("channels").status, 2);
}

// A plan as CSV: exported, edited in a spreadsheet, applied to a new file of
// the same model and band; what a paste refuses stops the plan and writes nothing.
TEST_F(ChannelPlanCli, ACsvPlanRoundTripsAndARefusedCellWritesNothing) {
  if (!fs::exists(std::string(ZMP_BIN_DIR) + "/zmp318t-cli")) GTEST_SKIP() << "zmp318t-cli is not built";
  ImageStore image;
  ASSERT_TRUE(MakeStartupImage(image, Vhf146E()));
  ImageStore fresh = image;
  {
    ChannelGridSource grid(image);
    TypeChannelPlan(grid);
    ASSERT_TRUE(grid.SetCellText(1, 9, "A,").stored);
    ASSERT_TRUE(grid.SetCellText(5, 1, "").stored) << "channel 6 does not exist";
  }
  const std::string site = (dir / "site.dat").string(), blank = (dir / "blank.dat").string();
  ASSERT_EQ(WriteDataFile(site, image, {}).code, kDataFileWritten);
  ASSERT_EQ(WriteDataFile(blank, fresh, {}).code, kDataFileWritten);
  const std::string plan = (dir / "plan.csv").string(), out = (dir / "out.dat").string();
  const CliRun exported = RunCli("channels '" + site + "' --csv -o '" + plan + "'");
  ASSERT_EQ(exported.status, 0) << exported.out;
  std::string csv;
  {
    std::ifstream in(plan, std::ios::binary);
    csv.assign(std::istreambuf_iterator<char>(in), {});
  }
  EXPECT_EQ(csv.rfind("CH,RX Freq.,TX Freq.,CH Type,", 0), 0u) << csv;
  EXPECT_NE(csv.find("\r\n2,146.112500,150.225000,Digital,"), std::string::npos) << csv;
  EXPECT_NE(csv.find(",\"A,\"\r\n"), std::string::npos) << "a name with a comma is quoted";
  EXPECT_NE(csv.find("\r\n6,,,,,,,,,\r\n"), std::string::npos);

  const CliRun applied = RunCli("channels '" + blank + "' --from '" + plan + "' -o '" + out + "'");
  ASSERT_EQ(applied.status, 0) << applied.out;
  ImageStore back;
  ASSERT_EQ(ReadDataFile(out, back, [] { return std::nullopt; }).code, kDataFileLoaded);
  back.CopyTransferToWorking();
  for (auto [from, length] : {std::pair{kChannelIndexOffset, std::size_t{2 * kChannelIndexEntries}},
                              std::pair{kRecordAreaStart, kRecordAreaEnd - kRecordAreaStart},
                              std::pair{AuxRecordOffset(0), kAuxRecordSize * kChannelCount}})
    EXPECT_EQ(back.Main().Read(from, length), image.Main().Read(from, length)) << "channels at " << from;

  // Row 5's RX outside the band: refused with its row and column, no file.
  const std::string line5 = "\r\n5,146.150000,";
  const std::size_t at = csv.find(line5);
  ASSERT_NE(at, std::string::npos);
  std::string bad = csv;
  bad.replace(at, line5.size(), "\r\n5,200,");
  const std::string badPlan = (dir / "bad.csv").string(), none = (dir / "none.dat").string();
  std::ofstream(badPlan, std::ios::binary) << bad;
  const CliRun refused = RunCli("channels '" + blank + "' --from '" + badPlan + "' -o '" + none + "'");
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.out.find("Row 5, RX Freq.: " + Tx(656_txt)), std::string::npos) << refused.out;
  EXPECT_FALSE(fs::exists(none));
  // A line left out in the spreadsheet would shift every channel after it.
  std::string thinned = csv;
  thinned.erase(csv.find("\r\n3,") + 2, csv.find("\r\n4,") - csv.find("\r\n3,"));
  std::ofstream(badPlan, std::ios::binary) << thinned;
  const CliRun shifted = RunCli("channels '" + blank + "' --from '" + badPlan + "' -o '" + none + "'");
  EXPECT_EQ(shifted.status, 1);
  EXPECT_NE(shifted.out.find("line 4: CH 4 is in the place of channel 3"), std::string::npos) << shifted.out;
  // Broken CSV names its line.
  std::ofstream(badPlan, std::ios::binary) << "CH,Name\r\n1,\"AB\r\n";
  const CliRun broken = RunCli("channels '" + blank + "' --from '" + badPlan + "' -o '" + none + "'");
  EXPECT_EQ(broken.status, 1);
  EXPECT_NE(broken.out.find("line 2: a quoted cell"), std::string::npos) << broken.out;
  EXPECT_FALSE(fs::exists(none));
  EXPECT_EQ(RunCli("channels '" + blank + "' --from '" + plan + "'").status, 2) << "no -o";
}

}  // namespace
