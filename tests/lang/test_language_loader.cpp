#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "lang/LanguageTexts.h"

using namespace zmp;

namespace {

// A complete file of two columns with every key once; slot n's text is "E<n>"
// in column 1 and "G<n>" in column 2, except where overridden.
std::string MakeFile(int skipSlot = -1, int duplicateSlot = -1, const std::string& lineEnd = "\n") {
  std::string s = "; comment\n*Language,English,German" + lineEnd + "*Font,Courier,Arial" + lineEnd;
  for (int slot = 0; slot < kTextCount; ++slot) {
    if (slot == skipSlot) continue;
    char key[16];
    std::snprintf(key, sizeof key, "%08u", KeyOfSlot(slot));
    s += std::string("^#") + key + ",E" + std::to_string(slot) + ",G" + std::to_string(slot) + lineEnd;
    if (slot == duplicateSlot) s += std::string("^#") + key + ",,x" + lineEnd;
  }
  return s;
}

}  // namespace

TEST(LanguageTexts, LoadsColumnAndEscapes) {
  LanguageTexts t;
  std::string file = MakeFile();
  // Slot 5 gets escapes: a letter, backslash-a, a letter; and a line break.
  char key[16];
  std::snprintf(key, sizeof key, "%08u", KeyOfSlot(5));
  const std::string line = std::string("^#") + key + ",E5,G5";
  file.replace(file.find(line), line.size(), std::string("^#") + key + ",x\\ay\\nz\\tw,G5");
  ASSERT_EQ(t.LoadFromText(file, "German"), LanguageTexts::LoadResult::Loaded);
  EXPECT_EQ(t.Column(), 2);
  EXPECT_EQ(t.Text(0), "G0");
  EXPECT_EQ(t.FontName(), "Arial");
  EXPECT_EQ(t.CurrentLanguageName(), "German");
  ASSERT_EQ(t.LoadFromText(file, "English"), LanguageTexts::LoadResult::Loaded);
  EXPECT_EQ(t.Text(5), "x,y\nz\tw");
  EXPECT_EQ(t.Text(kTextCount), "");
  EXPECT_EQ(t.Text(1317), "E1317");
  // A language the file does not list takes column 1 without complaint.
  ASSERT_EQ(t.LoadFromText(file, "Klingon"), LanguageTexts::LoadResult::Loaded);
  EXPECT_EQ(t.Column(), 1);
  EXPECT_EQ(t.ColumnOf("German"), 2);
  EXPECT_EQ(t.ColumnOf("Klingon"), 0);
}

TEST(LanguageTexts, DamagedFilesAreRefusedAndKeepThePreviousTexts) {
  LanguageTexts t;
  ASSERT_EQ(t.LoadFromText(MakeFile(), "English"), LanguageTexts::LoadResult::Loaded);
  const auto damaged = LanguageTexts::LoadResult::Damaged;
  EXPECT_EQ(t.LoadFromText(MakeFile(7), "English"), damaged) << "1317 text lines";
  std::string extra = MakeFile() + "^#10000002,extra\n";
  EXPECT_EQ(t.LoadFromText(extra, "English"), damaged) << "a key that is not in the table";
  EXPECT_EQ(t.LoadFromText(MakeFile(-1, 1), "English"), damaged) << "slot 1 twice";
  // One key missing and another repeated: still 1318 lines, still damaged.
  EXPECT_EQ(t.LoadFromText(MakeFile(3, 1), "English"), damaged);
  std::string shortKey = MakeFile();
  shortKey.insert(shortKey.find("^#"), "^#0001,short\n");
  EXPECT_EQ(t.LoadFromText(shortKey, "English"), damaged) << "malformed key";
  std::string noLanguage = MakeFile();
  noLanguage.erase(noLanguage.find("*Language"), std::string("*Language,English,German\n").size());
  EXPECT_EQ(t.LoadFromText(noLanguage, "English"), damaged);
  EXPECT_EQ(t.Text(0), "E0") << "a failed load keeps the texts that were loaded";

  // Carriage returns before the line feed are stripped.
  ASSERT_EQ(t.LoadFromText(MakeFile(-1, -1, "\r\n"), "German"), LanguageTexts::LoadResult::Loaded);
  EXPECT_EQ(t.Text(1), "G1");
}

TEST(LanguageTexts, FilesOnDisk) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("zmp_lang_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  LanguageTexts t;
  EXPECT_EQ(t.LoadFile((dir / "missing.lng").string(), "English"),
            LanguageTexts::LoadResult::NotFound);
  EXPECT_STREQ(LanguageTexts::MessageFor(LanguageTexts::LoadResult::NotFound),
               "Can't read language file.  Please install this software again.");
  std::ofstream(dir / kLanguageFileName) << MakeFile();
  EXPECT_EQ(LanguageTexts::FindFile(dir.string()), (dir / kLanguageFileName).string());
  EXPECT_EQ(t.LoadFile(LanguageTexts::FindFile(dir.string()), "English"),
            LanguageTexts::LoadResult::Loaded);
  fs::remove_all(dir);
}

TEST(FormatText, NeverReadsPastItsArguments) {
  EXPECT_EQ(FormatText("%s \"%s\" ?", {"Save", "zmp318t.dat"}), "Save \"zmp318t.dat\" ?");
  EXPECT_EQ(FormatText("COM%d", {"3"}), "COM3");
  EXPECT_EQ(FormatText("%s %s %n %d%%", {"a"}), "a  %n %");
  EXPECT_EQ(FormatText("%10s%s", {"", "DEMO"}), "          DEMO");
  EXPECT_EQ(FormatText("%-4s|", {"ab"}), "ab  |");
  EXPECT_EQ(FormatText("%05d", {"42"}), "00042");
}
