// Every help context the program uses leads to a page and an anchor of the
// guide the build writes (bin/help/en). The contexts are found in the sources
// themselves: every number of the help context block (78000-99999) under src/.
// Every field and every editor of the module list leads to one as well.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>

#include "../support/Files.h"
#include "editors/HelpTopics.h"
#include "editors/EditorModules.h"
#include "editors/HelpLinks.h"

using namespace zmp;
namespace fs = std::filesystem;
using zmp::testing::ReadText;

namespace {

const fs::path kGuide = fs::path(ZMP_BIN_DIR) / "help" / "en";

bool HasAnchor(const std::string& html, const std::string& anchor) {
  return html.find("id=\"" + anchor + "\"") != std::string::npos ||
         html.find("name=\"" + anchor + "\"") != std::string::npos;
}

std::set<int> ContextsInSources() {
  std::set<int> found;
  const std::regex number(R"((^|[^0-9A-Za-z_x.])(7[89][0-9]{3}|[89][0-9]{4})(?![0-9]))");
  for (const auto& e : fs::recursive_directory_iterator(fs::path(ZMP_SOURCE_DIR) / "src")) {
    const auto ext = e.path().extension();
    if (ext != ".cpp" && ext != ".h") continue;
    const std::string text = ReadText(e.path());
    for (std::sregex_iterator it(text.begin(), text.end(), number), end; it != end; ++it)
      found.insert(std::stoi((*it)[2]));
  }
  return found;
}

}  // namespace

TEST(HelpTopics, EveryContextOfTheProgramOpensAnExistingPageAndAnchor) {
  ASSERT_TRUE(fs::is_regular_file(kGuide / kHelpContentsPage)) << kGuide;
  ASSERT_TRUE(fs::is_regular_file(kGuide / kReferenceContentsPage));
  for (const HelpTopic& t : HelpTopics()) {
    const HelpTarget target = SplitHelpTarget(t.target);
    const fs::path page = kGuide / target.page;
    ASSERT_TRUE(fs::is_regular_file(page)) << t.context << " -> " << page;
    if (!target.anchor.empty()) {
      EXPECT_TRUE(HasAnchor(ReadText(page), target.anchor)) << t.context << " -> " << t.target;
    }
  }
  const std::set<int> used = ContextsInSources();
  EXPECT_GE(used.size(), 10u) << "the channel grid's contexts at least";
  for (int context : used) EXPECT_TRUE(HelpTargetOf(context)) << "help context " << context << " has no page";
  EXPECT_FALSE(HelpTargetOf(12345));
  const auto exists = [](const std::string& target) {
    const HelpTarget t = SplitHelpTarget(target);
    return !t.anchor.empty() && fs::is_regular_file(kGuide / t.page) && HasAnchor(ReadText(kGuide / t.page), t.anchor);
  };
  for (const EditorModule* m : EditorModules()) {
    EXPECT_TRUE(exists(EditorHelpTarget(m->kind))) << m->key;
    for (const FieldTable& table : m->tables)
      for (const FieldDecl& d : table.fields)
        if (!table.hidden) {
          EXPECT_TRUE(exists(FieldHelpTarget(d))) << m->key << "." << d.key;
        }
  }
}

// Every link between the hand-written and generated pages leads somewhere.
TEST(HelpTopics, EveryLinkOfTheGuideLeadsToAPageAndAnchor) {
  const std::regex link(R"re(href="([^"#:]*)(#([^"]*))?")re");
  int links = 0;
  for (const auto& e : fs::recursive_directory_iterator(kGuide)) {
    if (e.path().extension() != ".html") continue;
    const std::string text = ReadText(e.path());
    for (std::sregex_iterator it(text.begin(), text.end(), link), end; it != end; ++it) {
      const std::string file = (*it)[1];
      if (file.empty() || file.rfind("http", 0) == 0) continue;
      const fs::path target = e.path().parent_path() / file;
      ++links;
      ASSERT_TRUE(fs::exists(target)) << e.path() << " links to " << file;
      if ((*it)[3].matched && target.extension() == ".html") {
        EXPECT_TRUE(HasAnchor(ReadText(target), (*it)[3])) << e.path() << " links to " << (*it)[0];
      }
    }
  }
  EXPECT_GT(links, 20);
}
