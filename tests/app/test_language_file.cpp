// The shipped language file must give a text to every text number that the
// program's code uses (written as <number>_txt).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "lang/LanguageTexts.h"

using namespace zmp;
namespace fs = std::filesystem;

namespace {

// Text number -> first file that uses it.
std::map<int, std::string> UsedTextNumbers() {
  std::map<int, std::string> used;
  const std::regex pattern(R"(\b([0-9]+)_txt\b)");
  for (const char* dir : {"src", "tools"}) {
    const fs::path root = fs::path(ZMP_SOURCE_DIR) / dir;
    if (!fs::exists(root)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      if (!entry.is_regular_file()) continue;
      const auto ext = entry.path().extension().string();
      if (ext != ".h" && ext != ".cpp" && ext != ".hpp" && ext != ".py") continue;
      std::ifstream in(entry.path());
      std::stringstream ss;
      ss << in.rdbuf();
      const std::string text = ss.str();
      for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it) {
        const int n = std::stoi((*it)[1].str());
        used.emplace(n, fs::relative(entry.path(), ZMP_SOURCE_DIR).string());
      }
    }
  }
  return used;
}

}  // namespace

TEST(ShippedLanguageFile, LoadsAndGivesEveryUsedTextNumberAText) {
  LanguageTexts texts;
  const std::string path = std::string(ZMP_SOURCE_DIR) + "/lang/zmp318t.lng";
  ASSERT_EQ(texts.LoadFile(path, "English"), LanguageTexts::LoadResult::Loaded) << path;
  EXPECT_EQ(texts.CurrentLanguageName(), "English");
  const auto used = UsedTextNumbers();
  ASSERT_FALSE(used.empty());
  std::set<int> missing;
  for (const auto& [n, file] : used) {
    // 0 stands for "no text" (a caption of 0 shows the product name).
    if (n == 0) continue;
    EXPECT_LT(n, kTextCount) << n << "_txt in " << file << " is not a text slot";
    if (n < kTextCount && texts.Text(n).empty()) {
      missing.insert(n);
      ADD_FAILURE() << "text " << n << " (used in " << file << ") is empty in the language file";
    }
  }
  EXPECT_TRUE(missing.empty()) << missing.size() << " used texts are empty";
  EXPECT_EQ(texts.Text(441), "Read Data from System");
}

TEST(ShippedLanguageFile, IsFoundBesideTheProgram) {
  // The build copies the file next to every executable.
  EXPECT_EQ(LanguageTexts::FindFile(ZMP_BIN_DIR), std::string(ZMP_BIN_DIR) + "/zmp318t.lng");
}
