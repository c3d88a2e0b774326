// The editor reference pages the build writes name every field of the
// editors' own tables, at the anchor the help contexts lead to.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "../support/Files.h"
#include "lang/LanguageTexts.h"
#include "editors/EditorModules.h"
using namespace zmp;
namespace fs = std::filesystem;
using zmp::testing::ReadText;

namespace {

std::string Label(TextNo t) {
  std::string s = Tx(t);
  s.erase(std::remove(s.begin(), s.end(), '&'), s.end());
  return s;
}

// The heading at the anchor of a field holds its label.
bool NamesField(const std::string& html, std::string_view key, const std::string& label) {
  const std::string anchor = "id=\"" + std::string(key) + "\"";
  const auto at = html.find(anchor);
  if (at == std::string::npos) return false;
  return html.substr(at, html.find("</h", at) - at).find(label) != std::string::npos;
}

}  // namespace

// The page of a module: its key with "-" for "_"; the channel grid's page is
// "channel-information".
std::string PageOf(std::string_view key) {
  if (key == "channel") return "channel-information.html";
  std::string file(key);
  std::replace(file.begin(), file.end(), '_', '-');
  return file + ".html";
}

TEST(ReferencePages, NameEveryFieldOfEveryEditor) {
  ASSERT_EQ(Texts().LoadFile(std::string(ZMP_BIN_DIR) + "/zmp318t.lng", "English"),
            LanguageTexts::LoadResult::Loaded);
  const fs::path reference = fs::path(ZMP_BIN_DIR) / "help" / "en" / "reference";
  const std::string contents = ReadText(reference / "index.html");
  for (const EditorModule* module : EditorModules()) {
    const std::string page = ReadText(reference / PageOf(module->key));
    ASSERT_FALSE(page.empty()) << module->key;
    EXPECT_NE(contents.find(PageOf(module->key)), std::string::npos) << module->key;
    std::vector<std::string_view> described;
    for (const FieldTable& table : module->tables) {
      if (table.hidden) continue;
      for (std::size_t i = 0; i < table.fields.size(); ++i) {
        const FieldDecl& d = table.fields[i];
        // A field two layouts show is described once, under the first title.
        if (std::find(described.begin(), described.end(), d.key) != described.end()) continue;
        described.push_back(d.key);
        const TextNo title = i < table.columns.size() && table.columns[i].title.n ? table.columns[i].title : d.label;
        EXPECT_TRUE(NamesField(page, d.key, Label(title))) << module->key << "." << d.key;
      }
    }
  }
  // The list fields show their choices, the RAN fields what "Off" means.
  const std::string edit = ReadText(reference / "channel-edit.html");
  EXPECT_NE(edit.find(Label(793_txt)), std::string::npos);
  EXPECT_NE(edit.find("No RAN is sent."), std::string::npos);
}
