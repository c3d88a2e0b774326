// The editor reference pages the build writes name every field of the
// editors' own tables, at the anchor the help contexts lead to.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/LanguageTexts.h"
#include "editors/ChannelGridSource.h"
#include "editors/ChannelStore.h"

using namespace zmp;
namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::string Label(TextNo t) {
  std::string s = Tx(t);
  s.erase(std::remove(s.begin(), s.end(), '&'), s.end());
  return s;
}

// The heading at the anchor of a field holds its label.
bool NamesField(const std::string& html, int field, const std::string& label) {
  const std::string anchor = "id=\"field-" + std::to_string(field) + "\"";
  const auto at = html.find(anchor);
  if (at == std::string::npos) return false;
  return html.substr(at, html.find("</h", at) - at).find(label) != std::string::npos;
}

}  // namespace

TEST(ReferencePages, NameEveryFieldOfTheChannelEditors) {
  ASSERT_EQ(Texts().LoadFile(std::string(ZMP_BIN_DIR) + "/zmp318t.lng", "English"),
            LanguageTexts::LoadResult::Loaded);
  const fs::path reference = fs::path(ZMP_BIN_DIR) / "help" / "en" / "reference";
  const std::string edit = ReadFile(reference / "channel-edit.html");
  ASSERT_FALSE(edit.empty());
  for (int f = 0; f < chfield::kCount; ++f)
    EXPECT_TRUE(NamesField(edit, f, Label(ChannelFieldTable[static_cast<std::size_t>(f)].text))) << "field " << f;
  // The list fields show their choices, the RAN fields what "Off" means.
  EXPECT_NE(edit.find(Label(793_txt)), std::string::npos);
  EXPECT_NE(edit.find("No RAN is sent."), std::string::npos);

  const std::string grid = ReadFile(reference / "channel-information.html");
  for (const GridColumn& c : ChInfoColumns(true)) EXPECT_TRUE(NamesField(grid, c.field, Label(c.title))) << c.field;
  const std::string contents = ReadFile(reference / "index.html");
  EXPECT_NE(contents.find("channel-edit.html"), std::string::npos);
  EXPECT_NE(contents.find("channel-information.html"), std::string::npos);
}
