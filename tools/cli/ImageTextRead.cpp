#include "ImageTextRead.h"

#include <yaml-cpp/eventhandler.h>
#include <yaml-cpp/exceptions.h>
#include <yaml-cpp/mark.h>
#include <yaml-cpp/parser.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <optional>
#include <sstream>
#include <unordered_map>

namespace zmp::cli {

namespace {

// The text, editors, an editor, a table and a row: no mapping lies deeper.
constexpr std::size_t kDeepestMapping = 5;
// Parser events (keys, values, mappings) at most, alias expansions counted.
constexpr std::size_t kMostEvents = 4 * kMostTextValues;

constexpr std::array<std::string_view, 5> kHeaderKeys{"format", "model", "model_index", "band_word", "end"};
constexpr std::string_view kEditorsKey = "editors";
constexpr std::string_view kRawKey = "raw";
// From this format on an export holds the raw section and ends with "end: true".
constexpr long kFormatWithRaw = 2;

// Thrown by the reading stage: what is wrong, with its line.
struct Refusal {
  std::string message;
};

[[noreturn]] void Refuse(int line, const std::string& what) {
  throw Refusal{"line " + std::to_string(line) + ": " + what};
}

int LineOf(const YAML::Mark& mark) { return mark.line + 1; }

bool AllDigits(std::string_view s, std::size_t most) {
  return !s.empty() && s.size() <= most && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A row number of an image text: up to five digits.
bool IsRowNumber(std::string_view s) { return AllDigits(s, 5); }

// The keys that lead to a value, as a message names them: the field key
// under editors ("channel[3].rx_frequency"), else joined with dots.
std::string PathText(const std::vector<std::string>& path) {
  std::string out;
  if (path.size() >= 2 && path.front() == kEditorsKey) {
    std::string rows, names;
    for (std::size_t i = 2; i < path.size(); ++i) {
      if (IsRowNumber(path[i])) rows += "[" + path[i] + "]";
      else names += "." + path[i];
    }
    out = path[1] + rows + names;
  } else {
    for (const std::string& key : path) out += (out.empty() ? "" : ".") + key;
  }
  return Printable(out);
}

// --- the YAML, event by event ---------------------------------------------------

// One value as the YAML holds it: the keys that lead to it and the line of
// its key.
struct YamlValue {
  std::vector<std::string> path;
  std::string text;
  int line = 0;
};

// A key of the text's own mapping, and whether it holds a mapping.
struct RootKey {
  std::string name;
  int line = 0;
  bool mapping = false;
};

struct ParserEvent {
  enum class Kind { MapStart, MapEnd, SequenceStart, SequenceEnd, Scalar, Null };
  Kind kind;
  int line = 0;
  std::string tag;
  std::string value;
};

// Collects the values of a YAML text while the parser reads it, refusing what
// an image text never holds as soon as it is seen. A node with an anchor is
// recorded (as it expands) so that an alias replays it.
class ValueCollector : public YAML::EventHandler {
 public:
  std::vector<YamlValue> values;
  std::vector<RootKey> rootKeys;
  bool sawDocument = false;

  void OnDocumentStart(const YAML::Mark& mark) override {
    if (sawDocument) Refuse(LineOf(mark), "a second document begins; an image text is one document");
    sawDocument = true;
  }
  void OnDocumentEnd() override {}
  void OnNull(const YAML::Mark& mark, YAML::anchor_t anchor) override {
    Take({ParserEvent::Kind::Null, LineOf(mark), {}, {}}, anchor);
  }
  void OnScalar(const YAML::Mark& mark, const std::string& tag, YAML::anchor_t anchor,
                const std::string& value) override {
    Take({ParserEvent::Kind::Scalar, LineOf(mark), tag, value}, anchor);
  }
  void OnSequenceStart(const YAML::Mark& mark, const std::string& tag, YAML::anchor_t anchor,
                       YAML::EmitterStyle::value) override {
    Take({ParserEvent::Kind::SequenceStart, LineOf(mark), tag, {}}, anchor);
  }
  void OnSequenceEnd() override { Take({ParserEvent::Kind::SequenceEnd, lastLine_, {}, {}}, 0); }
  void OnMapStart(const YAML::Mark& mark, const std::string& tag, YAML::anchor_t anchor,
                  YAML::EmitterStyle::value) override {
    Take({ParserEvent::Kind::MapStart, LineOf(mark), tag, {}}, anchor);
  }
  void OnMapEnd() override { Take({ParserEvent::Kind::MapEnd, lastLine_, {}, {}}, 0); }
  void OnAnchor(const YAML::Mark&, const std::string& name) override { anchorName_ = name; }

  void OnAlias(const YAML::Mark& mark, YAML::anchor_t anchor) override {
    const int line = LineOf(mark);
    const std::string name = "*" + Printable(names_[anchor]);
    for (const Recording& r : open_)
      if (r.anchor == anchor) Refuse(line, "the alias " + name + " refers to the mapping it stands in");
    const auto found = recorded_.find(anchor);
    if (found == recorded_.end()) Refuse(line, "the alias " + name + " refers to nothing");
    // Replayed at the alias's line (a finished recording never changes;
    // each anchor has an id of its own).
    for (ParserEvent e : found->second) {
      e.line = line;
      Feed(e);
    }
  }

 private:
  struct Mapping {
    std::map<std::string, int> keys;  // key -> line
    bool awaitingValue = false;
    std::string key;
    int keyLine = 0;
  };
  struct Recording {
    YAML::anchor_t anchor;
    std::size_t depth;  // open nodes when it began, its own included
    std::vector<ParserEvent> events;
  };

  void Take(const ParserEvent& e, YAML::anchor_t anchor) {
    lastLine_ = e.line;
    if (anchor != 0) names_[anchor] = anchorName_;
    const bool opens = e.kind == ParserEvent::Kind::MapStart || e.kind == ParserEvent::Kind::SequenceStart;
    if (anchor != 0 && opens) open_.push_back({anchor, openNodes_ + 1, {}});
    Feed(e);
    if (anchor != 0 && !opens) recorded_[anchor] = {e};
  }

  // Every event, read or replayed: counted, recorded for the anchors open
  // around it, then taken into the structure.
  void Feed(const ParserEvent& e) {
    if (++events_ > kMostEvents)
      Refuse(e.line, "the text holds more than " + std::to_string(kMostTextValues) +
                         " values (aliases expanded); an image text holds far fewer");
    for (Recording& r : open_) r.events.push_back(e);
    Structure(e);
    switch (e.kind) {
      case ParserEvent::Kind::MapStart:
      case ParserEvent::Kind::SequenceStart: ++openNodes_; break;
      case ParserEvent::Kind::MapEnd:
      case ParserEvent::Kind::SequenceEnd:
        if (!open_.empty() && open_.back().depth == openNodes_) {
          recorded_[open_.back().anchor] = std::move(open_.back().events);
          open_.pop_back();
        }
        --openNodes_;
        break;
      default: break;
    }
  }

  std::vector<std::string> PathTo(const std::string& key) const {
    std::vector<std::string> path;
    for (std::size_t i = 0; i + 1 < stack_.size(); ++i) path.push_back(stack_[i].key);
    path.push_back(key);
    return path;
  }
  std::string KeyText() const { return PathText(PathTo(stack_.back().key)); }

  void Structure(const ParserEvent& e) {
    using Kind = ParserEvent::Kind;
    if (e.kind == Kind::MapEnd) {
      stack_.pop_back();
      if (!stack_.empty()) stack_.back().awaitingValue = false;
      return;
    }
    if (stack_.empty()) {
      if (e.kind != Kind::MapStart) Refuse(e.line, "this is not an image text of zmp318t-cli export (no mapping of keys)");
      if (rootDone_) Refuse(e.line, "the text goes on after its end");
      rootDone_ = true;
      stack_.emplace_back();
      return;
    }
    Mapping& top = stack_.back();
    if (!top.awaitingValue) {
      Key(e, top);
      return;
    }
    switch (e.kind) {
      case Kind::MapStart:
        if (stack_.size() >= kDeepestMapping)
          Refuse(top.keyLine, KeyText() + " is nested deeper than an image text goes (editor, table, row, field)");
        if (stack_.size() == 1) rootKeys.back().mapping = true;
        stack_.emplace_back();
        return;
      case Kind::SequenceStart:
        Refuse(top.keyLine, KeyText() + " holds a list; an image text holds one text per key");
      case Kind::Null:
        Refuse(top.keyLine, KeyText() + " has no value (an empty text is written \"\")");
      case Kind::Scalar:
        CheckTag(e);
        values.push_back({PathTo(top.key), e.value, top.keyLine});
        top.awaitingValue = false;
        return;
      default: return;
    }
  }

  void Key(const ParserEvent& e, Mapping& top) {
    if (e.kind == ParserEvent::Kind::Null) Refuse(e.line, "a key without a name");
    if (e.kind != ParserEvent::Kind::Scalar) Refuse(e.line, "a key must be a plain name, not a mapping or a list");
    CheckTag(e);
    const auto [at, added] = top.keys.emplace(e.value, e.line);
    if (!added)
      Refuse(e.line, PathText(PathTo(e.value)) + " appears twice in one mapping (lines " + std::to_string(at->second) +
                         " and " + std::to_string(e.line) + ")");
    top.key = e.value;
    top.keyLine = e.line;
    top.awaitingValue = true;
    if (stack_.size() == 1) rootKeys.push_back({e.value, e.line, false});
  }

  static void CheckTag(const ParserEvent& e) {
    // "?" plain, "!" quoted: anything else was written as a tag.
    if (e.tag != "?" && e.tag != "!") Refuse(e.line, "the tag " + Printable(e.tag) + " has no place in an image text");
  }

  std::vector<Mapping> stack_;
  bool rootDone_ = false;
  std::size_t events_ = 0;
  std::size_t openNodes_ = 0;
  int lastLine_ = 1;
  std::string anchorName_;
  std::map<YAML::anchor_t, std::string> names_;
  std::map<YAML::anchor_t, std::vector<ParserEvent>> recorded_;
  std::vector<Recording> open_;
};

// --- from values to the header and the entries ---------------------------------------

long HeaderNumber(const YamlValue& v) {
  // Up to nine digits: a format, a model index or a band word, never more.
  if (!AllDigits(v.text, 9)) Refuse(v.line, v.path.front() + " is not a number: \"" + Printable(v.text) + "\"");
  return std::stol(v.text);
}

TextHeader ReadHeader(const ValueCollector& c) {
  for (const RootKey& k : c.rootKeys) {
    const bool header = std::find(kHeaderKeys.begin(), kHeaderKeys.end(), k.name) != kHeaderKeys.end();
    if (!header && k.name != kEditorsKey && k.name != kRawKey)
      Refuse(k.line, "unknown key \"" + Printable(k.name) +
                         "\"; an image text has format, model, model_index, band_word, editors, raw and end");
    if (header && k.mapping) Refuse(k.line, k.name + " must be a single value");
    if (!header && !k.mapping) Refuse(k.line, k.name + " must hold a mapping");
  }
  std::map<std::string_view, const YamlValue*> found;
  for (const YamlValue& v : c.values)
    if (v.path.size() == 1) found[v.path.front()] = &v;
  const auto need = [&](std::string_view key) -> const YamlValue& {
    const auto it = found.find(key);
    if (it == found.end())
      throw Refusal{"the header has no " + std::string(key) + " (an export begins with format, model, model_index "
                    "and band_word)"};
    return *it->second;
  };
  TextHeader h;
  h.format = HeaderNumber(need("format"));
  h.formatLine = need("format").line;
  if (const auto it = found.find("model"); it != found.end()) h.model = it->second->text;
  h.modelIndex = HeaderNumber(need("model_index"));
  h.modelLine = need("model_index").line;
  h.bandWord = HeaderNumber(need("band_word"));
  // An export ends with "end: true": a text cut off before it is refused
  // rather than applied in part.
  if (h.format >= kFormatWithRaw) {
    const auto end = found.find("end");
    if (end == found.end())
      throw Refusal{"the text ends before its end (no \"end: true\"): it was cut off; nothing is imported"};
    if (end->second->text != "true") Refuse(end->second->line, "end must be true");
  }
  const bool editors = std::any_of(c.rootKeys.begin(), c.rootKeys.end(), [](const RootKey& k) { return k.name == kEditorsKey; });
  if (!editors) throw Refusal{"the text has no editors"};
  return h;
}

// The field key of a value under editors: editor, then a row number and a
// table in either order, then the field.
std::string FieldKeyOf(const YamlValue& v) {
  if (v.path.size() < 3) Refuse(v.line, "the editor " + Printable(v.path[1]) + " must hold its fields, not one value");
  std::optional<std::string> row, table;
  for (std::size_t i = 2; i + 1 < v.path.size(); ++i) {
    const std::string& part = v.path[i];
    if (IsRowNumber(part)) {
      if (row) Refuse(v.line, PathText(v.path) + ": a row inside a row");
      row = std::to_string(std::stol(part));
    } else {
      if (table) Refuse(v.line, PathText(v.path) + ": a table inside a table");
      table = part;
    }
  }
  std::string key = v.path[1];
  if (row) key += "[" + *row + "]";
  if (table) key += "." + *table;
  return key + "." + v.path.back();
}

std::vector<TextEntry> ReadEntries(const ValueCollector& c) {
  std::vector<TextEntry> entries;
  std::unordered_map<std::string, int> lines;
  for (const YamlValue& v : c.values) {
    if (v.path.front() != kEditorsKey) continue;
    TextEntry e{FieldKeyOf(v), v.text, v.line};
    const auto [at, added] = lines.emplace(e.key, e.line);
    if (!added)
      Refuse(e.line, Printable(e.key) + " is set twice (lines " + std::to_string(at->second) + " and " +
                         std::to_string(e.line) + ")");
    entries.push_back(std::move(e));
  }
  return entries;
}

// --- the raw section ---------------------------------------------------------------

std::optional<BlockId> BlockNamed(std::string_view name) {
  for (BlockId b : kAllBlocks)
    if (name == BlockName(b)) return b;
  return std::nullopt;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::optional<std::size_t> OffsetOf(std::string_view s) {
  if (s.size() < 3 || s.size() > 8 || s.substr(0, 2) != "0x") return std::nullopt;
  std::size_t v = 0;
  for (char c : s.substr(2)) {
    if (HexDigit(c) < 0) return std::nullopt;
    v = v * 16 + static_cast<std::size_t>(HexDigit(c));
  }
  return v;
}

// "56 31 FF*960": bytes and runs, at most `room` bytes.
std::optional<std::vector<std::uint8_t>> BytesOf(std::string_view text, std::size_t room) {
  std::vector<std::uint8_t> out;
  while (!text.empty()) {
    const std::size_t space = text.find(' ');
    const std::string_view token = text.substr(0, space);
    text = space == std::string_view::npos ? std::string_view{} : text.substr(space + 1);
    if (token.size() < 2 || HexDigit(token[0]) < 0 || HexDigit(token[1]) < 0) return std::nullopt;
    const auto byte = static_cast<std::uint8_t>(HexDigit(token[0]) * 16 + HexDigit(token[1]));
    std::size_t count = 1;
    if (token.size() > 2) {
      if (token[2] != '*' || !AllDigits(token.substr(3), 6)) return std::nullopt;
      count = std::stoul(std::string(token.substr(3)));
    }
    if (count == 0 || count > room - out.size()) return std::nullopt;
    out.insert(out.end(), count, byte);
  }
  if (out.empty()) return std::nullopt;
  return out;
}

std::vector<RawBytes> ReadRaw(const ValueCollector& c) {
  std::vector<RawBytes> raw;
  std::array<std::vector<int>, 4> taken;
  for (BlockId b : kAllBlocks) taken[static_cast<std::size_t>(b)].assign(BlockSize(b), 0);
  for (const YamlValue& v : c.values) {
    if (v.path.front() != kRawKey) continue;
    if (v.path.size() != 3) Refuse(v.line, PathText(v.path) + ": the raw section holds block, offset: bytes");
    const auto block = BlockNamed(v.path[1]);
    if (!block) Refuse(v.line, "no block " + Printable(v.path[1]) + " (main, second, third, fourth)");
    const auto offset = OffsetOf(v.path[2]);
    if (!offset || *offset >= BlockSize(*block))
      Refuse(v.line, Printable(v.path[2]) + " is no offset of the " + v.path[1] + " block");
    const auto bytes = BytesOf(v.text, BlockSize(*block) - *offset);
    if (!bytes) Refuse(v.line, "\"" + Printable(v.text) + "\" is not bytes of the block (two hex digits each, runs as FF*N)");
    auto& owner = taken[static_cast<std::size_t>(*block)];
    for (std::size_t i = 0; i < bytes->size(); ++i) {
      if (owner[*offset + i]) Refuse(v.line, "these bytes overlap those of line " + std::to_string(owner[*offset + i]));
      owner[*offset + i] = v.line;
    }
    raw.push_back({*block, *offset, *bytes, v.line});
  }
  return raw;
}

// --- the export's own layout -------------------------------------------------------

bool IsWord(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
  });
}

bool IsPrintableAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

// A plain word the parser reads as a text (not as null), short enough for a key.
bool IsPlainWord(std::string_view s) {
  return IsWord(s) && s.size() <= 64 && s != "null" && s != "Null" && s != "NULL";
}

// The parser's events for a text in exactly the layout the export writes, or
// nothing for any other text. That layout: comment lines at the top, then one
// key a line, plain words, two spaces a level; a key ends its line and opens
// a mapping, or holds a plain word or a double-quoted text of printable ASCII
// without escapes. The YAML parser reads any text, but character by character
// through its general rules, many times slower; it reads whatever falls
// outside this layout.
std::optional<std::vector<ParserEvent>> ExportLayoutEvents(std::string_view yaml) {
  using Kind = ParserEvent::Kind;
  std::vector<ParserEvent> events;
  std::size_t depth = 0;  // mappings open
  bool opening = true;    // the next key begins a mapping
  int line = 0;
  for (std::size_t pos = 0; pos < yaml.size();) {
    const std::size_t end = yaml.find('\n', pos);
    if (end == std::string_view::npos) return std::nullopt;
    const std::string_view text = yaml.substr(pos, end - pos);
    pos = end + 1;
    ++line;
    if (events.empty() && text.starts_with('#') && IsPrintableAscii(text)) continue;
    const std::size_t spaces = std::min(text.find_first_not_of(' '), text.size());
    if (spaces % 2) return std::nullopt;
    const std::size_t level = spaces / 2;
    if (opening) {
      if (level != depth) return std::nullopt;
      events.push_back({Kind::MapStart, line, "?", {}});
      ++depth;
      opening = false;
    } else {
      if (level >= depth) return std::nullopt;
      for (; depth > level + 1; --depth) events.push_back({Kind::MapEnd, line, {}, {}});
    }
    const std::string_view rest = text.substr(spaces);
    const std::size_t colon = rest.find(':');
    if (colon == std::string_view::npos || !IsPlainWord(rest.substr(0, colon))) return std::nullopt;
    events.push_back({Kind::Scalar, line, "?", std::string(rest.substr(0, colon))});
    const std::string_view value = rest.substr(colon + 1);
    if (value.empty()) {
      opening = true;
      continue;
    }
    if (!value.starts_with(' ')) return std::nullopt;
    const std::string_view v = value.substr(1);
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') {
      const std::string_view inner = v.substr(1, v.size() - 2);
      if (!IsPrintableAscii(inner) || inner.find_first_of("\"\\") != std::string_view::npos) return std::nullopt;
      events.push_back({Kind::Scalar, line, "!", std::string(inner)});
    } else if (IsPlainWord(v)) {
      events.push_back({Kind::Scalar, line, "?", std::string(v)});
    } else {
      return std::nullopt;
    }
  }
  if (opening || events.empty()) return std::nullopt;
  for (; depth > 0; --depth) events.push_back({Kind::MapEnd, line, {}, {}});
  return events;
}

// Hands the events to the collector as the parser would, one document.
void Replay(const std::vector<ParserEvent>& events, ValueCollector& c) {
  using Kind = ParserEvent::Kind;
  const auto mark = [](int line) {
    YAML::Mark m;
    m.line = line - 1;
    return m;
  };
  c.OnDocumentStart(mark(events.front().line));
  for (const ParserEvent& e : events) {
    switch (e.kind) {
      case Kind::MapStart: c.OnMapStart(mark(e.line), e.tag, 0, YAML::EmitterStyle::Block); break;
      case Kind::MapEnd: c.OnMapEnd(); break;
      case Kind::Scalar: c.OnScalar(mark(e.line), e.tag, 0, e.value); break;
      default: break;
    }
  }
  c.OnDocumentEnd();
}

ValueCollector CollectValues(std::string_view yaml) {
  ValueCollector c;
  if (const auto events = ExportLayoutEvents(yaml)) {
    Replay(*events, c);
  } else {
    std::istringstream in{std::string(yaml)};
    YAML::Parser parser(in);
    while (parser.HandleNextDocument(c)) {
    }
  }
  if (!c.sawDocument) throw Refusal{"the text is empty"};
  if (c.rootKeys.empty() && c.values.empty()) throw Refusal{"the text holds no header and no editors"};
  return c;
}

}  // namespace

ImageTextRead ReadImageText(std::string_view yaml) {
  ImageTextRead r;
  try {
    const ValueCollector c = CollectValues(yaml);
    r.text.header = ReadHeader(c);
    r.text.entries = ReadEntries(c);
    r.text.raw = ReadRaw(c);
    r.ok = true;
  } catch (const Refusal& e) {
    r.message = e.message;
  } catch (const YAML::Exception& e) {
    r.message = "line " + std::to_string(e.mark.line + 1) + ": " + e.msg;
  }
  if (!r.ok) r.text = {};
  return r;
}

std::string RawBytesText(std::span<const std::uint8_t> bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (std::size_t i = 0; i < bytes.size();) {
    std::size_t run = 1;
    while (i + run < bytes.size() && bytes[i + run] == bytes[i]) ++run;
    if (!out.empty()) out += ' ';
    out += kHex[bytes[i] >> 4];
    out += kHex[bytes[i] & 0x0F];
    if (run >= 4) {
      out += '*' + std::to_string(run);
      i += run;
    } else {
      ++i;
    }
  }
  return out;
}

std::string Printable(std::string_view text, std::size_t limit) {
  std::string out;
  std::size_t shown = 0;
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    // Characters are counted, not the continuation bytes of UTF-8.
    if ((u & 0xC0) != 0x80 && shown++ == limit) return out + "…";
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (u < 0x20 || u == 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", u);
      out += hex;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace zmp::cli
