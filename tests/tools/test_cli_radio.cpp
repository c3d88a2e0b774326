// zmp318t-cli read, write and ports against the real simulator.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "CliRun.h"
#include "SimProcess.h"
#include "app/LanguageTexts.h"
#include "data/DataFile.h"

namespace fs = std::filesystem;
using zmp::testing::Cli;
using zmp::testing::CliRun;
using zmp::testing::MakeTempDir;
using zmp::testing::ReadText;
using zmp::testing::SimProcess;

namespace {

class CliRadio : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = MakeTempDir("cli-radio");
    ASSERT_FALSE(dir.empty());
    ASSERT_EQ(zmp::Texts().LoadFile(ZMP_BIN_DIR "/zmp318t.lng", "English"), zmp::LanguageTexts::LoadResult::Loaded);
  }
  void TearDown() override { fs::remove_all(dir); }

  // The blocks of a data file, decoded by the tool itself.
  std::string Block(const std::string& file, const std::string& block) {
    const fs::path out = dir / (file + ".blocks");
    EXPECT_EQ(Cli(dir, "decode " + file + " '" + out.string() + "'").status, 0);
    return ReadText(out / (block + ".bin"));
  }
  std::string Text(int n) { return zmp::Texts().Text(zmp::TextNo(n)); }

  fs::path dir;
};

// A technician's round: a new image written into the repeater, read back
// into a file, byte for byte the same at 9600 and at 115200.
TEST_F(CliRadio, WriteThenReadBackAtBothRates) {
  ASSERT_EQ(Cli(dir, "new --model 1 --band 258 -o site.dat").status, 0);
  const std::string saved = (dir / "repeater.dat").string();
  {
    SimProcess sim({"--no-pace", "--pattern", "7", "--save", saved});
    ASSERT_TRUE(sim.ok());
    const CliRun r = Cli(dir, "write --port " + sim.path() + " site.dat");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err.find('\r'), std::string::npos) << "no progress bar when stderr is no terminal";
    EXPECT_NE(r.out.find("WAV-300: E"), std::string::npos) << r.out;
  }
  EXPECT_EQ(Block("repeater.dat", "main"), Block("site.dat", "main"));
  EXPECT_EQ(Block("repeater.dat", "second"), Block("site.dat", "second"));

  for (const char* baud : {"9600", "115200"}) {
    SimProcess sim({"--no-pace", "--load", saved});
    ASSERT_TRUE(sim.ok());
    const std::string out = std::string("back-") + baud + ".dat";
    const CliRun r = Cli(dir, "read --port " + sim.path() + " --baud " + baud + " --like site.dat -o " + out);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Block(out, "main"), Block("site.dat", "main")) << baud;
    EXPECT_EQ(Block(out, "second"), Block("site.dat", "second")) << baud;
    EXPECT_EQ(Block(out, "third"), Block("repeater.dat", "third")) << baud;
  }
}

// Every failure exits non-zero with its message and leaves files as they were.
TEST_F(CliRadio, FailuresSayWhyAndLeaveFilesAlone) {
  const fs::path kept = dir / "kept.dat";
  { std::ofstream(kept) << "an older file"; }
  {
    // Another model than asked for: nothing is read or written.
    SimProcess sim({"--no-pace"});
    ASSERT_TRUE(sim.ok());
    const CliRun r = Cli(dir, "read --port " + sim.path() + " --model 3 -o kept.dat");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(zmp::FormatText(Text(470), {"RWAV0300 2 1"})), std::string::npos) << r.err;
    EXPECT_EQ(ReadText(kept), "an older file");
  }
  {
    // The repeater resets the link in the middle of the group data.
    SimProcess sim({"--no-pace", "--rst", "TIMER@SC_READ1_req DATA CNVGRP"});
    ASSERT_TRUE(sim.ok());
    const CliRun r = Cli(dir, "read --port " + sim.path() + " -o kept.dat");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(Text(665)), std::string::npos) << r.err;
    EXPECT_EQ(ReadText(kept), "an older file");
  }
  // No port behind the name.
  CliRun r = Cli(dir, "read --port /dev/zmp-no-such-port -o kept.dat");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(Text(642)), std::string::npos) << r.err;
  EXPECT_EQ(ReadText(kept), "an older file");

  // A protected file goes out only with its password.
  ASSERT_EQ(Cli(dir, "new --model 1 --band 258 -o plain.dat").status, 0);
  ASSERT_EQ(Cli(dir, "decode plain.dat blocks").status, 0);
  ASSERT_EQ(Cli(dir, "encode blocks -o locked.dat --password 4711").status, 0);
  {
    SimProcess sim({"--no-pace"});
    ASSERT_TRUE(sim.ok());
    r = Cli(dir, "write --port " + sim.path() + " locked.dat");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find(Text(160)), std::string::npos) << r.err;
    r = Cli(dir, "write --port " + sim.path() + " --password 4711 locked.dat");
    EXPECT_EQ(r.status, 0) << r.err;
  }
  // A damaged file is refused before the port is touched.
  { std::ofstream(dir / "short.dat") << "ZMP"; }
  r = Cli(dir, "write --port /dev/zmp-no-such-port short.dat");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.find(Text(642)), std::string::npos) << r.err;

  // Wrong use is status 2 with the usage.
  EXPECT_EQ(Cli(dir, "read --port 1 --baud 12345 -o x.dat").status, 2);
  EXPECT_EQ(Cli(dir, "read --port 1 --model 1 --like plain.dat -o x.dat").status, 2);
  EXPECT_EQ(Cli(dir, "read -o x.dat").status, 2);
  EXPECT_EQ(Cli(dir, "write --port 0 plain.dat").status, 2);
  EXPECT_FALSE(fs::exists(dir / "x.dat"));
}

// The probe lists COM1..COM20; a port mapped to the simulator's terminal is
// a free serial port, a missing device cannot be opened.
TEST_F(CliRadio, PortsProbeFollowsThePortMap) {
  SimProcess sim({"--no-pace"});
  ASSERT_TRUE(sim.ok());
  ::setenv("ZMP_PORT_MAP", ("3=" + sim.path() + ",4=/dev/zmp-no-such-port").c_str(), 1);
  const CliRun r = Cli(dir, "ports");
  ::unsetenv("ZMP_PORT_MAP");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("COM3   " + sim.path()), std::string::npos) << r.out;
  const auto line = [&](const std::string& port) {
    const auto at = r.out.find(port + " ");
    return at == std::string::npos ? std::string() : r.out.substr(at, r.out.find('\n', at) - at);
  };
  EXPECT_NE(line("COM3").find("serial port, free (mapped)"), std::string::npos) << r.out;
  EXPECT_NE(line("COM4").find("cannot be opened"), std::string::npos) << r.out;
  EXPECT_NE(line("COM20").find("COM20"), std::string::npos) << r.out;
  // The probe let the port go again: a read through COM3 works.
  ::setenv("ZMP_PORT_MAP", ("3=" + sim.path()).c_str(), 1);
  const CliRun read = Cli(dir, "read --port 3 -o through-com3.dat");
  ::unsetenv("ZMP_PORT_MAP");
  EXPECT_EQ(read.status, 0) << read.err;
}

}  // namespace
