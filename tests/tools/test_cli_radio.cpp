// zmp318t-cli read, write and ports against the real simulator.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "CliRun.h"
#include "SimProcess.h"
#include "app/LanguageTexts.h"
#include "data/DataFile.h"
#include "editors/ChannelFields.h"
#include "editors/ChannelStore.h"

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
  std::string Text(int n) { return zmp::Texts().Text(zmp::TextNo{n}); }

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
    // Both models in words.
    EXPECT_NE(r.err.find("WAV-300: E  VHF: 146-174 MHz"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("WAV-500: E"), std::string::npos) << r.err;
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
  {
    // The repeater stored the main data, then reset the connection: the one
    // message says what it holds now.
    ASSERT_EQ(Cli(dir, "new --model 1 --band 258 -o mixed.dat").status, 0);
    SimProcess sim({"--no-pace", "--rst", "SCRIPT@SC_WRITE1_req DATA CNVUNT"});
    ASSERT_TRUE(sim.ok());
    const CliRun r = Cli(dir, "write --port " + sim.path() + " mixed.dat");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(Text(643) + "\n" + Text(404)), std::string::npos) << r.err;
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

// Faults of the line or the repeater: exit status 1 with one message and no
// file; a repeater that only fails to acknowledge the end of the connection
// has delivered everything, so that read and write succeed.
TEST_F(CliRadio, LineFaultsExitOneWithOneMessage) {
  ASSERT_EQ(Cli(dir, "new --model 1 --band 258 -o site.dat").status, 0);
  for (const std::vector<std::string>& fault :
       {std::vector<std::string>{"--garbage", "SC_MODE_req"}, {"--hangup", "SC_PASS_ind"}, {"--missed-baud"},
        {"--rst-after", "TIMER@SC_MODE_req"}}) {
    SCOPED_TRACE(fault[0]);
    for (const char* command : {"read", "write"}) {
      std::vector<std::string> args = fault;
      args.push_back("--no-pace");
      SimProcess sim(args);
      ASSERT_TRUE(sim.ok());
      const std::string tail = std::string(command) == "read" ? " -o out.dat" : " site.dat";
      const CliRun r = Cli(dir, std::string(command) + " --port " + sim.path() + " --baud 115200" + tail);
      EXPECT_EQ(r.status, 1) << command;
      // One message: one line that names the tool (a message may run on).
      std::size_t messages = 0;
      for (auto at = r.err.find("zmp318t-cli "); at != std::string::npos; at = r.err.find("zmp318t-cli ", at + 1))
        ++messages;
      EXPECT_EQ(messages, 1u) << r.err;
      EXPECT_FALSE(fs::exists(dir / "out.dat"));
    }
  }
  SimProcess sim({"--no-pace", "--no-fin-ack", "--extra-words"});
  ASSERT_TRUE(sim.ok());
  CliRun r = Cli(dir, "read --port " + sim.path() + " -o out.dat");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(fs::exists(dir / "out.dat"));
  r = Cli(dir, "write --port " + sim.path() + " site.dat");
  EXPECT_EQ(r.status, 0) << r.err;
}

// The tool as a process of its own, so that a test can interrupt it.
class CliProcess {
 public:
  CliProcess(const fs::path& dir, const std::vector<std::string>& args) {
    pid_ = ::fork();
    if (pid_ == 0) {
      if (::chdir(dir.c_str()) != 0) ::_exit(126);
      const std::string err = (dir / "stderr.txt").string();
      const int fd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      ::dup2(fd, 2);
      const int out = ::open((dir / "stdout.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      ::dup2(out, 1);
      const std::string bin = ZMP_BIN_DIR "/zmp318t-cli";
      std::vector<char*> argv{const_cast<char*>(bin.c_str())};
      for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      ::execv(bin.c_str(), argv.data());
      ::_exit(127);
    }
  }
  void Interrupt() { ::kill(pid_, SIGINT); }
  int Wait() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = -1;
};

// Ctrl+C ends a read with the connection closed (the unit stopped with HALT,
// then FIN), the port's lock file gone and no output file; it ends a write
// only before its first data block, and afterwards says why the write goes on.
TEST_F(CliRadio, CtrlCClosesTheConnectionAndLeavesNoFile) {
  ASSERT_EQ(Cli(dir, "new --model 1 --band 258 -o site.dat").status, 0);
  const fs::path log = dir / "sim.log", locks = dir / "locks";
  fs::create_directories(locks);
  ::setenv("ZMP_LOCK_DIR", locks.c_str(), 1);
  const auto waitFor = [&](const std::string& text) {
    for (int i = 0; i < 500 && ReadText(log).find(text) == std::string::npos; ++i) ::usleep(10000);
    return ReadText(log).find(text) != std::string::npos;
  };
  {
    SimProcess sim({"--log", log.string(), "--pattern", "3"});  // paced: a read takes a minute at 9600 baud
    ASSERT_TRUE(sim.ok());
    CliProcess cli(dir, {"read", "--port", sim.path(), "-o", "out.dat"});
    ASSERT_TRUE(waitFor("> SC_DATA_ind"));
    cli.Interrupt();
    EXPECT_EQ(cli.Wait(), 130);
    EXPECT_NE(ReadText(dir / "stderr.txt").find("interrupted"), std::string::npos) << ReadText(dir / "stderr.txt");
    EXPECT_FALSE(fs::exists(dir / "out.dat"));
    EXPECT_TRUE(fs::is_empty(locks));
    sim.Stop();
    EXPECT_NE(ReadText(log).find("< SC_CONTROL HALT\n> SC_CONTROL ACK\n< SC_CONTROL FIN\n> SC_CONTROL ACK\n"),
              std::string::npos)
        << ReadText(log);
  }
  {
    SimProcess sim({"--no-pace", "--log", log.string(), "--late-ack", "1500@SC_WRITE1_req DATA FPU"});
    ASSERT_TRUE(sim.ok());
    CliProcess cli(dir, {"write", "--port", sim.path(), "site.dat"});
    ASSERT_TRUE(waitFor("< SC_WRITE1_req DATA FPU"));
    cli.Interrupt();
    EXPECT_EQ(cli.Wait(), 130);
    EXPECT_NE(ReadText(dir / "stderr.txt").find("the repeater is unchanged"), std::string::npos);
    sim.Stop();
    EXPECT_EQ(ReadText(log).find("= stored"), std::string::npos);
    EXPECT_NE(ReadText(log).find("< SC_CONTROL FIN"), std::string::npos);
  }
  SimProcess sim({"--no-pace", "--log", log.string(), "--late-ack", "1500@SC_WRITE1_req DATA CNVUNT"});
  ASSERT_TRUE(sim.ok());
  CliProcess cli(dir, {"write", "--port", sim.path(), "site.dat"});
  ASSERT_TRUE(waitFor("= stored FPU"));
  cli.Interrupt();
  EXPECT_EQ(cli.Wait(), 0);
  EXPECT_NE(ReadText(dir / "stderr.txt").find(Text(403)), std::string::npos) << ReadText(dir / "stderr.txt");
  sim.Stop();
  EXPECT_NE(ReadText(log).find("= stored CNVGRP"), std::string::npos);
  ::unsetenv("ZMP_LOCK_DIR");
}

// Without --pattern or --load the simulator is a demonstration repeater: a
// sound channel plan of about a dozen channels with names, tones and a split
// pair, which a technician reads, saves and writes back unchanged.
TEST_F(CliRadio, SimulatorStartsAsADemonstrationRepeater) {
  SimProcess sim({"--no-pace"});
  ASSERT_TRUE(sim.ok());
  CliRun r = Cli(dir, "read --port " + sim.path() + " --baud 115200 -o demo.dat");
  ASSERT_EQ(r.status, 0) << r.err;
  zmp::ImageStore image;
  ASSERT_EQ(zmp::ReadDataFile((dir / "demo.dat").string(), image, {}).code, 0);
  image.CopyTransferToWorking();
  zmp::ChannelStore store(image);
  EXPECT_TRUE(store.CheckIndex().sound);
  EXPECT_GE(store.ExistingCount(), 10);
  EXPECT_LE(store.ExistingCount(), 16);
  int named = 0, toned = 0, split = 0;
  for (int ch = 0; ch < zmp::kChannelCount; ++ch) {
    if (!store.Exists(ch)) continue;
    named += !zmp::ShowField(zmp::ChannelField(ch, "name"), store.Image()).text.empty();
    toned += store.HasTone(ch, 0) || store.HasTone(ch, 1);
    split += store.HasFrequency(ch, 1) && !store.SameFrequencies(ch);
  }
  EXPECT_EQ(named, store.ExistingCount());
  EXPECT_GE(toned, 4);
  EXPECT_GE(split, 1);
  r = Cli(dir, "channels demo.dat");
  EXPECT_EQ(r.status, 0) << r.err;
  // It checks clean, and its export is a backup: a new file takes it byte for byte.
  EXPECT_EQ(Cli(dir, "check demo.dat").status, 0);
  ASSERT_EQ(Cli(dir, "export demo.dat -o demo.yaml").status, 0);
  ASSERT_EQ(Cli(dir, "new --model 1 -o blank.dat").status, 0);
  ASSERT_EQ(Cli(dir, "import demo.yaml --into blank.dat -o again.dat").status, 0);
  EXPECT_EQ(Cli(dir, "diff demo.dat again.dat").status, 0);
  r = Cli(dir, "write --port " + sim.path() + " --baud 115200 demo.dat");
  EXPECT_EQ(r.status, 0) << r.err;
}

// The probe lists COM1..COM20; a port mapped to the simulator's terminal is
// a free serial port, a missing device cannot be opened.
TEST_F(CliRadio, PortsProbeFollowsThePortMap) {
  SimProcess sim({"--no-pace"}), held({"--no-pace"});
  ASSERT_TRUE(sim.ok());
  ASSERT_TRUE(held.ok());
  // Another program holds COM5 by its lock file ("LCK..pts_N" for /dev/pts/N).
  const fs::path locks = dir / "locks";
  fs::create_directories(locks);
  std::string lockName = held.path().substr(5);
  std::replace(lockName.begin(), lockName.end(), '/', '_');
  { std::ofstream(locks / ("LCK.." + lockName)) << "         1\n"; }
  ::setenv("ZMP_LOCK_DIR", locks.c_str(), 1);
  ::setenv("ZMP_PORT_MAP", ("3=" + sim.path() + ",4=/dev/zmp-no-such-port,5=" + held.path()).c_str(), 1);
  const CliRun r = Cli(dir, "ports");
  ::unsetenv("ZMP_PORT_MAP");
  ::unsetenv("ZMP_LOCK_DIR");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("COM3   " + sim.path()), std::string::npos) << r.out;
  const auto line = [&](const std::string& port) {
    const auto at = r.out.find(port + " ");
    return at == std::string::npos ? std::string() : r.out.substr(at, r.out.find('\n', at) - at);
  };
  EXPECT_NE(line("COM3").find("serial port, free (mapped)"), std::string::npos) << r.out;
  EXPECT_NE(line("COM4").find("cannot be opened"), std::string::npos) << r.out;
  EXPECT_NE(line("COM5").find("in use by another program"), std::string::npos) << r.out;
  EXPECT_NE(line("COM20").find("COM20"), std::string::npos) << r.out;
  // The probe let the port go again: a read through COM3 works.
  ::setenv("ZMP_PORT_MAP", ("3=" + sim.path()).c_str(), 1);
  const CliRun read = Cli(dir, "read --port 3 -o through-com3.dat");
  ::unsetenv("ZMP_PORT_MAP");
  EXPECT_EQ(read.status, 0) << read.err;
}

}  // namespace
