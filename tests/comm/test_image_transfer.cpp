// Reading and writing the whole image against the real repeater simulator over
// its pseudo-terminal: the image that arrives is the simulator's byte for
// byte, the image written is ours byte for byte, and every fault stops the
// transfer with the right message and leaves our image as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "../tools/SimProcess.h"
#include "comm/ImageTransfer.h"
#include "comm/RepeaterLink.h"
#include "comm/ServiceCommands.h"
#include "data/DataFile.h"
#include "data/ModelInfo.h"
#include "data/NewImage.h"

namespace w = zmp::wire;
using zmp::ImageCopy;
using zmp::ImageStore;
using zmp::ImageTransfer;
using zmp::ModelRecord;
using zmp::RepeaterLink;
using zmp::TextNo;
using zmp::testing::ReadText;
using zmp::testing::SimProcess;
using zmp::testing::TempDir;

namespace {

struct RecordingUi : zmp::LinkUi {
  std::vector<int> failures;
  std::vector<int> notes;  // further paragraphs of failures
  void ShowFailure(TextNo t) override { failures.push_back(t.n); }
  void ShowFailure(TextNo t, TextNo more) override {
    failures.push_back(t.n);
    notes.push_back(more.n);
  }
};

// A valid image with bytes that differ everywhere from a new one.
void FillOurs(ImageStore& image, std::uint8_t seed) {
  image.MakeBlank();
  zmp::ModelInfo info(image);
  info.SetRecord(ModelRecord::Default());
  zmp::ApplyNewImageDefaults(image, false, true);
  const auto second = image.working().Second();
  for (std::size_t i = 0; i < second.size(); ++i) second.SetByte(i, static_cast<std::uint8_t>(i * 31 + seed));
  const auto main = image.working().Main();
  for (std::size_t i = 0x6000; i < 0x6100; ++i) main.SetByte(i, static_cast<std::uint8_t>(i ^ seed));
  image.UpdateChecksum();
  image.CopyWorkingToTransfer();
}

class TransferTest : public ::testing::Test {
 protected:
  void TearDown() override { sim_.reset(); }

  std::string LogPath() const { return (dir_ / "sim.log").string(); }
  std::string SavePath() const { return (dir_ / "sim.dat").string(); }

  // Starts the simulator (unpaced) and points the link at it.
  void Start(std::vector<std::string> args, int baud = 9600) {
    args.insert(args.end(), {"--no-pace", "--log", LogPath(), "--save", SavePath()});
    sim_.emplace(args);
    ASSERT_TRUE(sim_->ok());
    link_.SetUi(&ui_);
    link_.SetDevice(sim_->path());
    link_.SetTargetBaud(baud);
  }
  // Stops the simulator and returns the image it held.
  ImageCopy SimulatorImage() {
    EXPECT_EQ(sim_->Stop(), 0);
    ImageStore saved;
    const auto r = zmp::ReadDataFile(SavePath(), saved, [] { return std::optional<std::string>(); });
    EXPECT_EQ(r.code, 0);
    return saved.transfer();
  }
  std::string Log() {
    if (sim_) sim_->Stop();
    return ReadText(LogPath());
  }
  std::vector<std::string> Sent() { return zmp::testing::Sent(Log()); }
  std::vector<std::string> Requests() { return zmp::testing::Requests(Log()); }

  TempDir dir_{"transfer"};
  std::optional<SimProcess> sim_;
  RepeaterLink link_;
  RecordingUi ui_;
};

class FullTransfer : public TransferTest, public ::testing::WithParamInterface<int> {};

TEST_P(FullTransfer, ReadReturnsExactlyTheSimulatorsImage) {
  const int baud = GetParam();
  Start({"--pattern", "11", "--model", "2", "--band", "2304", "--chunk", "1499"}, baud);
  ImageStore image;
  FillOurs(image, 5);
  const ImageCopy before = image.working();
  std::vector<std::pair<int, int>> steps;
  zmp::TransferProgress progress;
  progress.step = [&](int done, int total) { steps.emplace_back(done, total); };
  ImageTransfer t(link_, progress);
  ASSERT_EQ(t.ReadFromRepeater(image, std::nullopt), 0) << ui_.failures.size();
  EXPECT_TRUE(ui_.failures.empty());
  EXPECT_EQ(image.working(), before);  // the caller copies transfer to working
  EXPECT_TRUE(image.transfer() == SimulatorImage());

  ASSERT_FALSE(steps.empty());
  EXPECT_EQ(steps.back(), std::make_pair(zmp::kTransferBlocks, zmp::kTransferBlocks));
  EXPECT_TRUE(std::is_sorted(steps.begin(), steps.end()));

  char challenge[8];
  std::snprintf(challenge, sizeof challenge, "\\x%02X", w::NeutralChallenge(w::kAccessCode));
  std::vector<std::string> expected = {"SC_MNT_req", "SC_VER_req \\x00",
                                       std::string("SC_PASS_ind FPU qv5509 ") + challenge};
  if (baud != 9600) expected.push_back("SC_BAU_req " + std::to_string(baud));
  for (const char* m : {"SC_MODE_req", "SC_READ1_req DATA FPU PLAIN 1", "SC_EMBED_req MSGWP READ",
                        "SC_TRACE_req", "SC_READ1_req DATA CNVUNT PLAIN 1",
                        "SC_READ1_req DATA CNVGRP PLAIN 1", "SC_CONTROL FIN"})
    expected.push_back(m);
  EXPECT_EQ(Requests(), expected);
}

TEST_P(FullTransfer, WriteLeavesExactlyOursInTheSimulator) {
  Start({"--pattern", "3"}, GetParam());
  ImageStore image;
  FillOurs(image, 9);
  // A stale checksum and version in the working copy are renewed by the write.
  image.working().Main().SetWord(zmp::kChecksumOffset, 0x1234);
  image.working().Main().SetText(zmp::kVersionTextOffset, 5, "V0.00");
  ImageTransfer t(link_);
  ASSERT_EQ(t.WriteToRepeater(image), 0);
  EXPECT_EQ(image.working().Main().Text(zmp::kVersionTextOffset, 5), "V1.40");
  EXPECT_EQ(image.working().Main().Word(zmp::kChecksumOffset), zmp::ComputeChecksum(image.working()));
  const ImageCopy sim = SimulatorImage();
  EXPECT_TRUE(std::equal(sim.Main().span().begin(), sim.Main().span().end(),
                         image.working().Main().span().begin()));
  EXPECT_TRUE(std::equal(sim.Second().span().begin(), sim.Second().span().end(),
                         image.working().Second().span().begin()));

  // No data mode for a data write; CNVUNT goes in 63 messages, 128 bytes last.
  const auto sent = Sent();
  EXPECT_EQ(std::count(sent.begin(), sent.end(), "SC_PD_req"), 0);
  const auto first = std::find(sent.begin(), sent.end(), "SC_WRITE1_req DATA CNVUNT 16000 PLAIN 1");
  ASSERT_NE(first, sent.end());
  const auto last = std::find(first, sent.end(), "SC_WRITE1_req DATA CNVGRP 8000 PLAIN 1");
  EXPECT_EQ(std::count(first, last, "SC_DATA_ind 256"), 62);
  EXPECT_EQ(std::count(first, last, "SC_DATA_ind 128"), 1);
  EXPECT_EQ(*(last - 1), "SC_DATA_ind 128");
  EXPECT_NE(Log().find("= stored CNVUNT 63 messages"), std::string::npos);
  EXPECT_NE(Log().find("= stored FPU 105 messages"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Rates, FullTransfer, ::testing::Values(9600, 115200));

TEST_F(TransferTest, TrunkingRepeaterGetsTheTrunkingTail) {
  Start({"--trunking"});
  ImageStore image;
  FillOurs(image, 1);
  ImageTransfer t(link_);
  ASSERT_EQ(t.ReadFromRepeater(image, std::nullopt), 0);
  EXPECT_EQ(link_.RepeaterMode(), w::kModeTrunking);
  ASSERT_EQ(t.WriteToRepeater(image), 0);
  int tails = 0;
  for (const auto& m : Requests()) {
    if (m.rfind("SC_READ1_req", 0) == 0 || m.rfind("SC_WRITE1_req", 0) == 0) {
      EXPECT_EQ(m.substr(m.size() - 9), " 255 4096") << m;
      ++tails;
    }
  }
  EXPECT_EQ(tails, 6);
}

// What a sound repeater may do is no failure: "Bula!" frames and prefixes,
// further words where their grammar allows them (mode, size notice, storing
// notice), the ACK of a write request after 4 s (6000 ms are awaited for it,
// 3000 ms for others) and no acknowledgement of the FIN once every unit has
// arrived or been stored (closing is best effort; no second FIN follows).
TEST_F(TransferTest, QuirksOfASoundRepeaterAreNoFailure) {
  Start({"--bula", "--extra-words", "--no-fin-ack", "--late-ack", "4000@SC_WRITE1_req DATA CNVGRP", "--pattern", "17"});
  ImageStore image;
  FillOurs(image, 2);
  ImageTransfer t(link_);
  ASSERT_EQ(t.WriteToRepeater(image), 0) << ui_.failures.size();
  EXPECT_FALSE(link_.IsOpen());
  EXPECT_EQ(link_.Settings(), "9600,N,8,1");
  ASSERT_EQ(t.ReadFromRepeater(image, std::nullopt), 0) << ui_.failures.size();
  EXPECT_TRUE(ui_.failures.empty());
  EXPECT_FALSE(link_.IsOpen());
  EXPECT_EQ(link_.Settings(), "9600,N,8,1");
  EXPECT_EQ(link_.RepeaterMode(), w::kModeConventional);
  EXPECT_TRUE(std::ranges::equal(image.transfer().Second().span(), image.working().Second().span()));
  const auto sent = Sent();
  EXPECT_EQ(std::count(sent.begin(), sent.end(), "SC_CONTROL FIN"), 2) << "one for each connection";
  EXPECT_NE(Log().find("SC_MODE_resp CONVENTIONAL "), std::string::npos);
  EXPECT_TRUE(image.transfer() == SimulatorImage());
}

// A cancelled read stops the unit with HALT and closes with FIN at once; a
// write can be cancelled until its first data block, never after. Neither
// changes our image (a write stamps its version and checksum into the working
// copy only once the repeater holds it) nor the repeater.
TEST_F(TransferTest, CancelStopsAReadAtOnceAndAWriteOnlyBeforeItsFirstBlock) {
  Start({"--pattern", "19", "--chunk", "256"});
  ImageStore image;
  FillOurs(image, 10);
  image.working().Main().SetWord(zmp::kChecksumOffset, 0x1234);  // stale, as in a new image
  const ImageCopy working = image.working(), transfer = image.transfer();
  int done = 0;
  zmp::TransferProgress p;
  p.step = [&](int d, int) { done = d; };
  p.cancelRequested = [&] { return done >= 10; };
  EXPECT_EQ(ImageTransfer(link_, p).ReadFromRepeater(image, std::nullopt), zmp::kTransferCancelled);
  EXPECT_TRUE(ui_.failures.empty());
  EXPECT_TRUE(image.working() == working);
  EXPECT_TRUE(image.transfer() == transfer);
  EXPECT_FALSE(link_.IsOpen());
  EXPECT_EQ(link_.Settings(), "9600,N,8,1");
  auto sent = Sent();
  ASSERT_GE(sent.size(), 2u);
  EXPECT_EQ(sent[sent.size() - 2], "SC_CONTROL HALT");
  EXPECT_EQ(sent.back(), "SC_CONTROL FIN");
  const std::string log = Log();
  EXPECT_EQ(log.find("SC_READ1_req DATA CNVUNT"), std::string::npos);
  EXPECT_NE(log.find("> SC_CONTROL ACK", log.find("< SC_CONTROL HALT")), std::string::npos) << log;

  // Before the first data block: no unit reaches the repeater.
  Start({"--pattern", "19"});
  bool writing = false;
  p = {};
  p.status = [&](TextNo t) { writing = writing || t.n == 467; };
  p.cancelRequested = [&] { return writing; };
  p.mustFinish = [] { ADD_FAILURE() << "the write passed the point where it can still be cancelled"; };
  EXPECT_EQ(ImageTransfer(link_, p).WriteToRepeater(image), zmp::kTransferCancelled);
  EXPECT_TRUE(ui_.failures.empty());
  EXPECT_TRUE(image.working() == working);
  EXPECT_FALSE(link_.IsOpen());
  sent = Sent();
  EXPECT_EQ(sent.back(), "SC_CONTROL FIN");
  EXPECT_EQ(Log().find("= stored"), std::string::npos);

  // After it: the write is told it must finish, and it does.
  Start({"--pattern", "19"});
  int blocksWhenTold = -1;
  p = {};
  p.step = [&](int d, int) { done = d; };
  p.mustFinish = [&] { blocksWhenTold = done; };
  done = 0;
  p.cancelRequested = [&] { return blocksWhenTold >= 0; };
  EXPECT_EQ(ImageTransfer(link_, p).WriteToRepeater(image), 0);
  EXPECT_EQ(blocksWhenTold, 0);
  EXPECT_NE(Log().find("= stored CNVGRP"), std::string::npos);
}

TEST_F(TransferTest, ServiceRequestsCheckWhatArrives) {
  Start({"--pattern", "5"});
  ASSERT_EQ(link_.Reconnect(), 0);
  ASSERT_EQ(link_.OpenConnection(), 0);
  zmp::ServiceCommands svc(link_);
  w::VersionInfo v;
  ASSERT_EQ(svc.QueryVersion(v), 0);
  EXPECT_EQ(v.modelCode, "RWAV0300");
  ASSERT_EQ(svc.PresentAccessCode(), 0);
  bool both = true;
  EXPECT_EQ(svc.QueryTrunkingSupport(both), 0);
  EXPECT_FALSE(both);
  std::string serial, health;
  EXPECT_EQ(svc.ReadSerialNumber("VLM", serial), 0);
  EXPECT_EQ(serial, "12345678");
  EXPECT_EQ(svc.QueryHealth(health), 0);
  EXPECT_EQ(health, "NORMAL 32 13.8");
  // The MAC block must hold exactly what the caller expects, and fit.
  std::vector<std::uint8_t> mac(17, 0);
  EXPECT_EQ(svc.ReadMacInfo(mac, 16), 0);
  EXPECT_EQ(std::string(mac.begin(), mac.begin() + 14), "001B.2C3D.4E5F");
  EXPECT_EQ(mac[16], 0);
  // A third-block read into a smaller buffer fails instead of overflowing it.
  std::vector<std::uint8_t> small(69, 0xAA);
  std::size_t n = 0;
  EXPECT_EQ(svc.EmbedRead(w::kObjMsgWp, small, n), 1);
  EXPECT_TRUE(std::all_of(small.begin(), small.end(), [](std::uint8_t b) { return b == 0xAA; }));
  // The repeater still ends its answer; take that before the next handshake,
  // whose one frame must be the SYNACK.
  EXPECT_EQ(svc.AwaitMessage(w::kCompInd), 0);
  ASSERT_EQ(link_.OpenConnection(), 0);
  ASSERT_EQ(svc.QueryVersion(v), 0);
  ASSERT_EQ(svc.PresentAccessCode(), 0);
  std::array<std::uint8_t, w::kTestFreqSize> testf{};
  EXPECT_EQ(svc.ReadTestFrequencies(testf), 0);
  const int clock[] = {26, 12, 7, 6, 30, 0, 255};
  EXPECT_EQ(svc.SetClock(clock), 0);
  EXPECT_EQ(svc.EmbedModify(w::kObjPass, w::AsBytes("654321")), 0);
  EXPECT_EQ(svc.EmbedCompare(w::kObjPass, w::AsBytes("654321")), 0);
  EXPECT_EQ(svc.EmbedCompare(w::kObjPass, w::AsBytes("000000")), 2);
  EXPECT_EQ(svc.ServiceReset(), 0);
  EXPECT_EQ(svc.AwaitMessage("SC_PROG_ind INS 100"), 0);
  EXPECT_EQ(svc.AwaitMessage("SC_COMP_ind"), 0);
  EXPECT_EQ(svc.EnterDataMode(w::kPdTest), 0);
  EXPECT_EQ(link_.CloseConnection(), 0);
  link_.ResetAndClose();
  const auto requests = Requests();
  EXPECT_NE(std::find(requests.begin(), requests.end(), "SC_TIME_req 26 12 07 06 30 00"), requests.end());
  EXPECT_NE(std::find(requests.begin(), requests.end(), "SC_PD_req TEST 1"), requests.end());
}

// Asked to hear of it, a read from a repeater of another model names the
// repeater and closes the connection before the access code, so that the
// caller can ask the user with the line idle.
TEST_F(TransferTest, RepeaterOfAnotherModelIsNamedBeforeTheAccessCode) {
  Start({"--model-code", "RWAV0500"});
  ImageStore image;
  FillOurs(image, 6);
  const ImageCopy working = image.working();
  ImageTransfer t(link_);
  EXPECT_EQ(t.ReadFromRepeater(image, ModelRecord::Default(), zmp::OtherModel::Return), zmp::kRepeaterOfOtherModel);
  EXPECT_EQ(t.RepeaterVersion().modelCode, "RWAV0500");
  EXPECT_TRUE(ui_.failures.empty());
  EXPECT_FALSE(link_.IsOpen());
  EXPECT_TRUE(image.working() == working);
  const auto requests = Requests();
  for (const auto& m : requests) EXPECT_EQ(m.rfind("SC_PASS_ind", 0), std::string::npos) << m;
  EXPECT_EQ(requests.back(), "SC_CONTROL FIN");
}

// Faults of the line and of the repeater, before and in the middle of the
// data, as a read and as a write meet them: each ends with one message (and
// the words and paragraph it holds), our image as it was, the port closed at
// 9600, the repeater holding only the units it stored before the fault, and
// nothing sent after the repeater reset the connection.
TEST_F(TransferTest, FaultsEndWithOneMessageAndChangeNothing) {
  struct Fault {
    std::vector<std::string> args;
    bool write = false;
    int text = 643;
    std::vector<std::string> words = {};   // filled into the message
    std::vector<int> notes = {};           // its further paragraph
    std::vector<std::string> stored = {};  // the units stored before the fault
    int baud = 9600;
    bool ourModel = false;                 // the read expects the model of our image
    std::string logHas = {};
  };
  const std::vector<std::string> models = {"WAV-500: E  VHF: 146-174 MHz", "WAV-300: E  VHF: 146-174 MHz"};
  const std::vector<Fault> faults = {
      {.args = {"--garbage", "SC_READ1_req DATA CNVUNT"}},
      {.args = {"--garbage", "SC_MODE_req"}, .write = true},
      {.args = {"--hangup", "SC_READ1_req DATA FPU"}},
      {.args = {"--hangup", "SC_SFTINF_req"}, .write = true},
      {.args = {"--hangup", "SC_PASS_ind"}},
      {.args = {"--hangup", "SC_PASS_ind"}, .write = true},
      {.args = {"--missed-baud"}, .baud = 115200},
      {.args = {"--missed-baud"}, .write = true, .baud = 115200},
      {.args = {"--rst-after", "TIMER@SC_MODE_req"}, .text = 665},
      {.args = {"--rst-after", "TIMER@SC_MODE_req"}, .write = true, .text = 665},
      {.args = {"--rst-after", "NETWORK@SC_CONTROL ACK"}, .text = 698},
      {.args = {"--rst-after", "NETWORK@SC_WRITE1_req DATA FPU"}, .write = true, .text = 698},
      {.args = {"--rst", "TIMER@SC_CONTROL ACK"}, .text = 665, .baud = 115200},
      {.args = {"--rst", "NONSENSE@SC_MODE_req"}},
      {.args = {"--nack", "SC_PASS_ind"}},
      // Spoiled data messages and answers; a size notice that is not the
      // unit's is not acknowledged, so no data message of it follows.
      {.args = {"--data-fault", "overrun"}},
      {.args = {"--data-fault", "empty"}},
      {.args = {"--data-fault", "count-high"}},
      {.args = {"--bad-checksum"}},
      {.args = {"--trace-size", "1025"}},
      {.args = {"--size", "CNVUNT=16001"}, .logHas = "> SC_READ_notfy DATA CNVUNT 16001 01\n< SC_CONTROL FIN\n"},
      // A reset at the write request of a unit: the repeater keeps the units
      // before it, and the message says which.
      {.args = {"--rst", "SCRIPT@SC_WRITE1_req DATA FPU"}, .write = true},
      {.args = {"--rst", "SCRIPT@SC_WRITE1_req DATA CNVUNT"}, .write = true, .notes = {404}, .stored = {"FPU"}},
      {.args = {"--rst", "SCRIPT@SC_WRITE1_req DATA CNVGRP"}, .write = true, .notes = {405}, .stored = {"FPU", "CNVUNT"}},
      // A repeater of another model (both in words, the repeater's first), of
      // a model this program does not know, whose image disagrees with its
      // version, or whose data format a write does not know.
      {.args = {"--model-code", "RWAV0500"}, .text = 470, .words = models, .ourModel = true},
      {.args = {"--model-code", "RWAV0500"}, .write = true, .text = 470, .words = models},
      {.args = {"--model-code", "RWAV0900"}, .text = 602, .words = {"RWAV0900 2 1"}},
      {.args = {"--model-code", "RWAV0500", "--destination", "0"}, .text = 472, .words = {"RWAV0500 0 1"}},
      {.args = {"--data-format", "100"}, .write = true, .text = 471, .words = {"100"}},
  };
  for (const Fault& f : faults) {
    std::vector<std::string> args = f.args;
    SCOPED_TRACE(args[0] + " " + (args.size() > 1 ? args[1] : "") + (f.write ? " write" : " read"));
    args.insert(args.end(), {"--pattern", "23"});
    Start(args, f.baud);
    link_.SetNormalTimeout(800);
    ui_.failures.clear();
    ui_.notes.clear();
    ImageStore image;
    FillOurs(image, 4);
    const ImageCopy working = image.working(), transfer = image.transfer();
    ImageTransfer t(link_);
    std::vector<std::string> words;
    t.showError = [&](TextNo text, const std::vector<std::string>& filled) {
      ui_.failures.push_back(text.n);
      words = filled;
    };
    const std::optional<ModelRecord> model = f.ourModel ? std::optional(ModelRecord::Default()) : std::nullopt;
    EXPECT_EQ(f.write ? t.WriteToRepeater(image) : t.ReadFromRepeater(image, model), 1);
    EXPECT_EQ(ui_.failures, std::vector<int>{f.text});
    EXPECT_EQ(words, f.words);
    EXPECT_EQ(ui_.notes, f.notes);
    EXPECT_TRUE(image.working() == working);
    if (!f.write) {
      EXPECT_TRUE(image.transfer() == transfer);
    }
    EXPECT_FALSE(link_.IsOpen());
    EXPECT_EQ(link_.Settings(), "9600,N,8,1");
    const std::string log = Log();
    for (const char* unit : {"FPU", "CNVUNT", "CNVGRP"}) {
      const bool stored = std::ranges::find(f.stored, unit) != f.stored.end();
      EXPECT_EQ(log.find(std::string("= stored ") + unit + " ") != std::string::npos, stored) << unit;
    }
    const auto reset = log.find("> SC_CONTROL RST");
    if (reset != std::string::npos) {
      EXPECT_EQ(log.find("\n< ", reset), std::string::npos) << "sent after the reset:\n" << log.substr(reset);
    }
    EXPECT_NE(log.find(f.logHas), std::string::npos) << log;
    sim_.reset();
  }
  link_.SetNormalTimeout(3000);
}

}  // namespace
