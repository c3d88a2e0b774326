// The one codec of every declared field: where an instance lives, how it is
// shown, how typed text, a picked choice, a click or a spin step is stored.
//
// The rules every editor shares live here and nowhere else:
//  - showing never writes (the image is taken const);
//  - the Off rule is tested before the range, so a field whose range leaves
//    out 0 can still show Off; typed Off stores 0;
//  - a stored value outside the range shows empty;
//  - typed numbers are parsed wide in integer units (tenths, hundredths), so
//    2.57 with step 0.1 stores 2.5; then limited to the range, truncated to the
//    step, scaled, and saturated to the field's width (9999 ms in a byte of
//    tens stores 255); empty text stores the minimum;
//  - a spin step never leaves the range;
//  - a stored value is matched to its choice by search: an unknown value
//    shows no selection and is not rewritten;
//  - fixed texts: one byte per printable character, cut at the length, padded,
//    checked before anything is written.
// Standard library only.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fields/FieldTypes.h"

namespace zmp {

// One instance of a field: a declaration in a table, at a row.
struct FieldRef {
  const FieldTable* table = nullptr;
  const FieldDecl* decl = nullptr;
  int row = 0;
};

// Where an instance lives in the image.
struct FieldLocation {
  BlockId block = BlockId::Main;
  std::size_t offset = 0;
  std::size_t length = 0;
  std::optional<int> bit;
};

// A field as shown.
struct FieldView {
  std::string text;
  std::optional<long> raw;   // the stored value, when the field has a number
  bool exists = true;        // the row exists
  bool applicable = true;    // false: shown "---", not editable
  bool checked = false;      // check boxes
  int choice = -1;           // lists: position in FieldChoices, -1 none
};

inline constexpr std::string_view kNotApplicableText = "---";

// Start of a row in its block, or nothing when the row does not exist.
std::optional<std::size_t> RowStart(const FieldTable& table, const ImageStore& image, int row);
std::optional<FieldLocation> LocateField(const FieldRef& f, const ImageStore& image);

FieldView ShowField(const FieldRef& f, const ImageStore& image);
std::vector<ShownChoice> FieldChoices(const FieldRef& f, const ImageStore& image);
// The text shown for a stored value of a numeric field (Off, number, or empty
// when out of range). Used by the printout and the help pages as well.
std::string FormatNumber(const FieldDecl& d, long stored);
// A stored value that means "nothing set" for the pair rule: a tone's Off
// (0xFFFF), a number's Off, or a number outside the range.
bool IsNoneValue(const FieldDecl& d, long stored);

// The commits. Each either stores and returns Ok, or returns why not and
// leaves every byte as it was.
//
// Text as a user types it and leaves the control: a number, a choice's shown
// text, a check box's "1"/"0", a tone, a name, a frequency.
CommitResult CommitFieldText(const FieldRef& f, ImageStore& image, std::string_view text);
// A list entry picked by its stored value.
CommitResult CommitFieldChoice(const FieldRef& f, ImageStore& image, long value);
// A check box clicked to the given state (no write when it is already so).
CommitResult CommitFieldCheck(const FieldRef& f, ImageStore& image, bool ticked);
// One spin step up or down, limited to the range (or the field's own step).
CommitResult SpinField(const FieldRef& f, ImageStore& image, bool up);
// The form's one-time rewrite of a field as it opens (FieldHooks::normalise);
// false when the field has none (or its row does not exist).
bool NormaliseField(const FieldRef& f, ImageStore& image);
// Ordered lists (Storage::ByteList): the shown text of each entry in list
// order, and one entry moved one place towards the front or the back (the
// bytes are only permuted). The field's text is the entries joined by
// kListSeparator; typed text must name the same entries in a new order.
inline constexpr std::string_view kListSeparator = " > ";
std::vector<std::string> FieldEntries(const FieldRef& f, const ImageStore& image);
CommitResult MoveFieldEntry(const FieldRef& f, ImageStore& image, int index, bool towardsFront);
// Text that equals what the field shows changes nothing; other text commits.
CommitResult ApplyFieldText(const FieldRef& f, ImageStore& image, std::string_view text);

// Parses decimal text into integer units of 10^-decimals (truncating further
// digits); saturates far outside any field. Nothing when it is not a number.
std::optional<long> ParseUnits(std::string_view text, int decimals);
// Formats integer units with the given decimals ("%.*f").
std::string FormatUnits(long units, int decimals);

// Shown units of a stored value and back.
long ToShown(const FieldDecl& d, long stored);
long ToStored(const FieldDecl& d, long shown);

// The caption of a field: its label text, followed by its number when it has one.
std::string FieldLabel(const FieldDecl& d);

// Fixed text: the bytes a text would be stored as (cut, padded), or nothing
// when a character cannot be stored in the field. Every character goes
// through the field's input mode as if typed in turn, so a CW text holds the
// uppercase letters the edit would show and never two spaces side by side.
std::optional<std::vector<std::uint8_t>> EncodeFixedText(const FieldDecl& d, std::string_view text);
// Stores a fixed text field from typed text (the codec's own text commit,
// for hooks that prepare the text first). Refused texts write nothing.
CommitResult CommitFixedText(const FieldAt& at, std::string_view text);
// Why a text was refused by a fixed text field: the characters it takes.
TextNo FixedTextRefusal(const FieldDecl& d);
std::string DecodeFixedText(ConstBlockRef block, std::size_t offset, std::size_t length, std::uint8_t pad);

}  // namespace zmp
