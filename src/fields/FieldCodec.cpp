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
    case Storage::Custom: return length;
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
    default: break;
  }
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

// Writes a stored value through the field's validation and after-commit hook.
CommitResult Store(const FieldAt& at, long value) {
  const FieldDecl& d = at.decl;
  if (d.hooks && d.hooks->validate) {
    const CommitResult v = d.hooks->validate(at, value);
    if (!v.ok()) return v;
  }
  const std::optional<long> before = ReadStored(at);
  WriteStored(at, value);
  const std::optional<long> after = ReadStored(at);
  if (d.hooks && d.hooks->afterCommit && before != after)
    d.hooks->afterCommit(at, before.value_or(-1), after.value_or(-1));
  return {};
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
  if (d.blankFfff && text.empty()) return Store(at, 0xFFFF);
  long shown;
  if (text.empty()) {
    if (!d.HasRange()) return Store(at, 0);
    shown = d.range.minimum;
  } else {
    const auto units = ParseUnits(text, d.decimals);
    if (!units) return CommitResult::Refuse(752_txt);
    shown = *units;
  }
  if (d.HasRange()) shown = LimitToRange(shown, d.range);
  long stored = ToStored(d, shown);
  if (d.blankFfff) stored = std::min(stored, 0xFFFEL);
  return Store(at, stored);
}

CommitResult CommitListText(const FieldAt& at, std::string_view text) {
  for (const ShownChoice& c : ChoicesAt(at))
    if (c.text == text) return Store(at, c.value);
  return CommitResult::Refuse(752_txt);
}

CommitResult CommitToneText(const FieldAt& at, std::string_view text) {
  if (text != Tx(719_txt)) {
    for (char c : text)
      if (!ToneKeyFilter(c)) return CommitResult::Refuse(752_txt);
  }
  return Store(at, TextToToneCode(text));
}

CommitResult CommitText(const FieldAt& at, std::string_view text) {
  const auto bytes = EncodeFixedText(at.decl, text);
  if (!bytes) return CommitResult::Refuse(752_txt);
  at.Writable().Block(at.table.base.block).Write(at.offset(), *bytes);
  return {};
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

std::string FormatNumber(const FieldDecl& d, long stored) {
  if (ShowsOff(d, stored)) return Tx(d.off.text);
  if (d.blankFfff && stored == 0xFFFF) return {};
  const long shown = ToShown(d, stored);
  if (d.HasRange() && (shown < d.range.minimum || shown > d.range.maximum)) return {};
  return FormatUnits(shown, d.decimals);
}

// --- fixed texts ----------------------------------------------------------------

std::optional<std::vector<std::uint8_t>> EncodeFixedText(const FieldDecl& d, std::string_view text) {
  std::vector<std::uint8_t> out(d.length, d.pad);
  const std::size_t n = std::min(text.size(), d.length);
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c > 0x7E) return std::nullopt;
    if (d.filter != 0 && !FilterChar(d.filter, static_cast<char>(c), FilterContext{})) return std::nullopt;
    out[i] = c;
  }
  return out;
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
    return v;
  }
  if (d.kind == ControlKind::CheckBox) {
    v.checked = IsTicked(d, v.raw);
    // One character assigned as such: GCC 12 at -O3 warns falsely on a literal here.
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
    if (r.base && !r.applicable) return {CommitStatus::NotApplicable, {0}};
    return d.hooks->commitText(AtOf(f, image, &image, r.base.value_or(0)), text);
  }
  if (!r.base) return {CommitStatus::NotEditable, {0}};
  if (!r.applicable) return {CommitStatus::NotApplicable, {0}};
  const FieldAt at = AtOf(f, image, &image, *r.base);
  if (d.kind == ControlKind::CheckBox) {
    if (text == "1" || text == Tx(727_txt)) return CommitFieldCheck(f, image, true);
    if (text == "0" || text == Tx(728_txt)) return CommitFieldCheck(f, image, false);
    return CommitResult::Refuse(752_txt);
  }
  switch (d.storage) {
    case Storage::Text: return CommitText(at, text);
    case Storage::Tone: return CommitToneText(at, text);
    case Storage::Custom: return {CommitStatus::NotEditable, {0}};
    default: break;
  }
  if (IsList(d)) return CommitListText(at, text);
  return CommitNumberText(at, text);
}

CommitResult CommitFieldChoice(const FieldRef& f, ImageStore& image, long value) {
  const Resolved r = Resolve(f, image);
  if (!r.base || !f.decl->HasValue()) return {CommitStatus::NotEditable, {0}};
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
  const std::optional<long> stored = ReadStored(at);
  long shown = LONG_MIN;  // nothing shown: the step starts at an end of the range
  if (stored && !(d.blankFfff && *stored == 0xFFFF)) shown = ToShown(d, *stored);
  return Store(at, ToStored(d, SpinStep(shown, d.range, up)));
}

CommitResult ApplyFieldText(const FieldRef& f, ImageStore& image, std::string_view text) {
  const FieldView shown = ShowField(f, image);
  if (text == shown.text) return {};
  return CommitFieldText(f, image, text);
}

}  // namespace zmp
