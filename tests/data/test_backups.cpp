// Backups of what was read from a repeater.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "data/Backups.h"
#include "data/DataFile.h"
#include "data/NewImage.h"

using namespace zmp;
namespace fs = std::filesystem;

TEST(Backups, NamedByTimeAndModelAndOnlyTheNewestKept) {
  const fs::path dir = fs::temp_directory_path() / ("zmp-backups-" + std::to_string(::getpid())) / "backups";
  fs::remove_all(dir.parent_path());
  ImageStore image;
  MakeStartupImage(image, std::nullopt);
  image.CopyWorkingToTransfer();
  const std::time_t base = 1796000000;  // a fixed moment
  const std::string first = SaveBackup(dir.string(), image.transfer(), base, 3);
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(fs::path(first).filename().string().substr(15), "-WAV-300E.dat");
  // The file loads back to the image as it was read, unstamped.
  ImageStore back;
  ASSERT_EQ(ReadDataFile(first, back, {}).code, 0);
  EXPECT_TRUE(back.transfer() == image.transfer());
  // Same second: both kept.
  const std::string again = SaveBackup(dir.string(), image.transfer(), base, 3);
  EXPECT_NE(again, first);
  EXPECT_TRUE(fs::exists(first));
  fs::create_directories(dir);
  std::ofstream(dir / "notes.txt") << "mine";
  for (int i = 1; i <= 4; ++i) ASSERT_FALSE(SaveBackup(dir.string(), image.transfer(), base + 3600 * i, 3).empty());
  int backups = 0;
  for (const auto& e : fs::directory_iterator(dir)) backups += e.path().extension() == ".dat";
  EXPECT_EQ(backups, 3);
  EXPECT_FALSE(fs::exists(first)) << "the oldest went";
  EXPECT_TRUE(fs::exists(dir / "notes.txt")) << "other files are left alone";
  // What was written to a repeater is kept beside, marked as written, and
  // counts among the kept files.
  const std::string written = SaveBackup(dir.string(), image.transfer(), base + 3600 * 5, 3, nullptr,
                                         BackupKind::Written);
  ASSERT_FALSE(written.empty());
  EXPECT_EQ(fs::path(written).filename().string().substr(15), "-WAV-300E-written.dat");
  ASSERT_EQ(ReadDataFile(written, back, {}).code, 0);
  EXPECT_TRUE(back.transfer() == image.transfer());
  backups = 0;
  for (const auto& e : fs::directory_iterator(dir)) backups += e.path().extension() == ".dat";
  EXPECT_EQ(backups, 3);
  // A name taken by a named pipe: not replaced, the error says why.
  const fs::path pipe = dir / BackupFileName(image.transfer(), base + 3600 * 9, BackupKind::Read);
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  FileError pipeError;
  EXPECT_TRUE(SaveBackup(dir.string(), image.transfer(), base + 3600 * 9, 3, &pipeError).empty());
  EXPECT_TRUE(pipeError.notRegularFile);
  EXPECT_TRUE(fs::is_fifo(pipe));
  fs::remove(pipe);
  // A folder that cannot be made: nothing written, the error told.
  FileError e;
  EXPECT_TRUE(SaveBackup((dir / "notes.txt" / "x").string(), image.transfer(), base, 3, &e).empty());
  EXPECT_NE(e.code, 0);
  fs::remove_all(dir.parent_path());
}
