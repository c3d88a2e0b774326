#include "fields/FilterRules.h"

namespace zmp {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsLower(char c) { return c >= 'a' && c <= 'z'; }
bool IsLetter(char c) { return IsUpper(c) || IsLower(c); }
char Upper(char c) { return IsLower(c) ? static_cast<char>(c - 'a' + 'A') : c; }
bool In(char c, std::string_view set) { return set.find(c) != std::string_view::npos; }

// The text outside the selection (what stays when the character goes in).
bool OutsideSelectionHas(const FilterContext& ctx, std::string_view set) {
  for (std::size_t i = 0; i < ctx.text.size(); ++i) {
    if (i >= ctx.selectionStart && i < ctx.selectionStart + ctx.selectionLength) continue;
    if (In(ctx.text[i], set)) return true;
  }
  return false;
}

std::size_t LengthAfterInsert(const FilterContext& ctx) {
  const std::size_t sel = ctx.selectionLength > ctx.text.size() ? ctx.text.size() : ctx.selectionLength;
  return ctx.text.size() - sel + 1;
}

// Characters before and after the place where the character goes.
char Before(const FilterContext& ctx) {
  return ctx.selectionStart > 0 && ctx.selectionStart <= ctx.text.size() ? ctx.text[ctx.selectionStart - 1]
                                                                         : '\0';
}
char After(const FilterContext& ctx) {
  const std::size_t end = ctx.selectionStart + ctx.selectionLength;
  return end < ctx.text.size() ? ctx.text[end] : '\0';
}

constexpr std::string_view kNamePunctuation = " #$%()*+,-/=[\\]_|@";
constexpr std::string_view kNameDotPunctuation = " #$%()*+.-/=[\\]_|@";
constexpr std::string_view kCwPunctuation = "\"'()+,-./:=?";

}  // namespace

std::optional<char> FilterChar(std::uint8_t mode, char c, const FilterContext& ctx) {
  if (c == '\b') {
    if (mode == filter::kNone) return std::nullopt;
    return c;
  }
  switch (mode) {
    case filter::kNone:
      return std::nullopt;
    case filter::kAll:
      return c;
    case filter::kDigits:
      if (IsDigit(c)) return c;
      return std::nullopt;
    case filter::kFrequency:
      if (IsDigit(c)) return c;
      if ((c == '.' || c == ',') && !OutsideSelectionHas(ctx, ".,")) return c;
      return std::nullopt;
    case filter::kDtmf:
      if (IsDigit(c) || c == '*' || c == '#') return c;
      if (Upper(c) >= 'A' && Upper(c) <= 'D') return Upper(c);
      return std::nullopt;
    case filter::kHex:
      if (IsDigit(c)) return c;
      if (Upper(c) >= 'A' && Upper(c) <= 'F') return Upper(c);
      return std::nullopt;
    case filter::kAlnum:
      if (IsDigit(c) || IsLetter(c)) return c;
      return std::nullopt;
    case filter::kName:
      if (IsDigit(c) || IsLetter(c) || In(c, kNamePunctuation)) return c;
      return std::nullopt;
    case filter::kNameDot:
      if (IsDigit(c) || IsLetter(c) || In(c, kNameDotPunctuation)) return c;
      return std::nullopt;
    case filter::kCw:
      if (IsDigit(c) || IsUpper(c) || In(c, kCwPunctuation)) return c;
      if (IsLower(c)) return Upper(c);
      if (c == ' ' && Before(ctx) != ' ' && After(ctx) != ' ') return c;
      return std::nullopt;
    case filter::kDigitsDash:
      if (IsDigit(c) || c == '-') return c;
      return std::nullopt;
    case filter::kFiveTone:
      if (IsDigit(c)) return c;
      if (Upper(c) >= 'A' && Upper(c) <= 'E') return Upper(c);
      // Q repeats the previous tone; it is taken while the text stays within
      // eight characters (Q characters counted).
      if ((c == 'Q' || c == 'q') && LengthAfterInsert(ctx) <= 8) return 'Q';
      return std::nullopt;
    case filter::kDigitsAE:
      if (IsDigit(c)) return c;
      if (Upper(c) >= 'A' && Upper(c) <= 'E') return Upper(c);
      return std::nullopt;
    case filter::kOwnerList:
    case filter::kOwnerList2:
      if (In(c, ctx.ownerList)) return c;
      return std::nullopt;
    case filter::kDigits05Dash:
      if ((c >= '0' && c <= '5') || c == '-') return c;
      return std::nullopt;
    case filter::kDigitsA: {
      const char u = c == 'a' ? 'A' : c;
      if (!IsDigit(u) && u != 'A') return std::nullopt;
      if (ctx.maxLength && LengthAfterInsert(ctx) > ctx.maxLength) return std::nullopt;
      return u;
    }
    case filter::kOwnerRule:
    case filter::kOwnerRule2:
      if (ctx.ownerRule) return ctx.ownerRule(c, ctx);
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

std::optional<std::string> FilterInsert(std::uint8_t mode, std::string_view insert,
                                        const FilterContext& ctx) {
  std::string text(ctx.text);
  std::size_t start = ctx.selectionStart > text.size() ? text.size() : ctx.selectionStart;
  std::size_t length = ctx.selectionLength > text.size() - start ? text.size() - start : ctx.selectionLength;
  for (char c : insert) {
    FilterContext step = ctx;
    step.text = text;
    step.selectionStart = start;
    step.selectionLength = length;
    const auto accepted = FilterChar(mode, c, step);
    if (!accepted || *accepted == '\b') return std::nullopt;
    text.replace(start, length, 1, *accepted);
    ++start;
    length = 0;
  }
  return text;
}

}  // namespace zmp
