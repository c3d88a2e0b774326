#include "print/ui/ListingRenderer.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QStringDecoder>
#include <span>

#include "lang/LanguageTexts.h"
#include "data/SafeFile.h"

namespace zmp::print {

namespace {

QFont ListingFont(double points, bool bold) {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setStyleHint(QFont::SansSerif);
  // Pixel sizes in layout units keep the metrics the same on every device.
  f.setPixelSize(static_cast<int>(points * kUnitsPerInch / 72.0 + 0.5));
  f.setHintingPreference(QFont::PreferNoHinting);
  // No ligatures: the PDF's text reads back letter for letter ("Off", not "O" + "ff").
  f.setStyleStrategy(QFont::PreferNoShaping);
  f.setBold(bold);
  return f;
}

// The texts of the language file are Latin-1.
QString Latin(std::string_view s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

// A text of the listing: a field's text is UTF-8 (a name with an accented
// letter), a language text Latin-1; both read the same while they are ASCII.
QString ListingText(std::string_view s) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString text = utf8(QByteArrayView(s.data(), static_cast<qsizetype>(s.size())));
  return utf8.hasError() ? Latin(s) : text;
}

const QColor kRule(0x60, 0x60, 0x60);
const QColor kGrid(0xB0, 0xB0, 0xB0);
const QColor kTitleFill(0xE4, 0xE8, 0xEE);
const QColor kShade(0xF4, 0xF4, 0xF4);

class PagePainter {
 public:
  PagePainter(QPainter& p, const ListingFonts& fonts, const PageGeometry& body, const PageHeader& header)
      : p_(p), fonts_(fonts), body_(body), header_(header), pad_(CellPadding(fonts)) {}

  void Header(int page, int pages) {
    const QFontMetricsF m(fonts_.HeaderFont());
    const double line = m.lineSpacing();
    p_.setFont(fonts_.HeaderFont());
    p_.setPen(Qt::black);
    const QRectF first(0, 0, body_.width, line);
    const QRectF second(0, line, body_.width, line);
    QFont bold = fonts_.HeaderFont();
    bold.setBold(true);
    p_.setFont(bold);
    p_.drawText(first, Qt::AlignLeft | Qt::AlignVCenter, Latin(header_.program + "   " + header_.model));
    p_.setFont(fonts_.HeaderFont());
    p_.drawText(first, Qt::AlignRight | Qt::AlignVCenter, Latin(PageNumberText(page, pages)));
    // The file name is UTF-8, the language text Latin-1: each is read as it is.
    p_.drawText(second, Qt::AlignLeft | Qt::AlignVCenter,
                Latin(FormatText(Tx(629_txt), {"%1"})).arg(QString::fromStdString(header_.file)));
    p_.drawText(second, Qt::AlignRight | Qt::AlignVCenter, Latin(FormatText(Tx(628_txt), {header_.printed})));
    p_.setPen(QPen(kRule, 4));
    p_.drawLine(QPointF(0, 2 * line + 10), QPointF(body_.width, 2 * line + 10));
  }

  void Line(const PlacedLine& line, double top) {
    const QRectF box(0, top + line.y, LineRight(line), line.height);
    p_.setFont(fonts_.Font(StyleOf(line.kind)));
    switch (line.kind) {
      case LineKind::TableTitles:
        p_.fillRect(box, kTitleFill);
        Frame(line, box);
        break;
      case LineKind::TableRow:
        if (line.shaded) p_.fillRect(box, kShade);
        Frame(line, box);
        break;
      case LineKind::SectionTitle:
        p_.setPen(QPen(kRule, 3));
        p_.drawLine(QPointF(0, box.bottom()), QPointF(body_.width, box.bottom()));
        break;
      default: break;
    }
    p_.setPen(Qt::black);
    for (const PlacedCell& c : line.cells) Text(c, top + line.y, line.height);
  }

 private:
  double LineRight(const PlacedLine& line) const {
    if (line.cells.empty()) return body_.width;
    return line.cells.back().x + line.cells.back().width + pad_;
  }

  // The cell borders of a table line.
  void Frame(const PlacedLine& line, const QRectF& box) {
    p_.setPen(QPen(kGrid, 2));
    p_.drawRect(box);
    for (std::size_t i = 1; i < line.cells.size(); ++i) {
      const double x = line.cells[i].x - pad_;
      p_.drawLine(QPointF(x, box.top()), QPointF(x, box.bottom()));
    }
  }

  void Text(const PlacedCell& c, double y, double height) {
    const QFontMetricsF m(p_.font());
    const QString text = m.elidedText(ListingText(c.text), Qt::ElideRight, c.width + 1);
    p_.drawText(QRectF(c.x, y, c.width + 1, height), Qt::AlignLeft | Qt::AlignVCenter, text);
  }

  QPainter& p_;
  const ListingFonts& fonts_;
  PageGeometry body_;
  const PageHeader& header_;
  double pad_;
};

}  // namespace

ListingFonts::ListingFonts()
    : body_(ListingFont(8.5, false)), bold_(ListingFont(8.5, true)), title_(ListingFont(12, true)),
      header_(ListingFont(8, false)) {}

const QFont& ListingFonts::Font(TextStyle style) const {
  switch (style) {
    case TextStyle::Bold: return bold_;
    case TextStyle::Title: return title_;
    default: return body_;
  }
}

double ListingFonts::Width(std::string_view text, TextStyle style) const {
  return QFontMetricsF(Font(style)).horizontalAdvance(ListingText(text));
}

double ListingFonts::LineHeight(TextStyle style) const {
  const double spacing = QFontMetricsF(Font(style)).lineSpacing();
  return style == TextStyle::Title ? 1.4 * spacing : 1.15 * spacing;
}

double ListingFonts::HeaderHeight() const {
  return 2 * QFontMetricsF(header_).lineSpacing() + LineHeight(TextStyle::Body);
}

QPageLayout DefaultPageLayout() {
  return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                     QPageLayout::Millimeter);
}

PageGeometry BodyGeometry(const QPageLayout& layout, const ListingFonts& fonts) {
  const QRectF inches = layout.paintRect(QPageLayout::Inch);
  return {inches.width() * kUnitsPerInch, inches.height() * kUnitsPerInch - fonts.HeaderHeight()};
}

int PageCountOn(const Listing& listing, const QPageLayout& layout) {
  const ListingFonts fonts;
  return CountPages(listing, BodyGeometry(layout, fonts), fonts);
}

bool PaintListing(const Listing& listing, const PageHeader& header, QPagedPaintDevice& device) {
  const ListingFonts fonts;
  const PageGeometry body = BodyGeometry(device.pageLayout(), fonts);
  const std::vector<Page> pages = LayOutPages(listing, body, fonts);
  if (pages.empty()) return true;
  QPainter painter;
  if (!painter.begin(&device)) return false;
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.scale(device.logicalDpiX() / kUnitsPerInch, device.logicalDpiY() / kUnitsPerInch);
  PagePainter page(painter, fonts, body, header);
  const int count = static_cast<int>(pages.size());
  for (int i = 0; i < count; ++i) {
    if (i > 0) device.newPage();
    page.Header(i + 1, count);
    for (const PlacedLine& line : pages[static_cast<std::size_t>(i)].lines) page.Line(line, fonts.HeaderHeight());
  }
  return painter.end();
}

QByteArray ListingPdf(const Listing& listing, const PageHeader& header, const QPageLayout& layout) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter pdf(&buffer);
    pdf.setResolution(static_cast<int>(kUnitsPerInch));
    pdf.setPageLayout(layout);
    pdf.setCreator(QString::fromLatin1(kProductName));
    pdf.setTitle(QString::fromLatin1(Tx(925_txt)));
    PaintListing(listing, header, pdf);
  }
  return bytes;
}

std::string WriteListingPdf(const Listing& listing, const PageHeader& header, const std::string& path) {
  const QByteArray pdf = ListingPdf(listing, header);
  FileError error;
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(pdf.constData()),
                                            static_cast<std::size_t>(pdf.size()));
  if (WriteFileSafely(path, bytes, &error)) return {};
  return FormatText(Tx(627_txt), {path, FileErrorText(error)});
}

}  // namespace zmp::print
