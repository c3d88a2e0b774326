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

#include "EditorTestSupport.h"
#include "data/DataFile.h"
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
  ASSERT_EQ(store.SetFieldText(0, chfield::kRxFrequency, "146.5"), StoreStatus::Ok);
  ASSERT_EQ(store.SetFieldText(0, chfield::kTxFrequency, "150.1"), StoreStatus::Ok);
  ASSERT_EQ(store.SetFieldText(3, chfield::kRxFrequency, "147.0125"), StoreStatus::Ok);
  ASSERT_EQ(store.SetFieldText(3, chfield::kName, "GW"), StoreStatus::Ok);
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
  ASSERT_EQ(ChannelStore(image).SetFieldText(0, chfield::kRxFrequency, "146.5"), StoreStatus::Ok);
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

}  // namespace
