// Start-up and exit of the application object with real settings files and
// the real language file, on the offscreen platform.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QLabel>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

#include "../support/AppFixture.h"
#include "../support/Files.h"
#include "lang/LanguageTexts.h"
#include "data/ModelInfo.h"

using namespace zmp;
namespace fs = std::filesystem;

namespace {

class StartupTest : public zmp::testing::AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    otherAnswer = Answer::Ok;
  }
  void TearDown() override {
    AppTest::TearDown();
    // Later tests need the program's texts again.
    Texts().LoadFile(std::string(ZMP_BIN_DIR) + "/zmp318t.lng", "English");
  }
  // Starts from `programDir`, which must stop with one message, also written to stderr.
  void ExpectStopWithItsMessage(const QString& programDir) {
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(Launch({}, programDir));
    const std::string err = ::testing::internal::GetCapturedStderr();
    ASSERT_EQ(asked.size(), 1);
    EXPECT_FALSE(asked[0].isEmpty());
    EXPECT_NE(err.find(asked[0].toStdString()), std::string::npos) << err;
    EXPECT_EQ(app->MainFrame(), nullptr);
  }
};

TEST_F(StartupTest, MissingOrDamagedLanguageFileEndsStartUpWithItsMessage) {
  ExpectStopWithItsMessage(ProgramFolder({}));
  app->ExitInstance();
  EXPECT_FALSE(QFile::exists(Path("settings.ini"))) << "a failed start-up writes no settings";
  // A file whose key is short is damaged.
  asked.clear();
  ExpectStopWithItsMessage(ProgramFolder("*Language,English\n*Font,Courier\n^#0001,Broken\n"));
}

TEST_F(StartupTest, BadSettingsTakeTheirDefaultsAndExitWritesThemBack) {
  SetSetting("ComPort", 21);
  SetSetting("Baudrate", 4800);
  SetSetting("LastModel", QStringLiteral("52:57:41:56:30:35:30:30:FF:FF:00:09:FF:FF:FF"));  // fifteen
  SetSetting("LastWinPos", QStringLiteral("0:1:0:0:0:0:10:10:500"));                         // nine
  SetSetting("LastFilePath", QStringLiteral("/no/such/folder"));
  ASSERT_TRUE(Launch({"/tmp/some.dat", "demo"}));
  EXPECT_TRUE(asked.isEmpty());
  EXPECT_EQ(app->ComPort(), 1);
  EXPECT_EQ(app->Baudrate(), 115200);
  EXPECT_TRUE(app->Flags().demo);
  EXPECT_EQ(ModelInfo(Image()).Record().bytes, ModelRecord::Default().bytes);
  EXPECT_FALSE(Image().IsModified());
  EXPECT_TRUE(app->LastFilePath().endsWith(QStringLiteral("Velmora/ZMP-318T/"))) << app->LastFilePath().toStdString();
  EXPECT_EQ(app->DataFileName(), QStringLiteral("zmp318t.dat")) << "a file argument opens no file";
  EXPECT_TRUE(app->MainFrame()->windowState() & Qt::WindowMaximized);
  app->ExitInstance();
  EXPECT_EQ(Setting("ComPort").toInt(), 1);
  EXPECT_EQ(Setting("Baudrate").toInt(), 115200);
  EXPECT_EQ(Setting("LastModel").toString().toStdString(), FormatLastModel(ModelRecord::Default()));
  EXPECT_EQ(Setting("Language").toInt(), 1);
}

// "Language" goes back as the language whose column was loaded: a stored
// language that the file does not hold loads column 1, and that one is written.
TEST_F(StartupTest, LanguageWrittenBackIsTheLoadedOne) {
  for (int stored : {4, 99}) {
    SetSetting("Language", stored);
    ASSERT_TRUE(Launch());
    EXPECT_EQ(Texts().CurrentLanguageName(), "English");
    EXPECT_EQ(app->LanguageId(), 1) << stored;
    app->ExitInstance();
    EXPECT_EQ(Setting("Language").toInt(), 1) << stored;
  }
}

// On a fresh account even the documents folder may be missing: the whole
// default data folder is made, so backups land in it from the first one on.
TEST_F(StartupTest, DefaultDataFolderIsMadeWhole) {
  const QString docs = Path("fresh/Documents");
  const QString folder = DefaultDataFolder(docs, QStringLiteral(ZMP_BIN_DIR));
  EXPECT_EQ(folder, docs + QStringLiteral("/Velmora/ZMP-318T/"));
  EXPECT_TRUE(QFileInfo(folder).isDir());
}

// Qt's own options are not Qt's to take: every argument but the program's four
// words is ignored. A "-platform" naming no platform must not stop the
// program; it starts on the platform of the environment and goes on to its
// language file (here a damaged one beside a copy of the program, whose
// message on stderr shows how far it came).
TEST_F(StartupTest, QtOptionsOnTheCommandLineAreIgnored) {
  const fs::path folder = ProgramFolder("not a language file\n").toStdString();
  fs::copy_file(fs::path(ZMP_BIN_DIR) / "zmp318t", folder / "zmp318t");
  const std::string bin = (folder / "zmp318t").string(), err = (folder / "stderr.txt").string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<std::string> words = {bin, "-platform", "zmp-no-such-platform", "-reverse", "-style", "zz", "demo"};
  std::vector<char*> argv;
  for (auto& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, bin.c_str(), &actions, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  bool exited = false, reached = false;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!exited && !reached && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    exited = ::waitpid(pid, nullptr, WNOHANG) == pid;
    reached = zmp::testing::ReadText(err).find(kLanguageDamagedMessage) != std::string::npos;
  }
  if (!exited) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
  }
  EXPECT_TRUE(reached) << zmp::testing::ReadText(err);
}

// The stored model, port, speed and window placement are taken (a record
// that is not valid is NewImage's to refuse).
TEST_F(StartupTest, LastSettingsChooseTheImageDefaultsPortAndWindow) {
  ModelRecord uhf = ModelRecord::Default();
  for (int i = 0; i < 8; ++i) uhf.bytes[i] = static_cast<std::uint8_t>("RWAV0500"[i]);
  uhf.bytes[10] = 0;
  uhf.bytes[11] = 9;
  ASSERT_TRUE(IsValidRecord(uhf));
  SetSetting("LastModel", QString::fromStdString(FormatLastModel(uhf)));
  SetSetting("ComPort", 20);
  SetSetting("Baudrate", 9600);
  SetSetting("LastWinPos", QStringLiteral("0:1:-1:-1:-1:-1:30:40:830:640"));
  ASSERT_TRUE(Launch());
  EXPECT_EQ(ModelInfo(Image()).Record().bytes, uhf.bytes);
  EXPECT_EQ(ModelInfo(Image()).VhfUhf(), 1);
  EXPECT_FALSE(Image().IsModified());
  EXPECT_EQ(app->ComPort(), 20);
  EXPECT_EQ(app->Baudrate(), 9600);
  EXPECT_FALSE(app->MainFrame()->windowState() & Qt::WindowMaximized);
  EXPECT_EQ(app->MainFrame()->geometry().width(), 800);
  EXPECT_EQ(app->MainFrame()->findChild<QLabel*>(QStringLiteral("PortPane"))->text(), QStringLiteral("COM20"));
}

TEST_F(StartupTest, ProtectedProgramAsksForThePassword) {
  SetSetting("Protect", QString::fromStdString(FormatProtect(Protection{true, "qz1234"})));
  prompts.password = QStringLiteral("wrong1");
  EXPECT_FALSE(Launch());
  EXPECT_EQ(prompts.passwordsAsked, 1);
  EXPECT_EQ(asked.size(), 1) << "a wrong password is told";
  prompts.password.reset();  // Cancel
  EXPECT_FALSE(Launch());
  prompts.password = QStringLiteral("qz1234");
  EXPECT_TRUE(Launch());
  EXPECT_EQ(prompts.passwordsAsked, 3);
  EXPECT_TRUE(app->Security().executionProtected);
  app->ExitInstance();
  EXPECT_EQ(ParseProtect(Setting("Protect").toString().toStdString()), (Protection{true, "qz1234"}));
}

}  // namespace
