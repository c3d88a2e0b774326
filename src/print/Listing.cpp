#include "print/Listing.h"

#include <algorithm>
#include <charconv>
#include <map>

#include "lang/LanguageTexts.h"
#include "data/ModelInfo.h"
#include "editors/FieldGridSource.h"

namespace zmp::print {

namespace {

// A caption as printed: without the mnemonic marks of a control's text.
std::string WithoutMnemonics(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;
    out += text[i];
  }
  return out;
}
std::string PrintedLabel(TextNo t) { return WithoutMnemonics(Tx(t)); }
// A field's caption as the editors show it ("Beat Shift 3").
std::string PrintedLabel(const FieldDecl& d) { return WithoutMnemonics(FieldLabel(d)); }

// A field prints when it holds a value or shows a text of its own (an
// output's function beside its remote codes).
bool Printed(const FieldDecl& d) { return d.HasValue() || (d.hooks && d.hooks->show); }

// The title of a table's column of field i: its grid column, else its label.
std::string ColumnTitle(const FieldTable& table, std::size_t i) {
  if (table.kind == TableKind::Grid && i < table.columns.size()) return PrintedLabel(table.columns[i].title);
  return PrintedLabel(table.fields[i]);
}

// "2, 4-6, 9" for the numbers 2, 4, 5, 6 and 9 (ascending).
std::string NumberRanges(const std::vector<int>& numbers) {
  std::string out;
  for (std::size_t i = 0; i < numbers.size();) {
    std::size_t j = i;
    while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1) ++j;
    if (!out.empty()) out += ", ";
    out += std::to_string(numbers[i]);
    if (j > i) out += "-" + std::to_string(numbers[j]);
    i = j + 1;
  }
  return out;
}

// The model queries read the image only.
ModelInfo ModelOf(const ImageStore& image) { return ModelInfo(const_cast<ImageStore&>(image)); }

ListingSection ModelSection(const ImageStore& image) {
  const ModelInfo model = ModelOf(image);
  const int bandRow = model.BandRowIndex();
  ListingPart part;
  part.pairs = {
      {PrintedLabel(430_txt), model.Caption()},
      {PrintedLabel(431_txt), bandRow < 0 ? std::string()
                                          : std::string(BandTable()[static_cast<std::size_t>(bandRow)].rangeText)},
      {PrintedLabel(433_txt), Tx(model.Mode() == 1 ? 722_txt : 719_txt)},
      {PrintedLabel(432_txt), Tx(model.OptionBoard() == 1 ? 730_txt : 729_txt)},
  };
  return {std::string(kModelSection), PrintedLabel(429_txt), {part}};
}

bool RowPrinted(const FieldTable& table, const ImageStore& image, int row, const ChannelRange& range) {
  if (!table.channelRows) return RowListed(table, image, row);
  return row + 1 >= range.first && row + 1 <= range.last && RowStart(table, image, row).has_value();
}

// Grids, or forms with a row per channel (or per entry), as one table: the
// row number (or the row's title, under no heading), then a column per field
// that prints. Tables of one key (a multi table's tone and number grids, a
// channel's CW ID text and settings) stand side by side, as in their editor.
ListingPart TablePart(const std::vector<const FieldTable*>& tables, const ImageStore& image,
                      const ChannelRange& range) {
  const FieldTable& table = *tables.front();
  ListingPart part;
  part.kind = ListingPart::Kind::Table;
  part.titles.push_back(HasRowTitles(table) ? std::string() : PrintedLabel(table.numberTitle));
  std::vector<std::pair<const FieldTable*, std::size_t>> columns;
  for (const FieldTable* t : tables)
    for (std::size_t i = 0; i < t->fields.size(); ++i) {
      if (!Printed(t->fields[i])) continue;
      columns.emplace_back(t, i);
      part.titles.push_back(ColumnTitle(*t, i));
    }
  for (int row = 0; row < table.rows; ++row) {
    if (!RowPrinted(table, image, row, range)) continue;
    // Rows with titles (keys, ports) print their title, the others their number.
    std::vector<std::string> cells{RowTitleOf(table, image, row)};
    for (const auto& [t, i] : columns) cells.push_back(FieldCellText(FieldRef{t, &t->fields[i], row}, image));
    part.rows.push_back(std::move(cells));
  }
  if (part.rows.empty() && table.channelRows) {
    part.kind = ListingPart::Kind::Note;
    part.titles.clear();
    part.note = Tx(623_txt);
  }
  return part;
}

// A single form: label and shown value of every field, headings between.
ListingPart PairsPart(const FieldTable& table, const ImageStore& image) {
  ListingPart part;
  for (const FieldDecl& d : table.fields) {
    if (d.kind == ControlKind::GroupLabel) {
      part.pairs.push_back({PrintedLabel(d), {}, true});
    } else if (Printed(d)) {
      part.pairs.push_back({PrintedLabel(d), FieldCellText(FieldRef{&table, &d, 0}, image)});
    }
  }
  return part;
}

bool IsTable(const FieldTable& t) { return t.kind == TableKind::Grid || t.rows > 1; }

// The shown tables of a module as they print: one group per table, except
// that tables of one key and row count print together.
std::vector<std::vector<const FieldTable*>> PrintedGroups(const EditorModule& module, const ImageStore& image) {
  std::vector<std::vector<const FieldTable*>> groups;
  for (const FieldTable& t : module.tables) {
    if (!TableShown(t, image)) continue;
    const FieldTable* last = groups.empty() ? nullptr : groups.back().front();
    if (last && IsTable(t) && IsTable(*last) && last->key == t.key && last->rows == t.rows)
      groups.back().push_back(&t);
    else
      groups.push_back({&t});
  }
  return groups;
}

// No cell of the tables holds anything: every value is its none (Off, empty,
// out of range).
bool HoldsNothing(const std::vector<const FieldTable*>& tables, const ImageStore& image) {
  for (const FieldTable* t : tables)
    for (int row = 0; row < t->rows; ++row)
      for (const FieldDecl& d : t->fields) {
        if (!d.HasValue()) continue;
        const FieldView v = ShowField(FieldRef{t, &d, row}, image);
        if (!v.exists) continue;
        if (v.raw ? !IsNoneValue(d, *v.raw) : !v.text.empty()) return false;
      }
  return true;
}

// Each group under its title when there are several. Groups that share a
// title are numbered ("Multi Table 3"); those of them that hold nothing are
// named together in one line after the last.
ListingSection ModuleSection(const EditorModule& module, const ImageStore& image, const ChannelRange& range) {
  ListingSection section{std::string(module.key), PrintedLabel(module.title), {}};
  const auto groups = PrintedGroups(module, image);
  const auto sameTitle = [&](std::size_t k) {
    return [&groups, k](const std::vector<const FieldTable*>& g) { return g.front()->title == groups[k].front()->title; };
  };
  std::map<int, std::vector<int>> empty;  // by title: the numbers of the groups that hold nothing
  for (std::size_t k = 0; k < groups.size(); ++k) {
    const FieldTable& t = *groups[k].front();
    const auto before = groups.begin() + static_cast<std::ptrdiff_t>(k);
    const auto count = std::count_if(groups.begin(), groups.end(), sameTitle(k));
    const int number = static_cast<int>(std::count_if(groups.begin(), before, sameTitle(k))) + 1;
    const std::string title = count > 1 ? PrintedLabel(t.title) + " " + std::to_string(number) : PrintedLabel(t.title);
    if (count > 1 && IsTable(t) && HoldsNothing(groups[k], image)) {
      empty[t.title.n].push_back(number);
    } else {
      ListingPart part = IsTable(t) ? TablePart(groups[k], image, range) : PairsPart(t, image);
      if (groups.size() > 1) part.heading = title;
      section.parts.push_back(std::move(part));
    }
    const auto& numbers = empty[t.title.n];
    if (number == count && !numbers.empty()) {
      ListingPart note;
      note.kind = ListingPart::Kind::Note;
      note.note = FormatText(Tx(378_txt), {PrintedLabel(t.title) + " " + NumberRanges(numbers)});
      section.parts.push_back(std::move(note));
    }
  }
  return section;
}

bool Chosen(const ListingChoice& choice, std::string_view key) {
  return std::find(choice.sections.begin(), choice.sections.end(), key) != choice.sections.end();
}

}  // namespace

std::vector<SectionInfo> ListSections(ModuleList modules) {
  std::vector<SectionInfo> out{{std::string(kModelSection), 429_txt}};
  for (const EditorModule* m : modules) out.push_back({std::string(m->key), m->title});
  return out;
}

ChannelRange LimitChannelRange(int first, int last) {
  first = std::clamp(first, 1, kChannelCount);
  last = std::clamp(last, first, kChannelCount);
  return {first, last};
}

std::optional<ChannelRange> ParseChannelRange(std::string_view text) {
  auto number = [](std::string_view s) -> std::optional<int> {
    int n = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return n;
  };
  const auto dash = text.find('-');
  const auto first = number(text.substr(0, dash));
  const auto last = dash == std::string_view::npos ? first : number(text.substr(dash + 1));
  // A range backwards, or without any channel, is refused rather than narrowed.
  if (!first || !last || *last < *first || *first > kChannelCount || *last < 1) return std::nullopt;
  return LimitChannelRange(*first, *last);
}

Listing BuildListing(ModuleList modules, const ImageStore& image, const ListingChoice& choice) {
  Listing listing;
  const ChannelRange range = LimitChannelRange(choice.channels.first, choice.channels.last);
  if (Chosen(choice, kModelSection)) listing.sections.push_back(ModelSection(image));
  for (const EditorModule* m : modules)
    if (Chosen(choice, m->key)) listing.sections.push_back(ModuleSection(*m, image, range));
  return listing;
}

PageHeader HeaderOf(const ImageStore& image, std::string fileName, std::time_t printedAt) {
  std::tm local{};
  localtime_r(&printedAt, &local);
  char when[32];
  std::strftime(when, sizeof when, "%Y-%m-%d %H:%M", &local);
  return {kProductName, ModelOf(image).LongCaption(), std::move(fileName), when};
}

std::string PageNumberText(int page, int pages) {
  return FormatText(Tx(624_txt), {std::to_string(page), std::to_string(pages)});
}

SectionKeys ParseSectionKeys(ModuleList modules, std::string_view list) {
  SectionKeys out;
  const auto known = ListSections(modules);
  while (!list.empty()) {
    const auto comma = list.find(',');
    std::string key(list.substr(0, comma));
    list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
    if (key.empty()) continue;
    if (std::none_of(known.begin(), known.end(), [&](const SectionInfo& s) { return s.key == key; })) {
      out.unknown = key;
      out.keys.clear();
      return out;
    }
    out.keys.push_back(std::move(key));
  }
  return out;
}

}  // namespace zmp::print
