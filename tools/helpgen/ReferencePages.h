// The per-editor reference pages of the user guide. The writer takes records
// (label, range and step, choices, what "Off" means); where the records come
// from is the business of the field sources (ModuleReference.cpp).
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace zmp::helpgen {

struct ReferenceField {
  std::string anchor;                // the field key ("rx_frequency"): the help contexts lead here
  std::string label;                 // as the editor shows it
  std::string kind;                  // "list", "check box", "number", ...
  std::string range;                 // "1 to 30 in steps of 1"; empty when the field has none
  std::vector<std::string> choices;  // list items in list order
  std::string offMeaning;            // what "Off" (or an empty field) means; empty when nothing
  bool heading = false;              // a group label: starts a section, holds no value
};

struct ReferencePage {
  std::string file;       // "channel-edit.html", below reference/
  std::string title;
  std::string introHtml;  // written by hand, placed below the title
  std::vector<ReferenceField> fields;
};

// Texts are UTF-8.
void WriteReferencePage(std::ostream& out, const ReferencePage& page);
// reference/index.html: one entry per page.
void WriteReferenceContents(std::ostream& out, const std::vector<ReferencePage>& pages);
// HTML with &, <, > and " escaped.
std::string EscapeHtml(const std::string& text);

}  // namespace zmp::helpgen
