// File > Print and File > Print Preview: the "Print Out List" dialog, then
// the printer, the print preview or a PDF, with the choices remembered in the
// settings. Printing reads the image only.
#pragma once

#include "print/Listing.h"

class QWidget;

namespace zmp {

class CMainFrame;

// The remembered choice: every section but those left out last time, and
// the channel range.
print::ListingChoice RememberedPrintChoice();
void RememberPrintChoice(const print::ListingChoice& choice);

// File > Print (Ctrl+P): the dialog and the chosen action.
void RunPrintOutList(CMainFrame& frame);
// File > Print Preview runs the preview of the remembered choice.
void RunPrintPreview(CMainFrame& frame, const print::ListingChoice& choice);
// Asks for a file name and writes the PDF; false on Cancel or failure (with
// the message shown).
bool RunSavePdf(CMainFrame& frame, const print::ListingChoice& choice);

}  // namespace zmp
