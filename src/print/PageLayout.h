// Lays a listing out on pages: section titles, headings, label/value rows and
// tables, each line placed at its height on its page. A table too wide for
// the page is split into bands of columns that each repeat the row-number
// column; a table that continues onto another page repeats its column titles
// there; a row is never cut across pages, and a title or heading never ends a
// page without the first line of what it heads. The dialog's page count and
// the rendered pages come from this one function, so they always agree.
// Standard library only: the caller measures text in its own units.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "print/Listing.h"

namespace zmp::print {

enum class TextStyle { Body, Bold, Title };

// Text widths and line heights in layout units.
class TextMeasure {
 public:
  virtual ~TextMeasure() = default;
  virtual double Width(std::string_view text, TextStyle style) const = 0;
  virtual double LineHeight(TextStyle style) const = 0;
};

// The area of a page below its header, in layout units.
struct PageGeometry {
  double width = 0;
  double height = 0;
};

enum class LineKind {
  SectionTitle,
  Heading,      // a part's heading ("Multi Table 3")
  PairHeading,  // a heading between the rows of a form
  Pair,         // label, value
  TableTitles,  // the column titles of a table
  TableRow,
  Note,
};

struct PlacedCell {
  std::string text;
  double x = 0;
  double width = 0;  // text beyond it is cut off
};

struct PlacedLine {
  LineKind kind = LineKind::Pair;
  double y = 0;       // top of the line on its page
  double height = 0;
  std::vector<PlacedCell> cells;
  bool shaded = false;  // every other table row
};

struct Page {
  std::vector<PlacedLine> lines;
};

std::vector<Page> LayOutPages(const Listing& listing, const PageGeometry& page, const TextMeasure& measure);
int CountPages(const Listing& listing, const PageGeometry& page, const TextMeasure& measure);

// The text style a line of a kind is drawn in.
TextStyle StyleOf(LineKind kind);
// The space between a cell's edge and its text.
double CellPadding(const TextMeasure& measure);

}  // namespace zmp::print
