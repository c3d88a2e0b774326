#include "ImageText.h"

#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <tuple>

#include "lang/LanguageTexts.h"
#include "data/ModelInfo.h"
#include "data/NewImage.h"
#include "fields/FilterRules.h"
#include "fields/ToneCode.h"
#include "fields/References.h"

namespace zmp::cli {

namespace {

std::string Hex(std::size_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%04zX", v);
  return buf;
}

bool IsListField(const FieldDecl& d) { return !d.choices.empty() || (d.hooks && d.hooks->choices); }

// The model queries only read the image.
ModelInfo ModelOf(const ImageStore& image) { return ModelInfo(const_cast<ImageStore&>(image)); }

// The same bytes seen by two editors (a grid cell and a form row) are one
// field to export and to compare.
using PlaceKey = std::tuple<int, std::size_t, std::size_t, int>;
// Bytes of the four blocks, one flag each.
using Coverage = std::array<std::vector<std::uint8_t>, 4>;

std::optional<PlaceKey> PlaceOf(const std::optional<FieldLocation>& where) {
  if (!where) return std::nullopt;
  return PlaceKey{static_cast<int>(where->block), where->offset, where->length, where->bit.value_or(-1)};
}

}  // namespace

std::string_view FieldKindName(const FieldDecl& decl) {
  if (decl.kind == ControlKind::CheckBox) return "check";
  if (decl.storage == Storage::ByteList) return "order";
  if (IsListField(decl)) return "list";
  switch (decl.storage) {
    case Storage::Byte:
    case Storage::Word:
    case Storage::BcdWord: return "number";
    default: return "text";
  }
}

std::string LocationText(const std::optional<FieldLocation>& where) {
  if (!where) return "-";
  std::string s(BlockName(where->block));
  s += ' ' + Hex(where->offset);
  if (where->bit) return s + " bit " + std::to_string(*where->bit);
  if (where->length > 1) s += ".." + Hex(where->offset + where->length - 1);
  return s;
}

// --- listing ----------------------------------------------------------------------

std::vector<FieldListing> ListFields(ModuleList modules, const ImageStore& image) {
  std::vector<FieldListing> out;
  out.reserve(CountFields(modules, image));  // a listing is large: one block, never moved
  ForEachField(modules, image, [&](const FieldInstance& f) {
    FieldListing l;
    l.field = f;
    l.label = FieldLabel(*f.ref.decl);
    l.kind = FieldKindName(*f.ref.decl);
    std::vector<ShownChoice> choices;
    l.view = ShowFieldAndChoices(f.ref, image, choices);
    l.where = LocateField(f.ref, image);
    if ((l.kind == "list" || l.kind == "order") && l.view.exists) {
      l.choices.reserve(choices.size());
      for (ShownChoice& c : choices) l.choices.push_back(std::move(c.text));
    }
    out.push_back(std::move(l));
  });
  return out;
}

namespace {

// Printable ASCII without quotes or backslashes: JSON and YAML quote such a
// text as it stands, with nothing escaped.
constexpr std::array<bool, 256> kQuotedAsItStands = [] {
  std::array<bool, 256> plain{};
  for (int c = 0x20; c < 0x7F; ++c) plain[static_cast<std::size_t>(c)] = c != '"' && c != '\\';
  return plain;
}();
bool QuotesAsItStands(std::string_view s) {
  for (const char c : s)
    if (!kQuotedAsItStands[static_cast<unsigned char>(c)]) return false;
  return true;
}

// One JSON object on one line, written member by member straight into room
// that grows only when the members outgrow it. Strings go as the json library
// writes them (UTF-8 kept, bytes that are no UTF-8 replaced): the common text
// of printable ASCII directly, the rest through the library.
class JsonLine {
 public:
  explicit JsonLine(std::size_t room) : out_(room, '\0') { Put('{'); }
  // Member names are literals, copied at their known length.
  template <std::size_t L>
  JsonLine& Text(const char (&name)[L], std::string_view value) {
    Name(name);
    String(value);
    return *this;
  }
  template <std::size_t L>
  JsonLine& Texts(const char (&name)[L], const std::vector<std::string>& values) {
    Name(name);
    Put('[');
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (i) Put(',');
      String(values[i]);
    }
    Put(']');
    return *this;
  }
  template <std::size_t L, typename N>
  JsonLine& Number(const char (&name)[L], std::optional<N> value) {
    Name(name);
    if (!value) {
      Put("null");
      return *this;
    }
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, *value).ptr;
    Put(std::string_view(digits, static_cast<std::size_t>(end - digits)));
    return *this;
  }
  std::string Done() && {
    Put('}');
    out_.resize(used_);
    return std::move(out_);
  }

 private:
  char* Room(std::size_t n) {
    if (used_ + n > out_.size()) out_.resize(std::max(2 * out_.size(), used_ + n));
    return out_.data() + used_;
  }
  void Put(char c) {
    *Room(1) = c;
    ++used_;
  }
  void Put(std::string_view s) {
    std::memcpy(Room(s.size()), s.data(), s.size());
    used_ += s.size();
  }
  // ,"name": (without the comma before the first member)
  template <std::size_t L>
  void Name(const char (&name)[L]) {
    char* p = Room(L - 1 + 4);
    const char* start = p;
    if (used_ > 1) *p++ = ',';
    *p++ = '"';
    std::memcpy(p, name, L - 1);
    p += L - 1;
    *p++ = '"';
    *p++ = ':';
    used_ += static_cast<std::size_t>(p - start);
  }
  void String(std::string_view s) {
    if (!QuotesAsItStands(s)) {
      Put(nlohmann::json(std::string(s)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
      return;
    }
    char* p = Room(s.size() + 2);
    *p = '"';
    std::memcpy(p + 1, s.data(), s.size());
    p[s.size() + 1] = '"';
    used_ += s.size() + 2;
  }
  std::string out_;
  std::size_t used_ = 0;
};

// Room for a listed field's JSON line: its texts, its choices and the rest.
std::size_t JsonRoom(const FieldListing& f) {
  constexpr std::size_t kNamesAndNumbers = 160;
  std::size_t room = kNamesAndNumbers + f.field.key.size() + f.label.size() + f.view.text.size();
  for (const std::string& c : f.choices) room += c.size() + 3;
  return room;
}

}  // namespace

std::string FieldJson(const FieldListing& f) {
  JsonLine j(JsonRoom(f));
  j.Text("editor", f.field.module->key).Text("key", f.field.key).Text("label", f.label).Text("kind", f.kind);
  j.Text("text", f.view.text);
  if (f.kind == "list" || f.kind == "order") j.Texts("choices", f.choices);
  j.Text("block", BlockName(f.field.ref.table->base.block));
  using Size = std::optional<std::size_t>;
  j.Number("offset", f.where ? Size(f.where->offset) : Size()).Number("length", f.where ? Size(f.where->length) : Size());
  j.Number("bit", f.where ? f.where->bit : std::nullopt);
  return std::move(j).Done();
}

std::string FieldTableText(const std::vector<FieldListing>& fields) {
  std::size_t keyWidth = 3, labelWidth = 5, textWidth = 4;
  for (const FieldListing& f : fields) {
    keyWidth = std::max(keyWidth, f.field.key.size());
    labelWidth = std::max(labelWidth, f.label.size());
    textWidth = std::max(textWidth, f.view.text.size());
  }
  const auto pad = [](std::string s, std::size_t width) {
    s.resize(std::max(s.size(), width), ' ');
    return s;
  };
  std::string out = pad("KEY", keyWidth) + "  " + pad("LABEL", labelWidth) + "  " + pad("TEXT", textWidth) + "  WHERE\n";
  for (const FieldListing& f : fields)
    out += pad(f.field.key, keyWidth) + "  " + pad(f.label, labelWidth) + "  " + pad(f.view.text, textWidth) + "  " +
           LocationText(f.where) + "\n";
  return out;
}

// --- assignments ----------------------------------------------------------------------

std::optional<Assignment> ParseAssignment(std::string_view argument) {
  Assignment a;
  if (const auto eq = argument.find('='); eq != std::string_view::npos) {
    a.key = argument.substr(0, eq);
    a.text = argument.substr(eq + 1);
  } else if (argument.size() > 2 && (argument.ends_with("++") || argument.ends_with("--"))) {
    a.key = argument.substr(0, argument.size() - 2);
    a.op = argument.ends_with("++") ? Assignment::Op::Up : Assignment::Op::Down;
  } else {
    return std::nullopt;
  }
  if (a.key.empty()) return std::nullopt;
  return a;
}

namespace {

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

std::optional<std::string> UntypableText(const FieldRef& f, const ImageStore& image, std::string_view input) {
  const auto at = UntypedCharacter(f, image, input);
  if (!at) return std::nullopt;
  const std::string_view text = f.decl->storage == Storage::Text ? input : TrimBlanks(input);
  return "\"" + Printable(text.substr(*at, 1)) + "\" (character " + std::to_string(*at + 1) +
         ") cannot be typed into this field";
}

namespace {

// " (5–30)", " (0–2550 in steps of 10)": the range of a number as shown.
std::string RangeText(const FieldDecl& d) {
  if (d.storage == Storage::Tone)
    return " (" + FormatUnits(kQtMinTenths, 1) + "–" + FormatUnits(kQtMaxTenths, 1) + ")";
  if (!d.HasRange()) return {};
  std::string s = " (" + FormatUnits(d.range.minimum, d.decimals) + "–" + FormatUnits(d.range.maximum, d.decimals);
  if (d.range.step > 1) s += " in steps of " + FormatUnits(d.range.step, d.decimals);
  return s + ")";
}

// What is picked (a check box, a list entry, an order) is stored as picked.
bool StoredAsPicked(const FieldDecl& d) {
  return d.kind == ControlKind::CheckBox || IsListField(d) || d.storage == Storage::ByteList;
}

// "99999 kept as 30 (5–30)" when the field holds another value than the text
// typed into it: a number limited to its range or cut to its step, a
// frequency rounded to its step, a text cut to its length. Empty when the
// value is the one typed (whatever its spelling: 146.5 is 146.500000).
std::string KeptNotice(const FieldDecl& d, std::string_view typed, const FieldView& after) {
  if (!after.exists || !after.applicable || typed == after.text) return {};
  if (StoredAsPicked(d)) return {};
  const std::string kept = Printable(typed, 24) + " kept as " + (after.text.empty() ? "(empty)" : Printable(after.text));
  if (d.storage == Storage::Text) {
    const auto filtered = d.filter ? FilterInsert(d.filter, typed, FilterContext{}) : std::string(typed);
    if (!filtered) return {};
    const std::string_view whole = TrimBlanks(*filtered);
    const bool cut = after.text.size() < whole.size() && whole.starts_with(after.text);
    return cut ? kept + " (" + std::to_string(d.length) + " characters)" : std::string();
  }
  const std::string_view text = TrimBlanks(typed);
  if (text.empty() || (d.off.text.n && text == Tx(d.off.text))) return {};
  int decimals = d.decimals;
  if (d.storage == Storage::Tone) decimals = 1;
  if (d.storage == Storage::Custom && d.filter == filter::kFrequency) decimals = 6;
  const auto wanted = ParseUnits(text, decimals);
  if (!wanted) return {};  // a DQT code, or text the field's own commit reads
  const auto stored = ParseUnits(after.text, decimals);
  if (stored && *stored == *wanted) return {};
  return kept + RangeText(d);
}

ApplyOutcome OutcomeOf(const CommitResult& r, bool spin) {
  switch (r.status) {
    case CommitStatus::Ok: return {ApplyStatus::Ok, r.message.n ? Tx(r.message) : r.warning};
    case CommitStatus::Refused:
      return {ApplyStatus::Refused, r.message.n ? Tx(r.message) : std::string("the value is not taken")};
    case CommitStatus::NotEditable:
      return {ApplyStatus::Refused, spin ? "the field has no spin step" : "the field cannot be set here"};
    case CommitStatus::NotApplicable:
      return {ApplyStatus::Refused, "the field does not apply to this row (shown ---)"};
  }
  return {ApplyStatus::Refused, {}};
}

// How a typed text is taken: as set takes it (a text the field shows already
// changes nothing), as the import takes it (each value stored as the editors
// store it, whatever the base held), or as the export's proof takes it (as
// the import, without working out what a value was kept as: the proof looks
// only at the bytes).
enum class Typing { Set, Import, Proof };

// The assignment as typed, without the releases of its change.
ApplyOutcome ApplyTyped(const FieldInstance& f, ImageStore& image, const Assignment& a, Typing typing = Typing::Set) {
  if (a.op != Assignment::Op::Text) return OutcomeOf(SpinField(f.ref, image, a.op == Assignment::Op::Up), true);
  if (typing == Typing::Set && a.text == ShowField(f.ref, image).text) return {};
  if (auto why = UntypableText(f.ref, image, a.text)) return {ApplyStatus::Refused, std::move(*why)};
  ApplyOutcome out = OutcomeOf(CommitFieldText(f.ref, image, a.text), false);
  if (out.status == ApplyStatus::Ok && typing != Typing::Proof && !StoredAsPicked(*f.ref.decl))
    out.kept = KeptNotice(*f.ref.decl, a.text, ShowField(f.ref, image));
  return out;
}

}  // namespace

ApplyOutcome ApplyAssignment(ModuleList modules, ImageStore& image, const Assignment& a) {
  const auto f = FindField(modules, image, a.key);
  if (!f) return {ApplyStatus::UnknownKey, "no field " + Printable(a.key) + " in this image"};
  ApplyOutcome out;
  const auto released = ChangeAndRelease(modules, image, [&] { out = ApplyTyped(*f, image, a); });
  for (const ReleasedRef& r : released)
    out.released.push_back(FieldKey(*r.module, *r.ref.table, *r.ref.decl, r.ref.row) + " (was " + r.was + ")");
  return out;
}

// --- YAML export --------------------------------------------------------------------------

namespace {

struct ExportedField {
  std::string_view key;
  bool check = false;
  bool ticked = false;
  std::string text;
};

struct ExportedRow {
  int row = -1;  // -1: a single form
  std::vector<ExportedField> fields;
};

struct ExportedTable {
  std::string_view key;
  std::vector<ExportedRow> rows;
};

struct ExportedEditor {
  const EditorModule* module = nullptr;
  std::vector<ExportedTable> tables;
};

template <typename T, typename K>
T& FindOrAdd(std::vector<T>& list, K T::*member, const K& key) {
  for (T& item : list)
    if (item.*member == key) return item;
  list.push_back(T{});
  list.back().*member = key;
  return list.back();
}

// A field exported as its text, and where it lies.
struct FieldExport {
  FieldInstance field;
  ExportedField value;
  std::optional<FieldLocation> where;
  int pass = 0;  // when the import applies it (PassOf)
};

// The fields that can be exported as their text, in walk order, each place
// once (under the first editor that shows it).
std::vector<FieldExport> ExportableFields(ModuleList modules, const ImageStore& image) {
  std::vector<FieldExport> out;
  std::set<PlaceKey> seen;
  ForEachField(modules, image, [&](const FieldInstance& f) {
    const FieldView view = ShowField(f.ref, image);
    if (!view.exists || !view.applicable || view.missingTarget) return;
    // Nor what the editors disable (CW ID settings while CW ID is off): the import would refuse it.
    if (FieldDisabledReason(f.ref, image).n) return;
    // A list whose stored value is none of its entries shows no selection,
    // which nobody can pick: its bytes go as they are.
    const FieldDecl& d = *f.ref.decl;
    const bool pickList = IsListField(d) && d.kind != ControlKind::CheckBox && d.storage != Storage::ByteList;
    if (pickList && view.choice < 0) return;
    if (d.storage == Storage::ByteList && view.text.empty()) return;
    // Nor is a fixed text whose bytes cannot be typed (control or 8-bit bytes).
    if (d.storage == Storage::Text && !EncodeFixedText(d, view.text)) return;
    const auto where = LocateField(f.ref, image);
    if (const auto place = PlaceOf(where); place && !seen.insert(*place).second) return;
    const bool check = d.kind == ControlKind::CheckBox;
    out.push_back({f, {d.key, check, view.checked, check ? std::string() : view.text}, where});
  });
  return out;
}

// The exportable fields but the excluded ones (whose places stay taken: a
// place shown by two editors goes raw when its first one does).
std::vector<FieldExport> FieldsBut(const std::vector<FieldExport>& fields, const std::set<std::string>& excluded) {
  std::vector<FieldExport> out;
  out.reserve(fields.size());
  for (const FieldExport& f : fields)
    if (!excluded.count(f.field.key)) out.push_back(f);
  return out;
}

std::vector<ExportedEditor> ByEditor(const std::vector<FieldExport>& fields) {
  std::vector<ExportedEditor> editors;
  for (const FieldExport& f : fields) {
    ExportedEditor& editor = FindOrAdd(editors, &ExportedEditor::module, f.field.module);
    ExportedTable& table = FindOrAdd(editor.tables, &ExportedTable::key, f.field.ref.table->key);
    ExportedRow& row =
        FindOrAdd(table.rows, &ExportedRow::row, f.field.ref.table->rows > 1 ? f.field.ref.row : -1);
    row.fields.push_back(f.value);
  }
  return editors;
}

// The export's YAML in the layout the YAML library gives block mappings (two
// spaces a level, no line folded, an empty mapping as {} on its own line),
// written line by line. Keys go plain and texts double-quoted; a key or text
// other than the common kind (letters, digits and underscores; printable
// ASCII) is written by the library itself.
class YamlLines {
 public:
  explicit YamlLines(std::string head) : text_(std::move(head)) {}

  void Plain(int depth, std::string_view key, std::string_view value) { Line(depth, key) += value; text_ += '\n'; }
  void Quoted(int depth, std::string_view key, std::string_view value) {
    Line(depth, key) += QuotedText(value);
    text_ += '\n';
  }
  void Check(int depth, std::string_view key, bool ticked) { Plain(depth, key, ticked ? "true" : "false"); }
  // A mapping under key; `empty` writes it as {}.
  void Open(int depth, std::string_view key, bool empty = false) {
    Line(depth, key).pop_back();
    text_ += '\n';
    if (empty) text_.append(2 * (depth + 1), ' ') += "{}\n";
  }
  std::string Done() && { return std::move(text_); }

 private:
  std::string& Line(int depth, std::string_view key) {
    text_.append(2 * depth, ' ');
    const bool word = std::all_of(key.begin(), key.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; });
    if (word && !key.empty() && key.size() < 64 && key != "null" && key != "Null" && key != "NULL") {
      text_ += key;
    } else {
      YAML::Emitter e;
      e << std::string(key);
      text_ += e.c_str();
    }
    return text_ += ": ";
  }
  static std::string QuotedText(std::string_view value) {
    if (QuotesAsItStands(value)) return '"' + std::string(value) + '"';
    YAML::Emitter e;
    e << YAML::DoubleQuoted << std::string(value);
    return e.c_str();
  }
  std::string text_;
};

// Check boxes as true/false, every text quoted so that it reads back as it
// was ("Off", "012", "").
void EmitField(YamlLines& out, int depth, const ExportedField& f) {
  if (f.check)
    out.Check(depth, f.key, f.ticked);
  else
    out.Quoted(depth, f.key, f.text);
}

void EmitRow(YamlLines& out, int depth, std::string_view key, const ExportedRow& row) {
  out.Open(depth, key, row.fields.empty());
  for (const ExportedField& f : row.fields) EmitField(out, depth + 1, f);
}

void EmitTable(YamlLines& out, int depth, const ExportedTable& table) {
  if (table.rows.size() == 1 && table.rows.front().row < 0) {
    EmitRow(out, depth, table.key, table.rows.front());
    return;
  }
  out.Open(depth, table.key, table.rows.empty());
  for (const ExportedRow& row : table.rows) EmitRow(out, depth + 1, std::to_string(row.row + 1), row);
}

void EmitEditor(YamlLines& out, int depth, const ExportedEditor& editor) {
  // The main table's fields sit directly under the editor, named tables under
  // their key.
  out.Open(depth, editor.module->key, editor.tables.empty());
  for (const ExportedTable& table : editor.tables) {
    if (table.key.empty()) {
      for (const ExportedRow& row : table.rows) {
        if (row.row < 0) {
          for (const ExportedField& f : row.fields) EmitField(out, depth + 1, f);
        } else {
          EmitRow(out, depth + 1, std::to_string(row.row + 1), row);
        }
      }
    } else {
      EmitTable(out, depth + 1, table);
    }
  }
}

}  // namespace

namespace {

// The bytes of the raw section: every byte of the four blocks that no
// exported field lies in.
Coverage RawMask(const std::vector<FieldExport>& fields) {
  Coverage raw;
  for (BlockId block : kAllBlocks) raw[static_cast<std::size_t>(block)].assign(BlockSize(block), 1);
  for (const FieldExport& f : fields) {
    if (!f.where) continue;
    auto& bits = raw[static_cast<std::size_t>(f.where->block)];
    // A bit field shares its byte with others: the byte goes raw as well, and
    // the fields' texts are applied over it.
    if (f.where->bit) continue;
    for (std::size_t i = 0; i < f.where->length && f.where->offset + i < bits.size(); ++i)
      bits[f.where->offset + i] = 0;
  }
  return raw;
}

// Runs of raw bytes as the section holds them: a long run of one byte on its
// own line, the rest 32 bytes a line.
std::vector<RawBytes> RawRuns(const ImageStore& image, const Coverage& raw) {
  constexpr std::size_t kLine = 32;
  std::vector<RawBytes> out;
  for (BlockId block : kAllBlocks) {
    const auto bytes = image.Block(block).span();
    const auto& mask = raw[static_cast<std::size_t>(block)];
    for (std::size_t i = 0; i < bytes.size();) {
      if (!mask[i]) {
        ++i;
        continue;
      }
      std::size_t end = i;
      while (end < bytes.size() && mask[end] && end - i < kLine) {
        std::size_t same = end;
        while (same < bytes.size() && mask[same] && bytes[same] == bytes[end]) ++same;
        if (same - end >= kLine) {
          if (end == i) end = same;  // the run is a line of its own
          break;
        }
        // The bytes up to the end of this run begin shorter runs still.
        end = std::min(same, i + kLine);
      }
      out.push_back({block, i, {bytes.begin() + static_cast<std::ptrdiff_t>(i), bytes.begin() + static_cast<std::ptrdiff_t>(end)}, 0});
      i = end;
    }
  }
  return out;
}

ImageText TextOf(const std::vector<FieldExport>& fields, std::vector<RawBytes> raw, const ModelInfo& model) {
  ImageText text;
  text.header = {kExportFormat, model.LongCaption(), model.ModelIndex(), model.BandWord(), 0, 0};
  for (const FieldExport& f : fields) {
    const ExportedField& v = f.value;
    text.entries.push_back({f.field.key, v.check ? (v.ticked ? "true" : "false") : v.text, 0});
  }
  text.raw = std::move(raw);
  return text;
}

// A new data file of the image's model, as zmp318t-cli new makes it.
ImageStore NewImageLike(const ImageStore& image) {
  ImageStore fresh;
  fresh.MakeBlank();
  ModelInfo(fresh).SetRecord(ModelOf(image).Record());
  MakeNewImageForCurrentModel(fresh);
  return fresh;
}

int PassOf(ModuleList modules, std::string_view key);
ImportOutcome ApplyText(ModuleList modules, ImageStore& image, const ImageText& text, const std::vector<int>& passes,
                        std::vector<std::string>* refused);

// The span of a row's fields, from the first byte of any to the last.
struct RowSpan {
  BlockId block;
  std::size_t first, end;
};
std::optional<RowSpan> SpanOfRow(const FieldRef& ref, const ImageStore& image) {
  std::optional<RowSpan> span;
  for (const FieldDecl& d : ref.table->fields) {
    const auto where = LocateField(FieldRef{ref.table, &d, ref.row}, image);
    if (!where) continue;
    const std::size_t end = where->offset + std::max<std::size_t>(where->length, 1);
    if (!span) span = RowSpan{where->block, where->offset, end};
    span->first = std::min(span->first, where->offset);
    span->end = std::max(span->end, end);
  }
  return span;
}

// Whether a byte that no exported field holds differs between the images.
bool RawBytesDiffer(const ImageStore& a, const ImageStore& b, const Coverage& raw) {
  for (BlockId block : kAllBlocks) {
    const auto bytesA = a.Block(block).span();
    const auto bytesB = b.Block(block).span();
    const auto& mask = raw[static_cast<std::size_t>(block)];
    for (std::size_t i = 0; i < bytesA.size(); ++i)
      if (mask[i] && bytesA[i] != bytesB[i]) return true;
  }
  return false;
}

// The fields an export holds as text, and the runs of its raw section.
struct ProvenText {
  std::vector<FieldExport> fields;
  std::vector<RawBytes> raw;
};

// What the export holds: the fields as text and every other byte raw, proven
// by importing it into a new file of the model. A field whose text does not
// give its bytes back there (a value no one could type, a check box stored
// as neither of its values) goes raw instead; so does the row of a raw byte
// that a commit changed (a pair's leader filling its follower); until the
// import gives the image byte for byte. Failing that, every byte goes raw.
ProvenText ProvenExport(ModuleList modules, const ImageStore& image) {
  std::vector<FieldExport> exportable = ExportableFields(modules, image);
  for (FieldExport& f : exportable) f.pass = PassOf(modules, f.field.key);
  const ImageStore fresh = NewImageLike(image);
  std::set<std::string> excluded;
  for (int round = 0; round < 8; ++round) {
    std::vector<FieldExport> fields = FieldsBut(exportable, excluded);
    const Coverage raw = RawMask(fields);
    std::vector<RawBytes> runs = RawRuns(image, raw);
    ImageStore again = fresh;
    std::vector<std::string> refused;
    std::vector<int> passes;
    for (const FieldExport& f : fields) passes.push_back(f.pass);
    const ImportOutcome r = ApplyText(modules, again, TextOf(fields, runs, ModelOf(image)), passes, &refused);
    if (!r.ok) break;
    if (!refused.empty()) {
      excluded.insert(refused.begin(), refused.end());
      continue;
    }
    if (again.working() == image.working()) return {std::move(fields), std::move(runs)};
    // A field whose bytes came out otherwise goes raw; where no field lies on
    // such a byte, a commit changed it: the rows around it go raw, whole.
    std::size_t before = excluded.size();
    for (const FieldExport& f : fields) {
      if (!f.where) continue;
      const std::size_t length = std::max<std::size_t>(f.where->length, 1);
      if (image.Block(f.where->block).Read(f.where->offset, length) !=
          again.Block(f.where->block).Read(f.where->offset, length))
        excluded.insert(f.field.key);
    }
    if (RawBytesDiffer(image, again, raw)) {
      ForEachField(modules, image, [&](const FieldInstance& f) {
        const auto span = SpanOfRow(f.ref, image);
        if (!span || f.ref.table->rows == 1) return;
        const auto want = image.Block(span->block).Read(span->first, span->end - span->first);
        const auto got = again.Block(span->block).Read(span->first, span->end - span->first);
        if (want != got) excluded.insert(f.key);
      });
    }
    if (excluded.size() == before) break;  // a byte no row holds: nothing to narrow
  }
  return {{}, RawRuns(image, RawMask({}))};
}

}  // namespace

std::string ExportYaml(ModuleList modules, const ImageStore& image) {
  const ModelInfo model = ModelOf(image);
  const ProvenText proven = ProvenExport(modules, image);
  YamlLines out("# The data image as text, by editor, and the bytes no field holds (zmp318t-cli export).\n");
  out.Plain(0, "format", std::to_string(kExportFormat));
  out.Quoted(0, "model", model.LongCaption());
  out.Plain(0, "model_index", std::to_string(model.ModelIndex()));
  out.Plain(0, "band_word", std::to_string(static_cast<unsigned>(model.BandWord())));
  const std::vector<ExportedEditor> editors = ByEditor(proven.fields);
  out.Open(0, "editors", editors.empty());
  for (const ExportedEditor& editor : editors) EmitEditor(out, 1, editor);
  // Every byte no field above holds, as it is: the 5-tone table, the model
  // record, values no one could type.
  const std::vector<RawBytes>& runs = proven.raw;
  out.Open(0, "raw", runs.empty());
  for (BlockId block : kAllBlocks) {
    bool open = false;
    for (const RawBytes& run : runs) {
      if (run.block != block) continue;
      if (!open) out.Open(1, BlockName(block));
      open = true;
      out.Quoted(2, Hex(run.offset), RawBytesText(run.bytes));
    }
  }
  out.Check(0, "end", true);
  return std::move(out).Done();
}

// --- YAML import -------------------------------------------------------------------------

namespace {

// The model that a model index and band word name, in words, with the numbers
// (two band words may share a caption); nothing when they name no model.
std::optional<std::string> ModelText(long index, long band) {
  if (index < 0 || index >= kModelCount || band < 0 || band > 0xFFFF) return std::nullopt;
  ImageStore scratch;
  scratch.MakeBlank();
  ModelInfo model(scratch);
  model.SetRecord(ModelRecord::Default());
  model.SetModelIndex(static_cast<int>(index));
  model.SetBandWord(static_cast<std::uint16_t>(band));
  if (!IsValidRecord(model.Record()) || ModelIndexOf(model.Record()) != index) return std::nullopt;
  return model.LongCaption() + " (model_index " + std::to_string(index) + ", band_word " + std::to_string(band) + ")";
}

// Why a text of this header cannot go into image; nothing when it can.
std::optional<std::string> HeaderRefusal(const TextHeader& h, const ImageStore& image) {
  if (h.format < 1 || h.format > kExportFormat)
    return "line " + std::to_string(h.formatLine) + ": format " + std::to_string(h.format) + " is not known (1 to " +
           std::to_string(kExportFormat) + " are)";
  const ModelInfo model = ModelOf(image);
  if (h.modelIndex == model.ModelIndex() && h.bandWord == model.BandWord()) return std::nullopt;
  const std::string where = "line " + std::to_string(h.modelLine) + ": ";
  const auto theirs = ModelText(h.modelIndex, h.bandWord);
  if (!theirs)
    return where + "model_index " + std::to_string(h.modelIndex) + " with band_word " + std::to_string(h.bandWord) +
           " is no model of this program";
  return where + "the text is of " + *theirs + ", the data file of " +
         ModelText(model.ModelIndex(), model.BandWord()).value_or(model.LongCaption()) + "; it is not imported";
}

// One entry as set takes it (the import releases once, at its end); a check
// box also takes the export's true/false.
ApplyOutcome ApplyEntry(ModuleList modules, ImageStore& image, const TextEntry& e, Typing typing) {
  const auto f = FindField(modules, image, e.key);
  if (!f) return {ApplyStatus::UnknownKey, "no field " + Printable(e.key) + " in this image"};
  std::string text = e.text;
  if (f->ref.decl->kind == ControlKind::CheckBox) {
    if (text == "true") text = "1";
    else if (text == "false") text = "0";
  }
  return ApplyTyped(*f, image, Assignment{e.key, Assignment::Op::Text, std::move(text)}, typing);
}

}  // namespace

namespace {

// When an entry is applied: plain values first; then rows that settings make
// (a channel, an option port's row), once those settings are in; then the
// settings that name others, once every target is in place; then those whose
// targets are such settings themselves (a remote code names an entry by its
// owner's function). A row that names others goes with its plain settings,
// since naming something new resets them (a key's parameters).
int PassOf(ModuleList modules, std::string_view key) {
  const auto f = NameField(modules, key);
  if (!f) return 0;
  int refers = 0;
  for (const FieldDecl& d : f->ref.table->fields)
    if (d.refers) refers = std::max(refers, d.refers->kind->pass);
  if (refers > 0) return 1 + refers;
  return f->ref.table->base.resolve ? 1 : 0;
}

// The raw section goes in first, so that every target is in place; it may
// not change the model the header names.
std::optional<std::string> ApplyRaw(const ImageText& text, ImageStore& image) {
  for (const RawBytes& r : text.raw) image.Block(r.block).Write(r.offset, r.bytes);
  const ModelInfo model = ModelOf(image);
  if (model.ModelIndex() != text.header.modelIndex || model.BandWord() != text.header.bandWord) {
    int line = 0;
    for (const RawBytes& r : text.raw)
      if (r.block == BlockId::Main && r.offset < region::kModelRecord + kModelRecordSize &&
          r.offset + r.bytes.size() > region::kModelRecord)
        line = r.line;
    return "line " + std::to_string(line) + ": the raw bytes name another model than the header";
  }
  return std::nullopt;
}

}  // namespace

namespace {

// Applies a text, each entry in its pass (`passes`, in entry order); stops at
// the first refusal, or with `refused` goes on and lists every refused key
// (the export's proof, which works the passes out once for all its rounds).
ImportOutcome ApplyText(ModuleList modules, ImageStore& image, const ImageText& text, const std::vector<int>& passes,
                        std::vector<std::string>* refused) {
  if (const auto why = HeaderRefusal(text.header, image)) return {false, *why, {}};
  ImportOutcome outcome;
  const ImageCopy before = image.working();
  std::optional<ImportOutcome> failed;
  // One change as a whole: what it takes away from the base is released at the end.
  ChangeAndRelease(modules, image, [&] {
    if (const auto why = ApplyRaw(text, image)) {
      failed = ImportOutcome{false, *why, {}};
      return;
    }
    std::vector<std::pair<int, const TextEntry*>> order;
    for (std::size_t i = 0; i < text.entries.size(); ++i) order.push_back({passes[i], &text.entries[i]});
    std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [pass, entry] : order) {
      const TextEntry& e = *entry;
      const ApplyOutcome r = ApplyEntry(modules, image, e, refused ? Typing::Proof : Typing::Import);
      if (r.status != ApplyStatus::Ok && refused) {
        refused->push_back(e.key);
        continue;
      }
      if (refused) continue;  // the proof looks only at the bytes
      const std::string line = "line " + std::to_string(e.line) + ": ";
      if (r.status == ApplyStatus::UnknownKey) {
        failed = ImportOutcome{false, line + r.message, {}, e.key};
        return;
      }
      if (r.status != ApplyStatus::Ok) {
        failed = ImportOutcome{false, line + Printable(e.key) + "=" + Printable(e.text) + ": " + r.message, {}, e.key};
        return;
      }
      if (!r.message.empty()) outcome.notices.push_back(line + Printable(e.key) + ": " + r.message);
      if (!r.kept.empty()) outcome.notices.push_back(line + Printable(e.key) + ": " + r.kept);
    }
  });
  if (failed) {
    image.working() = before;
    return *failed;
  }
  return outcome;
}

}  // namespace

ImportOutcome ApplyImageText(ModuleList modules, ImageStore& image, const ImageText& text) {
  std::vector<int> passes;
  for (const TextEntry& e : text.entries) passes.push_back(PassOf(modules, e.key));
  return ApplyText(modules, image, text, passes, nullptr);
}

ImportOutcome ImportYaml(ModuleList modules, ImageStore& image, std::string_view yaml) {
  const ImageTextRead read = ReadImageText(yaml);
  if (!read.ok) return {false, read.message, {}};
  return ApplyImageText(modules, image, read.text);
}

}  // namespace zmp::cli
