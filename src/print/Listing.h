// The printed listing of a data image: the sections a user chooses from in
// the "Print Out List" dialog (the model header, then one per editor of the
// module list) and their content as text. Every value is taken from the
// editors' own declarations through the field codec, so the listing reads
// exactly as the forms and grids show the image; building it never writes.
// Standard library only.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editors/ChannelStore.h"
#include "fields/FieldWalk.h"

namespace zmp::print {

// The key of the model header section; every other section is keyed by its
// editor module's key.
inline constexpr std::string_view kModelSection = "model";

struct SectionInfo {
  std::string key;
  TextNo title;
};

// The model header, then every module of the list in menu order.
std::vector<SectionInfo> ListSections(ModuleList modules);

struct ChannelRange {
  int first = 1;
  int last = kChannelCount;
  bool operator==(const ChannelRange&) const = default;
};
// Each end limited to 1..30; a last channel before the first is limited to it.
ChannelRange LimitChannelRange(int first, int last);
// "FROM-TO" or a single channel "N" as typed, each end limited to 1..30;
// nothing when it is not one, when TO comes before FROM, or when it holds no
// channel of 1..30.
std::optional<ChannelRange> ParseChannelRange(std::string_view text);

struct ListingChoice {
  std::vector<std::string> sections;  // keys; printed in the order of ListSections
  ChannelRange channels;
};

// A row of a two-column form: label and shown value, or a heading.
struct PairRow {
  std::string label;
  std::string value;
  bool heading = false;
};

// A part of a section: settings as label/value pairs, a table with column
// titles, or a line of text. Every text is in the language file's encoding.
struct ListingPart {
  enum class Kind { Pairs, Table, Note };
  Kind kind = Kind::Pairs;
  std::string heading;  // empty: none
  std::vector<PairRow> pairs;
  std::vector<std::string> titles;             // tables: one per column
  std::vector<std::vector<std::string>> rows;  // tables: a text per column
  std::string note;
};

struct ListingSection {
  std::string key;
  std::string title;
  std::vector<ListingPart> parts;
};

struct Listing {
  std::vector<ListingSection> sections;
};

// The chosen sections of the image as text. Sections the list does not know
// are left out. Tables over the channels list the existing channels of the
// range; a range without one gives the note "no channels".
Listing BuildListing(ModuleList modules, const ImageStore& image, const ListingChoice& choice);

// What the header of every page names.
struct PageHeader {
  std::string program;  // the program's name
  std::string model;    // model and band in words
  std::string file;     // the data file's name (UTF-8)
  std::string printed;  // date and time of printing
};
PageHeader HeaderOf(const ImageStore& image, std::string fileName, std::time_t printedAt);
// "Page n of m" from the language file.
std::string PageNumberText(int page, int pages);

// The section keys of a comma-separated list ("model,channel"); an unknown
// key is returned in `unknown` and nothing is chosen.
struct SectionKeys {
  std::vector<std::string> keys;
  std::string unknown;
};
SectionKeys ParseSectionKeys(ModuleList modules, std::string_view list);

}  // namespace zmp::print
