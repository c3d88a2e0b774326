// The Communication Port dialog against real devices: a pseudo-terminal
// mapped to COM2, the rest of the system's ports as they are.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "../comm/PtyPeer.h"
#include "../support/FakeSystem.h"
#include "../support/QtTestApp.h"
#include "lang/LanguageTexts.h"
#include "ui/Messages.h"
#include "comm/PortMap.h"
#include "comm/RepeaterLink.h"
#include "service/CommPortDialog.h"

using namespace zmp;
using zmp::testing::FakeSystem;

namespace {

class CommPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zmp::testing::TestApp();
    Texts().LoadFile(std::string(ZMP_BIN_DIR) + "/zmp318t.lng", "English");
    ProgramPortMap().SetOverride(2, peer.Path());
    ProgramPortMap().SetOverride(3, "/dev/zmp-no-such-port");
  }
  void TearDown() override {
    ProgramPortMap().ClearOverride(2);
    ProgramPortMap().ClearOverride(3);
  }
  zmp::testing::PtyPeer peer;
  RepeaterLink link;
};

TEST_F(CommPortTest, ProbeEnablesTheWorkingPortAndOkTakesTheChoice) {
  link.SetPort(2);
  link.SetTargetBaud(38400);
  CCommPortDlg dlg(link);
  EXPECT_EQ(dlg.windowTitle(), QTx(493_txt));
  EXPECT_EQ(dlg.SpeedList()->currentText(), QStringLiteral("38400"));
  EXPECT_EQ(dlg.PortButton(2)->toolTip(), QString::fromStdString(peer.Path()));
  for (int p = 1; p <= 20; ++p) EXPECT_FALSE(dlg.PortButton(p)->isEnabled()) << "nothing before the probe";
  dlg.Probe();
  EXPECT_TRUE(dlg.PortButton(2)->isEnabled());
  EXPECT_TRUE(dlg.PortButton(2)->isChecked()) << "the remembered port passed the probe";
  EXPECT_FALSE(dlg.PortButton(3)->isEnabled()) << "a missing device";
  EXPECT_EQ(link.Port(), 2);
  EXPECT_FALSE(link.IsOpen());
  dlg.SpeedList()->setCurrentIndex(dlg.SpeedList()->findText(QStringLiteral("115200")));
  int changed = 0;
  QObject::connect(&dlg, &CCommPortDlg::PortChanged, [&] { ++changed; });
  dlg.OkButton()->click();
  EXPECT_EQ(link.TargetBaud(), 115200);
  EXPECT_EQ(changed, 1);
}

TEST_F(CommPortTest, CancelKeepsThePortAndAFailingPortIsNotChecked) {
  link.SetPort(3);
  CCommPortDlg dlg(link);
  dlg.Probe();
  for (int p = 1; p <= 20; ++p) EXPECT_FALSE(dlg.PortButton(p)->isChecked()) << p;
  dlg.PortButton(2)->setChecked(true);
  dlg.CancelButton()->click();
  EXPECT_EQ(link.Port(), 3) << "Cancel after the probe leaves the link on its port";
}

TEST_F(CommPortTest, AnUnlistedSpeedLeavesNoSelectionAndOkKeepsIt) {
  link.SetPort(2);
  link.SetTargetBaud(4800);
  CCommPortDlg dlg(link);
  EXPECT_EQ(dlg.SpeedList()->currentIndex(), -1);
  dlg.Probe();
  dlg.OkButton()->click();
  EXPECT_EQ(link.TargetBaud(), 4800);
  EXPECT_EQ(link.Port(), 2);
}

TEST_F(CommPortTest, APortHeldByAnotherProgramIsDisabled) {
  RepeaterLink other;
  other.SetDevice(peer.Path());
  ASSERT_TRUE(other.Open());
  CCommPortDlg dlg(link);
  dlg.Probe();
  EXPECT_FALSE(dlg.PortButton(2)->isEnabled());
}

// Adapters read from a copy of sysfs: COM1 (ttyUSB0) names its FTDI cable,
// COM4 is mapped to an adapter that is not plugged in, and the modem-class
// adapter on ttyACM4, behind no port, is mapped to COM6 from the dialog. It is
// then pulled out while the dialog is open.
TEST_F(CommPortTest, PortsNameTheirAdaptersAndAnUnmappedOneIsMapped) {
  FakeSystem sys;
  ::setenv("ZMP_SYSTEM_ROOT", sys.Root().c_str(), 1);
  ProgramPortMap().SetOverride(4, FakeSystem::kGoneById);
  std::vector<std::pair<int, QString>> saved;
  QStringList errors;
  SetMessageHook([&](const MessageRequest& r) {
    errors << r.text;
    return Answer::Ok;
  });
  {
    CCommPortDlg dlg(link);
    EXPECT_TRUE(dlg.AdapterLabel(1)->text().contains(QStringLiteral("FTDI FT232R USB UART")));
    EXPECT_EQ(dlg.AdapterLabel(1)->toolTip(), QString::fromLatin1(FakeSystem::kFtdiById));
    EXPECT_TRUE(dlg.AdapterLabel(4)->text().contains(QStringLiteral("usb-Prolific_PL2303_Q9-if00-port0")));
    ASSERT_EQ(dlg.UnmappedList()->count(), 1);
    EXPECT_TRUE(dlg.UnmappedList()->item(0)->text().contains(QStringLiteral("Acme Radio Cable")));
    QObject::connect(&dlg, &CCommPortDlg::PortMapped, [&](int port, const QString& path) {
      saved.emplace_back(port, path);
    });
    dlg.MapPortList()->setCurrentIndex(5);
    EXPECT_TRUE(dlg.MapSelectedAdapter());
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0], std::make_pair(6, QString::fromLatin1(FakeSystem::kAcmById)));
    EXPECT_EQ(ProgramPortMap().DevicePath(6), FakeSystem::kAcmById);
    EXPECT_TRUE(dlg.AdapterLabel(6)->text().contains(QStringLiteral("Acme Radio Cable")));
    EXPECT_EQ(dlg.UnmappedList()->count(), 0);
    EXPECT_FALSE(dlg.MapButton()->isEnabled());

    // Pulled out while the dialog is open: Refresh says so for COM6.
    sys.UnplugAcm();
    dlg.ShowAdapters();
    EXPECT_TRUE(dlg.AdapterLabel(6)->text().contains(QStringLiteral("usb-Acme_Radio_Cable_77-if00")));
  }
  // An adapter that goes between listing and mapping is not mapped.
  ProgramPortMap().ClearOverride(6);
  FakeSystem again;
  ::setenv("ZMP_SYSTEM_ROOT", again.Root().c_str(), 1);
  {
    CCommPortDlg dlg(link);
    ASSERT_EQ(dlg.UnmappedList()->count(), 1);
    again.UnplugAcm();
    dlg.MapPortList()->setCurrentIndex(5);
    EXPECT_FALSE(dlg.MapSelectedAdapter());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("Acme Radio Cable"))) << errors[0].toStdString();
    EXPECT_FALSE(ProgramPortMap().IsExplicit(6));
    EXPECT_EQ(dlg.UnmappedList()->count(), 0);
  }
  ::unsetenv("ZMP_SYSTEM_ROOT");
  ProgramPortMap().ClearOverride(4);
  SetMessageHook(nullptr);
}

// Records whether the dialog had probed when it was first painted.
class FirstPaint : public QObject {
 public:
  explicit FirstPaint(CCommPortDlg& dlg) : dlg_(dlg) { dlg.installEventFilter(this); }
  bool painted = false;
  bool probedAtFirstPaint = false;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint && !painted) {
      painted = true;
      probedAtFirstPaint = dlg_.Probed();
    }
    return false;
  }

 private:
  CCommPortDlg& dlg_;
};

TEST_F(CommPortTest, TheDialogIsPaintedBeforeTheProbeRuns) {
  link.SetPort(2);
  CCommPortDlg dlg(link);
  FirstPaint watch(dlg);
  dlg.show();
  for (int i = 0; i < 500 && !dlg.Probed(); ++i) QApplication::processEvents(QEventLoop::AllEvents, 10);
  ASSERT_TRUE(dlg.Probed()) << "the probe runs by itself after showing";
  EXPECT_TRUE(watch.painted);
  EXPECT_FALSE(watch.probedAtFirstPaint) << "the user sees the dialog while the ports are probed";
  EXPECT_TRUE(dlg.PortButton(2)->isChecked());
}

}  // namespace
