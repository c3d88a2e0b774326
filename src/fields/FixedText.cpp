// Fixed texts of the field codec: typed UTF-8 text to the bytes a text field
// stores and back, with escapes for bytes typing would not give.
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

// --- fixed texts ----------------------------------------------------------------
//
// The image holds one byte a character (ISO 8859-1); the text shown and typed
// is UTF-8. A byte that typing into the field would not give back (a control
// byte, a character the field's input mode refuses or changes) shows as the
// escape \xHH, and a backslash that could be read as the start of an escape as
// \\; both escapes are taken back as the bytes they name, so a field set to
// the text it shows keeps its bytes.

namespace {

// The byte a character typed after `before` stores: the character through
// the field's input mode, or nothing when no byte of the field's set holds it.
std::optional<std::uint8_t> TypedByte(const FieldDecl& d, std::uint8_t c, const std::string& before) {
  if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0) || c == 0xFF) return std::nullopt;
  if (d.filter == 0) return c;
  FilterContext ctx;
  ctx.text = before;
  ctx.selectionStart = before.size();
  const auto typed = FilterChar(d.filter, static_cast<char>(c), ctx);
  if (!typed || *typed == '\b') return std::nullopt;
  return static_cast<std::uint8_t>(*typed);
}

// The character at text[i] as its ISO 8859-1 byte, i moved past it; nothing
// for a character beyond that set or a broken UTF-8 sequence.
std::optional<std::uint8_t> NextLatin1(std::string_view text, std::size_t& i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  if (lead < 0x80) {
    ++i;
    return lead;
  }
  if ((lead & 0xE0) != 0xC0 || i + 1 >= text.size()) return std::nullopt;
  const auto next = static_cast<unsigned char>(text[i + 1]);
  const unsigned code = ((lead & 0x1Fu) << 6) | (next & 0x3Fu);
  if ((next & 0xC0) != 0x80 || code < 0x80 || code > 0xFF) return std::nullopt;
  i += 2;
  return static_cast<std::uint8_t>(code);
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

struct TextEscape {
  std::uint8_t byte;
  std::size_t length;
};

// "\\" or "\xHH" at text[i]; any other backslash is a typed character.
std::optional<TextEscape> EscapeAt(std::string_view text, std::size_t i) {
  if (text[i] != '\\' || i + 1 >= text.size()) return std::nullopt;
  if (text[i + 1] == '\\') return TextEscape{'\\', 2};
  if (text[i + 1] != 'x' || i + 3 >= text.size()) return std::nullopt;
  const int high = HexValue(text[i + 2]);
  const int low = HexValue(text[i + 3]);
  if (high < 0 || low < 0) return std::nullopt;
  return TextEscape{static_cast<std::uint8_t>(high * 16 + low), 4};
}

void AppendUtf8(std::string& out, std::uint8_t b) {
  if (b < 0x80) {
    out += static_cast<char>(b);
    return;
  }
  out += static_cast<char>(0xC0 | (b >> 6));
  out += static_cast<char>(0x80 | (b & 0x3F));
}

}  // namespace

namespace codec {

// Whether every byte of a fixed text, up to its end, is what typing it gives back.
bool TextIsTypable(const FieldAt& at) {
  const std::string bytes = at.image.Block(at.table.base.block).Text(at.offset(), at.decl.length);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<std::uint8_t>(bytes[i]);
    if (TypedByte(at.decl, b, bytes.substr(0, i)) != b) return false;
  }
  return true;
}

// A fixed text keeps what typing its bytes in turn gives (a lowercase letter
// of a CW text as its capital); bytes that typing refuses go.
void KeepTypableText(const FieldAt& at) {
  const BlockRef block = at.Writable().Block(at.table.base.block);
  const std::string bytes = block.Text(at.offset(), at.decl.length);
  std::string kept;
  for (char c : bytes)
    if (const auto typed = TypedByte(at.decl, static_cast<std::uint8_t>(c), kept)) kept += static_cast<char>(*typed);
  std::vector<std::uint8_t> out(at.decl.length, at.decl.pad);
  std::copy(kept.begin(), kept.end(), out.begin());
  block.Write(at.offset(), out);
}

}  // namespace codec

std::size_t FixedTextLength(std::string_view text) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < text.size(); ++n) {
    if (const auto escape = EscapeAt(text, i)) {
      i += escape->length;
    } else {
      // One character: a UTF-8 lead byte and its continuation bytes.
      ++i;
      while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
    }
  }
  return n;
}

std::optional<std::vector<std::uint8_t>> EncodeFixedText(const FieldDecl& d, std::string_view text) {
  std::string bytes;  // as stored, each typed character through the input mode
  for (std::size_t i = 0; i < text.size() && bytes.size() < d.length;) {
    if (const auto escape = EscapeAt(text, i)) {
      // 0x00 and 0xFF end a text: no text holds them.
      if (escape->byte == 0x00 || escape->byte == 0xFF) return std::nullopt;
      bytes += static_cast<char>(escape->byte);
      i += escape->length;
      continue;
    }
    const auto c = NextLatin1(text, i);
    if (!c) return std::nullopt;
    const auto typed = TypedByte(d, *c, bytes);
    if (!typed) return std::nullopt;
    bytes += static_cast<char>(*typed);
  }
  std::vector<std::uint8_t> out(d.length, d.pad);
  for (std::size_t i = 0; i < bytes.size(); ++i) out[i] = static_cast<std::uint8_t>(bytes[i]);
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

std::string DecodeFixedText(const FieldDecl& d, ConstBlockRef block, std::size_t offset) {
  std::string bytes = block.Text(offset, d.length);
  if (d.pad != 0xFF && d.pad != 0x00)
    while (!bytes.empty() && static_cast<std::uint8_t>(bytes.back()) == d.pad) bytes.pop_back();
  // Which bytes typing gives back as they are.
  std::vector<bool> typeable(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<std::uint8_t>(bytes[i]);
    typeable[i] = TypedByte(d, b, bytes.substr(0, i)) == b;
  }
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<std::uint8_t>(bytes[i]);
    if (b == '\\') {
      // A backslash before another, before an "x" or before an escape would
      // read as an escape: it is written as one itself.
      const bool next = i + 1 < bytes.size();
      const bool ambiguous = next && (bytes[i + 1] == '\\' || bytes[i + 1] == 'x' || !typeable[i + 1]);
      out += typeable[i] && !ambiguous ? "\\" : "\\\\";
    } else if (typeable[i]) {
      AppendUtf8(out, b);
    } else {
      static constexpr char kHex[] = "0123456789ABCDEF";
      out += "\\x";
      out += kHex[b >> 4];
      out += kHex[b & 0x0F];
    }
  }
  return out;
}

}  // namespace zmp
