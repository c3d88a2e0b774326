#include "ImageText.h"

#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <tuple>

#include "app/LanguageTexts.h"
#include "data/ModelInfo.h"
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
  ForEachField(modules, image, [&](const FieldInstance& f) {
    FieldListing l;
    l.field = f;
    l.label = FieldLabel(*f.ref.decl);
    l.kind = FieldKindName(*f.ref.decl);
    l.view = ShowField(f.ref, image);
    l.where = LocateField(f.ref, image);
    if ((l.kind == "list" || l.kind == "order") && l.view.exists)
      for (ShownChoice& c : FieldChoices(f.ref, image)) l.choices.push_back(std::move(c.text));
    out.push_back(std::move(l));
  });
  return out;
}

std::string FieldJson(const FieldListing& f) {
  nlohmann::ordered_json j;
  j["editor"] = std::string(f.field.module->key);
  j["key"] = f.field.key;
  j["label"] = f.label;
  j["kind"] = std::string(f.kind);
  j["text"] = f.view.text;
  if (f.kind == "list" || f.kind == "order") j["choices"] = f.choices;
  j["block"] = std::string(BlockName(f.field.ref.table->base.block));
  j["offset"] = f.where ? nlohmann::ordered_json(f.where->offset) : nlohmann::ordered_json(nullptr);
  j["length"] = f.where ? nlohmann::ordered_json(f.where->length) : nlohmann::ordered_json(nullptr);
  j["bit"] = f.where && f.where->bit ? nlohmann::ordered_json(*f.where->bit) : nlohmann::ordered_json(nullptr);
  return j.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
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

// Input modes whose characters the field's own commit decides (tones).
bool OwnerDecides(std::uint8_t mode) {
  return mode == filter::kOwnerRule || mode == filter::kOwnerRule2 || mode == filter::kOwnerList ||
         mode == filter::kOwnerList2;
}

}  // namespace

std::optional<std::string> UntypableText(const FieldRef& f, const ImageStore& image, std::string_view input) {
  const FieldDecl& d = *f.decl;
  if (d.filter == filter::kNone || OwnerDecides(d.filter) || d.kind == ControlKind::CheckBox) return std::nullopt;
  const std::string_view text = d.storage == Storage::Text ? input : TrimBlanks(input);
  if (d.off.text.n && text == Tx(d.off.text)) return std::nullopt;
  if (IsListField(d))
    for (const ShownChoice& c : FieldChoices(f, image))
      if (c.text == text) return std::nullopt;
  std::string typed;
  for (std::size_t i = 0; i < text.size(); ++i) {
    FilterContext ctx;
    ctx.text = typed;
    ctx.selectionStart = typed.size();
    const auto c = FilterChar(d.filter, text[i], ctx);
    if (!c || *c == '\b')
      return "\"" + Printable(text.substr(i, 1)) + "\" (character " + std::to_string(i + 1) +
             ") cannot be typed into this field";
    typed.push_back(*c);
  }
  return std::nullopt;
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

// "99999 kept as 30 (5–30)" when the field holds another value than the text
// typed into it: a number limited to its range or cut to its step, a
// frequency rounded to its step, a text cut to its length. Empty when the
// value is the one typed (whatever its spelling: 146.5 is 146.500000).
std::string KeptNotice(const FieldDecl& d, std::string_view typed, const FieldView& after) {
  if (!after.exists || !after.applicable || typed == after.text) return {};
  if (d.kind == ControlKind::CheckBox || IsListField(d) || d.storage == Storage::ByteList) return {};
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

}  // namespace

ApplyOutcome ApplyAssignment(ModuleList modules, ImageStore& image, const Assignment& a) {
  const auto f = FindField(modules, image, a.key);
  if (!f) return {ApplyStatus::UnknownKey, "no field " + Printable(a.key) + " in this image"};
  ApplyOutcome out;
  const auto released = ChangeAndRelease(modules, image, [&] {
    if (a.op != Assignment::Op::Text) {
      out = OutcomeOf(SpinField(f->ref, image, a.op == Assignment::Op::Up), true);
      return;
    }
    if (a.text == ShowField(f->ref, image).text) return;
    if (auto why = UntypableText(f->ref, image, a.text)) {
      out = {ApplyStatus::Refused, std::move(*why)};
      return;
    }
    out = OutcomeOf(CommitFieldText(f->ref, image, a.text), false);
    if (out.status == ApplyStatus::Ok) out.kept = KeptNotice(*f->ref.decl, a.text, ShowField(f->ref, image));
  });
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

// The fields of the image by editor, table and row; each place once, under
// the first editor that shows it.
std::vector<ExportedEditor> CollectExport(ModuleList modules, const ImageStore& image) {
  std::vector<ExportedEditor> editors;
  std::set<PlaceKey> seen;
  ForEachField(modules, image, [&](const FieldInstance& f) {
    const FieldView view = ShowField(f.ref, image);
    if (!view.exists || !view.applicable) return;
    // Nor what the editors disable (CW ID settings while CW ID is off): the import would refuse it.
    if (FieldDisabledReason(f.ref, image).n) return;
    // A list whose stored value is none of its entries shows no selection
    // (or a stand-in such as a key's "Off"), which nobody can pick: there is
    // nothing to export.
    const FieldDecl& d = *f.ref.decl;
    const bool pickList = IsListField(d) && d.kind != ControlKind::CheckBox && d.storage != Storage::ByteList;
    if (pickList && view.choice < 0) return;
    if (d.storage == Storage::ByteList && view.text.empty()) return;
    // Nor is a fixed text whose bytes cannot be typed (control or 8-bit bytes).
    if (d.storage == Storage::Text && !EncodeFixedText(d, view.text)) return;
    if (const auto place = PlaceOf(LocateField(f.ref, image)); place && !seen.insert(*place).second) return;
    ExportedEditor& editor = FindOrAdd(editors, &ExportedEditor::module, f.module);
    ExportedTable& table = FindOrAdd(editor.tables, &ExportedTable::key, f.ref.table->key);
    ExportedRow& row = FindOrAdd(table.rows, &ExportedRow::row, f.ref.table->rows > 1 ? f.ref.row : -1);
    const bool check = f.ref.decl->kind == ControlKind::CheckBox;
    row.fields.push_back({f.ref.decl->key, check, view.checked, check ? std::string() : view.text});
  });
  return editors;
}

// Check boxes as true/false, every text quoted so that it reads back as it
// was ("Off", "012", "").
void EmitField(YAML::Emitter& out, const ExportedField& f) {
  out << YAML::Key << std::string(f.key) << YAML::Value;
  if (f.check)
    out << f.ticked;
  else
    out << YAML::DoubleQuoted << f.text;
}

void EmitRow(YAML::Emitter& out, const ExportedRow& row) {
  out << YAML::BeginMap;
  for (const ExportedField& f : row.fields) EmitField(out, f);
  out << YAML::EndMap;
}

void EmitTable(YAML::Emitter& out, const ExportedTable& table) {
  if (table.rows.size() == 1 && table.rows.front().row < 0) {
    EmitRow(out, table.rows.front());
    return;
  }
  out << YAML::BeginMap;
  for (const ExportedRow& row : table.rows) {
    out << YAML::Key << row.row + 1 << YAML::Value;
    EmitRow(out, row);
  }
  out << YAML::EndMap;
}

void EmitEditor(YAML::Emitter& out, const ExportedEditor& editor) {
  // The main table's fields sit directly under the editor, named tables under
  // their key.
  out << YAML::BeginMap;
  for (const ExportedTable& table : editor.tables) {
    if (table.key.empty()) {
      for (const ExportedRow& row : table.rows) {
        if (row.row < 0) {
          for (const ExportedField& f : row.fields) EmitField(out, f);
        } else {
          out << YAML::Key << row.row + 1 << YAML::Value;
          EmitRow(out, row);
        }
      }
    } else {
      out << YAML::Key << std::string(table.key) << YAML::Value;
      EmitTable(out, table);
    }
  }
  out << YAML::EndMap;
}

}  // namespace

std::string ExportYaml(ModuleList modules, const ImageStore& image) {
  const ModelInfo model = ModelOf(image);
  YAML::Emitter out;
  out << YAML::BeginMap;
  out << YAML::Key << "format" << YAML::Value << kExportFormat;
  out << YAML::Key << "model" << YAML::Value << YAML::DoubleQuoted << model.LongCaption();
  out << YAML::Key << "model_index" << YAML::Value << model.ModelIndex();
  out << YAML::Key << "band_word" << YAML::Value << static_cast<unsigned>(model.BandWord());
  out << YAML::Key << "editors" << YAML::Value << YAML::BeginMap;
  for (const ExportedEditor& editor : CollectExport(modules, image)) {
    out << YAML::Key << std::string(editor.module->key) << YAML::Value;
    EmitEditor(out, editor);
  }
  out << YAML::EndMap << YAML::EndMap;
  return "# The data image as text, by editor (zmp318t-cli export).\n" + std::string(out.c_str()) + "\n";
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
  if (h.format != kExportFormat)
    return "line " + std::to_string(h.formatLine) + ": format " + std::to_string(h.format) + " is not known (" +
           std::to_string(kExportFormat) + " is)";
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

// One entry as set takes it; a check box also takes the export's true/false.
ApplyOutcome ApplyEntry(ModuleList modules, ImageStore& image, const TextEntry& e) {
  std::string text = e.text;
  if (const auto f = FindField(modules, image, e.key); f && f->ref.decl->kind == ControlKind::CheckBox) {
    if (text == "true") text = "1";
    else if (text == "false") text = "0";
  }
  return ApplyAssignment(modules, image, Assignment{e.key, Assignment::Op::Text, text});
}

}  // namespace

ImportOutcome ApplyImageText(ModuleList modules, ImageStore& image, const ImageText& text) {
  if (const auto why = HeaderRefusal(text.header, image)) return {false, *why, {}};
  ImportOutcome outcome;
  const ImageCopy before = image.working();
  for (const TextEntry& e : text.entries) {
    const ApplyOutcome r = ApplyEntry(modules, image, e);
    const std::string line = "line " + std::to_string(e.line) + ": ";
    if (r.status == ApplyStatus::UnknownKey) {
      image.working() = before;
      return {false, line + r.message, {}};
    }
    if (r.status != ApplyStatus::Ok) {
      image.working() = before;
      return {false, line + Printable(e.key) + "=" + Printable(e.text) + ": " + r.message, {}};
    }
    if (!r.message.empty()) outcome.notices.push_back(line + Printable(e.key) + ": " + r.message);
    if (!r.kept.empty()) outcome.notices.push_back(line + Printable(e.key) + ": " + r.kept);
  }
  return outcome;
}

ImportOutcome ImportYaml(ModuleList modules, ImageStore& image, std::string_view yaml) {
  const ImageTextRead read = ReadImageText(yaml);
  if (!read.ok) return {false, read.message, {}};
  return ApplyImageText(modules, image, read.text);
}

// --- diff ------------------------------------------------------------------------------------

namespace {

// Walk order of an instance: module, table, row, field.
using WalkOrder = std::array<std::size_t, 4>;

WalkOrder OrderOf(ModuleList modules, const FieldInstance& f) {
  const auto module = std::find(modules.begin(), modules.end(), f.module) - modules.begin();
  const auto table = f.ref.table - f.module->tables.data();
  const auto field = f.ref.decl - f.ref.table->fields.data();
  return {static_cast<std::size_t>(module), static_cast<std::size_t>(table), static_cast<std::size_t>(f.ref.row),
          static_cast<std::size_t>(field)};
}

struct UnionEntry {
  FieldInstance field;
  bool inA = false;
  bool inB = false;
};

std::string RowName(const FieldInstance& f) {
  std::string name(f.module->key);
  if (!f.ref.table->key.empty()) name += "." + std::string(f.ref.table->key);
  if (f.ref.table->rows > 1) name += " " + std::to_string(f.ref.row + 1);
  return name;
}

std::string Shown(const std::string& text) { return text.empty() ? "(empty)" : text; }

using Coverage = std::array<std::vector<bool>, 4>;

void Cover(Coverage& c, const std::optional<FieldLocation>& where) {
  if (!where) return;
  auto& bits = c[static_cast<std::size_t>(where->block)];
  const std::size_t end = std::min(bits.size(), where->offset + std::max<std::size_t>(where->length, 1));
  for (std::size_t i = where->offset; i < end; ++i) bits[i] = true;
}

}  // namespace

ImageDiff DiffImages(ModuleList modules, const ImageStore& a, const ImageStore& b) {
  std::map<WalkOrder, UnionEntry> listed;
  ForEachField(modules, a, [&](const FieldInstance& f) {
    auto& e = listed[OrderOf(modules, f)];
    e.field = f;
    e.inA = true;
  });
  ForEachField(modules, b, [&](const FieldInstance& f) {
    auto& e = listed[OrderOf(modules, f)];
    if (!e.inA) e.field = f;
    e.inB = true;
  });

  ImageDiff diff;
  Coverage covered;
  for (BlockId block : kAllBlocks) covered[static_cast<std::size_t>(block)].assign(BlockSize(block), false);
  for (const EditorModule* m : modules)
    for (const auto& [offset, length] : m->owns) Cover(covered, FieldLocation{BlockId::Main, offset, length, {}});

  std::set<std::pair<std::optional<PlaceKey>, std::optional<PlaceKey>>> reported;
  for (const auto& [order, e] : listed) {
    const FieldRef& ref = e.field.ref;
    const auto whereA = e.inA ? LocateField(ref, a) : std::nullopt;
    const auto whereB = e.inB ? LocateField(ref, b) : std::nullopt;
    Cover(covered, whereA);
    Cover(covered, whereB);
    const std::string textA = e.inA ? ShowField(ref, a).text : std::string();
    const std::string textB = e.inB ? ShowField(ref, b).text : std::string();
    if (textA == textB) continue;
    const auto places = std::make_pair(PlaceOf(whereA), PlaceOf(whereB));
    if ((places.first || places.second) && !reported.insert(places).second) continue;
    diff.fields.push_back(RowName(e.field) + " / " + FieldLabel(*ref.decl) + ": " + Shown(textA) + " → " + Shown(textB));
  }

  for (BlockId block : kAllBlocks) {
    const auto bytesA = a.Block(block).span();
    const auto bytesB = b.Block(block).span();
    const auto& inside = covered[static_cast<std::size_t>(block)];
    std::optional<ByteRange> open;
    for (std::size_t i = 0; i < bytesA.size(); ++i) {
      const bool differs = bytesA[i] != bytesB[i] && !inside[i];
      if (differs && open && open->last + 1 == i) {
        open->last = i;
      } else if (differs) {
        if (open) diff.outside.push_back(*open);
        open = ByteRange{block, i, i};
      }
    }
    if (open) diff.outside.push_back(*open);
  }
  return diff;
}

std::string DiffText(const ImageDiff& diff) {
  std::string out;
  for (const std::string& line : diff.fields) out += line + "\n";
  if (!diff.outside.empty()) out += "bytes outside every field:\n";
  for (const ByteRange& r : diff.outside) {
    out += "  " + std::string(BlockName(r.block)) + " " + Hex(r.first);
    if (r.last != r.first) out += ".." + Hex(r.last);
    out += "\n";
  }
  return out;
}

}  // namespace zmp::cli
