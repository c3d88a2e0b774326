#include "fields/FieldCodec.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdio>
#include <stdexcept>

#include "app/LanguageTexts.h"
#include "fields/FilterRules.h"
#include "fields/ToneCode.h"

namespace zmp {

std::size_t FieldAt::offset() const { return base + decl.offset; }

ImageStore& FieldAt::Writable() const {
  if (!writable) throw std::logic_error("a field formatter tried to write the image");
  return *writable;
}

std::size_t FieldDecl::Width() const {
  switch (storage) {
    case Storage::None: return 0;
    case Storage::Byte:
    case Storage::Bit: return 1;
    case Storage::Word:
    case Storage::BcdWord:
    case Storage::Tone: return 2;
    case Storage::Text:
    case Storage::Custom:
    case Storage::ByteList: return length;
  }
  return 0;
}

namespace {

constexpr long kSaturate = 1'000'000'000L;

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool IsNumeric(const FieldDecl& d) {
  switch (d.storage) {
    case Storage::Byte:
    case Storage::Word:
    case Storage::BcdWord:
      return d.choices.empty() && (d.hooks == nullptr || d.hooks->choices == nullptr) &&
             d.kind != ControlKind::CheckBox;
    default:
      return false;
  }
}

bool IsList(const FieldDecl& d) {
  return !d.choices.empty() || (d.hooks && d.hooks->choices);
}

long WidthMaximum(const FieldDecl& d) {
  switch (d.storage) {
    case Storage::Byte: return 0xFF;
    case Storage::Bit: return 1;
    case Storage::BcdWord: return 9999;
    default: return 0xFFFF;
  }
}

FieldAt AtOf(const FieldRef& f, const ImageStore& image, ImageStore* writable, std::size_t base) {
  return FieldAt{image, writable, *f.decl, *f.table, f.row, base};
}

// The stored number of a field, or nothing (no number, a BCD nibble above 9).
std::optional<long> ReadStored(const FieldAt& at) {
  const FieldDecl& d = at.decl;
  const ConstBlockRef block = at.image.Block(at.table.base.block);
  switch (d.storage) {
    case Storage::Byte: {
      const long b = block.Byte(at.offset());
      return (d.blankReadsZero && b == 0xFF) ? 0 : b;
    }
    case Storage::Bit: return block.Bit(at.offset(), d.bit) ? 1 : 0;
    case Storage::Word:
    case Storage::Tone: {
      const long w = block.Word(at.offset());
      return (d.blankReadsZero && w == 0xFFFF) ? 0 : w;
    }
    case Storage::BcdWord: {
      const auto digits = block.BcdDigits(at.offset(), 2);
      if (!digits) return std::nullopt;
      return std::stol(*digits);
    }
    case Storage::Custom:
      if (d.hooks && d.hooks->raw) return d.hooks->raw(at);
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

void WriteStored(const FieldAt& at, long v) {
  const FieldDecl& d = at.decl;
  const BlockRef block = at.Writable().Block(at.table.base.block);
  v = std::clamp(v, 0L, WidthMaximum(d));
  // A blank that reads as 0 already holds 0: it stays blank.
  if (d.blankReadsZero && v == 0 && ReadStored(at) == 0) return;
  switch (d.storage) {
    case Storage::Byte: block.SetByte(at.offset(), static_cast<std::uint8_t>(v)); break;
    case Storage::Bit: block.SetBit(at.offset(), d.bit, v != 0); break;
    case Storage::Word:
    case Storage::Tone: block.SetWord(at.offset(), static_cast<std::uint16_t>(v)); break;
    case Storage::BcdWord: {
      char digits[8];
      std::snprintf(digits, sizeof digits, "%04ld", v);
      block.SetBcdDigits(at.offset(), 2, digits);
      break;
    }
    case Storage::Custom:
      if (d.hooks && d.hooks->write) d.hooks->write(at, v);
      break;
    default: break;
  }
}

long BlankOf(const FieldDecl& d) { return d.Width() == 1 ? 0xFF : 0xFFFF; }

bool IsBlankShown(const FieldDecl& d, std::optional<long> stored) {
  return d.blankShows && stored && *stored == BlankOf(d);
}

// --- ordered lists ----------------------------------------------------------------

std::vector<std::string> EntriesAt(const FieldAt& at);

std::string JoinEntries(const std::vector<std::string>& entries) {
  bool any = false;
  for (const auto& e : entries) any = any || !e.empty();
  if (!any) return {};
  std::string out;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (i) out += kListSeparator;
    out += entries[i];
  }
  return out;
}

std::string_view TrimSpaces(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// Typed entries in a new order: each must match one of the present entries
// (each used once), so the bytes are only permuted.
CommitResult CommitOrderText(const FieldAt& at, std::string_view text) {
  const FieldDecl& d = at.decl;
  std::vector<std::string_view> typed;
  const std::string_view sep = TrimSpaces(kListSeparator);
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find(sep, start);
    typed.push_back(TrimSpaces(text.substr(start, end == std::string_view::npos ? text.size() - start : end - start)));
    if (end == std::string_view::npos) break;
    start = end + sep.size();
  }
  if (typed.size() != d.length) return CommitResult::Refuse(353_txt);
  const std::vector<std::string> entries = EntriesAt(at);
  const BlockRef block = at.Writable().Block(at.table.base.block);
  const std::vector<std::uint8_t> old = block.Read(at.offset(), d.length);
  std::vector<std::uint8_t> now(d.length);
  std::vector<bool> used(d.length, false);
  for (std::size_t i = 0; i < typed.size(); ++i) {
    std::size_t j = 0;
    while (j < entries.size() && (used[j] || entries[j] != typed[i])) ++j;
    if (j == entries.size()) return CommitResult::Refuse(353_txt);
    used[j] = true;
    now[i] = old[j];
  }
  block.Write(at.offset(), now);
  return {};
}

bool IsTicked(const FieldDecl& d, std::optional<long> raw) {
  if (!raw) return false;
  return d.check.tickedWhenNot ? *raw != d.check.clear : *raw == d.check.ticked;
}

bool ShowsOff(const FieldDecl& d, long stored) {
  return d.off.text.n != 0 && stored >= 0 && stored < d.off.below;
}

std::vector<ShownChoice> ChoicesAt(const FieldAt& at) {
  if (at.decl.hooks && at.decl.hooks->choices) return at.decl.hooks->choices(at);
  std::vector<ShownChoice> out;
  out.reserve(at.decl.choices.size());
  for (const Choice& c : at.decl.choices)
    out.push_back({c.value, c.text.n ? Tx(c.text) : std::string(c.literal)});
  return out;
}

// --- paired columns ---------------------------------------------------------------

// The other column of a paired field: the same declaration at the partner's
// offset, without a pair rule of its own.
FieldDecl PartnerDecl(const FieldDecl& d) {
  FieldDecl p = d;
  p.offset = d.pair.partner;
  p.pair = {};
  p.hooks = nullptr;
  return p;
}

long NoneValueOf(const FieldDecl& d) {
  if (d.storage == Storage::Tone || d.blankFfff) return 0xFFFF;
  return 0;
}

// The follower takes no value while its leader is empty; storing none into
// it then is no change and is taken.
CommitResult CheckFollower(const FieldAt& at, long value) {
  const FieldDecl leader = PartnerDecl(at.decl);
  const FieldAt leaderAt{at.image, at.writable, leader, at.table, at.row, at.base};
  const std::optional<long> lead = ReadStored(leaderAt);
  if (lead && !IsNoneValue(leader, *lead)) return {};
  if (IsNoneValue(at.decl, value)) return {CommitStatus::NotEditable, {0}};
  return CommitResult::Refuse(612_txt);
}

// After the leader took a value: none empties the follower, a value fills an
// empty follower.
void FollowLeader(const FieldAt& at, long value) {
  const FieldDecl follower = PartnerDecl(at.decl);
  const FieldAt followerAt{at.image, at.writable, follower, at.table, at.row, at.base};
  const std::optional<long> current = ReadStored(followerAt);
  const bool followerNone = !current || IsNoneValue(follower, *current);
  if (IsNoneValue(at.decl, value)) {
    if (!followerNone) WriteStored(followerAt, NoneValueOf(follower));
  } else if (followerNone) {
    WriteStored(followerAt, value);
  }
}

// Writes a stored value through the field's validation, the pair rule and
// the after-commit hook.
CommitResult Store(const FieldAt& at, long value) {
  const FieldDecl& d = at.decl;
  if (d.pair.role == PairRole::Follower) {
    const CommitResult f = CheckFollower(at, value);
    if (f.status == CommitStatus::NotEditable) return {};  // none into none: nothing to store
    if (!f.ok()) return f;
  }
  if (d.hooks && d.hooks->validate) {
    const CommitResult v = d.hooks->validate(at, value);
    if (!v.ok()) return v;
  }
  const std::optional<long> before = ReadStored(at);
  WriteStored(at, value);
  const std::optional<long> after = ReadStored(at);
  if (d.pair.role == PairRole::Leader && after) FollowLeader(at, *after);
  if (d.hooks && d.hooks->afterCommit && before != after)
    d.hooks->afterCommit(at, before.value_or(-1), after.value_or(-1));
  CommitResult result;
  if (d.hooks && d.hooks->warnAfter && before != after)
    result.warning = d.hooks->warnAfter(at, before.value_or(-1), after.value_or(-1));
  return result;
}

struct Resolved {
  std::optional<std::size_t> base;
  bool applicable = true;
};

Resolved Resolve(const FieldRef& f, const ImageStore& image) {
  Resolved r;
  r.base = RowStart(*f.table, image, f.row);
  if (r.base && f.decl->hooks && f.decl->hooks->applicable)
    r.applicable = f.decl->hooks->applicable(AtOf(f, image, nullptr, *r.base));
  return r;
}

CommitResult CommitNumberText(const FieldAt& at, std::string_view text) {
  const FieldDecl& d = at.decl;
  if (d.off.text.n && text == Tx(d.off.text)) return Store(at, 0);
  if (d.off.text.n && d.off.fromEmpty && text.empty()) return Store(at, 0);
  if (d.blankFfff && text.empty()) return Store(at, 0xFFFF);
  long shown;
  if (text.empty()) {
    if (!d.HasRange()) return Store(at, 0);
    shown = d.range.minimum;
  } else {
    const auto units = ParseUnits(text, d.decimals);
    if (!units) return CommitResult::Refuse(346_txt);
    shown = *units;
  }
  if (d.HasRange()) shown = LimitToRange(shown, d.range);
  // The number a blank value shows, typed again: the value stays blank.
  if (d.blankShows && shown == *d.blankShows && IsBlankShown(d, ReadStored(at))) return {};
  long stored = ToStored(d, shown);
  if (d.blankFfff) stored = std::min(stored, 0xFFFEL);
  return Store(at, stored);
}

CommitResult CommitListText(const FieldAt& at, std::string_view text) {
  for (const ShownChoice& c : ChoicesAt(at))
    if (c.text == text) return Store(at, c.value);
  return CommitResult::Refuse(347_txt);
}

CommitResult CommitToneText(const FieldAt& at, std::string_view text) {
  if (text != Tx(719_txt)) {
    for (char c : text)
      if (!ToneKeyFilter(c)) return CommitResult::Refuse(348_txt);
  }
  return Store(at, TextToToneCode(text));
}

}  // namespace

// --- locating -----------------------------------------------------------------

std::optional<std::size_t> RowStart(const FieldTable& table, const ImageStore& image, int row) {
  if (row < 0 || row >= table.rows) return std::nullopt;
  if (table.base.resolve) return table.base.resolve(image, row);
  return table.base.start + table.base.stride * static_cast<std::size_t>(row);
}

std::optional<FieldLocation> LocateField(const FieldRef& f, const ImageStore& image) {
  const auto base = RowStart(*f.table, image, f.row);
  if (!base || !f.decl->HasValue()) return std::nullopt;
  FieldLocation loc;
  loc.block = f.table->base.block;
  loc.offset = *base + f.decl->offset;
  loc.length = f.decl->Width() + f.decl->ownsAlso;
  if (f.decl->storage == Storage::Bit) loc.bit = f.decl->bit;
  return loc;
}

// --- numbers ------------------------------------------------------------------

std::optional<long> ParseUnits(std::string_view text, int decimals) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  long whole = 0;
  long fraction = 0;
  int fractionDigits = 0;
  bool digits = false;
  bool point = false;
  for (char c : text) {
    if (c == '.' || c == ',') {
      if (point) return std::nullopt;
      point = true;
      continue;
    }
    if (c < '0' || c > '9') return std::nullopt;
    digits = true;
    if (!point) {
      if (whole < kSaturate) whole = whole * 10 + (c - '0');
    } else if (fractionDigits < decimals) {
      fraction = fraction * 10 + (c - '0');
      ++fractionDigits;
    }
  }
  if (!digits) return std::nullopt;
  for (; fractionDigits < decimals; ++fractionDigits) fraction *= 10;
  long scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  const long units = whole >= kSaturate ? kSaturate : whole * scale + fraction;
  return negative ? -units : units;
}

std::string FormatUnits(long units, int decimals) {
  // Digits into a fixed buffer, the decimal point set in place (no string
  // splicing: GCC 12 warns falsely on it at -O2).
  const bool negative = units < 0;
  const unsigned long magnitude = negative ? 0UL - static_cast<unsigned long>(units) : static_cast<unsigned long>(units);
  char digits[32];
  const auto end = std::to_chars(digits, digits + sizeof digits, magnitude).ptr;
  std::size_t n = static_cast<std::size_t>(end - digits);
  const std::size_t d = static_cast<std::size_t>(std::clamp(decimals, 0, 9));
  char out[48];
  std::size_t k = 0;
  if (negative) out[k++] = '-';
  const std::size_t width = std::max(n, d + 1);  // at least one digit before the point
  for (std::size_t i = 0; i < width; ++i) {
    if (d > 0 && i == width - d) out[k++] = '.';
    out[k++] = i < width - n ? '0' : digits[i - (width - n)];
  }
  return std::string(out, k);
}

long ToShown(const FieldDecl& d, long stored) {
  if (d.scale.den == 0) return stored;
  return stored * d.scale.num / d.scale.den;
}

long ToStored(const FieldDecl& d, long shown) {
  if (d.scale.num == 0) return shown;
  return shown * d.scale.den / d.scale.num;
}

std::string FieldLabel(const FieldDecl& d) {
  std::string s = Tx(d.label);
  if (d.labelNumber > 0) s += ' ' + std::to_string(d.labelNumber);
  return s;
}

std::string FormatNumber(const FieldDecl& d, long stored) {
  if (IsBlankShown(d, stored)) return FormatUnits(*d.blankShows, d.decimals);
  if (ShowsOff(d, stored)) return Tx(d.off.text);
  if (d.blankFfff && stored == 0xFFFF) return {};
  const long shown = ToShown(d, stored);
  if (d.HasRange() && (shown < d.range.minimum || shown > d.range.maximum)) return {};
  return FormatUnits(shown, d.decimals);
}

bool IsNoneValue(const FieldDecl& d, long stored) {
  if (d.storage == Storage::Tone) return stored == 0xFFFF;
  if (ShowsOff(d, stored)) return true;
  if (d.blankFfff && stored == 0xFFFF) return true;
  const long shown = ToShown(d, stored);
  return d.HasRange() && (shown < d.range.minimum || shown > d.range.maximum);
}

// --- fixed texts ----------------------------------------------------------------

std::optional<std::vector<std::uint8_t>> EncodeFixedText(const FieldDecl& d, std::string_view text) {
  text = text.substr(0, std::min(text.size(), d.length));
  for (char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u > 0x7E) return std::nullopt;  // one byte per printable character
  }
  std::string typed(text);
  if (d.filter != 0) {
    auto filtered = FilterInsert(d.filter, text, FilterContext{});
    if (!filtered) return std::nullopt;
    typed = std::move(*filtered);
  }
  std::vector<std::uint8_t> out(d.length, d.pad);
  for (std::size_t i = 0; i < typed.size() && i < d.length; ++i) out[i] = static_cast<std::uint8_t>(typed[i]);
  return out;
}

CommitResult CommitFixedText(const FieldAt& at, std::string_view text) {
  const auto bytes = EncodeFixedText(at.decl, text);
  if (!bytes) return CommitResult::Refuse(FixedTextRefusal(at.decl));
  at.Writable().Block(at.table.base.block).Write(at.offset(), *bytes);
  return {};
}

TextNo FixedTextRefusal(const FieldDecl& d) {
  switch (d.filter) {
    case filter::kCw: return 349_txt;
    case filter::kName: return 350_txt;
    default: return 351_txt;
  }
}

std::string DecodeFixedText(ConstBlockRef block, std::size_t offset, std::size_t length, std::uint8_t pad) {
  std::string out = block.Text(offset, length);
  if (pad != 0xFF && pad != 0x00)
    while (!out.empty() && static_cast<std::uint8_t>(out.back()) == pad) out.pop_back();
  return out;
}

// --- showing --------------------------------------------------------------------

std::vector<ShownChoice> FieldChoices(const FieldRef& f, const ImageStore& image) {
  const auto base = RowStart(*f.table, image, f.row);
  return ChoicesAt(AtOf(f, image, nullptr, base.value_or(0)));
}

FieldView ShowField(const FieldRef& f, const ImageStore& image) {
  FieldView v;
  const FieldDecl& d = *f.decl;
  const Resolved r = Resolve(f, image);
  if (!r.base) {
    v.exists = false;
    return v;
  }
  if (!r.applicable) {
    v.applicable = false;
    v.text = kNotApplicableText;
    return v;
  }
  const FieldAt at = AtOf(f, image, nullptr, *r.base);
  v.raw = ReadStored(at);
  if (d.hooks && d.hooks->show) {
    v.text = d.hooks->show(at);
    // A list with its own text still tells which entry holds the value.
    if (IsList(d) && v.raw && d.storage != Storage::ByteList) {
      const auto choices = ChoicesAt(at);
      for (std::size_t i = 0; i < choices.size(); ++i)
        if (choices[i].value == *v.raw) v.choice = static_cast<int>(i);
    }
    return v;
  }
  if (d.kind == ControlKind::CheckBox) {
    v.checked = IsTicked(d, v.raw);
    v.text.assign(1, v.checked ? '1' : '0');
    return v;
  }
  switch (d.storage) {
    case Storage::None:
    case Storage::Custom:
      return v;
    case Storage::Text:
      v.text = DecodeFixedText(image.Block(f.table->base.block), at.offset(), d.length, d.pad);
      return v;
    case Storage::ByteList:
      v.text = JoinEntries(EntriesAt(at));
      return v;
    case Storage::Tone:
      v.text = ToneCodeToText(static_cast<ToneCode>(*v.raw));
      return v;
    default:
      break;
  }
  if (IsList(d)) {
    if (!v.raw) return v;
    const auto choices = ChoicesAt(at);
    for (std::size_t i = 0; i < choices.size(); ++i) {
      if (choices[i].value == *v.raw) {
        v.choice = static_cast<int>(i);
        v.text = choices[i].text;
        break;
      }
    }
    return v;
  }
  if (v.raw) v.text = FormatNumber(d, *v.raw);
  return v;
}

// --- committing -------------------------------------------------------------------

CommitResult CommitFieldText(const FieldRef& f, ImageStore& image, std::string_view input) {
  const FieldDecl& d = *f.decl;
  if (!d.HasValue()) return {CommitStatus::NotEditable, {0}};
  const std::string_view text = d.storage == Storage::Text ? input : Trim(input);
  const Resolved r = Resolve(f, image);
  // Custom commits decide themselves what a missing row means (a frequency
  // typed into an empty channel row creates the channel).
  if (d.hooks && d.hooks->commitText) {
    if (!r.base && d.storage != Storage::Custom) return {CommitStatus::NotEditable, {0}};
    if (r.base && !r.applicable) return {CommitStatus::NotApplicable, {0}};
    return d.hooks->commitText(AtOf(f, image, &image, r.base.value_or(0)), text);
  }
  if (!r.base) return {CommitStatus::NotEditable, {0}};
  if (!r.applicable) return {CommitStatus::NotApplicable, {0}};
  const FieldAt at = AtOf(f, image, &image, *r.base);
  if (d.kind == ControlKind::CheckBox) {
    if (text == "1" || text == Tx(727_txt)) return CommitFieldCheck(f, image, true);
    if (text == "0" || text == Tx(728_txt)) return CommitFieldCheck(f, image, false);
    return CommitResult::Refuse(352_txt);
  }
  switch (d.storage) {
    case Storage::Text: return CommitFixedText(at, text);
    case Storage::ByteList: return CommitOrderText(at, text);
    case Storage::Tone: return CommitToneText(at, text);
    case Storage::Custom: return {CommitStatus::NotEditable, {0}};
    default: break;
  }
  if (IsList(d)) return CommitListText(at, text);
  return CommitNumberText(at, text);
}

CommitResult CommitFieldChoice(const FieldRef& f, ImageStore& image, long value) {
  const Resolved r = Resolve(f, image);
  if (!r.base || !f.decl->HasValue() || f.decl->storage == Storage::ByteList)
    return {CommitStatus::NotEditable, {0}};
  if (!r.applicable) return {CommitStatus::NotApplicable, {0}};
  const FieldAt at = AtOf(f, image, &image, *r.base);
  for (const ShownChoice& c : ChoicesAt(at))
    if (c.value == value) return Store(at, value);
  return CommitResult::Refuse(752_txt);
}

CommitResult CommitFieldCheck(const FieldRef& f, ImageStore& image, bool ticked) {
  const FieldDecl& d = *f.decl;
  const Resolved r = Resolve(f, image);
  if (!r.base || d.kind != ControlKind::CheckBox) return {CommitStatus::NotEditable, {0}};
  if (!r.applicable) return {CommitStatus::NotApplicable, {0}};
  const FieldAt at = AtOf(f, image, &image, *r.base);
  if (IsTicked(d, ReadStored(at)) == ticked) return {};
  return Store(at, ticked ? d.check.ticked : d.check.clear);
}

CommitResult SpinField(const FieldRef& f, ImageStore& image, bool up) {
  const FieldDecl& d = *f.decl;
  const Resolved r = Resolve(f, image);
  if (!r.base || !IsNumeric(d) || !d.HasRange()) return {CommitStatus::NotEditable, {0}};
  if (!r.applicable) return {CommitStatus::NotApplicable, {0}};
  const FieldAt at = AtOf(f, image, &image, *r.base);
  if (d.hooks && d.hooks->spin) return d.hooks->spin(at, up);
  const std::optional<long> stored = ReadStored(at);
  long shown = LONG_MIN;  // nothing shown: the step starts at an end of the range
  if (stored && !(d.blankFfff && *stored == 0xFFFF)) shown = ToShown(d, *stored);
  if (IsBlankShown(d, stored)) shown = *d.blankShows;
  return Store(at, ToStored(d, SpinStep(shown, d.range, up)));
}

bool NormaliseField(const FieldRef& f, ImageStore& image) {
  const FieldDecl& d = *f.decl;
  if (!d.hooks || !d.hooks->normalise) return false;
  const Resolved r = Resolve(f, image);
  if (!r.base || !r.applicable) return false;
  d.hooks->normalise(AtOf(f, image, &image, *r.base));
  return true;
}

namespace {

std::vector<std::string> EntriesAt(const FieldAt& at) {
  const auto choices = ChoicesAt(at);
  std::vector<std::string> out;
  const ConstBlockRef block = at.image.Block(at.table.base.block);
  for (std::size_t i = 0; i < at.decl.length; ++i) {
    const long b = block.Byte(at.offset() + i);
    std::string text;
    for (const ShownChoice& c : choices)
      if (c.value == b) {
        text = c.text;
        break;
      }
    out.push_back(std::move(text));
  }
  return out;
}

}  // namespace

std::vector<std::string> FieldEntries(const FieldRef& f, const ImageStore& image) {
  if (f.decl->storage != Storage::ByteList) return {};
  const auto base = RowStart(*f.table, image, f.row);
  if (!base) return {};
  return EntriesAt(AtOf(f, image, nullptr, *base));
}

CommitResult MoveFieldEntry(const FieldRef& f, ImageStore& image, int index, bool towardsFront) {
  const FieldDecl& d = *f.decl;
  const Resolved r = Resolve(f, image);
  if (!r.base || d.storage != Storage::ByteList) return {CommitStatus::NotEditable, {0}};
  const int other = towardsFront ? index - 1 : index + 1;
  const int n = static_cast<int>(d.length);
  if (index < 0 || index >= n || other < 0 || other >= n) return {};
  const BlockRef block = image.Block(f.table->base.block);
  const std::size_t a = *r.base + d.offset + static_cast<std::size_t>(index);
  const std::size_t b = *r.base + d.offset + static_cast<std::size_t>(other);
  const std::uint8_t va = block.Byte(a);
  block.SetByte(a, block.Byte(b));
  block.SetByte(b, va);
  return {};
}

CommitResult ApplyFieldText(const FieldRef& f, ImageStore& image, std::string_view text) {
  const FieldView shown = ShowField(f, image);
  if (text == shown.text) return {};
  return CommitFieldText(f, image, text);
}

}  // namespace zmp
