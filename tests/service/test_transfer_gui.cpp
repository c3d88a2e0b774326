// Reading and writing the repeater from the main window, and the service
// dialogs, against the simulator (or a scripted repeater) on a real
// pseudo-terminal.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <filesystem>
#include <optional>

#include "../comm/PtyPeer.h"
#include "../support/AppFixture.h"
#include "../tools/SimProcess.h"
#include "app/Commands.h"
#include "app/CompareWindow.h"
#include "comm/PortMap.h"
#include "comm/RepeaterLink.h"
#include "data/DataFile.h"
#include "editors/EditorModules.h"
#include "lang/LanguageTexts.h"
#include "service/ServiceDialogs.h"

using namespace zmp;
namespace fs = std::filesystem;
using zmp::testing::PtyPeer;
using zmp::testing::SimProcess;

namespace {

// The started program on COM1 at 115200 baud; its dialogs run (or are run by
// the test's script) and every message is answered OK unless scripted.
class TransferGuiTest : public zmp::testing::AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    Texts().LoadFile(std::string(ZMP_BIN_DIR) + "/zmp318t.lng", "English");  // the cases name texts before a start
    otherAnswer = Answer::Ok;
    prompts.dialog = [](QDialog& d) { return d.exec(); };
  }
  void TearDown() override {
    AppTest::TearDown();
    ProgramPortMap().ClearOverride(1);
  }
  CMainFrame& StartOn(const std::string& device, std::vector<std::string> args = {}) {
    ProgramPortMap().SetOverride(1, device);
    CMainFrame& f = Start(std::move(args));
    app->SetComPort(1);
    app->SetBaudrate(115200);
    return f;
  }
  std::string SavePath() const { return Path("sim.dat").toStdString(); }
  ImageCopy SimImage() {
    ImageStore s;
    EXPECT_EQ(ReadDataFile(SavePath(), s, {}).code, 0);
    return s.transfer();
  }
  // The next dialog runs and does `act` once `ready` holds, checked every 20 ms.
  void ActWhen(std::function<bool(QDialog&)> ready, std::function<void(QDialog&)> act) {
    prompts.dialog = [=](QDialog& d) {
      auto* poll = new QTimer(&d);
      QObject::connect(poll, &QTimer::timeout, &d, [=, &d] {
        if (!ready(d)) return;
        poll->stop();
        act(d);
      });
      poll->start(20);
      return d.exec();
    };
  }
  static int Progress(QDialog& d) { return d.findChild<QProgressBar*>()->value(); }
  static void PressEscape(QDialog& d) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&d, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&d, &release);
  }
  std::string Asked() const { return asked.join(QStringLiteral(" | ")).toStdString(); }
};

TEST_F(TransferGuiTest, ReadFromTheMenuFillsTheImageKeepsABackupAndReopensChannels) {
  SimProcess sim({"--pattern", "7", "--no-pace", "--save", SavePath()});
  ASSERT_TRUE(sim.ok());
  CMainFrame& f = StartOn(sim.path());
  ASSERT_TRUE(f.Command(cmd::kReadData));
  QApplication::processEvents();
  EXPECT_TRUE(asked.isEmpty()) << Asked();
  sim.Stop();
  EXPECT_TRUE(Image().working() == SimImage());
  EXPECT_FALSE(Image().IsModified());
  EXPECT_NE(f.EditorFrame(EditorKind::ChInfo), nullptr);
  int backups = 0;
  for (const auto& e : fs::directory_iterator(f.BackupsFolder().toStdString())) backups += e.path().extension() == ".dat";
  EXPECT_GE(backups, 1);
  EXPECT_FALSE(TheLink().IsOpen());
  EXPECT_EQ(TheLink().Settings(), "9600,N,8,1");
}

// Compare with Repeater: the repeater in an image of its own, the data and
// their modified state untouched; differences by editor; Write File to
// Repeater, then the repeater holds the data; a failed read compares nothing.
TEST_F(TransferGuiTest, CompareWithRepeaterListsDifferencesAndWritesThemAway) {
  SimProcess sim({"--no-pace", "--save", SavePath()});
  ASSERT_TRUE(sim.ok());
  CMainFrame& f = StartOn(sim.path());
  ASSERT_TRUE(f.Command(cmd::kReadData));
  ASSERT_TRUE(f.Command(cmd::kCompareWithRepeater));
  CCompareWnd* w = f.CompareWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(w->Summary(), QTx(358_txt));
  EXPECT_EQ(w->List()->topLevelItemCount(), 0);

  ImageStore& image = Image();
  for (const auto& [key, text] : {std::pair{"channel[2].rx_frequency", "146.55"},
                                  std::pair{"optional_features.repeater.squelch_level", "12"}}) {
    const auto field = FindField(EditorModules(), image, key);
    ASSERT_TRUE(field) << key;
    ASSERT_TRUE(CommitFieldText(field->ref, image, text).ok()) << key;
  }
  image.UpdateChecksum();
  image.TakeSnapshot();
  const ImageCopy edited = image.working();
  ASSERT_TRUE(f.Command(cmd::kCompareWithRepeater));
  EXPECT_TRUE(image.working() == edited) << "the read went into an image of its own";
  EXPECT_FALSE(image.IsModified());
  // By editor: the channel, the feature, then the checksum outside every field.
  QTreeWidget* list = w->List();
  ASSERT_EQ(list->topLevelItemCount(), 3);
  EXPECT_EQ(list->topLevelItem(2)->text(0), QTx(360_txt));
  QTreeWidgetItem* channel = list->topLevelItem(0)->child(0);
  EXPECT_EQ(channel->text(3), QStringLiteral("146.550000"));
  EXPECT_NE(channel->text(2), channel->text(3));
  EXPECT_EQ(list->topLevelItem(1)->child(0)->text(3), QStringLiteral("12"));
  EXPECT_EQ(w->Summary(), QTxFormat(359_txt, {"3"}));
  f.CloseAllEditors();
  QApplication::processEvents();
  emit list->itemActivated(channel, 1);
  EXPECT_NE(f.EditorFrame(EditorKind::ChInfo), nullptr);

  asked.clear();
  w->WriteButton()->click();
  EXPECT_EQ(asked.size(), 2) << Asked();  // the question, "written"
  EXPECT_EQ(w->Summary(), QTx(358_txt));
  EXPECT_EQ(list->topLevelItemCount(), 0);
  sim.Stop();
  const ImageCopy repeater = SimImage();
  EXPECT_TRUE(std::ranges::equal(repeater.Main().span(), image.working().Main().span()));

  SimProcess failing({"--no-pace", "--rst", "TIMER@SC_READ1_req DATA CNVGRP"});
  ASSERT_TRUE(failing.ok());
  ProgramPortMap().SetOverride(1, failing.path());
  asked.clear();
  EXPECT_FALSE(w->Compare());
  EXPECT_EQ(asked, QStringList{QTx(665_txt)});
  EXPECT_EQ(w->Summary(), QTx(364_txt));
  EXPECT_EQ(list->topLevelItemCount(), 0);
  EXPECT_FALSE(w->WriteButton()->isEnabled());
}

// A transfer that fails shows its one message after the questions and leaves
// the image and whether it counts as modified as they were (which faults give
// which message is the link's: TransferTest and CliRadio).
TEST_F(TransferGuiTest, AFailedTransferShowsOneMessageAndKeepsTheImage) {
  struct Case {
    const char* name;
    std::vector<std::string> sim;  // none: no port behind COM1
    int command;
    bool edited;
    std::deque<Answer> questions;  // the save-changes question, the confirmation of a write
    QString message, status;
  };
  const Case cases[] = {
      {"a read the repeater resets", {"--rst", "TIMER@SC_READ1_req DATA CNVUNT"}, cmd::kReadData, true, {Answer::No},
       QTx(665_txt), {}},
      {"a write reset once the main data are stored", {"--rst", "SCRIPT@SC_WRITE1_req DATA CNVUNT"}, cmd::kWriteData,
       false, {Answer::Ok}, QTx(643_txt) + QStringLiteral("\n\n") + QTx(404_txt), QTx(410_txt)},
      {"a read without a port", {}, cmd::kReadData, false, {}, QTx(642_txt), {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::optional<SimProcess> sim;
    if (!c.sim.empty()) {
      std::vector<std::string> args = c.sim;
      args.insert(args.end(), {"--pattern", "9", "--no-pace"});
      sim.emplace(args);
    }
    CMainFrame& f = StartOn(sim ? sim->path() : "/dev/zmp-no-such-port");
    if (c.edited) Image().Main().SetByte(0x0800, 0x42);
    const ImageCopy before = Image().working();
    asked.clear();
    answers = c.questions;
    ASSERT_TRUE(f.Command(c.command));
    ASSERT_EQ(asked.size(), c.questions.size() + 1) << Asked();
    EXPECT_EQ(asked.back(), c.message);
    if (!c.status.isEmpty()) {
      EXPECT_EQ(f.statusBar()->currentMessage(), c.status);
    }
    EXPECT_TRUE(Image().working() == before);
    EXPECT_EQ(Image().IsModified(), c.edited);
    EXPECT_FALSE(TheLink().IsOpen());
    EXPECT_EQ(TheLink().Settings(), "9600,N,8,1");
  }
}

// Cancel at the confirmation writes nothing. Once the first block is out the
// button says the write must finish, and neither the close box nor Escape
// stops it; the repeater then holds our image, which is kept in the backups.
TEST_F(TransferGuiTest, WriteLeavesOurImageInTheRepeater) {
  SimProcess sim({"--no-pace", "--save", SavePath()});
  ASSERT_TRUE(sim.ok());
  CMainFrame& f = StartOn(sim.path());
  for (std::size_t i = 0; i < 64; ++i) Image().Main().SetByte(0x0800 + i, static_cast<std::uint8_t>(i));
  Image().Block(BlockId::Second).SetWord(16000, 0xBEEF);
  answers = {Answer::Cancel};
  ASSERT_TRUE(f.Command(cmd::kWriteData));
  sim.Stop();
  EXPECT_FALSE(std::ranges::equal(SimImage().Main().span(), Image().working().Main().span()));
  SimProcess sim2({"--no-pace", "--save", SavePath()});
  ProgramPortMap().SetOverride(1, sim2.path());
  asked.clear();
  QString button, note;
  bool stillOpen = false;
  ActWhen([](QDialog& d) { return Progress(d) > 0; },
          [&](QDialog& d) {
            d.close();
            PressEscape(d);
            stillOpen = d.isVisible();
            button = d.findChild<QPushButton*>()->text();
            for (QLabel* l : d.findChildren<QLabel*>())
              if (l->isVisible() && l->text() == QTx(403_txt)) note = l->text();
          });
  ASSERT_TRUE(f.Command(cmd::kWriteData));
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(button, QTx(402_txt));
  EXPECT_EQ(note, QTx(403_txt));
  // The confirmation, then the notice that the write is done; the status bar says so too.
  ASSERT_EQ(asked.size(), 2) << Asked();
  EXPECT_EQ(asked[1], QTx(603_txt));
  EXPECT_TRUE(f.statusBar()->currentMessage().startsWith(QTx(603_txt))) << f.statusBar()->currentMessage().toStdString();
  sim2.Stop();
  const ImageCopy repeater = SimImage();
  EXPECT_EQ(repeater.Second().Word(16000), 0xBEEF);
  EXPECT_FALSE(Image().IsModified());
  fs::path written;  // the newest: other tests of this run write too
  for (const auto& e : fs::directory_iterator(f.BackupsFolder().toStdString()))
    if (e.path().string().ends_with("-written.dat") && (written.empty() || e.last_write_time() > fs::last_write_time(written)))
      written = e.path();
  ImageStore backup;
  ASSERT_EQ(ReadDataFile(written.string(), backup, {}).code, 0);
  EXPECT_TRUE(std::ranges::equal(repeater.Main().span(), backup.transfer().Main().span()));
  EXPECT_TRUE(std::ranges::equal(repeater.Second().span(), backup.transfer().Second().span()));
}

// The technician does not know the repeater's model: after the save-changes
// question the read offers to take it as its own model. "No" leaves
// everything; "Yes" gives the repeater's model, band and data, as if Model
// Information had been set first (the file name goes back to its default).
TEST_F(TransferGuiTest, ReadsARepeaterOfAnotherModelAsItsOwnWhenAsked) {
  SimProcess sim({"--no-pace", "--model", "2", "--band", "2304", "--pattern", "31", "--save", SavePath()});
  ASSERT_TRUE(sim.ok());
  CMainFrame& f = StartOn(sim.path());
  Image().Main().SetByte(0x0800, 0x42);
  app->SetDataFileName(QStringLiteral("site.dat"));
  const ImageCopy before = Image().working();
  answers = {Answer::No, Answer::No};  // discard the edit; do not read it as its model
  ASSERT_TRUE(f.Command(cmd::kReadData));
  ASSERT_EQ(asked.size(), 2) << Asked();
  EXPECT_EQ(asked[1], QTxFormat(406_txt, {"WAV-500: K  UHF: 450-480 MHz", "WAV-300: E  VHF: 146-174 MHz",
                                         "WAV-500: K  UHF: 450-480 MHz"}));
  EXPECT_TRUE(Image().working() == before);
  EXPECT_EQ(f.statusBar()->currentMessage(), QTx(408_txt));
  EXPECT_FALSE(TheLink().IsOpen());

  asked.clear();
  answers = {Answer::No, Answer::Yes};
  ASSERT_TRUE(f.Command(cmd::kReadData));
  ASSERT_EQ(asked.size(), 2) << Asked();
  sim.Stop();
  EXPECT_TRUE(Image().working() == SimImage());
  EXPECT_EQ(ModelInfo(Image()).LongCaption(), "WAV-500: K  UHF: 450-480 MHz");
  EXPECT_FALSE(Image().IsModified());
  EXPECT_NE(app->DataFileName(), QStringLiteral("site.dat"));
  EXPECT_TRUE(f.windowTitle().contains(QStringLiteral("WAV-500"))) << f.windowTitle().toStdString();
}

// Escape during a read stops it at once: no message, the image as it was,
// the connection closed and the port reset. Cancel stops a write before its
// first data block, also while the repeater is slow to take the request.
TEST_F(TransferGuiTest, CancelStopsAReadAtOnceAndAWriteBeforeItsFirstBlock) {
  const std::string log = Path("sim.log").toStdString();
  SimProcess sim({"--pattern", "5", "--log", log});  // paced: 5 s at 115200 baud
  ASSERT_TRUE(sim.ok());
  CMainFrame& f = StartOn(sim.path());
  const ImageCopy before = Image().working();
  ActWhen([](QDialog& d) { return Progress(d) >= 20; }, PressEscape);
  ASSERT_TRUE(f.Command(cmd::kReadData));
  EXPECT_TRUE(asked.isEmpty()) << Asked();
  EXPECT_TRUE(Image().working() == before);
  EXPECT_FALSE(Image().IsModified());
  EXPECT_EQ(f.statusBar()->currentMessage(), QTx(408_txt));
  EXPECT_FALSE(TheLink().IsOpen());
  EXPECT_EQ(TheLink().Settings(), "9600,N,8,1");

  SimProcess slow({"--no-pace", "--late-ack", "1000@SC_WRITE1_req DATA FPU", "--log", log, "--save", SavePath()});
  ASSERT_TRUE(slow.ok());
  ProgramPortMap().SetOverride(1, slow.path());
  ActWhen([&](QDialog&) { return zmp::testing::ReadText(log).find("< SC_WRITE1_req DATA FPU") != std::string::npos; },
          [](QDialog& d) { d.findChild<QPushButton*>()->click(); });
  ASSERT_TRUE(f.Command(cmd::kWriteData));
  EXPECT_EQ(asked.size(), 1) << Asked();  // the confirmation
  EXPECT_EQ(f.statusBar()->currentMessage(), QTx(409_txt));
  EXPECT_TRUE(Image().working() == before);
  EXPECT_FALSE(Image().IsModified());
}

TEST_F(TransferGuiTest, DemonstrationModeSendsNothing) {
  PtyPeer peer;
  CMainFrame& f = StartOn(peer.Path(), {"demo"});
  peer.Start([](const std::string&) { return std::vector<wire::Bytes>{}; });
  CNetworkInfoDlg dlg(TheLink(), ModelInfo(Image()).Record(), true);
  EXPECT_EQ(dlg.ReadAddress(), 0);
  EXPECT_TRUE(dlg.AddressLabel()->text().isEmpty());
  f.Command(cmd::kReadData);
  EXPECT_EQ(asked.back(), QTx(474_txt));
  SerialPort::Delay(50);
  EXPECT_TRUE(peer.Received().empty());
}

// A repeater that answers the opening sequence; the rest by the test.
std::vector<wire::Bytes> OpeningAnswers(const std::string& m) {
  using zmp::testing::PtyPeer;
  if (m == "SC_MNT_req") return PtyPeer::Reply({"SC_CONTROL SYNACK"});
  if (m.rfind("SC_VER_req", 0) == 0) return PtyPeer::Reply({"SC_VER_resp RWAV0300 2 1 1.02"});
  if (m.rfind("SC_PASS_ind", 0) == 0) return PtyPeer::Reply({"SC_CONTROL ACK"});
  if (m.rfind("SC_BAU_req", 0) == 0) return PtyPeer::Reply({"SC_CONTROL ACK"});
  if (m == "SC_MODE_req") return PtyPeer::Reply({"SC_MODE_resp CONVENTIONAL"});
  if (m == "SC_CONTROL FIN") return PtyPeer::Reply({"SC_CONTROL ACK"});
  return {};
}

TEST_F(TransferGuiTest, NetworkInformationShowsSixteenCharactersAfterTwoBlanks) {
  PtyPeer peer;
  StartOn(peer.Path());
  peer.Start([](const std::string& m) {
    if (m == "SC_MACINF_req")
      return std::vector<wire::Bytes>{wire::DataMessage(wire::AsBytes("00-1B-2C-3D-4E-5"), 2),
                                      wire::Bytes{'S', 'C', '_', 'C', 'O', 'M', 'P', '_', 'i', 'n', 'd'}};
    return OpeningAnswers(m);
  });
  CNetworkInfoDlg dlg(TheLink(), ModelInfo(Image()).Record(), false);
  ASSERT_EQ(dlg.ReadAddress(), 0) << Asked();
  EXPECT_EQ(dlg.AddressLabel()->text(), QStringLiteral("  00-1B-2C-3D-4E-5"));
  EXPECT_FALSE(TheLink().IsOpen());
}

TEST_F(TransferGuiTest, FactoryResetConfirmsAndFailsWithoutTheStoringNotice) {
  PtyPeer peer;
  StartOn(peer.Path());
  peer.Start([](const std::string& m) {
    if (m == "SC_SVCRST_req") return zmp::testing::PtyPeer::Reply({"SC_CONTROL ACK"});
    return OpeningAnswers(m);
  });
  {
    CFactoryResetDlg dlg(TheLink(), ModelInfo(Image()).Record(), false);
    EXPECT_EQ(dlg.Progress()->maximum(), 30);
    answers = {Answer::Cancel};
    dlg.OnOk();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_TRUE(peer.Received().empty()) << "cancelling the confirmation sends nothing";
  }
  CFactoryResetDlg dlg(TheLink(), ModelInfo(Image()).Record(), false);
  asked.clear();
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(dlg.RunReset(), 1);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, std::chrono::milliseconds(15000));
  EXPECT_GE(dlg.Progress()->value(), 15);
  ASSERT_EQ(asked.size(), 1);
  EXPECT_EQ(asked[0], QTx(643_txt));
  EXPECT_FALSE(TheLink().IsOpen());
}

}  // namespace
