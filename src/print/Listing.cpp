#include "print/Listing.h"

#include <algorithm>
#include <charconv>

#include "app/LanguageTexts.h"
#include "data/ModelInfo.h"
#include "editors/FieldGridSource.h"

namespace zmp::print {

namespace {

// A caption as printed: without the mnemonic marks of a control's text.
std::string PrintedLabel(TextNo t) {
  const std::string text = Tx(t);
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;
    out += text[i];
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

// A grid, or a form with a row per channel (or per entry), as a table: the
// row number (or the row's title, under no heading), then a column per field
// that holds a value.
ListingPart TablePart(const FieldTable& table, const ImageStore& image, const ChannelRange& range) {
  ListingPart part;
  part.kind = ListingPart::Kind::Table;
  part.titles.push_back(HasRowTitles(table) ? std::string() : PrintedLabel(754_txt));
  std::vector<std::size_t> fields;
  for (std::size_t i = 0; i < table.fields.size(); ++i) {
    const FieldDecl& d = table.fields[i];
    if (!d.HasValue()) continue;
    fields.push_back(i);
    part.titles.push_back(PrintedLabel(table.kind == TableKind::Grid ? ColumnInfoOf(table, i).title : d.label));
  }
  for (int row = 0; row < table.rows; ++row) {
    if (!RowPrinted(table, image, row, range)) continue;
    // Rows with titles (keys, ports) print their title, the others their number.
    std::vector<std::string> cells{RowTitleOf(table, image, row)};
    for (std::size_t i : fields) cells.push_back(FieldCellText(FieldRef{&table, &table.fields[i], row}, image));
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
      part.pairs.push_back({PrintedLabel(d.label), {}, true});
    } else if (d.HasValue()) {
      part.pairs.push_back({PrintedLabel(d.label), FieldCellText(FieldRef{&table, &d, 0}, image)});
    }
  }
  return part;
}

ListingSection ModuleSection(const EditorModule& module, const ImageStore& image, const ChannelRange& range) {
  ListingSection section{std::string(module.key), PrintedLabel(module.title), {}};
  std::vector<const FieldTable*> shown;
  for (const FieldTable& t : module.tables)
    if (TableShown(t, image)) shown.push_back(&t);
  for (std::size_t k = 0; k < shown.size(); ++k) {
    const FieldTable& t = *shown[k];
    const bool table = t.kind == TableKind::Grid || t.rows > 1;
    ListingPart part = table ? TablePart(t, image, range) : PairsPart(t, image);
    if (shown.size() > 1) {
      // Tables of a numbered set ("Multi Table %d") print their number.
      const auto number = std::count_if(shown.begin(), shown.begin() + static_cast<std::ptrdiff_t>(k),
                                        [&](const FieldTable* o) { return o->title == t.title; }) + 1;
      part.heading = FormatText(PrintedLabel(t.title), {std::to_string(number)});
    }
    section.parts.push_back(std::move(part));
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
  if (!first || !last) return std::nullopt;
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
