// Draws a laid-out listing with QPainter on any paged device (a printer, the
// print preview, a PDF): the header on every page (program, model and band,
// file, date and time, page n of m), then the page's lines. Text is measured
// with the listing's own fonts in units of 1/1200 inch, whatever the device,
// so the page count depends only on the page layout.
// Qt Gui only (no widgets): the command-line tool links it as well.
#pragma once

#include <QByteArray>
#include <QFont>
#include <QPageLayout>
#include <string>

#include "print/PageLayout.h"

class QPagedPaintDevice;

namespace zmp::print {

// Layout units per inch.
inline constexpr double kUnitsPerInch = 1200.0;

// The fonts of the listing and their metrics.
class ListingFonts : public TextMeasure {
 public:
  ListingFonts();
  double Width(std::string_view text, TextStyle style) const override;
  double LineHeight(TextStyle style) const override;
  const QFont& Font(TextStyle style) const;
  const QFont& HeaderFont() const { return header_; }
  double HeaderHeight() const;  // the header with the space below it

 private:
  QFont body_, bold_, title_, header_;
};

// A4 portrait with margins of 15 mm: the listing's page unless the user
// chooses another paper in the print dialog.
QPageLayout DefaultPageLayout();
// The page area below the header, in layout units.
PageGeometry BodyGeometry(const QPageLayout& layout, const ListingFonts& fonts);
// The pages the listing takes on this page layout.
int PageCountOn(const Listing& listing, const QPageLayout& layout = DefaultPageLayout());

// Paints every page on the device with its own page layout; false when the
// device cannot be painted on. An empty listing paints nothing.
bool PaintListing(const Listing& listing, const PageHeader& header, QPagedPaintDevice& device);
// The listing as a PDF document.
QByteArray ListingPdf(const Listing& listing, const PageHeader& header,
                      const QPageLayout& layout = DefaultPageLayout());
// Writes the PDF to path whole or not at all (written beside it, then
// renamed). Empty on success, else the message naming the path and the
// system's reason.
std::string WriteListingPdf(const Listing& listing, const PageHeader& header, const std::string& path);

}  // namespace zmp::print
