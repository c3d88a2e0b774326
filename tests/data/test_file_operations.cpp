// Open, Save, Save As, New and the tuning file operations, answered by a
// scripted prompt object, on real files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <deque>
#include <filesystem>

#include "../support/Files.h"
#include "data/FileOperations.h"
#include "data/NewImage.h"

using namespace zmp;
using namespace zmp::testing;
namespace fs = std::filesystem;

namespace {

class ScriptedPrompts : public FilePrompts {
 public:
  std::deque<SaveChangesAnswer> saveChanges;
  std::deque<bool> overwrite, confirmNew;
  std::deque<std::optional<std::string>> openFiles, saveFiles, passwords;
  std::vector<std::pair<TextNo, std::vector<std::string>>> errors;
  std::vector<std::string> log;

  template <class T>
  static T Next(std::deque<T>& q, T fallback) {
    if (q.empty()) return fallback;
    T v = q.front();
    q.pop_front();
    return v;
  }
  SaveChangesAnswer AskSaveChanges(const std::string& name) override {
    log.push_back("save-changes " + name);
    return Next(saveChanges, SaveChangesAnswer::Cancel);
  }
  bool ConfirmOverwrite(const std::string&) override {
    log.push_back("overwrite");
    return Next(overwrite, false);
  }
  bool ConfirmNew() override {
    log.push_back("new");
    return Next(confirmNew, false);
  }
  std::optional<std::string> ChooseOpenFile(const std::string& folder, bool) override {
    log.push_back("open-dialog " + folder);
    return Next(openFiles, std::optional<std::string>());
  }
  std::optional<std::string> ChooseSaveFile(const std::string& folder, const std::string& name, bool) override {
    log.push_back("save-dialog " + folder + name);
    return Next(saveFiles, std::optional<std::string>());
  }
  std::optional<std::string> AskPassword() override { return Next(passwords, std::optional<std::string>()); }
  void ShowError(TextNo t, const std::vector<std::string>& args) override { errors.push_back({t, args}); }
};

class FileOperationsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeStartupImage(image, std::nullopt);
    state.folder = dir.path().string() + "/";
  }
  std::string Path(const char* n) const { return (dir / n).string(); }

  const TempDir dir{"fileops"};
  ImageStore image;
  FileState state;
  ScriptedPrompts prompts;
  FileOperations ops{image, state, prompts};
};

TEST_F(FileOperationsTest, SaveAsThenOpenTakesTheFileAndItsFolder) {
  image.Main().SetByte(0x0800, 0x21);
  EXPECT_TRUE(image.IsModified());
  prompts.saveFiles = {Path("site-a.dat")};
  ASSERT_TRUE(ops.SaveAs());
  EXPECT_FALSE(image.IsModified()) << "the snapshot follows a complete save";
  EXPECT_EQ(state.fileName, "site-a.dat");
  // Open another image over an unmodified one: no save question.
  ImageStore other;
  MakeStartupImage(other, std::nullopt);
  FileState otherState;
  otherState.folder = state.folder;
  ScriptedPrompts p2;
  FileOperations ops2(other, otherState, p2);
  p2.openFiles = {Path("site-a.dat")};
  ASSERT_EQ(ops2.Open(), OpenOutcome::Opened);
  EXPECT_EQ(p2.log.front(), "open-dialog " + state.folder);
  EXPECT_EQ(other.transfer().Main().Byte(0x0800), 0x21);
  EXPECT_NE(other.working().Main().Byte(0x0800), 0x21) << "the caller replaces the working image";
  EXPECT_EQ(otherState.fileName, "site-a.dat");
}

TEST_F(FileOperationsTest, SaveAsksBeforeOverwritingAndReportsFailures) {
  prompts.saveFiles = {Path("a.dat")};
  ASSERT_TRUE(ops.SaveAs());
  const auto size = fs::file_size(Path("a.dat"));
  image.Main().SetByte(0x0800, 0x01);
  prompts.overwrite = {false};
  EXPECT_FALSE(ops.Save());
  EXPECT_TRUE(image.IsModified());
  prompts.overwrite = {true};
  EXPECT_TRUE(ops.Save());
  EXPECT_FALSE(image.IsModified());
  EXPECT_EQ(fs::file_size(Path("a.dat")), size);
  // A folder that cannot hold the file: the file named as not saved with the
  // system's reason, still modified.
  image.Main().SetByte(0x0800, 0x02);
  state.folder = Path("a.dat") + "/";
  EXPECT_FALSE(ops.Save());
  ASSERT_EQ(prompts.errors.size(), 1u);
  EXPECT_EQ(prompts.errors[0].first, 605_txt);
  ASSERT_EQ(prompts.errors[0].second.size(), 2u);
  EXPECT_EQ(prompts.errors[0].second[0], Path("a.dat") + "/a.dat");
  EXPECT_FALSE(prompts.errors[0].second[1].empty());
  EXPECT_TRUE(image.IsModified());
  // Save As onto a symbolic link saves into the file it names; onto a named
  // pipe (or a device, a folder) nothing is saved and the pipe stays.
  state.folder = dir.path().string() + "/";
  fs::create_symlink("a.dat", dir / "link.dat");
  prompts.saveFiles = {Path("link.dat")};
  prompts.overwrite = {true};
  ASSERT_TRUE(ops.SaveAs());
  EXPECT_TRUE(fs::is_symlink(dir / "link.dat"));
  ImageStore back;
  ASSERT_EQ(ReadDataFile(Path("a.dat"), back, {}).code, 0);
  EXPECT_EQ(back.transfer().Main().Byte(0x0800), 0x02);
  image.Main().SetByte(0x0800, 0x03);
  ASSERT_EQ(::mkfifo(Path("pipe.dat").c_str(), 0600), 0);
  prompts.saveFiles = {Path("pipe.dat")};
  EXPECT_FALSE(ops.SaveAs());
  EXPECT_EQ(prompts.errors.back().first, 513_txt);
  EXPECT_EQ(prompts.errors.back().second, std::vector<std::string>{Path("pipe.dat")});
  EXPECT_TRUE(fs::is_fifo(dir / "pipe.dat"));
  EXPECT_TRUE(image.IsModified());
}

TEST_F(FileOperationsTest, SaveChangesYesStopsWhenTheSaveDoesNot) {
  image.Main().SetByte(0x0800, 0x05);
  const ImageCopy edited = image.working();
  // Yes, then Cancel in the save dialog: Open stops, nothing is read.
  prompts.saveChanges = {SaveChangesAnswer::Yes};
  EXPECT_EQ(ops.Open(), OpenOutcome::Cancelled);
  EXPECT_EQ(prompts.log, (std::vector<std::string>{"save-changes zmp318t.dat", "save-dialog " + state.folder + "zmp318t.dat"}));
  EXPECT_TRUE(image.working() == edited);
  // Yes and a failing save: New stops too.
  prompts.confirmNew = {true};
  prompts.saveChanges = {SaveChangesAnswer::Yes};
  prompts.saveFiles = {Path("missing-folder/x.dat")};
  EXPECT_FALSE(ops.ConfirmNew());
  ASSERT_EQ(prompts.errors.size(), 1u);
  EXPECT_EQ(prompts.errors[0].first, 605_txt);
  EXPECT_EQ(prompts.errors[0].second[0], Path("missing-folder/x.dat"));
  // No goes on without saving; Cancel stops.
  prompts.saveChanges = {SaveChangesAnswer::No};
  EXPECT_TRUE(ops.PassSaveChanges());
  prompts.saveChanges = {SaveChangesAnswer::Cancel};
  EXPECT_FALSE(ops.PassSaveChanges());
  EXPECT_TRUE(image.IsModified());
}

TEST_F(FileOperationsTest, FailedOpenShowsItsMessageAndChangesNothing) {
  WriteBytes(dir / "text.dat", "Site notes: repeater on the hill, antenna replaced in May, feed line checked.\n");
  const ImageCopy transferBefore = image.transfer();
  prompts.openFiles = {Path("text.dat")};
  EXPECT_EQ(ops.Open(), OpenOutcome::Failed);
  ASSERT_EQ(prompts.errors.size(), 1u);
  EXPECT_EQ(prompts.errors[0].first, 663_txt);
  EXPECT_EQ(prompts.errors[0].second, std::vector<std::string>{"text.dat"});
  EXPECT_TRUE(image.transfer() == transferBefore);
  EXPECT_EQ(state.fileName, "zmp318t.dat");
  // A protected file with the wrong password: no message, nothing read.
  state.embedPassword = true;
  state.password = "4711";
  prompts.saveFiles = {Path("locked.dat")};
  ASSERT_TRUE(ops.SaveAs());
  prompts.openFiles = {Path("locked.dat")};
  prompts.passwords = {std::string("1147")};
  EXPECT_EQ(ops.Open(), OpenOutcome::Failed);
  EXPECT_EQ(prompts.errors.size(), 1u);
  prompts.openFiles = {Path("locked.dat")};
  prompts.passwords = {std::string("4711")};
  EXPECT_EQ(ops.Open(), OpenOutcome::Opened);
}

TEST_F(FileOperationsTest, NewAsksThenBuildsTheDefaults) {
  const ImageCopy fresh = image.working();
  state.fileName = "site.dat";
  image.Main().SetByte(0x0800, 0x07);
  prompts.confirmNew = {false};
  EXPECT_FALSE(ops.ConfirmNew());
  EXPECT_EQ(prompts.log, std::vector<std::string>{"new"}) << "no save question after Cancel";
  prompts.confirmNew = {true};
  prompts.saveChanges = {SaveChangesAnswer::No};
  ASSERT_TRUE(ops.ConfirmNew());
  ops.MakeNewData();
  EXPECT_TRUE(image.working() == fresh);
  EXPECT_FALSE(image.IsModified());
  EXPECT_EQ(state.fileName, "zmp318t.dat");
}

TEST_F(FileOperationsTest, TuningFilesRoundTripAndRejectOthers) {
  TuningFile t;
  for (std::size_t i = 0; i < kTuningDataSize; ++i) t.Tuning()[i] = static_cast<std::uint8_t>(i);
  t.Identity().fill(0x33);
  prompts.saveFiles = {Path("rx.tun")};
  ASSERT_EQ(ops.SaveTuningFile(t), 0);
  EXPECT_EQ(t.FileName(), "rx.tun");
  const std::vector<std::uint8_t> f = ReadBytes(dir / "rx.tun");
  ASSERT_EQ(f.size(), kTuningFileSize);
  EXPECT_EQ(f[32], 0x54);
  EXPECT_EQ(f[64], 0x33);
  EXPECT_TRUE(std::equal(t.Tuning().begin(), t.Tuning().end(), f.begin() + 96)) << "never scrambled";

  TuningFile back;
  back.Identity().fill(0x77);
  const auto identityBefore = back.Identity();
  const auto tuningBefore = back.Tuning();
  // A data file opened as a tuning file: code 6, a text that says it is not a
  // tuning file, nothing replaced.
  prompts.saveFiles = {Path("plan.dat")};
  ASSERT_TRUE(ops.SaveAs());
  prompts.openFiles = {Path("plan.dat")};
  EXPECT_EQ(ops.OpenTuningFile(back), kTuningBadMarker);
  EXPECT_EQ(prompts.errors.back().first, 601_txt);
  EXPECT_EQ(prompts.errors.back().second, std::vector<std::string>{"plan.dat"});
  EXPECT_EQ(back.Identity(), identityBefore);
  // A short file of any length, or none at all: code 1.
  for (std::size_t n : {std::size_t{0}, std::size_t{1}, kTuningHeaderSize, kTuningFileSize - 1}) {
    WriteBytes(dir / "short.tun", std::span(f).first(n));
    prompts.openFiles = {Path("short.tun")};
    EXPECT_EQ(ops.OpenTuningFile(back), kTuningUnreadable) << n;
    EXPECT_EQ(prompts.errors.back().first, 641_txt);
  }
  prompts.openFiles = {Path("missing.tun")};
  EXPECT_EQ(ops.OpenTuningFile(back), kTuningUnreadable);
  // Another program of the family: code 2, text 662 with the name and code.
  auto foreign = f;
  foreign[3] = '4';
  WriteBytes(dir / "other.tun", foreign);
  prompts.openFiles = {Path("other.tun")};
  EXPECT_EQ(ops.OpenTuningFile(back), kTuningWrongMagic);
  EXPECT_EQ(prompts.errors.back().first, 662_txt);
  EXPECT_EQ(prompts.errors.back().second, (std::vector<std::string>{"other.tun", "ZMP418T"}));
  EXPECT_EQ(back.Identity(), identityBefore);
  EXPECT_EQ(back.Tuning(), tuningBefore);
  // Cancel, then the good file.
  EXPECT_EQ(ops.OpenTuningFile(back), kTuningCancelled);
  prompts.openFiles = {Path("rx.tun")};
  ASSERT_EQ(ops.OpenTuningFile(back), 0);
  EXPECT_EQ(back.Tuning(), t.Tuning());
  EXPECT_EQ(back.Identity(), t.Identity());
}

}  // namespace
