// Numbers of the field codec: typed decimal text in integer units, the shown
// scale, Off and blank values, and the commit of typed numbers.
#include "fields/FieldCodec.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdio>

#include "lang/LanguageTexts.h"
#include "fields/CodecParts.h"
#include "fields/FilterRules.h"
#include "fields/ToneCode.h"

namespace zmp {

using namespace codec;

namespace {

constexpr long kSaturate = 1'000'000'000L;

}  // namespace

namespace codec {

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

}  // namespace codec

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

}  // namespace zmp
