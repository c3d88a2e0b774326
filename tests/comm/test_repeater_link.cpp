// The serial port and the command protocol over a real pseudo-terminal, with
// a scripted repeater on the other end.
#include <gtest/gtest.h>

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "../support/Files.h"
#include "PtyPeer.h"
#include "comm/PortMap.h"
#include "comm/RepeaterLink.h"

using namespace zmp;
using namespace zmp::wire;
using zmp::testing::PtyPeer;

namespace {

class RecordingUi : public LinkUi {
 public:
  std::vector<int> failures;
  int pumps = 0;
  void Pump() override { ++pumps; }
  void ShowFailure(TextNo t) override { failures.push_back(t.n); }
};

class LinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    link.SetDevice(peer.Path());
    link.SetUi(&ui);
    ASSERT_EQ(link.Reconnect(), 0) << link.LastError();
  }
  void TearDown() override { peer.Stop(); }
  PtyPeer peer;
  RepeaterLink link;
  RecordingUi ui;
};

TEST(SerialSettings, ParseTheFourParts) {
  SerialSettings s;
  ASSERT_TRUE(ParseSerialSettings("115200,N,8,1", s));
  EXPECT_EQ(s.baud, 115200);
  ASSERT_TRUE(ParseSerialSettings("9600,e,7,2", s));
  EXPECT_EQ(s.parity, 'E');
  EXPECT_EQ(s.stopBits, 2);
  EXPECT_FALSE(ParseSerialSettings("9601,N,8,1", s));
  EXPECT_FALSE(ParseSerialSettings("9600,N,8", s));
  EXPECT_FALSE(ParseSerialSettings("9600,X,8,1", s));
  EXPECT_FALSE(ParseSerialSettings("9600,N,9,1,", s));
}

TEST(PortMapping, DefaultsOverridesAndTheEnvironmentForm) {
  PortMap m;
  EXPECT_EQ(m.DevicePath(1), "/dev/ttyUSB0");
  EXPECT_EQ(m.DevicePath(5), "/dev/ttyS0");
  EXPECT_EQ(m.DevicePath(9), "/dev/ttyACM0");
  EXPECT_EQ(m.DevicePath(20), "/dev/ttyS7");
  EXPECT_FALSE(m.IsExplicit(1));
  m.AddOverrides("1=/dev/pts/5,COM3=/dev/ttyUSB2,x=/dev/null,4=");
  EXPECT_EQ(m.DevicePath(1), "/dev/pts/5");
  EXPECT_EQ(m.DevicePath(3), "/dev/ttyUSB2");
  EXPECT_TRUE(m.IsExplicit(3));
  EXPECT_FALSE(m.IsExplicit(4));
}

// Another program's hold on a port is honoured: a lock file of a running
// process (as terminal programs write them into /var/lock) keeps the port
// shut and untouched, a stale one is ignored. While the port is open it
// carries our own lock file; closing removes it and puts the line settings
// back as they were.
TEST(SerialPortSharing, LockFilesAndLineSettings) {
  namespace fs = std::filesystem;
  PtyPeer peer;
  const zmp::testing::TempDir locks("locks");
  ::setenv("ZMP_LOCK_DIR", locks.path().c_str(), 1);
  // /dev/pts/7 is locked as "LCK..pts_7".
  std::string name = peer.Path().substr(5);
  for (char& c : name) c = c == '/' ? '_' : c;
  const fs::path lock = locks / ("LCK.." + name);
  auto writeLock = [&](pid_t pid) {
    char text[16];
    std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(pid));
    zmp::testing::WriteBytes(lock, text);
  };
  auto readLock = [&] {
    std::ifstream in(lock);
    long pid = -1;
    in >> pid;
    return pid;
  };

  termios before{};
  ASSERT_EQ(::tcgetattr(peer.TerminalFd(), &before), 0);
  before.c_lflag |= ICANON | ECHO;
  before.c_cflag &= ~CRTSCTS;
  ::cfsetspeed(&before, B4800);
  ASSERT_EQ(::tcsetattr(peer.TerminalFd(), TCSANOW, &before), 0);
  ASSERT_EQ(::tcgetattr(peer.TerminalFd(), &before), 0);
  auto sameSettings = [&] {
    termios now{};
    ::tcgetattr(peer.TerminalFd(), &now);
    return now.c_iflag == before.c_iflag && now.c_oflag == before.c_oflag && now.c_cflag == before.c_cflag &&
           now.c_lflag == before.c_lflag && ::cfgetospeed(&now) == ::cfgetospeed(&before);
  };

  SerialPort port;
  port.SetDevice(peer.Path());
  writeLock(1);  // a process that runs
  EXPECT_FALSE(port.Open());
  EXPECT_EQ(port.LastError(), EBUSY);
  EXPECT_TRUE(sameSettings()) << "a held port is not touched";
  EXPECT_EQ(readLock(), 1);

  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ::waitpid(gone, nullptr, 0);
  writeLock(gone);  // stale: its process has ended
  ASSERT_TRUE(port.Open()) << port.LastError();
  EXPECT_EQ(readLock(), ::getpid()) << "our own lock while open";
  EXPECT_FALSE(sameSettings()) << "the port runs at 9600, raw";
  port.Close();
  EXPECT_FALSE(fs::exists(lock)) << "our lock goes with the port";
  EXPECT_TRUE(sameSettings()) << "the line settings are back";

  ::unsetenv("ZMP_LOCK_DIR");
}

TEST_F(LinkTest, PortReadsTimeOutAndWritesPurgeWhatWaited) {
  SerialPort& port = link;
  port.SetReadTimeout(200);
  peer.SendRaw({1, 2, 3});
  std::uint8_t four[4];
  const auto start = std::chrono::steady_clock::now();
  // The tunnel's Read is not the port's; the plain port read is ReadSome here.
  std::size_t got = 0;
  ASSERT_TRUE(port.ReadSome(four, got));
  EXPECT_EQ(got, 3u) << "three of four bytes within the timeout";
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
  peer.SendRaw({9, 9});
  for (int i = 0; i < 50 && port.InputCount() < 2; ++i) SerialPort::Delay(2);
  EXPECT_EQ(port.InputCount(), 2u);
  peer.Start([](const std::string&) { return std::vector<Bytes>{}; });
  ASSERT_TRUE(link.SendText("SC_MODE_req"));
  EXPECT_EQ(port.InputCount(), 0u) << "bytes waiting before a write are gone after it";
  link.Close();
  EXPECT_EQ(port.InputCount(), 0u);
  EXPECT_TRUE(link.SetOpen(false)) << "closing a closed port does nothing";
  SerialPort missing;
  missing.SetDevice("/dev/no-such-port");
  EXPECT_FALSE(missing.Open());
  EXPECT_TRUE(missing.IsRs232()) << "an explicitly chosen device counts as serial";
}

TEST_F(LinkTest, RefusedConnectionAndTheResendAfterRstTimer) {
  peer.Start([](const std::string& m) {
    if (m == "SC_MNT_req") return PtyPeer::Reply({"SC_CONTROL NACK"});
    return std::vector<Bytes>{};
  });
  EXPECT_EQ(link.OpenConnection(), 1);
  peer.Stop();
  // An RST TIMER waiting before the request: the request goes a second time.
  peer.Send("SC_CONTROL RST TIMER");
  for (int i = 0; i < 50 && link.InputCount() == 0; ++i) SerialPort::Delay(2);
  std::size_t before = peer.Received().size();
  peer.Start([](const std::string& m) {
    if (m == "SC_MNT_req") return PtyPeer::Reply({"SC_CONTROL SYNACK"});
    return std::vector<Bytes>{};
  });
  EXPECT_EQ(link.OpenConnection(), 0);
  EXPECT_EQ(peer.Received().size(), before + 1);
  peer.Stop();
  // Any other reason: no resend.
  peer.Send("SC_CONTROL RST PASSWORD");
  for (int i = 0; i < 50 && link.InputCount() == 0; ++i) SerialPort::Delay(2);
  before = peer.Received().size();
  peer.Start([](const std::string&) { return std::vector<Bytes>{}; });
  EXPECT_EQ(link.OpenConnection(), 1);
  EXPECT_EQ(link.ResetReason(), 4);
  SerialPort::Delay(50);
  EXPECT_EQ(peer.Received().size(), before);
}

// ("Bula!" frames and prefixes: TransferTest.QuirksOfASoundRepeaterAreNoFailure.)
TEST_F(LinkTest, AwaitControlAckNackAndRst) {
  std::vector<std::string_view> replies = {"SC_CONTROL ACK", "SC_CONTROL NACK", "SC_CONTROL RST BANANA",
                                           "SC_CONTROL RST TIMER"};
  std::size_t next = 0;
  peer.Start([&](const std::string&) { return PtyPeer::Reply({replies[next++]}); });
  auto ask = [&] {
    EXPECT_TRUE(link.SendText("SC_MODE_req"));
    return link.AwaitControl(kAck);
  };
  EXPECT_EQ(ask(), 0);
  EXPECT_EQ(ask(), 2) << "NACK for ACK";
  EXPECT_EQ(ask(), 1);
  EXPECT_EQ(link.ResetReason(), 17) << "unknown reason word";
  link.ClearReset();
  ASSERT_TRUE(link.SetSettings("115200,N,8,1"));
  EXPECT_EQ(ask(), 1);
  EXPECT_TRUE(link.ResetReceived());
  EXPECT_EQ(link.ResetReason(), 5);
  EXPECT_EQ(link.Settings(), "9600,N,8,1") << "an RST puts the port back to 9600";
  EXPECT_FALSE(link.SendText("SC_MODE_req")) << "nothing is sent once reset, until the next start";
}

// (Only a rate that differs is asked for: FullTransfer's request lists.)
TEST_F(LinkTest, BaudChangeKeepsTheWindowAlive) {
  peer.Start([](const std::string&) { return PtyPeer::Reply({"SC_CONTROL ACK"}); });
  link.SetTargetBaud(115200);
  const int pumps = ui.pumps;
  EXPECT_EQ(link.ChangeBaud(), 0);
  EXPECT_EQ(link.Settings(), "115200,N,8,1");
  EXPECT_GT(ui.pumps, pumps) << "the window stays alive during the 550 ms";
}

// A data message whose count disagrees with its length or whose checksum is
// wrong is refused, and so is more data than the tunnel holds; what it holds
// stays readable. (Garbage and frames cut short in a transfer:
// TransferTest.FaultsEndWithOneMessageAndChangeNothing.)
TEST_F(LinkTest, SpoiledDataIsRefusedAndTheTunnelNeverOverflows) {
  link.SetReadTimeout(300);
  Bytes wrongCount = DataMessage(Bytes(10, 'a'), 1), wrongChecksum = wrongCount;
  wrongCount[12] = '9';
  wrongChecksum.back() ^= 0x55;
  Bytes fits = DataMessage(Bytes(1000, 'b'), 1), tooMuch = DataMessage(Bytes(1000, 'c'), 1);
  for (const Bytes* msg : {&wrongCount, &wrongChecksum, &fits, &tooMuch}) {
    EXPECT_TRUE(link.SendText("SC_MODE_req"));  // a send purges what is left of the last case
    peer.SendRaw(BuildFrame(*msg, 0));
    EXPECT_EQ(link.ReceiveData(1), msg == &fits ? 0 : 1) << AsText(*msg).substr(0, 16);
  }
  EXPECT_EQ(link.TunnelInCount(), 1000u);
  std::vector<std::uint8_t> out(1000);
  EXPECT_TRUE(link.Read(out));
  EXPECT_EQ(out[999], 'b');
  EXPECT_FALSE(link.Read(std::span<std::uint8_t>(out.data(), 1)));
}

TEST_F(LinkTest, TunnelledPacketsAndTheFailureReport) {
  peer.Start([](const std::string& m) {
    if (m.rfind("SC_DATA2_ind", 0) == 0) {
      Bytes data;
      ParseDataMessage(AsBytes(m), 2, data);
      if (data == Bytes{'E'}) return PtyPeer::Reply({"SC_COMP_ind"});
      Bytes answer = DataMessage(AsBytes("OK\r"), 2);
      return std::vector<Bytes>{answer};
    }
    if (m == "SC_MODE_req") return PtyPeer::Reply({"SC_CONTROL RST TIMER"});
    return std::vector<Bytes>{};
  });
  EXPECT_TRUE(link.WriteString("R0"));
  EXPECT_TRUE(peer.Received().empty()) << "an incomplete packet waits";
  EXPECT_TRUE(link.WriteString("1\r"));
  std::uint8_t ok[3];
  ASSERT_TRUE(link.Read(ok));
  EXPECT_EQ(ok[0], 'O');
  EXPECT_TRUE(link.WriteByte('E'));
  ASSERT_EQ(peer.Received().size(), 2u);
  EXPECT_TRUE(link.SendText("SC_MODE_req"));
  EXPECT_EQ(link.AwaitControl(kAck), 1);
  link.ReportFailure();
  EXPECT_EQ(ui.failures, std::vector<int>{665});
  EXPECT_FALSE(link.IsOpen());
  EXPECT_FALSE(link.ResetReceived());
  EXPECT_EQ(link.Settings(), "9600,N,8,1");
}

}  // namespace
