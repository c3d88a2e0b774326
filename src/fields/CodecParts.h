// The field codec's own helpers, shared by its files (FieldCodec.cpp: showing
// and committing; FieldNumbers.cpp; FixedText.cpp; OrderedLists.cpp). Not for
// use outside src/fields. Standard library only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fields/FieldCodec.h"

namespace zmp::codec {

std::string_view Trim(std::string_view s);
bool IsNumeric(const FieldDecl& d);
bool IsList(const FieldDecl& d);
FieldAt AtOf(const FieldRef& f, const ImageStore& image, ImageStore* writable, std::size_t base);
// The stored number of a field, or nothing (no number, a BCD nibble above 9).
std::optional<long> ReadStored(const FieldAt& at);
void WriteStored(const FieldAt& at, long v);
long BlankOf(const FieldDecl& d);
bool IsBlankShown(const FieldDecl& d, std::optional<long> stored);
bool IsTicked(const FieldDecl& d, std::optional<long> raw);
bool ShowsOff(const FieldDecl& d, long stored);
std::vector<ShownChoice> ChoicesAt(const FieldAt& at);
// The entry of the field's choices that holds a stored value (the first or the
// last such entry), position -1 for none: in `built` when the choices are
// built already; declared choices are searched as they stand, and only the
// text of the entry found is looked up.
enum class Match { First, Last };
struct ChoiceFound {
  int position = -1;
  std::string text;
};
ChoiceFound FindChoice(const FieldAt& at, long value, Match match, const std::vector<ShownChoice>* built = nullptr);
// Whether one of the field's choices holds the stored value.
bool HasChoice(const FieldAt& at, long value);
// The stored value of the first entry shown as text, or nothing.
std::optional<long> ChoiceValueOf(const FieldAt& at, std::string_view text);
// Writes a stored value through the field's validation, the pair rule and
// the after-commit hook.
CommitResult Store(const FieldAt& at, long value);

struct Resolved {
  std::optional<std::size_t> base;
  bool applicable = true;
  TextNo disabled{0};  // why the field cannot be changed here
};
Resolved Resolve(const FieldRef& f, const ImageStore& image);

// Numbers (FieldNumbers.cpp).
CommitResult CommitNumberText(const FieldAt& at, std::string_view text);

// Fixed texts (FixedText.cpp).
bool TextIsTypable(const FieldAt& at);
void KeepTypableText(const FieldAt& at);

// Ordered lists (OrderedLists.cpp).
std::string JoinEntries(const std::vector<std::string>& entries);
CommitResult CommitOrderText(const FieldAt& at, std::string_view text);
bool IsBlankList(const FieldAt& at);
std::vector<std::uint8_t> ListBytes(const FieldAt& at);
std::vector<std::string> EntriesAt(const FieldAt& at);

}  // namespace zmp::codec
