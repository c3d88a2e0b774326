// Reading and writing the repeater from the main window, and the service
// dialogs, against the simulator (or a scripted repeater) on a real
// pseudo-terminal.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QTimer>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <deque>
#include <filesystem>

#include "lang/LanguageTexts.h"
#include "../comm/PtyPeer.h"
#include "../support/QtTestApp.h"
#include "../tools/SimProcess.h"
#include "app/Application.h"
#include "app/Commands.h"
#include "app/CompareWindow.h"
#include "app/MainFrame.h"
#include "ui/Messages.h"
#include "app/Prompts.h"
#include "app/Settings.h"
#include "comm/PortMap.h"
#include "comm/RepeaterLink.h"
#include "data/DataFile.h"
#include "editors/EditorModules.h"
#include "service/ServiceDialogs.h"

using namespace zmp;
namespace fs = std::filesystem;
using zmp::testing::PtyPeer;
using zmp::testing::SimProcess;

namespace {

class RunningPrompts : public Prompts {
 public:
  std::function<int(QDialog&)> dialog;
  int RunDialog(QDialog& d) override { return dialog ? dialog(d) : d.exec(); }
};

class TransferTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zmp::testing::TestApp();
    ASSERT_TRUE(dir.isValid());
    SetSettingsFileForTesting(dir.filePath(QStringLiteral("settings.ini")));
    SetMessageHook([this](const MessageRequest& r) {
      asked.push_back(r.text);
      if (answers.empty()) return Answer::Ok;
      const Answer a = answers.front();
      answers.pop_front();
      return a;
    });
    SetPrompts(&prompts);
  }
  void TearDown() override {
    app.reset();
    ProgramPortMap().ClearOverride(1);
    SetPrompts(nullptr);
    SetMessageHook(nullptr);
    SetSettingsFileForTesting({});
  }
  CMainFrame& Start(const std::string& device, std::vector<std::string> args = {}) {
    ProgramPortMap().SetOverride(1, device);
    app = std::make_unique<CFPUApp>();
    StartOptions o;
    o.programDir = QStringLiteral(ZMP_BIN_DIR);
    o.splash = false;
    o.showWindow = false;
    EXPECT_TRUE(app->InitInstance(args, o));
    app->SetComPort(1);
    app->SetBaudrate(115200);
    QApplication::processEvents();
    return *app->MainFrame();
  }
  std::string SavePath() const { return dir.filePath(QStringLiteral("sim.dat")).toStdString(); }
  ImageCopy SimImage() {
    ImageStore s;
    EXPECT_EQ(ReadDataFile(SavePath(), s, {}).code, 0);
    return s.transfer();
  }

  QTemporaryDir dir;
  std::unique_ptr<CFPUApp> app;
  RunningPrompts prompts;
  std::deque<Answer> answers;
  QStringList asked;
};

TEST_F(TransferTest, ReadFromTheMenuFillsTheImageKeepsABackupAndReopensChannels) {
  SimProcess sim({"--pattern", "7", "--no-pace", "--save", SavePath()});
  ASSERT_TRUE(sim.ok());
  CMainFrame& f = Start(sim.path());
  ASSERT_TRUE(f.Command(cmd::kReadData));
  QApplication::processEvents();
  EXPECT_TRUE(asked.isEmpty()) << asked.join(QStringLiteral(" | ")).toStdString();
  sim.Stop();
  EXPECT_TRUE(app->Image().working() == SimImage());
  EXPECT_FALSE(app->Image().IsModified());
  if (CMainFrame::IsEditorBuilt(EditorKind::ChInfo)) {
    EXPECT_NE(f.EditorFrame(EditorKind::ChInfo), nullptr);
  }
  int backups = 0;
  for (const auto& e : fs::directory_iterator(f.BackupsFolder().toStdString())) backups += e.path().extension() == ".dat";
  EXPECT_GE(backups, 1);
  EXPECT_FALSE(TheLink().IsOpen());
  EXPECT_EQ(TheLink().Settings(), "9600,N,8,1");
}

// Compare with Repeater: the repeater in an image of its own, the data and
// their modified state untouched; differences by editor; Write File to
// Repeater, then the repeater read again holds the data; a failed read
// compares nothing.
TEST_F(TransferTest, CompareWithRepeaterListsDifferencesAndWritesThemAway) {
  SimProcess sim({"--no-pace", "--save", SavePath()});
  ASSERT_TRUE(sim.ok());
  CMainFrame& f = Start(sim.path());
  ASSERT_TRUE(f.Command(cmd::kReadData));
  ASSERT_TRUE(f.Command(cmd::kCompareWithRepeater));
  CCompareWnd* w = f.CompareWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(w->Summary(), QTx(358_txt));
  EXPECT_EQ(w->List()->topLevelItemCount(), 0);

  ImageStore& image = app->Image();
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
  if (CMainFrame::IsEditorBuilt(EditorKind::ChInfo)) {
    emit list->itemActivated(channel, 1);
    EXPECT_NE(f.EditorFrame(EditorKind::ChInfo), nullptr);
  }

  asked.clear();
  w->WriteButton()->click();
  EXPECT_EQ(asked.size(), 2) << asked.join(QStringLiteral(" | ")).toStdString();  // the question, "written"
  EXPECT_EQ(w->Summary(), QTx(358_txt));
  EXPECT_EQ(list->topLevelItemCount(), 0);
  sim.Stop();
  const ImageCopy repeater = SimImage();
  EXPECT_TRUE(std::equal(repeater.Main().span().begin(), repeater.Main().span().end(),
                         image.working().Main().span().begin()));

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

TEST_F(TransferTest, FailedReadShowsOneMessageAndKeepsTheImage) {
  SimProcess sim({"--pattern", "9", "--no-pace", "--rst", "TIMER@SC_READ1_req DATA CNVUNT"});
  ASSERT_TRUE(sim.ok());
  CMainFrame& f = Start(sim.path());
  app->Image().Main().SetByte(0x0800, 0x42);
  const ImageCopy before = app->Image().working();
  answers = {Answer::No};  // the save-changes question
  ASSERT_TRUE(f.Command(cmd::kReadData));
  ASSERT_EQ(asked.size(), 2) << asked.join(QStringLiteral(" | ")).toStdString();
  EXPECT_EQ(asked[1], QTx(665_txt));
  EXPECT_TRUE(app->Image().working() == before);
  EXPECT_TRUE(app->Image().IsModified());
  EXPECT_EQ(TheLink().Settings(), "9600,N,8,1");
  EXPECT_FALSE(TheLink().IsOpen());
}

// (A line that fails, a repeater of another or an unknown model: TransferTest.)
TEST_F(TransferTest, NoPortShowsThePortsOwnMessageAndLosesNothing) {
  CMainFrame& f = Start("/dev/zmp-no-such-port");
  const ImageCopy before = app->Image().working();
  ASSERT_TRUE(f.Command(cmd::kReadData));
  // Nothing could be sent: the port's own message, not a failed exchange.
  ASSERT_EQ(asked.size(), 1);
  EXPECT_EQ(asked[0], QTx(642_txt));
  EXPECT_TRUE(app->Image().working() == before);
  EXPECT_FALSE(TheLink().IsOpen());
}

TEST_F(TransferTest, WriteLeavesOurImageInTheRepeater) {
  SimProcess sim({"--no-pace", "--save", SavePath()});
  ASSERT_TRUE(sim.ok());
  CMainFrame& f = Start(sim.path());
  for (std::size_t i = 0; i < 64; ++i) app->Image().Main().SetByte(0x0800 + i, static_cast<std::uint8_t>(i));
  app->Image().Block(BlockId::Second).SetWord(16000, 0xBEEF);
  answers = {Answer::Cancel};
  ASSERT_TRUE(f.Command(cmd::kWriteData));
  sim.Stop();
  const ImageCopy untouched = SimImage();
  EXPECT_FALSE(std::equal(untouched.Main().span().begin(), untouched.Main().span().end(),
                          app->Image().working().Main().span().begin()))
      << "Cancel at the confirmation writes nothing";
  SimProcess sim2({"--no-pace", "--save", SavePath()});
  ProgramPortMap().SetOverride(1, sim2.path());
  asked.clear();
  answers = {Answer::Ok};
  ASSERT_TRUE(f.Command(cmd::kWriteData));
  // The confirmation, then the notice that the write is done; the status bar says so too.
  ASSERT_EQ(asked.size(), 2) << asked.join(QStringLiteral(" | ")).toStdString();
  EXPECT_EQ(asked[1], QTx(603_txt));
  EXPECT_TRUE(f.statusBar()->currentMessage().startsWith(QTx(603_txt))) << f.statusBar()->currentMessage().toStdString();
  sim2.Stop();
  const ImageCopy repeater = SimImage();
  EXPECT_EQ(repeater.Second().Word(16000), 0xBEEF);
  // What the repeater holds now is the snapshot, and it is kept in the backups.
  EXPECT_FALSE(app->Image().IsModified());
  std::vector<fs::path> written;
  for (const auto& e : fs::directory_iterator(f.BackupsFolder().toStdString()))
    if (e.path().filename().string().find("-written.dat") != std::string::npos) written.push_back(e.path());
  ASSERT_EQ(written.size(), 1u);
  ImageStore backup;
  ASSERT_EQ(ReadDataFile(written[0].string(), backup, {}).code, 0);
  EXPECT_TRUE(std::equal(repeater.Main().span().begin(), repeater.Main().span().end(),
                         backup.transfer().Main().span().begin()));
  EXPECT_TRUE(std::equal(repeater.Second().span().begin(), repeater.Second().span().end(),
                         backup.transfer().Second().span().begin()));
}

// The technician does not know the repeater's model: after the save-changes
// question the read offers to take it as its own model. "No" leaves
// everything; "Yes" gives the repeater's model, band and data, as if Model
// Information had been set first (the file name goes back to its default).
TEST_F(TransferTest, ReadsARepeaterOfAnotherModelAsItsOwnWhenAsked) {
  SimProcess sim({"--no-pace", "--model", "2", "--band", "2304", "--pattern", "31", "--save", SavePath()});
  ASSERT_TRUE(sim.ok());
  CMainFrame& f = Start(sim.path());
  app->Image().Main().SetByte(0x0800, 0x42);
  app->SetDataFileName(QStringLiteral("site.dat"));
  const ImageCopy before = app->Image().working();
  answers = {Answer::No, Answer::No};  // discard the edit; do not read it as its model
  ASSERT_TRUE(f.Command(cmd::kReadData));
  ASSERT_EQ(asked.size(), 2) << asked.join(QStringLiteral(" | ")).toStdString();
  EXPECT_EQ(asked[1], QString::fromLatin1(FormatText(Texts().Text(406_txt),
                                                     {"WAV-500: K  UHF: 450-480 MHz", "WAV-300: E  VHF: 146-174 MHz",
                                                      "WAV-500: K  UHF: 450-480 MHz"})
                                              .c_str()));
  EXPECT_TRUE(app->Image().working() == before);
  EXPECT_EQ(f.statusBar()->currentMessage(), QTx(408_txt));
  EXPECT_FALSE(TheLink().IsOpen());

  asked.clear();
  answers = {Answer::No, Answer::Yes};
  ASSERT_TRUE(f.Command(cmd::kReadData));
  ASSERT_EQ(asked.size(), 2) << asked.join(QStringLiteral(" | ")).toStdString();
  sim.Stop();
  EXPECT_TRUE(app->Image().working() == SimImage());
  EXPECT_EQ(ModelInfo(app->Image()).LongCaption(), "WAV-500: K  UHF: 450-480 MHz");
  EXPECT_FALSE(app->Image().IsModified());
  EXPECT_NE(app->DataFileName(), QStringLiteral("site.dat"));
  EXPECT_TRUE(f.windowTitle().contains(QStringLiteral("WAV-500"))) << f.windowTitle().toStdString();
}

// Escape during a read stops it at once: no message, the image as it was,
// the connection closed (HALT, FIN) and the port reset. A write stops on
// Cancel until its first data block; after that the button says the write
// must finish, and the close box does not stop it.
TEST_F(TransferTest, CancelStopsAReadAtOnceAndAWriteOnlyBeforeItsFirstBlock) {
  const std::string log = dir.filePath(QStringLiteral("sim.log")).toStdString();
  const auto logHas = [&](const std::string& text) {
    return zmp::testing::ReadText(log).find(text) != std::string::npos;
  };
  // Runs the dialog and acts once when ready() holds, checked between steps.
  const auto actWhen = [&](std::function<bool(QDialog&)> ready, std::function<void(QDialog&)> act) {
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
  };
  const auto pressEscape = [](QDialog& d) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&d, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&d, &release);
  };
  const auto progress = [](QDialog& d) { return d.findChild<QProgressBar*>()->value(); };
  {
    SimProcess sim({"--pattern", "5", "--log", log});  // paced: 5 s at 115200 baud
    ASSERT_TRUE(sim.ok());
    CMainFrame& f = Start(sim.path());
    const ImageCopy before = app->Image().working();
    actWhen([&](QDialog& d) { return progress(d) >= 20; }, pressEscape);
    ASSERT_TRUE(f.Command(cmd::kReadData));
    EXPECT_TRUE(asked.isEmpty()) << asked.join(QStringLiteral(" | ")).toStdString();
    EXPECT_TRUE(app->Image().working() == before);
    EXPECT_FALSE(app->Image().IsModified());
    EXPECT_EQ(f.statusBar()->currentMessage(), QTx(408_txt));
    EXPECT_FALSE(TheLink().IsOpen());
    EXPECT_EQ(TheLink().Settings(), "9600,N,8,1");
  }
  {
    // The repeater is slow to take the write request; Cancel waits for its
    // answer and then stops the write before any data.
    SimProcess sim({"--no-pace", "--late-ack", "1000@SC_WRITE1_req DATA FPU", "--log", log, "--save", SavePath()});
    ASSERT_TRUE(sim.ok());
    CMainFrame& f = Start(sim.path());
    asked.clear();
    const bool modified = app->Image().IsModified();
    const ImageCopy before = app->Image().working();
    actWhen([&](QDialog&) { return logHas("< SC_WRITE1_req DATA FPU"); },
            [](QDialog& d) { d.findChild<QPushButton*>()->click(); });
    ASSERT_TRUE(f.Command(cmd::kWriteData));
    EXPECT_EQ(asked.size(), 1) << asked.join(QStringLiteral(" | ")).toStdString();  // the confirmation
    EXPECT_EQ(f.statusBar()->currentMessage(), QTx(409_txt));
    EXPECT_TRUE(app->Image().working() == before);
    EXPECT_EQ(app->Image().IsModified(), modified);
  }
  SimProcess sim({"--no-pace", "--log", log, "--save", SavePath()});
  ASSERT_TRUE(sim.ok());
  CMainFrame& f = Start(sim.path());
  asked.clear();
  QString button, note;
  bool stillOpen = false;
  actWhen([&](QDialog& d) { return progress(d) > 0; },
          [&](QDialog& d) {
            d.close();
            pressEscape(d);
            stillOpen = d.isVisible();
            button = d.findChild<QPushButton*>()->text();
            const auto labels = d.findChildren<QLabel*>();
            for (QLabel* l : labels)
              if (l->isVisible() && l->text() == QTx(403_txt)) note = l->text();
          });
  ASSERT_TRUE(f.Command(cmd::kWriteData));
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(button, QTx(402_txt));
  EXPECT_EQ(note, QTx(403_txt));
  ASSERT_EQ(asked.size(), 2) << asked.join(QStringLiteral(" | ")).toStdString();
  EXPECT_EQ(asked[1], QTx(603_txt));
}

// A write that fails once the repeater has stored its main data says so in
// its one message and in the status bar; a failed write, like a failed read,
// leaves the image and whether it counts as modified as they were.
// (Failures before any unit are TransferTest's.)
TEST_F(TransferTest, FailedWriteSaysWhatTheRepeaterHoldsAndLeavesTheModifiedFlag) {
  SimProcess sim({"--no-pace", "--rst", "SCRIPT@SC_WRITE1_req DATA CNVUNT", "--save", SavePath()});
  ASSERT_TRUE(sim.ok());
  CMainFrame& f = Start(sim.path());
  ASSERT_FALSE(app->Image().IsModified());
  const ImageCopy before = app->Image().working();
  ASSERT_TRUE(f.Command(cmd::kWriteData));
  ASSERT_EQ(asked.size(), 2) << asked.join(QStringLiteral(" | ")).toStdString();
  EXPECT_EQ(asked[1], QTx(643_txt) + QStringLiteral("\n\n") + QTx(404_txt));
  EXPECT_EQ(f.statusBar()->currentMessage(), QTx(410_txt));
  EXPECT_TRUE(app->Image().working() == before);
  EXPECT_FALSE(app->Image().IsModified());
}

TEST_F(TransferTest, DemonstrationModeSendsNothing) {
  PtyPeer peer;
  CMainFrame& f = Start(peer.Path(), {"demo"});
  peer.Start([](const std::string&) { return std::vector<wire::Bytes>{}; });
  CNetworkInfoDlg dlg(TheLink(), ModelInfo(app->Image()).Record(), true);
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

TEST_F(TransferTest, NetworkInformationShowsSixteenCharactersAfterTwoBlanks) {
  PtyPeer peer;
  Start(peer.Path());
  peer.Start([](const std::string& m) {
    if (m == "SC_MACINF_req")
      return std::vector<wire::Bytes>{wire::DataMessage(wire::AsBytes("00-1B-2C-3D-4E-5"), 2),
                                      wire::Bytes{'S', 'C', '_', 'C', 'O', 'M', 'P', '_', 'i', 'n', 'd'}};
    return OpeningAnswers(m);
  });
  CNetworkInfoDlg dlg(TheLink(), ModelInfo(app->Image()).Record(), false);
  ASSERT_EQ(dlg.ReadAddress(), 0) << asked.join(QStringLiteral(" | ")).toStdString();
  EXPECT_EQ(dlg.AddressLabel()->text(), QStringLiteral("  00-1B-2C-3D-4E-5"));
  EXPECT_FALSE(TheLink().IsOpen());
}

TEST_F(TransferTest, FactoryResetConfirmsAndFailsWithoutTheStoringNotice) {
  PtyPeer peer;
  Start(peer.Path());
  peer.Start([](const std::string& m) {
    if (m == "SC_SVCRST_req") return zmp::testing::PtyPeer::Reply({"SC_CONTROL ACK"});
    return OpeningAnswers(m);
  });
  {
    CFactoryResetDlg dlg(TheLink(), ModelInfo(app->Image()).Record(), false);
    EXPECT_EQ(dlg.Progress()->maximum(), 30);
    answers = {Answer::Cancel};
    dlg.OnOk();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_TRUE(peer.Received().empty()) << "cancelling the confirmation sends nothing";
  }
  CFactoryResetDlg dlg(TheLink(), ModelInfo(app->Image()).Record(), false);
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
