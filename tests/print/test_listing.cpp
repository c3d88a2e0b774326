// The listing of a data image as text and its layout on pages: what each
// section holds, the channel range, values out of range, and the page rules
// (titles repeated, rows never cut, titles never left alone at a page foot).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "../editors/EditorTestSupport.h"
#include "editors/ChannelStore.h"
#include "editors/EditorModules.h"
#include "fields/FieldWalk.h"
#include "print/Listing.h"
#include "print/PageLayout.h"

using namespace zmp;
using namespace zmp::print;

namespace {

// One unit per character, two per line: pages in lines and characters.
class CharMeasure : public TextMeasure {
 public:
  double Width(std::string_view text, TextStyle) const override { return static_cast<double>(text.size()); }
  double LineHeight(TextStyle) const override { return 2; }
};

ListingChoice Everything(ChannelRange range = {}) {
  ListingChoice c;
  for (const auto& s : ListSections(EditorModules())) c.sections.push_back(s.key);
  c.channels = range;
  return c;
}

void Set(ImageStore& image, const std::string& key, const std::string& text) {
  const auto f = FindField(EditorModules(), image, key);
  ASSERT_TRUE(f) << key;
  ASSERT_TRUE(CommitFieldText(f->ref, image, text).ok()) << key;
}

const ListingSection* SectionOf(const Listing& l, std::string_view key) {
  for (const auto& s : l.sections)
    if (s.key == key) return &s;
  return nullptr;
}

std::string Cell(const ListingPart& table, std::size_t row, TextNo title) {
  const auto col = std::find(table.titles.begin(), table.titles.end(), Tx(title)) - table.titles.begin();
  EXPECT_LT(static_cast<std::size_t>(col), table.titles.size()) << Tx(title);
  return table.rows.at(row).at(static_cast<std::size_t>(col));
}

class ListingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zmp::testing::UseProgramTexts();
    SetDecimalSeparator('.');
    image.MakeBlank();
    zmp::testing::SetModel(image, zmp::testing::Vhf146E());
  }
  ImageStore image;
};

TEST_F(ListingTest, SectionsAreTheModelHeaderThenEveryModule) {
  const auto sections = ListSections(EditorModules());
  ASSERT_EQ(sections.size(), EditorModules().size() + 1);
  EXPECT_EQ(sections[0].key, kModelSection);
  for (std::size_t i = 0; i < EditorModules().size(); ++i) EXPECT_EQ(sections[i + 1].key, EditorModules()[i]->key);

  // A blank image (no channels, every byte 0xFF) prints (and stays as it was:
  // EveryField.ListingAndExportThenImportChangeNothing).
  const Listing blank = BuildListing(EditorModules(), image, Everything());
  EXPECT_GT(CountPages(blank, {400, 300}, CharMeasure()), 0);
  ASSERT_EQ(blank.sections.size(), sections.size());
  const ListingPart& model = blank.sections[0].parts.at(0);
  EXPECT_EQ(blank.sections[0].title, Tx(429_txt));
  ASSERT_EQ(model.pairs.size(), 4u);
  EXPECT_EQ(model.pairs[0].label, Tx(430_txt));
  EXPECT_EQ(model.pairs[0].value, "WAV-300: E");
  EXPECT_EQ(model.pairs[1].value, "146-174 MHz");
  // Only the chosen sections, in list order whatever the order of the choice.
  ListingChoice two;
  two.sections = {"channel_edit", std::string(kModelSection)};
  const Listing chosen = BuildListing(EditorModules(), image, two);
  ASSERT_EQ(chosen.sections.size(), 2u);
  EXPECT_EQ(chosen.sections[0].key, kModelSection);
  EXPECT_EQ(chosen.sections[1].key, "channel_edit");
}

TEST_F(ListingTest, ChannelsOfTheRangeAsTheEditorsShowThemAndOutOfRangeValuesEmpty) {
  for (int ch = 1; ch <= 3; ++ch) {
    Set(image, "channel[" + std::to_string(ch) + "].rx_frequency", "146.5" + std::to_string(ch));
    Set(image, "channel_edit[" + std::to_string(ch) + "].compander", ch == 2 ? "1" : "0");
  }
  // Channel 2: a scrambler code and a RAN beyond their ranges.
  const std::size_t record = *ChannelStore::RecordOf(image, 1);
  image.Main().SetByte(record + chrec::kScramblerCode, 0x40);
  image.Main().SetWord(record + chrec::kRanDecode, 100);

  const Listing l = BuildListing(EditorModules(), image, Everything(LimitChannelRange(2, 30)));
  const ListingPart& grid = SectionOf(l, "channel")->parts.at(0);
  ASSERT_EQ(grid.kind, ListingPart::Kind::Table);
  ASSERT_EQ(grid.rows.size(), 2u);  // channels 2 and 3; the missing 4..30 do not print
  EXPECT_EQ(grid.rows[0][0], "2");
  EXPECT_EQ(Cell(grid, 0, 741_txt), "146.520000");
  EXPECT_EQ(grid.titles[0], Tx(754_txt));

  const ListingPart& edit = SectionOf(l, "channel_edit")->parts.at(0);
  ASSERT_EQ(edit.rows.size(), 2u);
  EXPECT_EQ(Cell(edit, 0, 767_txt), "146.520000");
  EXPECT_EQ(Cell(edit, 0, 778_txt), Tx(727_txt));  // a check box prints On / Off
  EXPECT_EQ(Cell(edit, 1, 778_txt), Tx(728_txt));
  EXPECT_EQ(Cell(edit, 0, 782_txt), "");           // out of range: empty
  EXPECT_EQ(Cell(edit, 1, 782_txt), "1");
  EXPECT_EQ(Cell(edit, 0, 764_txt), "");
  EXPECT_EQ(Cell(edit, 1, 764_txt), Tx(719_txt));
  // Headings, buttons and the channel number spin hold no value: no column.
  for (TextNo none : {51_txt, 779_txt, 780_txt})
    EXPECT_EQ(std::count(edit.titles.begin(), edit.titles.end(), Tx(none)), 0) << none.n;

  // A range without an existing channel: the title and "no channels".
  const Listing empty = BuildListing(EditorModules(), image, Everything(LimitChannelRange(10, 12)));
  for (const char* key : {"channel", "channel_edit"}) {
    const ListingSection* s = SectionOf(empty, key);
    ASSERT_EQ(s->parts.size(), 1u);
    EXPECT_EQ(s->parts[0].kind, ListingPart::Kind::Note);
    EXPECT_EQ(s->parts[0].note, Tx(623_txt));
  }
}

TEST_F(ListingTest, ChannelRangesAndSectionKeysAreLimitedOrRefused) {
  EXPECT_EQ(LimitChannelRange(0, 99), (ChannelRange{1, 30}));
  EXPECT_EQ(LimitChannelRange(20, 5), (ChannelRange{20, 20}));
  EXPECT_EQ(LimitChannelRange(-4, -9), (ChannelRange{1, 1}));
  EXPECT_EQ(ParseChannelRange("5-9"), (ChannelRange{5, 9}));
  EXPECT_EQ(ParseChannelRange("7"), (ChannelRange{7, 7}));
  EXPECT_EQ(ParseChannelRange("28-40"), (ChannelRange{28, 30}));
  // Backwards, or without a channel: refused, never narrowed.
  for (const char* bad : {"", "-", "a-b", "3-", "1-2-3", "1 - 2", "5-2", "40-50", "0"})
    EXPECT_FALSE(ParseChannelRange(bad)) << bad;

  const SectionKeys ok = ParseSectionKeys(EditorModules(), "channel,model,");
  EXPECT_EQ(ok.keys, (std::vector<std::string>{"channel", "model"}));
  const SectionKeys bad = ParseSectionKeys(EditorModules(), "model,nothing");
  EXPECT_EQ(bad.unknown, "nothing");
  EXPECT_TRUE(bad.keys.empty());
}

TEST_F(ListingTest, NumberedTablesLabelsAndEveryPerChannelSectionAsTheEditorsShowThem) {
  for (int ch = 1; ch <= 4; ++ch) Set(image, "channel[" + std::to_string(ch) + "].rx_frequency", "146.5" + std::to_string(ch));
  Set(image, "multi_table[2].table_3.tone_1", "88.5");
  Set(image, "multi_table[4].table_5.number_1", "7");
  const Listing l = BuildListing(EditorModules(), image, Everything(LimitChannelRange(3, 3)));

  // One heading per multi table, its tone and number grids side by side
  // under the editor's "No."; the tables that hold nothing in one line.
  const ListingSection& multi = *SectionOf(l, "multi_table");
  ASSERT_EQ(multi.parts.size(), 3u);
  EXPECT_EQ(multi.parts[0].heading, "Multi Table 3");
  EXPECT_EQ(multi.parts[0].titles,
            (std::vector<std::string>{Tx(716_txt), Tx(607_txt), Tx(608_txt), Tx(609_txt), Tx(610_txt)}));
  ASSERT_EQ(multi.parts[0].rows.size(), 15u);
  EXPECT_EQ(multi.parts[0].rows[1], (std::vector<std::string>{"2", "88.5", "88.5", "", ""}));
  EXPECT_EQ(multi.parts[1].heading, "Multi Table 5");
  EXPECT_EQ(multi.parts[2].kind, ListingPart::Kind::Note);
  EXPECT_EQ(multi.parts[2].note, "Multi Table 1-2, 4, 6-15: no entries.");
  EXPECT_EQ(SectionOf(l, "test_frequency")->parts[0].titles[0], Tx(716_txt));

  // Numbered labels keep their numbers, as the editors show them.
  const auto titles = SectionOf(l, "beat_shift")->parts.at(0).titles;
  EXPECT_EQ(std::vector<std::string>(titles.begin() + 1, titles.end()),
            (std::vector<std::string>{"Beat Shift 1", "Beat Shift 2", "Beat Shift 3", "Beat Shift 4", "Beat Shift 5"}));
  const auto labels = [&](std::string_view key) {
    std::vector<std::string> out;
    for (const ListingPart& p : SectionOf(l, key)->parts)
      for (const PairRow& r : p.pairs) out.push_back(r.label);
    return out;
  };
  for (const char* label : {"CW Message 1", "CW Message 8"}) EXPECT_EQ(std::ranges::count(labels("cw_message"), label), 1) << label;
  for (const char* label : {"Embedded Message 1", "Embedded Message 2"})
    EXPECT_EQ(std::ranges::count(labels("embedded_message"), label), 1) << label;
  for (const char* label : {"Digit 1", "Digit 8"}) EXPECT_EQ(std::ranges::count(labels("five_tone"), label), 1) << label;

  // The channel range holds for every per-channel section; CW ID's text and
  // settings print as one table.
  for (const char* key : {"channel", "channel_edit", "cw_id", "beat_shift"}) {
    const ListingSection& s = *SectionOf(l, key);
    ASSERT_EQ(s.parts.size(), 1u) << key;
    ASSERT_EQ(s.parts[0].rows.size(), 1u) << key;
    EXPECT_EQ(s.parts[0].rows[0][0], "3") << key;
  }
  EXPECT_EQ(SectionOf(l, "cw_id")->parts[0].titles[1], Tx(751_txt));

  // Remote control's outputs show each output's function and polarity.
  const ListingPart& outputs = SectionOf(l, "remote_control")->parts.at(2);
  EXPECT_EQ(outputs.heading, Tx(952_txt));
  EXPECT_EQ(outputs.titles.at(1), Tx(991_txt));
  EXPECT_EQ(outputs.titles.back(), Tx(869_txt));
}

TEST(PageLayoutTest, LongTablesRepeatTheirTitlesAndNoRowOrTitleIsCut) {
  Listing l;
  ListingSection s{"t", "Long", {}};
  ListingPart pairs;
  for (int i = 0; i < 7; ++i) pairs.pairs.push_back({"Label " + std::to_string(i), "value"});
  s.parts.push_back(pairs);
  ListingPart table;
  table.kind = ListingPart::Kind::Table;
  // Eight columns of 9 characters (11 with padding) on a page 40 wide: bands.
  for (int c = 0; c < 8; ++c) table.titles.push_back("Title" + std::to_string(c) + "xxx");
  for (int r = 0; r < 45; ++r) table.rows.push_back(std::vector<std::string>(8, "cell" + std::to_string(r)));
  s.parts.push_back(table);
  l.sections = {s, s};

  const PageGeometry page{40, 50};
  const CharMeasure m;
  const auto pages = LayOutPages(l, page, m);
  ASSERT_EQ(CountPages(l, page, m), static_cast<int>(pages.size()));
  ASSERT_GT(pages.size(), 4u);
  int rows = 0;
  for (const Page& p : pages) {
    ASSERT_FALSE(p.lines.empty());
    for (std::size_t i = 0; i < p.lines.size(); ++i) {
      const PlacedLine& line = p.lines[i];
      EXPECT_LE(line.y + line.height, page.height + 1e-9);  // inside the page, never cut
      for (const PlacedCell& c : line.cells) EXPECT_LE(c.x + c.width, page.width + 1e-9);
      if (line.kind == LineKind::TableRow) {
        ++rows;
        // Every row is under the titles of its band on its own page.
        const auto titles = std::find_if(p.lines.rbegin() + static_cast<std::ptrdiff_t>(p.lines.size() - i),
                                         p.lines.rend(), [](const PlacedLine& t) { return t.kind == LineKind::TableTitles; });
        ASSERT_NE(titles, p.lines.rend());
        EXPECT_EQ(titles->cells.size(), line.cells.size());
        EXPECT_EQ(titles->cells[0].text, "Title0xxx");  // the row number column starts every band
      }
    }
    // A title or heading never ends a page.
    const LineKind last = p.lines.back().kind;
    EXPECT_NE(last, LineKind::SectionTitle);
    EXPECT_NE(last, LineKind::TableTitles);
  }
  // 45 rows in bands of two columns beside the number (4 bands), twice.
  EXPECT_EQ(rows, 45 * 4 * 2);
  EXPECT_EQ(CountPages(Listing{}, page, m), 0);
}

}  // namespace
