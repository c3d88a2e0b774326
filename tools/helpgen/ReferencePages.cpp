#include "ReferencePages.h"

namespace zmp::helpgen {

namespace {

void Head(std::ostream& out, const std::string& title) {
  out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" << EscapeHtml(title)
      << "</title>\n<link rel=\"stylesheet\" href=\"../guide.css\">\n</head>\n<body>\n"
      << "<p class=\"nav\"><a href=\"../index.html\">Contents</a> &middot; <a href=\"index.html\">Editor "
         "reference</a></p>\n";
}

void Tail(std::ostream& out) {
  out << "<p class=\"generated\">This page is written from the editor's own field table when the program is "
         "built.</p>\n</body>\n</html>\n";
}

void Row(std::ostream& out, const char* what, const std::string& value) {
  if (value.empty()) return;
  out << "<tr><th>" << what << "</th><td>" << value << "</td></tr>\n";
}

std::string Choices(const std::vector<std::string>& choices) {
  std::string s;
  for (const auto& c : choices) s += (s.empty() ? "" : ", ") + ("<span class=\"choice\">" + EscapeHtml(c) + "</span>");
  return s;
}

}  // namespace

std::string EscapeHtml(const std::string& text) {
  std::string s;
  for (char c : text) {
    switch (c) {
      case '&': s += "&amp;"; break;
      case '<': s += "&lt;"; break;
      case '>': s += "&gt;"; break;
      case '"': s += "&quot;"; break;
      default: s += c;
    }
  }
  return s;
}

void WriteReferencePage(std::ostream& out, const ReferencePage& page) {
  Head(out, page.title);
  // "top": where the Help button of the editor's window leads.
  out << "<h1 id=\"top\"><a name=\"top\"></a>" << EscapeHtml(page.title) << "</h1>\n" << page.introHtml << "\n";
  for (const ReferenceField& f : page.fields) {
    const std::string id = EscapeHtml(f.anchor);
    if (f.heading) {
      out << "<h2 id=\"" << id << "\"><a name=\"" << id << "\"></a>" << EscapeHtml(f.label) << "</h2>\n";
      continue;
    }
    out << "<h3 id=\"" << id << "\"><a name=\"" << id << "\"></a>" << EscapeHtml(f.label) << "</h3>\n"
        << "<table class=\"field\">\n";
    Row(out, "Kind", EscapeHtml(f.kind));
    Row(out, "Range", EscapeHtml(f.range));
    Row(out, "Choices", Choices(f.choices));
    Row(out, "Off", EscapeHtml(f.offMeaning));
    out << "</table>\n";
  }
  Tail(out);
}

void WriteReferenceContents(std::ostream& out, const std::vector<ReferencePage>& pages) {
  Head(out, "Editor reference");
  out << "<h1>Editor reference</h1>\n<p>One page per editor window: every field with its range, its choices and "
         "what \"Off\" means. F1 in an editor opens its page at the field that has the focus.</p>\n<ul>\n";
  for (const ReferencePage& p : pages)
    out << "<li><a href=\"" << EscapeHtml(p.file) << "\">" << EscapeHtml(p.title) << "</a></li>\n";
  out << "</ul>\n";
  Tail(out);
}

}  // namespace zmp::helpgen
