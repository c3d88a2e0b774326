// zmp318t-cli ports against a copy of sysfs with two USB adapters (ports
// against the simulator: transcripts/radio.txt).
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>

#include "../support/FakeSystem.h"
#include "../support/Files.h"
#include "CliRun.h"

using namespace zmp::testing;

namespace {

class CliPorts : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("ZMP_SYSTEM_ROOT", sys.Root().c_str(), 1);
    ::setenv("ZMP_PORT_MAP", (std::string("2=") + FakeSystem::kGoneById).c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("ZMP_SYSTEM_ROOT");
    ::unsetenv("ZMP_PORT_MAP");
  }
  FakeSystem sys;
  TempDir dir{"cli-ports"};
};

TEST_F(CliPorts, ListsTheAdapterBehindEachPortAndTheUnmappedOnes) {
  const CliRun text = Cli(dir, "ports");
  ASSERT_EQ(text.status, 0) << text.err;
  const auto line = [&](const std::string& port) {
    const auto at = text.out.find(port + " ");
    return at == std::string::npos ? std::string() : text.out.substr(at, text.out.find('\n', at) - at);
  };
  EXPECT_NE(line("COM1").find("FTDI FT232R USB UART (0403:6001, serial A1B2C3)"), std::string::npos) << text.out;
  EXPECT_NE(line("COM2").find("adapter not plugged in"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find(FakeSystem::kAcmById), std::string::npos) << "the unmapped adapter by its stable name";

  const CliRun json = Cli(dir, "ports --json");
  ASSERT_EQ(json.status, 0) << json.err;
  // (What names an adapter is SerialAdapters'.)
  const auto j = nlohmann::json::parse(json.out);
  ASSERT_EQ(j["ports"].size(), 20u);
  EXPECT_EQ(j["ports"][0]["adapter"]["by_id"], FakeSystem::kFtdiById);
  EXPECT_EQ(j["ports"][1]["unplugged"], true);
  EXPECT_EQ(j["ports"][1]["state"], "cannot-open");
  EXPECT_EQ(j["unmapped_adapters"][0]["device"], "/dev/ttyACM4");

  EXPECT_EQ(Cli(dir, "ports --yaml").status, 2);
}

}  // namespace
