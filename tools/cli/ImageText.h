// The data image as text, through the same field tables that the editors
// show: the listing of every field instance, assignments typed as a user
// types them, the YAML export and its import, and the field by field diff of
// two images (fields/ImageDiff.h). The fields, set, export, import and diff
// commands of zmp318t-cli are thin wrappers of these functions; the benchmark
// calls them directly.
//
// Every function works on the working copy of an image store and takes the
// module list (EditorModules() in the tool), so an editor added to that list
// is listed, set, exported and compared without a change here.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ImageTextRead.h"
#include "fields/FieldWalk.h"
#include "fields/ImageDiff.h"

namespace zmp::cli {

// How a field is typed: "text", "number", "list", "order" (entries joined by
// " > " in a new order) or "check".
std::string_view FieldKindName(const FieldDecl& decl);

// One listed field instance as the tools show it.
struct FieldListing {
  FieldInstance field;
  std::string label;
  std::string_view kind;
  FieldView view;
  std::vector<std::string> choices;  // list fields of an existing row: shown texts in list order
  std::optional<FieldLocation> where;
};

std::vector<FieldListing> ListFields(ModuleList modules, const ImageStore& image);
// One JSON object on one line (no newline).
std::string FieldJson(const FieldListing& f);
// A readable table with aligned columns: key, label, text, where.
std::string FieldTableText(const std::vector<FieldListing>& fields);
// "main 0x1A40..0x1A44" or "main 0x1A40 bit 0"; "-" for nothing.
std::string LocationText(const std::optional<FieldLocation>& where);

// --- assignments ---------------------------------------------------------------

// KEY=TEXT, KEY++ (one spin step up) or KEY-- (down).
struct Assignment {
  enum class Op { Text, Up, Down };
  std::string key;
  Op op = Op::Text;
  std::string text;
};
std::optional<Assignment> ParseAssignment(std::string_view argument);

enum class ApplyStatus { Ok, Refused, UnknownKey };
struct ApplyOutcome {
  ApplyStatus status = ApplyStatus::Ok;
  // What the editor would show (a language text or a warning about a value
  // it kept), or why the value was not taken; empty when there is nothing to say.
  std::string message;
  // A value stored otherwise than typed (limited to its range, cut to its
  // length or step): "99999 kept as 30 (5–30)"; empty when stored as typed.
  std::string kept{};
  // Settings that named what the assignment took away and let go of it:
  // "key_assignment[1].function (was Send CW Message 1)".
  std::vector<std::string> released{};
};
// Why the field's control would not let text through (the first character
// its input refuses); nothing when it would. What the control offers to pick
// (Off, a list entry) passes as it stands.
std::optional<std::string> UntypableText(const FieldRef& f, const ImageStore& image, std::string_view text);

// The assignment as a user would type it into the control and leave it (or
// spin it). Text that the control's input would not let through is refused
// (a frequency holds digits and one decimal point). A refusal leaves every
// byte as it was.
ApplyOutcome ApplyAssignment(ModuleList modules, ImageStore& image, const Assignment& a);

// --- YAML ----------------------------------------------------------------------

// 2: with the raw section and the end mark (1, without them, is still read).
inline constexpr int kExportFormat = 2;

// The whole image as YAML: a header (format, model caption, model index,
// band word), then by editor the shown texts of its fields; a single form as
// field: text, a table of rows as row number -> {field: text}. Check boxes
// are true/false. Rows that do not exist, fields that do not apply to their
// row and values that nobody could type (a list showing no entry, a text of
// bytes that cannot be typed) are left out.
std::string ExportYaml(ModuleList modules, const ImageStore& image);

struct ImportOutcome {
  bool ok = true;
  std::string message;                // why not, with the line of the text
  std::vector<std::string> notices;   // what the editors said on the way, by line
  std::string failedKey{};            // the field whose value was refused
};
// Applies an image text read by ReadImageText to image: the header must name
// the image's model, then each entry is applied in turn with the commit rules
// of the editors. On failure the image is as it was.
ImportOutcome ApplyImageText(ModuleList modules, ImageStore& image, const ImageText& text);
// ReadImageText, then ApplyImageText.
ImportOutcome ImportYaml(ModuleList modules, ImageStore& image, std::string_view yaml);

}  // namespace zmp::cli
