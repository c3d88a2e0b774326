#include "print/PageLayout.h"

#include <algorithm>
#include <numeric>

namespace zmp::print {

namespace {

// A line waiting for its page: the space above it, whether it must share a
// page with the line after it, and the column titles it repeats when it
// starts a page.
struct Flow {
  PlacedLine line;
  double spaceBefore = 0;
  bool keepWithNext = false;
  int titles = -1;  // index of the TableTitles line of its table band
};

class Flower {
 public:
  Flower(const PageGeometry& page, const TextMeasure& measure)
      : page_(page), measure_(measure), body_(measure.LineHeight(TextStyle::Body)), pad_(CellPadding(measure)) {}

  std::vector<Flow> Lines(const Listing& listing) {
    for (const ListingSection& s : listing.sections) {
      Add(LineKind::SectionTitle, {{s.title, 0, page_.width}}, 1.2 * body_, true);
      for (const ListingPart& p : s.parts) {
        if (!p.heading.empty()) Add(LineKind::Heading, {{p.heading, 0, page_.width}}, 0.6 * body_, true);
        switch (p.kind) {
          case ListingPart::Kind::Pairs: Pairs(p); break;
          case ListingPart::Kind::Table: Table(p); break;
          case ListingPart::Kind::Note: Add(LineKind::Note, {{p.note, 0, page_.width}}, 0.2 * body_, false); break;
        }
      }
    }
    return std::move(flow_);
  }

 private:
  double Height(LineKind kind) const {
    const double h = measure_.LineHeight(StyleOf(kind));
    return kind == LineKind::TableTitles || kind == LineKind::TableRow ? h + pad_ : h;
  }

  int Add(LineKind kind, std::vector<PlacedCell> cells, double spaceBefore, bool keepWithNext, int titles = -1,
          bool shaded = false) {
    PlacedLine line{kind, 0, Height(kind), std::move(cells), shaded};
    flow_.push_back({std::move(line), spaceBefore, keepWithNext, titles});
    return static_cast<int>(flow_.size()) - 1;
  }

  double TextWidth(const std::string& text, TextStyle style) const { return measure_.Width(text, style) + 2 * pad_; }

  void Pairs(const ListingPart& p) {
    double labels = 0;
    for (const PairRow& r : p.pairs)
      if (!r.heading) labels = std::max(labels, TextWidth(r.label, TextStyle::Body));
    labels = std::min(labels, 0.45 * page_.width);
    for (std::size_t i = 0; i < p.pairs.size(); ++i) {
      const PairRow& r = p.pairs[i];
      if (r.heading) {
        Add(LineKind::PairHeading, {{r.label, 0, page_.width}}, 0.4 * body_, true);
      } else {
        Add(LineKind::Pair, {{r.label, pad_, labels - pad_}, {r.value, labels + pad_, page_.width - labels - pad_}},
            0, false);
      }
    }
  }

  // Column widths: the widest title or cell, at most what leaves room for
  // the row-number column.
  std::vector<double> ColumnWidths(const ListingPart& p) const {
    std::vector<double> widths;
    for (const std::string& t : p.titles) widths.push_back(TextWidth(t, TextStyle::Bold));
    for (const auto& row : p.rows)
      for (std::size_t c = 0; c < row.size() && c < widths.size(); ++c)
        widths[c] = std::max(widths[c], TextWidth(row[c], TextStyle::Body));
    if (widths.empty()) return widths;
    widths[0] = std::min(widths[0], 0.3 * page_.width);
    for (std::size_t c = 1; c < widths.size(); ++c) widths[c] = std::min(widths[c], page_.width - widths[0]);
    return widths;
  }

  // Columns 1.. in bands that fit the page width beside column 0.
  std::vector<std::vector<std::size_t>> Bands(const std::vector<double>& widths) const {
    std::vector<std::vector<std::size_t>> bands;
    double used = page_.width;
    for (std::size_t c = 1; c < widths.size(); ++c) {
      if (bands.empty() || used + widths[c] > page_.width) {
        bands.push_back({0});
        used = widths[0];
      }
      bands.back().push_back(c);
      used += widths[c];
    }
    if (bands.empty() && !widths.empty()) bands.push_back({0});
    return bands;
  }

  std::vector<PlacedCell> Cells(const std::vector<std::string>& texts, const std::vector<std::size_t>& band,
                                const std::vector<double>& widths) const {
    std::vector<PlacedCell> cells;
    double x = 0;
    for (std::size_t c : band) {
      cells.push_back({c < texts.size() ? texts[c] : std::string(), x + pad_, widths[c] - 2 * pad_});
      x += widths[c];
    }
    return cells;
  }

  void Table(const ListingPart& p) {
    const std::vector<double> widths = ColumnWidths(p);
    bool first = true;
    for (const auto& band : Bands(widths)) {
      const int titles = Add(LineKind::TableTitles, Cells(p.titles, band, widths), first ? 0.3 * body_ : 0.8 * body_,
                             !p.rows.empty());
      for (std::size_t r = 0; r < p.rows.size(); ++r)
        Add(LineKind::TableRow, Cells(p.rows[r], band, widths), 0, false, titles, r % 2 == 1);
      first = false;
    }
  }

  PageGeometry page_;
  const TextMeasure& measure_;
  double body_;
  double pad_;
  std::vector<Flow> flow_;
};

// Height of line i and the lines it keeps with, from the top of a page.
double KeptHeight(const std::vector<Flow>& flow, std::size_t i) {
  double h = flow[i].line.height;
  while (flow[i].keepWithNext && i + 1 < flow.size()) {
    ++i;
    h += flow[i].spaceBefore + flow[i].line.height;
  }
  return h;
}

}  // namespace

double CellPadding(const TextMeasure& measure) { return 0.3 * measure.LineHeight(TextStyle::Body); }

TextStyle StyleOf(LineKind kind) {
  switch (kind) {
    case LineKind::SectionTitle: return TextStyle::Title;
    case LineKind::Heading:
    case LineKind::PairHeading:
    case LineKind::TableTitles: return TextStyle::Bold;
    default: return TextStyle::Body;
  }
}

std::vector<Page> LayOutPages(const Listing& listing, const PageGeometry& geometry, const TextMeasure& measure) {
  const std::vector<Flow> flow = Flower(geometry, measure).Lines(listing);
  std::vector<Page> pages;
  double y = 0;
  auto place = [&](const PlacedLine& line) {
    pages.back().lines.push_back(line);
    pages.back().lines.back().y = y;
    y += line.height;
  };
  for (std::size_t i = 0; i < flow.size(); ++i) {
    const Flow& f = flow[i];
    const double space = pages.empty() || pages.back().lines.empty() ? 0 : f.spaceBefore;
    if (pages.empty() || (!pages.back().lines.empty() && y + space + KeptHeight(flow, i) > geometry.height)) {
      pages.emplace_back();
      y = 0;
      // A table that goes on repeats its column titles first.
      if (f.line.kind == LineKind::TableRow && f.titles >= 0) place(flow[static_cast<std::size_t>(f.titles)].line);
    } else {
      y += space;
    }
    place(f.line);
  }
  return pages;
}

int CountPages(const Listing& listing, const PageGeometry& page, const TextMeasure& measure) {
  return static_cast<int>(LayOutPages(listing, page, measure).size());
}

}  // namespace zmp::print
