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
  // A reference whose target is missing: the text names what is stored and
  // why it is missing ("Channel 7 (no such channel)").
  bool missingTarget = false;
};

inline constexpr std::string_view kNotApplicableText = "---";

// Start of a row in its block, or nothing when the row does not exist.
std::optional<std::size_t> RowStart(const FieldTable& table, const ImageStore& image, int row);
std::optional<FieldLocation> LocateField(const FieldRef& f, const ImageStore& image);

FieldView ShowField(const FieldRef& f, const ImageStore& image);
std::vector<ShownChoice> FieldChoices(const FieldRef& f, const ImageStore& image);
// ShowField and, for a list in a row that exists, FieldChoices (empty
// otherwise): a list whose choices depend on the image is built only once.
FieldView ShowFieldAndChoices(const FieldRef& f, const ImageStore& image, std::vector<ShownChoice>& choices);
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
// A check box clicked to the given state (no write when it is already so; a
// byte that is neither of its values takes the state's value).
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
// Why the field's control is disabled in its row (FieldHooks::disabled), or 0
// while it can be changed. The views disable exactly these controls, and every
// commit of such a field is refused with this text.
TextNo FieldDisabledReason(const FieldRef& f, const ImageStore& image);
// Where typed text holds a character that the field's input mode would not let
// through when typed in turn (its position), or nothing. Text that names the
// field's Off entry or one of its choices is taken as it is; check boxes and
// tones (whose own commit decides) are not checked.
std::optional<std::size_t> UntypedCharacter(const FieldRef& f, const ImageStore& image, std::string_view text);
// Text that equals what the field shows changes nothing; other text commits.
CommitResult ApplyFieldText(const FieldRef& f, ImageStore& image, std::string_view text);

// References (FieldDecl::refers): what the stored value of a referring field
// names; a field that refers to nothing resolves to None.
Target ResolveTarget(const FieldRef& f, const ImageStore& image);
// The referring field lets go of its target: it stores its none value as a
// commit would (with its after-commit hook, so a key's parameters reset and a
// chain ends there). False when the field refers to nothing or its row is gone.
bool ReleaseField(const FieldRef& f, ImageStore& image);
// "Channel 7 (no such channel)": how a missing target is shown.
std::string MissingTargetText(const Target& t);

// What is wrong with a field's stored value that the repeater would take as
// it is: a reference to something missing, a number outside its range, a
// value none of its choices holds, a check box that is neither ticked nor
// clear, a tone that is no QT/DQT setting, a text with characters that cannot
// be typed, a follower set while its leader is empty, or what the field's
// problem hook says. Nothing for a row that does not exist or a field that
// does not apply.
std::optional<std::string> FieldProblem(const FieldRef& f, const ImageStore& image);
// Brings such a field to the nearest value it can hold (a reference lets go,
// a number goes to the nearer end of its range, a list to the choice nearest
// in value, a check box to clear, a tone to Off, a text loses the characters
// that cannot be typed, a follower is emptied), as a commit would store it.
// False when nothing was changed (no problem, or one only a user can mend).
bool FixField(const FieldRef& f, ImageStore& image);
// Stores the field's initial value (FieldDecl::initial) as a new image holds
// it; false when it has none.
bool InitialiseField(const FieldRef& f, ImageStore& image);

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
// when a character cannot be stored in the field. The text is UTF-8, the
// bytes ISO 8859-1. Every character goes through the field's input mode as if
// typed in turn, so a CW text holds the uppercase letters the edit would show
// and never two spaces side by side; the escapes "\xHH" and "\\" store the
// byte they name as it is.
std::optional<std::vector<std::uint8_t>> EncodeFixedText(const FieldDecl& d, std::string_view text);
// The number of bytes a text takes in a fixed text field: one a character,
// one an escape.
std::size_t FixedTextLength(std::string_view text);
// Stores a fixed text field from typed text (the codec's own text commit,
// for hooks that prepare the text first). Refused texts write nothing.
CommitResult CommitFixedText(const FieldAt& at, std::string_view text);
// Why a text was refused by a fixed text field: the characters it takes.
TextNo FixedTextRefusal(const FieldDecl& d);
// The text a fixed text field shows: its bytes as UTF-8, a byte that typing
// would not give back as "\xHH", a backslash that would read as an escape as
// "\\". Encoding the shown text gives the bytes again.
std::string DecodeFixedText(const FieldDecl& d, ConstBlockRef block, std::size_t offset);

}  // namespace zmp
