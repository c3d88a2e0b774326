// The repeater simulator seen from the wire: raw frames over its real
// pseudo-terminal, so every answer, mask and fault can be checked byte for byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../comm/PtyPeer.h"
#include "SimProcess.h"
#include "comm/Wire.h"

namespace w = zmp::wire;
using namespace zmp::testing;

namespace {

std::vector<std::string> Fast(std::vector<std::string> extra = {}) {
  extra.push_back("--no-pace");
  return extra;
}

}  // namespace

TEST(SimulatorCommandLine, HelpAndBadOptions) {
  {
    SimProcess sim({"--help"});
    EXPECT_NE(sim.path().find("usage: zmp318t-sim"), std::string::npos);
    EXPECT_EQ(sim.Wait(), 0);
  }
  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"--frobnicate"}, {"--model", "7"}, {"--band", "1234"},
        {"--rst", "TIMER"}, {"--size", "CNVUNT"}, {"--chunk", "0"}, {"--model", "0", "--band", "3074"}}) {
    SimProcess sim(bad);
    EXPECT_FALSE(sim.ok() && sim.path().rfind("/dev/", 0) == 0) << bad[0];
    EXPECT_NE(sim.Wait(), 0) << bad[0];
  }
}

TEST(SimulatorProtocol, ConnectionVersionMaskAndClose) {
  SimProcess sim(Fast({"--model", "3", "--band", "3074", "--firmware", "2.10"}));
  ASSERT_TRUE(sim.ok());
  EXPECT_EQ(sim.path().rfind("/dev/pts/", 0), 0u) << sim.path();
  PtyPeer peer(sim.path());
  ASSERT_TRUE(peer.ok());

  // Nothing is served before a connection is open.
  EXPECT_EQ(peer.Ask(w::kModeReq), "SC_CONTROL RST INACTIVE");
  EXPECT_EQ(peer.Ask(w::kMntReq), "SC_CONTROL SYNACK");

  // The version request's byte is the mask of its answer and of what follows.
  ASSERT_TRUE(peer.Send(w::VersionRequest(0x5A)));
  peer.mask = 0x5A;
  EXPECT_EQ(peer.ReceiveText(), "SC_VER_resp RWAV0500 2 12 2.10");

  // A wrong access code is refused and leaves the mask alone.
  ASSERT_TRUE(peer.Send(w::PassMessage("abc123", 7)));
  EXPECT_EQ(peer.ReceiveText(), "SC_CONTROL NACK");

  // The right one is acknowledged under the old mask; then both ends switch.
  const w::Bytes pass = w::PassMessage(w::kAccessCode, 0x33);
  ASSERT_TRUE(peer.Send(pass));
  EXPECT_EQ(peer.ReceiveText(), "SC_CONTROL ACK");
  peer.mask = w::PassMask(pass);
  ASSERT_NE(peer.mask, 0);
  EXPECT_EQ(peer.Ask(w::kModeReq), "SC_MODE_resp CONVENTIONAL");
  EXPECT_EQ(peer.Ask(w::kPmchkReq), "SC_PMCHK_resp CONV_ONLY");
  EXPECT_EQ(peer.Ask(w::kSftinfReq), "SC_SFTINF_resp 2.10 101");
  EXPECT_EQ(peer.Ask("SC_ESNRD_req ALL"), "SC_ESNRD_resp ALL 12345678");
  EXPECT_EQ(peer.Ask("SC_ESNRD_req NONE"), "SC_CONTROL NACK");
  EXPECT_EQ(peer.Ask("SC_FROB_req"), "SC_CONTROL NACK");
  EXPECT_EQ(peer.Ask(w::BaudRequest(1234)), "SC_CONTROL NACK");
  EXPECT_EQ(peer.Ask(w::ControlMessage(w::kFin)), "SC_CONTROL ACK");

  // A new connection starts unmasked again.
  peer.mask = 0;
  EXPECT_TRUE(peer.Connect());
}

// (Reading and writing every unit is FullTransfer's, against this simulator;
// here what the program never asks.)
TEST(SimulatorProtocol, RequestsBeyondTheUnitsAreRefused) {
  SimProcess sim(Fast());
  PtyPeer peer(sim.path());
  ASSERT_TRUE(peer.Connect());
  EXPECT_EQ(peer.Ask("SC_WRITE1_req DATA CNVGRP 8001 PLAIN 1"), "SC_CONTROL NACK");
  EXPECT_EQ(peer.Ask("SC_READ1_req DATA NOSUCH PLAIN 1"), "SC_CONTROL NACK");
  EXPECT_EQ(peer.Ask(w::ReadRequest(w::kUnitFpu, w::kModeTrunking)), "SC_CONTROL NACK") << "a conventional repeater";
  ASSERT_EQ(peer.Ask(w::WriteRequest(w::kUnitCnvGrp, w::kSizeCnvGrp, w::kModeConventional)),
            "SC_CONTROL ACK");
  const w::Bytes big(w::kWriteBlock + 1, 0x11);
  EXPECT_EQ(peer.Ask(w::AsText(w::DataMessage(big, 1))), "SC_CONTROL RST SCRIPT");
  // A bad checksum is answered with RST CHECKSUM.
  ASSERT_TRUE(peer.Connect());
  ASSERT_EQ(peer.Ask(w::WriteRequest(w::kUnitCnvGrp, w::kSizeCnvGrp, w::kModeConventional)),
            "SC_CONTROL ACK");
  w::Bytes spoiled = w::DataMessage(w::Bytes(16, 0x22), 1);
  spoiled.back() ^= 1;
  EXPECT_EQ(peer.Ask(w::AsText(spoiled)), "SC_CONTROL RST CHECKSUM");
}

// (The third block, the MAC address and the trace are read by TransferTest's
// service requests and full transfers.)
TEST(SimulatorProtocol, LegacyPacketsInDataMode) {
  SimProcess sim(Fast());
  PtyPeer peer(sim.path());
  ASSERT_TRUE(peer.Connect());
  w::Bytes data;
  // Data mode: each legacy packet is echoed in one message; "E" ends it.
  EXPECT_EQ(peer.Ask(w::DataModeRequest(w::kPdRfdt, w::kModeConventional)), "SC_CONTROL ACK");
  const std::string packet = "RD 0100\r";
  ASSERT_TRUE(peer.Send(w::DataMessage(w::AsBytes(packet), 2)));
  const auto msg = peer.Receive();
  ASSERT_TRUE(msg);
  ASSERT_EQ(w::ParseDataMessage(*msg, 2, data), w::DataStatus::Ok);
  EXPECT_EQ(std::string(data.begin(), data.end()), packet);
  const std::uint8_t end[] = {w::kLegacyEnd};
  ASSERT_TRUE(peer.Send(w::DataMessage(end, 2)));
  EXPECT_EQ(peer.ReceiveText(), "SC_COMP_ind");
  EXPECT_EQ(peer.Ask(w::ControlMessage(w::kFin)), "SC_CONTROL ACK");
}

// The quirks a transfer test would pass without (each fault option makes a
// transfer test fail): the "Bula!" frame and prefix before every answer after
// the SYNACK, the late ACK and the request never answered.
TEST(SimulatorFaults, BulaLateAckAndSilence) {
  SimProcess sim(Fast({"--bula", "--late-ack", "400@SC_TIME_req", "--silent", "SC_HEALTH_req"}));
  PtyPeer peer(sim.path());
  EXPECT_EQ(peer.Ask(w::kMntReq), "SC_CONTROL SYNACK");
  EXPECT_EQ(peer.Ask(w::kModeReq), "Bula!");
  EXPECT_EQ(peer.ReceiveText(), "Bula!SC_MODE_resp CONVENTIONAL");
  EXPECT_EQ(peer.Ask(w::kHealthReq, 300), "<silence>");
  EXPECT_EQ(peer.Ask("SC_TIME_req 26 12 07", 200), "<silence>") << "the ACK comes late";
  EXPECT_EQ(peer.ReceiveText(), "Bula!");
  EXPECT_EQ(peer.ReceiveText(), "Bula!SC_CONTROL ACK");
}

TEST(SimulatorStats, CountsEveryByteOfAConnection) {
  SimProcess sim(Fast({"--stats"}));
  PtyPeer peer(sim.path());
  ASSERT_TRUE(peer.Connect());
  EXPECT_EQ(peer.Ask(w::BaudRequest(115200)), "SC_CONTROL ACK");
  EXPECT_EQ(peer.Ask(w::kModeReq), "SC_MODE_resp CONVENTIONAL");
  EXPECT_EQ(peer.Ask(w::ControlMessage(w::kFin)), "SC_CONTROL ACK");
  const auto line = sim.ReadLine(3000);
  ASSERT_TRUE(line);
  // The bytes before the baud change's ACK went at 9600, the rest at 115200.
  const std::size_t mode = w::BuildFrame(std::string_view(w::kModeReq), 0).size();
  const std::size_t fin = w::BuildFrame(w::ControlMessage(w::kFin), 0).size();
  const std::size_t modeResp = w::BuildFrame(std::string_view("SC_MODE_resp CONVENTIONAL"), 0).size();
  const std::size_t ack = w::BuildFrame(std::string_view("SC_CONTROL ACK"), 0).size();
  const std::string expected = "stats rx 9600:" + std::to_string(peer.bytesSent - mode - fin) +
                               " 115200:" + std::to_string(mode + fin) +
                               " tx 9600:" + std::to_string(peer.bytesReceived - modeResp - ack) +
                               " 115200:" + std::to_string(modeResp + ack);
  EXPECT_EQ(line->substr(0, expected.size()), expected) << *line;
  EXPECT_NE(line->find(" wire_ms "), std::string::npos);
  EXPECT_EQ(sim.Stop(), 0);
}

TEST(SimulatorLog, RecordsBothDirections) {
  const TempDir dir("simlog");
  const auto log = (dir / "sim.log").string();
  {
    SimProcess sim(Fast({"--log", log}));
    PtyPeer peer(sim.path());
    ASSERT_TRUE(peer.Connect());
    EXPECT_EQ(peer.Ask(w::ControlMessage(w::kFin)), "SC_CONTROL ACK");
    EXPECT_EQ(sim.Stop(), 0);
  }
  const std::string text = ReadText(log);
  EXPECT_NE(text.find("< SC_MNT_req\n> SC_CONTROL SYNACK\n< SC_VER_req \\x00\n> SC_VER_resp"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("< SC_CONTROL FIN\n> SC_CONTROL ACK\n"), std::string::npos) << text;
}
