// The shipped language file must give a text to every text number that the
// program's code uses (written as <number>_txt).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <cctype>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/Commands.h"
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
}

TEST(ShippedLanguageFile, IsFoundBesideTheProgram) {
  // The build copies the file next to every executable.
  EXPECT_EQ(LanguageTexts::FindFile(ZMP_BIN_DIR), std::string(ZMP_BIN_DIR) + "/zmp318t.lng");
}

namespace {

// The mnemonic letter of a menu text ("Save &As...\tCtrl+S" -> 'A'); 0 when
// it has none. "&&" is a literal ampersand.
char Mnemonic(const std::string& text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    return static_cast<char>(std::toupper(static_cast<unsigned char>(text[i + 1])));
  }
  return 0;
}

// Every entry of a menu has a mnemonic and no two share one.
void ExpectDistinctMnemonics(const LanguageTexts& texts, const std::string& menu,
                             const std::vector<cmd::MenuRow>& rows) {
  std::map<char, std::string> taken;
  for (const auto& row : rows) {
    if (row.command == 0) continue;
    const std::string text = texts.Text(row.text.n);
    const char m = Mnemonic(text);
    EXPECT_NE(m, 0) << menu << ": \"" << text << "\" has no mnemonic";
    if (!m) continue;
    const auto [it, fresh] = taken.emplace(m, text);
    EXPECT_TRUE(fresh) << menu << ": \"" << text << "\" and \"" << it->second << "\" share &" << m;
  }
}

}  // namespace

TEST(ShippedLanguageFile, NoTwoEntriesOfOneMenuShareAMnemonic) {
  LanguageTexts texts;
  ASSERT_EQ(texts.LoadFile(std::string(ZMP_SOURCE_DIR) + "/lang/zmp318t.lng", "English"),
            LanguageTexts::LoadResult::Loaded);
  std::vector<cmd::MenuRow> titles;
  for (int m = 0; m < cmd::kMenuCount; ++m) {
    const cmd::MenuTable table = cmd::MenuOf(static_cast<cmd::Menu>(m));
    titles.push_back({m + 1, table.title});
    std::vector<cmd::MenuRow> rows(table.rows.begin(), table.rows.end());
    if (static_cast<cmd::Menu>(m) != cmd::Menu::Edit) {
      ExpectDistinctMnemonics(texts, texts.Text(table.title.n), rows);
      continue;
    }
    // The Edit menu carries the editor rows of either option board value.
    for (int board : {0, 1}) {
      auto edit = rows;
      for (const auto& row : cmd::EditorRows(board)) edit.push_back(row);
      ExpectDistinctMnemonics(texts, "Edit (option board " + std::to_string(board) + ")", edit);
    }
  }
  ExpectDistinctMnemonics(texts, "menu bar", titles);
  // The service dialogs live in the Tools menu.
  std::set<int> tools;
  for (const auto& row : cmd::MenuOf(cmd::Menu::Tools).rows) tools.insert(row.command);
  EXPECT_TRUE(tools.count(cmd::kNetworkInformation));
  EXPECT_TRUE(tools.count(cmd::kFactoryReset));
  for (const auto& row : cmd::MenuOf(cmd::Menu::Program).rows) {
    EXPECT_NE(row.command, cmd::kNetworkInformation);
    EXPECT_NE(row.command, cmd::kFactoryReset);
  }
  EXPECT_EQ(texts.Text(441), "Read Data from System");
}
