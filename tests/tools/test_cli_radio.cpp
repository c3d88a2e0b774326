// zmp318t-cli read, write and ports against the real simulator.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "CliRun.h"
#include "SimProcess.h"
#include "lang/LanguageTexts.h"
#include "data/DataFile.h"
#include "editors/ChannelFields.h"
#include "editors/ChannelStore.h"
#include "editors/EditorModules.h"
#include "fields/ImageCheck.h"

namespace fs = std::filesystem;
using namespace zmp::testing;

namespace {

class CliRadio : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(zmp::Texts().LoadFile(ZMP_BIN_DIR "/zmp318t.lng", "English"), zmp::LanguageTexts::LoadResult::Loaded);
  }
  // The blocks of a data file.
  zmp::ImageCopy Image(const std::string& file) {
    zmp::ImageStore image;
    EXPECT_EQ(zmp::ReadDataFile((dir / file).string(), image, {}).code, 0) << file;
    return image.transfer();
  }
  std::string Text(int n) { return zmp::Texts().Text(zmp::TextNo{n}); }

  TempDir dir{"cli-radio"};
};

// A technician's round: a new image written into the repeater and read back
// into a file like it, the same (the rates and the bytes on the way are
// FullTransfer's).
TEST_F(CliRadio, WriteThenReadBack) {
  ASSERT_EQ(Cli(dir, "new --model 1 --band 258 -o site.dat").status, 0);
  SimProcess sim({"--no-pace", "--pattern", "7"});
  ASSERT_TRUE(sim.ok());
  CliRun r = Cli(dir, "write --port " + sim.path() + " site.dat");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err.find('\r'), std::string::npos) << "no progress bar when stderr is no terminal";
  EXPECT_NE(r.out.find("WAV-300: E"), std::string::npos) << r.out;
  r = Cli(dir, "read --port " + sim.path() + " --baud 115200 --like site.dat -o back.dat");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(std::ranges::equal(Image("back.dat").Main().span(), Image("site.dat").Main().span()));
  EXPECT_TRUE(std::ranges::equal(Image("back.dat").Second().span(), Image("site.dat").Second().span()));
}

// Every failure exits non-zero with its message and leaves files as they were.
TEST_F(CliRadio, FailuresSayWhyAndLeaveFilesAlone) {
  const fs::path kept = dir / "kept.dat";
  WriteBytes(kept, "an older file");
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
    // A fault of the line (all of them: TransferTest.LineFaults...): exit 1,
    // one message (one line that names the tool), the file as it was.
    SimProcess sim({"--no-pace", "--rst", "TIMER@SC_READ1_req DATA CNVGRP"});
    ASSERT_TRUE(sim.ok());
    const CliRun r = Cli(dir, "read --port " + sim.path() + " -o kept.dat");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("zmp318t-cli "), 0u) << r.err;
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
  WriteBytes(dir / "short.dat", "ZMP");
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
    EXPECT_NE(ReadText(log).find("< SC_CONTROL FIN\n> SC_CONTROL ACK\n"), std::string::npos) << ReadText(log);
  }
  {
    SimProcess sim({"--no-pace", "--log", log.string(), "--late-ack", "1500@SC_WRITE1_req DATA FPU"});
    ASSERT_TRUE(sim.ok());
    CliProcess cli(dir, {"write", "--port", sim.path(), "site.dat"});
    ASSERT_TRUE(waitFor("< SC_WRITE1_req DATA FPU"));
    cli.Interrupt();
    EXPECT_EQ(cli.Wait(), 130);
    EXPECT_NE(ReadText(dir / "stderr.txt").find("the repeater is unchanged"), std::string::npos);
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
  EXPECT_TRUE(zmp::CheckImage(zmp::EditorModules(), image).empty()) << "it checks clean";
  r = Cli(dir, "write --port " + sim.path() + " --baud 115200 demo.dat");
  EXPECT_EQ(r.status, 0) << r.err;
}

// diff FILE --port: the repeater read into an image of its own and compared
// with the file, which stays as it was; a read that fails compares nothing.
TEST_F(CliRadio, DiffComparesAFileWithTheRepeater) {
  SimProcess sim({"--no-pace"});
  ASSERT_TRUE(sim.ok());
  ASSERT_EQ(Cli(dir, "read --port " + sim.path() + " -o site.dat").status, 0);
  const std::string port = " --port " + sim.path();
  CliRun r = Cli(dir, "diff site.dat" + port);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "the repeater holds exactly the image of site.dat\n");

  ASSERT_EQ(Cli(dir, "set site.dat 'channel[2].rx_frequency=146.55' -o channel.dat").status, 0);
  ASSERT_EQ(Cli(dir, "set site.dat optional_features.repeater.squelch_level=12 -o feature.dat").status, 0);
  const std::string before = ReadText(dir / "channel.dat");
  r = Cli(dir, "diff channel.dat" + port + " --baud 115200");
  EXPECT_EQ(r.status, 1) << r.err;
  // The repeater's text, then the file's; the checksum outside every field.
  EXPECT_NE(r.out.find("channel 2 / RX Frequency [MHz]: "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(" → 146.550000\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("bytes outside every field:\n  main 0x0256"), std::string::npos) << r.out;
  EXPECT_EQ(ReadText(dir / "channel.dat"), before);
  r = Cli(dir, "diff feature.dat" + port);
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.out.find("optional_features.repeater / "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(" → 12\n"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("channel "), std::string::npos) << r.out;

  // Failures: exit 2 with the reason, and nothing said about differences.
  ASSERT_EQ(Cli(dir, "new --model 3 -o other.dat").status, 0);
  r = Cli(dir, "diff other.dat" + port);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("only data of the repeater's model can be compared"), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(Cli(dir, "diff site.dat channel.dat" + port).status, 2) << "two files and a port";
  SimProcess failing({"--no-pace", "--rst", "TIMER@SC_READ1_req DATA CNVGRP"});
  ASSERT_TRUE(failing.ok());
  r = Cli(dir, "diff site.dat --port " + failing.path());
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find(Text(665)), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("nothing was compared"), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "");
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
  WriteBytes(locks / ("LCK.." + lockName), "         1\n");
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
