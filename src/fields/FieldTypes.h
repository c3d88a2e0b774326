// How a setting of the data image is declared. Every setting of every editor
// is one FieldDecl row: where its value lives, how it is shown and typed, its
// range, its choices and its control. The codec (FieldCodec.h) reads, shows,
// commits and spins any declared field; the forms, the grids, the command-line
// tool and the printout all walk the same declarations.
// Standard library only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "data/ImageStore.h"
#include "lang/TextNo.h"
#include "fields/NumericRules.h"

namespace zmp {

class ModelInfo;

// The control a row of a form or a cell of a grid is edited with.
enum class ControlKind : std::uint8_t {
  Edit = 1,        // text edit
  EditSpin = 2,    // numeric edit with a spin control
  DropList = 3,    // drop-down list
  CheckBox = 4,
  EditCombo = 5,   // drop-down with an edit field (tones, numbers with "Off")
  Grid = 6,
  GroupLabel = 7,  // heading
  Button = 8,
  Static = 9,      // plain static text
  ListSpin = 10,   // ordered list with a spin control
};

// How the value is held in the image.
enum class Storage : std::uint8_t {
  None,       // headings, buttons, statics: no value
  Byte,
  Word,       // 16-bit little-endian, at any offset (byte by byte)
  Bit,        // one bit of a byte
  BcdWord,    // four-digit packed BCD in a little-endian word (1000 = 0x1000)
  Text,       // fixed text of `length` bytes, padded with `pad`
  Tone,       // 16-bit ToneCode
  Custom,     // the field's hooks read and write it (frequencies, lists of lists)
  ByteList,   // an ordered list of `length` one-byte entries, each shown by its
              // choice (found by search); the user only reorders them (ListSpin)
};

// Shown integer units per stored unit: shown = stored * num / den (truncated
// towards zero), stored = shown * den / num. Shown units are 10^-decimals of
// the shown quantity ("2.5" with one decimal is 25 units).
struct Scale {
  long num = 1;
  long den = 1;
};

// Stored values below `below` show the Off text (typed Off stores 0). A text
// of 0 means the field has no Off. With fromEmpty, empty text stores 0 as
// well (instead of the range's minimum).
struct OffRule {
  TextNo text{0};
  long below = 1;
  bool fromEmpty = false;
};

// Two columns of one row where the second follows the first. The leader's
// value fills an empty follower, an empty leader empties the follower, and
// the follower takes no value while its leader is empty. "Empty" is the
// field's none: Off, a value outside the range, or 0xFFFF for tones. Both
// columns share one declaration form (storage, range, Off rule).
enum class PairRole : std::uint8_t { None, Leader, Follower };
struct PairRule {
  PairRole role = PairRole::None;
  std::size_t partner = 0;  // offset within the row of the other column
};

// A check box: ticked when the stored value equals `ticked` (or, with
// tickedWhenNot, when it differs from `clear`); a tick stores `ticked`, an
// untick stores `clear`.
struct CheckRule {
  long ticked = 1;
  long clear = 0;
  bool tickedWhenNot = false;
};

// One entry of a drop-down list: the stored value and its text (a language
// text, or a literal when text is 0).
struct Choice {
  long value;
  TextNo text{0};
  std::string_view literal{};
};

// A choice as shown, with its text resolved.
struct ShownChoice {
  long value;
  std::string text;
  bool operator==(const ShownChoice&) const = default;
};

// Outcome of a commit. Ok with changed=false means the text was taken but the
// bytes were already so.
enum class CommitStatus : std::uint8_t {
  Ok,
  Refused,        // the field keeps its bytes; `message` says why
  NotEditable,    // heading, button, a row that does not exist
  NotApplicable,  // the field does not apply to the row (shown "---")
};

struct CommitResult {
  CommitStatus status = CommitStatus::Ok;
  TextNo message{0};
  // Ok with a warning: the value is stored, and the form tells the user this
  // text once (two tones too close to tell apart).
  std::string warning{};
  bool ok() const { return status == CommitStatus::Ok; }
  static CommitResult Refuse(TextNo m) { return {CommitStatus::Refused, m}; }
};

struct FieldDecl;

struct FieldTable;

// Bytes of a block, as [offset, offset + length).
struct BlockBytes {
  std::size_t offset;
  std::size_t length;
};

// Where one instance of a field is, as the hooks see it. Formatters get the
// image read-only; commits get it writable as well.
struct FieldAt {
  const ImageStore& image;
  ImageStore* writable;     // null while showing
  const FieldDecl& decl;
  const FieldTable& table;
  int row;                  // 0-based row of its table (0 for a single form)
  std::size_t base;         // start of its row in its block
  std::size_t offset() const;  // base + decl.offset
  // The image for a commit; throws when called while showing.
  ImageStore& Writable() const;
};

// Hooks give a field behaviour that its declaration cannot say. Every hook is
// optional; a field without hooks is handled by the codec alone.
struct FieldHooks {
  // Choices that depend on the image (filtered lists).
  std::vector<ShownChoice> (*choices)(const FieldAt&) = nullptr;
  // Shows a Custom field. Empty text for a value the field cannot show.
  std::string (*show)(const FieldAt&) = nullptr;
  // Stores typed text into a Custom field (or replaces the codec's commit;
  // only a Custom field is asked for a row that does not exist).
  CommitResult (*commitText)(const FieldAt&, std::string_view text) = nullptr;
  // Checks a stored value before it is written (a refusal writes nothing).
  CommitResult (*validate)(const FieldAt&, long stored) = nullptr;
  // Runs after a commit that changed the stored value, in the same undo step
  // (a family removal, a dependent list that no longer offers its value).
  void (*afterCommit)(const FieldAt&, long before, long after) = nullptr;
  // False when the field does not apply to the row ("---" in a grid).
  bool (*applicable)(const FieldAt&) = nullptr;
  // The stored value as a number for Custom fields that have one (raw value).
  std::optional<long> (*raw)(const FieldAt&) = nullptr;
  // Stores a number into a Custom field that has a raw value (a check box
  // that is a second control over another field's bytes).
  void (*write)(const FieldAt&, long stored) = nullptr;
  // One spin step by the field's own rule (and what follows from it, in the
  // same step); replaces the codec's step.
  CommitResult (*spin)(const FieldAt&, bool up) = nullptr;
  // Runs after a commit that changed the stored value; a non-empty text is a
  // warning: the value stays stored and the form shows the text once.
  std::string (*warnAfter)(const FieldAt&, long before, long after) = nullptr;
  // Rewrites a stored value into the form the repeater expects. Only a form
  // calls it, as it opens, as its own undo step; showing, printing and the
  // command-line tool never do.
  void (*normalise)(const FieldAt&) = nullptr;
  // Why the field cannot be changed in this row (its control is disabled), or
  // 0 while it can. Every commit of a disabled field is refused with this text.
  TextNo (*disabled)(const FieldAt&) = nullptr;
  // What is wrong with a Custom field's stored value that the repeater would
  // take as it is (a frequency outside the band); 0 when nothing is.
  TextNo (*problem)(const FieldAt&) = nullptr;
};

// --- references between settings ---------------------------------------------------------

// What a setting's stored value names (a channel, a function, a 5-tone entry), as
// found in the image: nothing (the blank), a target that is there, or one that is
// missing or not offered now.
struct Target {
  enum class State : std::uint8_t { None, Present, Missing };
  State state = State::None;
  std::string name;   // how the target is called ("Channel 7", "Send CW Message 1")
  TextNo reason{0};   // why a missing target is missing ("no such channel")
};

// A kind of target, with the one resolver that every setting referring to such a
// target uses. Declared where the targets live (the channel store, the function
// codes, the 5-tone table, the remote records).
struct ReferenceKind {
  std::string_view key;  // "channel", "function", "five_tone_entry", "remote_code"
  // What a stored value names; `param` is the declaration's (RefDecl::param).
  Target (*resolve)(const FieldAt& at, long stored, int param) = nullptr;
  // Bytes of the main block that resolve reads: a change there may make a target
  // come or go, so views showing such settings reload.
  std::span<const BlockBytes> reads{};
  // The import applies a setting once every target it may name is in place:
  // 1 when the targets are plain values, 2 when they are references themselves
  // (a remote code names an entry of a part chosen by its owner's function).
  int pass = 1;
};

// A setting that refers to another declares it: what it names and what it stores
// when that target goes. One path lets go of every such setting, whatever the
// cause (a channel deleted, a message emptied, a facility switched off, an owner
// that lost its function), in the same undo step as the change that caused it.
struct RefDecl {
  const ReferenceKind* kind = nullptr;
  long none = 0;   // stored when the target goes (0xFF, or 0x2020 for functions)
  int param = 0;   // for the resolver: the list a function is offered in, the part, the owner
};

struct FieldDecl {
  std::string_view key;              // lowercase, stable: "rx_frequency"
  TextNo label{0};
  int labelNumber = 0;               // > 0: the caption is the label text, a space and this number
  ControlKind kind = ControlKind::EditSpin;
  Storage storage = Storage::Byte;
  std::size_t offset = 0;            // within the row (main-block offset for a fixed form)
  std::size_t length = 1;            // Text: bytes; Custom: bytes the field owns
  int bit = 0;                       // Storage::Bit
  RangeRecord range{0, -1, 1};       // in shown units; min > max: no range
  int decimals = 0;                  // shown with "%.*f"
  Scale scale{};
  OffRule off{};
  bool blankReadsZero = false;       // a blank value (0xFF byte, 0xFFFF word) reads as 0
  bool blankFfff = false;            // a Word of 0xFFFF shows empty, empty stores 0xFFFF
  std::span<const Choice> choices{};
  CheckRule check{};
  std::uint8_t filter = 0;           // input mode of the edit (FilterRules.h)
  int maxLength = 0;                 // edit limit, 0 = none
  std::uint8_t pad = 0xFF;           // Text padding
  int labelId = 0;                   // control ids: caption, value, spin
  int valueId = 0;
  int spinId = 0;
  int helpContext = 0;
  const FieldHooks* hooks = nullptr;
  std::size_t ownsAlso = 0;          // further bytes the field owns after its value
  // A blank value (0xFF byte, 0xFFFF word) shows as this number (shown
  // units); typing that number while the value is blank keeps it blank.
  std::optional<long> blankShows{};
  PairRule pair{};                   // column 2 follows column 1
  const RefDecl* refers = nullptr;   // the value names another setting's target
  // The stored value a new image holds, stored as a commit stores it (an
  // ordered list takes its choices in their declared order).
  std::optional<long> initial{};
  bool blankUnset = false;           // a blank byte (0xFF) is a value not chosen yet, which the repeater takes

  bool HasValue() const { return storage != Storage::None; }
  // The same declaration with the value a new image holds.
  constexpr FieldDecl Initially(long stored) const {
    FieldDecl d = *this;
    d.initial = stored;
    return d;
  }
  bool HasRange() const { return range.minimum <= range.maximum; }
  std::size_t Width() const;         // bytes of the value in the image
};

// Where the rows of a table lie.
struct RowBase {
  // Fixed: row 0 at `start` (a single form). Strided: row n at start + n * stride.
  // A resolver (channel records) maps a row to its start, or nothing when the
  // row does not exist.
  std::size_t start = 0;
  std::size_t stride = 0;
  std::optional<std::size_t> (*resolve)(const ImageStore&, int row) = nullptr;
  BlockId block = BlockId::Main;
};

// A page of a form or a grid: rows x fields.
enum class TableKind : std::uint8_t { Form, Grid };

struct GridColumnInfo {
  TextNo title{0};
  int width = 60;
};

struct FieldTable {
  std::string_view key;               // "" for the editor's main table
  TextNo title{0};                    // tab caption or grid heading
  TableKind kind = TableKind::Form;
  int rows = 1;                       // 1: a single form; n: rows [1]..[n]
  RowBase base{};
  std::span<const FieldDecl> fields;
  std::span<const GridColumnInfo> columns{};  // grids: titles and widths, by field
  // The table is shown for this image (tabs that depend on the model).
  bool (*shown)(const ImageStore&) = nullptr;
  // Rows that do not exist are listed only by grids (empty cells).
  bool listMissingRows = false;
  // Grids: the title of each row in the first column (key names) instead of
  // the row number.
  std::span<const TextNo> rowTitles{};
  // Row n is channel n + 1 (the printout's channel range applies to it).
  bool channelRows = false;
  // Grids: the title of a row read from the image (rows whose meaning
  // depends on settings); used instead of rowTitles when set.
  std::string (*rowTitle)(const ImageStore&, int row) = nullptr;
  // Grids and multi-row forms: the title of the row-number column.
  TextNo numberTitle{754};
  // Slots that refer to other settings but that no editor shows (assignment
  // lists of the repeater's own): released like every reference, never listed,
  // shown, printed or exported as fields.
  bool hidden = false;
};

// An editor: its tables and what happens to its data when the image changes.
struct EditorModule {
  int kind;                           // EditorKind value
  std::string_view key;               // "channel", "optional_features"
  TextNo title{0};
  std::vector<FieldTable> tables;
  void (*defaults)(ImageStore&) = nullptr;        // a new image
  void (*bandDefaults)(ImageStore&) = nullptr;    // the band changed
  void (*modelDefaults)(ImageStore&) = nullptr;   // every new image and model change
  // Byte ranges (main block) that the module owns beyond its fields.
  std::vector<std::pair<std::size_t, std::size_t>> owns{};
  // The editor's form lays its fields out in columns of at most this many rows.
  int columnRows = 15;
};

}  // namespace zmp
