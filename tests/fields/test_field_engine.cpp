// The field codec's shared rules on hand-made declarations, and one suite that
// runs over every declared field of every editor module: each editor is tested
// by being declared.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

#include "../editors/EditorTestSupport.h"
#include "editors/ByteOwners.h"
#include "fields/ImageCheck.h"
#include "editors/FunctionCodes.h"
#include "editors/ScanInfoFields.h"
#include "fields/FilterRules.h"
#include "ImageText.h"
#include "print/Listing.h"

using namespace zmp;
using namespace zmp::testing;

namespace {

// A single form over the main block with one field at 0x0290.
struct OneField {
  FieldDecl decl;
  FieldTable table;
  ImageStore image;
  explicit OneField(FieldDecl d) : decl(d) {
    table.fields = std::span<const FieldDecl>(&decl, 1);
    UseProgramTexts();
  }
  FieldRef Ref() const { return {&table, &decl, 0}; }
  std::string Shown() const { return ShowField(Ref(), image).text; }
  CommitResult Type(std::string_view t) { return CommitFieldText(Ref(), image, t); }
  // The value as stored: a byte or a word, as wide as the field.
  long Stored() const {
    return decl.storage == Storage::Byte ? image.Main().Byte(0x0290) : image.Main().Word(0x0290);
  }
  void Store(long v) {
    if (decl.storage == Storage::Byte) image.Main().SetByte(0x0290, static_cast<std::uint8_t>(v));
    else image.Main().SetWord(0x0290, static_cast<std::uint16_t>(v));
  }
};

constexpr FieldDecl kHalfSeconds{.key = "tot", .label = 719_txt, .storage = Storage::Byte, .offset = 0x0290,
                                 .range = {0, 300, 5}, .decimals = 1, .scale = {5, 1}, .off = {719_txt, 1}};
constexpr FieldDecl kTenths{.key = "t", .label = 719_txt, .offset = 0x0290, .range = {5, 50, 1}, .decimals = 1};
constexpr FieldDecl kMs{.key = "ms", .label = 719_txt, .offset = 0x0290, .range = {140, 200, 1}};
constexpr FieldDecl kTensOfMs{.key = "d", .label = 719_txt, .offset = 0x0290, .range = {0, 9999, 10},
                              .scale = {10, 1}};
constexpr FieldDecl kFiftyMs{.key = "d", .label = 719_txt, .offset = 0x0290, .range = {0, 1000, 50},
                             .scale = {10, 1}};
constexpr FieldDecl kHundredths{.key = "rc", .label = 719_txt, .storage = Storage::Word, .offset = 0x0290,
                                .range = {10, 300, 1}, .decimals = 1, .scale = {1, 10}, .off = {719_txt, 1}};
constexpr FieldDecl kBcd{.key = "tone", .label = 719_txt, .storage = Storage::BcdWord, .offset = 0x0290,
                         .range = {300, 3000, 1}};
constexpr FieldDecl kSignal{.key = "sig", .label = 719_txt, .storage = Storage::Word, .offset = 0x0290,
                            .range = {-120, -95, 1}, .scale = {-1, 10}};
constexpr FieldDecl kNoRange{.key = "raw", .label = 719_txt, .offset = 0x0290, .range = {10, 5, 1}};
constexpr FieldDecl kText{.key = "name", .label = 719_txt, .kind = ControlKind::Edit, .storage = Storage::Text,
                          .offset = 0x0290, .length = 4, .pad = 0x20};
constexpr FieldDecl WithFilter(FieldDecl d, std::uint8_t filter) {
  d.filter = filter;
  return d;
}
constexpr FieldDecl kAnyText = WithFilter(kText, filter::kAll);  // one byte a character (ISO 8859-1)
constexpr FieldDecl kName = WithFilter(kText, filter::kName);
constexpr FieldDecl kCwText = WithFilter(kText, filter::kCw);

}  // namespace

// A number typed is parsed wide, limited to the range, truncated to the step,
// scaled and narrowed to the field's width; a stored value shows as Off
// before the range is looked at, as nothing outside it or with a nibble that
// is no digit, and its shown text stores no change.
TEST(FieldCodec, NumbersAreParsedWideLimitedTruncatedScaledAndNarrowed) {
  struct Case {
    const FieldDecl& decl;
    const char* typed;  // nullptr: only stored and shown
    long stored;
    const char* shown;
  };
  const Case cases[] = {
      {kHalfSeconds, nullptr, 0, "Off"},
      {kHalfSeconds, nullptr, 61, ""},         // 30.5 lies outside the range
      {kHalfSeconds, "2.57", 5, "2.5"},        // in steps of 0.5
      {kHalfSeconds, "Off", 0, "Off"},
      {kTenths, "0.2", 5, "0.5"},              // below the range: its minimum
      {kTenths, "2,57", 25, "2.5"},            // either separator
      {kMs, "7", 140, "140"},
      {kMs, "201", 200, "200"},
      {kMs, "", 140, "140"},                   // empty stores the minimum
      {kTensOfMs, "9999", 255, "2550"},        // limited before it is narrowed, never 0xE7
      {kTensOfMs, "2005", 200, "2000"},
      {kHundredths, "12.34", 1230, "12.3"},
      {kHundredths, nullptr, 0, "Off"},
      {kSignal, "-95", 0x03B6, "-95"},
      {kSignal, nullptr, 1200, "-120"},
      {kSignal, nullptr, 1300, ""},
      {kNoRange, "99999", 255, "255"},         // no range: saturated to the width
      {kBcd, nullptr, 0x1000, "1000"},
      {kBcd, nullptr, 0x1A00, ""},
      {kBcd, "2500", 0x2500, "2500"},
  };
  for (const Case& c : cases) {
    OneField f(c.decl);
    SCOPED_TRACE(std::string(c.decl.key) + " " + (c.typed ? c.typed : std::to_string(c.stored)));
    if (c.typed) ASSERT_TRUE(f.Type(c.typed).ok());
    else f.Store(c.stored);
    EXPECT_EQ(f.Stored(), c.stored);
    EXPECT_EQ(f.Shown(), c.shown);
    const auto before = AllBytes(f.image);
    EXPECT_TRUE(ApplyFieldText(f.Ref(), f.image, c.shown).ok());
    EXPECT_EQ(AllBytes(f.image), before) << "the shown text again changes no byte";
  }
  OneField ms(kMs);
  EXPECT_EQ(ms.Type("1x").status, CommitStatus::Refused);
  EXPECT_TRUE(AllFF(ms.image));
}

TEST(FieldCodec, SpinsStayInTheRange) {
  OneField ms(kMs);
  ms.Store(199);
  ASSERT_TRUE(SpinField(ms.Ref(), ms.image, true).ok());
  EXPECT_EQ(ms.Stored(), 200);
  ASSERT_TRUE(SpinField(ms.Ref(), ms.image, true).ok());
  EXPECT_EQ(ms.Stored(), 140) << "from the maximum to the minimum";
  ms.Store(0xFF);
  ASSERT_TRUE(SpinField(ms.Ref(), ms.image, false).ok());
  EXPECT_EQ(ms.Stored(), 200) << "a value outside the range steps to an end";
  OneField fifty(kFiftyMs);
  fifty.Store(97);
  ASSERT_TRUE(SpinField(fifty.Ref(), fifty.image, true).ok());
  EXPECT_EQ(fifty.Stored(), 100) << "970 + 50 stops at 1000";
}

TEST(FieldCodec, FixedTextsAreCutPaddedAndCheckedBeforeWriting) {
  OneField text(kText);
  text.image.Main().SetByte(0x0294, 0x77);
  ASSERT_TRUE(text.Type("AB").ok());
  EXPECT_EQ(text.image.Main().Read(0x0290, 5), (std::vector<std::uint8_t>{'A', 'B', ' ', ' ', 0x77}));
  EXPECT_EQ(text.Shown(), "AB");
  ASSERT_TRUE(text.Type("ABCDEFG").ok());
  EXPECT_EQ(text.Shown(), "ABCD");
  const auto before = AllBytes(text.image);
  EXPECT_EQ(text.Type("a\tb").status, CommitStatus::Refused);
  EXPECT_EQ(text.Type("\xE2\x82\xAC").status, CommitStatus::Refused) << "the euro sign is no byte of the set";
  EXPECT_EQ(text.Type("\xFC").status, CommitStatus::Refused) << "broken UTF-8";
  EXPECT_EQ(text.Type("A\\x00").status, CommitStatus::Refused) << "0x00 would end the text";
  EXPECT_EQ(AllBytes(text.image), before);

  // One byte a character (ISO 8859-1): a field that takes every character
  // takes "M\u00fcller"; a name field does not.
  OneField any(kAnyText);
  ASSERT_TRUE(any.Type("M\xC3\xBCller").ok());
  EXPECT_EQ(any.image.Main().Read(0x0290, 4), (std::vector<std::uint8_t>{'M', 0xFC, 'l', 'l'}));
  EXPECT_EQ(any.Shown(), "M\xC3\xBCll");
  OneField named(kName);
  EXPECT_EQ(named.Type("M\xC3\xBCller").status, CommitStatus::Refused);

  // Bytes typing would not give back show escaped, and the shown text stores
  // them again: a control byte, a lowercase letter in a CW text, a backslash
  // that would read as an escape. A lone backslash is a backslash.
  const auto roundTrip = [](FieldDecl d, std::vector<std::uint8_t> bytes, const std::string& shown) {
    d.length = bytes.size();
    d.pad = 0xFF;
    OneField f(d);
    f.image.Main().Write(0x0290, bytes);
    EXPECT_EQ(f.Shown(), shown);
    f.image.Main().Fill(0x0290, bytes.size(), 0x20);
    ASSERT_TRUE(f.Type(shown).ok()) << shown;
    EXPECT_EQ(f.image.Main().Read(0x0290, bytes.size()), bytes) << shown;
  };
  roundTrip(kName, {'A', 0x19, '\\', 'x', '7', 0xE9}, "A\\x19\\\\x7\\xE9");
  roundTrip(kName, {'A', '\\', 'B', '\\'}, "A\\B\\");
  roundTrip(kName, {'\\', '\\', 0x7F}, "\\\\\\\\\\x7F");
  roundTrip(kCwText, {'D', 'e', ' ', ' ', '\\'}, "D\\x65 \\x20\\\\");
  roundTrip(kAnyText, {'M', 0xFC, 0x81, '\\'}, "M\xC3\xBC\\x81\\");
}

// --- every declared field ---------------------------------------------------------

namespace {

// Never programmed: every byte 0xFF, with and without a model record.
ImageStore BlankImage(const std::optional<ModelRecord>& model) {
  ImageStore image;
  image.MakeBlank();
  if (model) SetModel(image, *model);
  return image;
}

std::vector<ImageStore> SuiteImages() {
  std::vector<ImageStore> images{BlankImage(std::nullopt), BlankImage(Uhf450K())};
  for (auto m : {Vhf146E(), Vhf146K(), Uhf450K(), Uhf440E(), MakeRecord("RWAV0300", 2, 1, 0xFB)})
    images.push_back(FilledImage(m));
  images.push_back(RandomImage(1));
  images.push_back(RandomImage(2));
  return images;
}

bool IsNumber(const FieldDecl& d) {
  return (d.storage == Storage::Byte || d.storage == Storage::Word || d.storage == Storage::BcdWord) &&
         d.choices.empty() && !(d.hooks && d.hooks->choices) && d.kind != ControlKind::CheckBox && d.HasRange();
}

}  // namespace

class EveryField : public ::testing::Test {
 protected:
  void SetUp() override { UseProgramTexts(); }
};

TEST_F(EveryField, ShowingWritesNothingAndTheShownTextStoresNoChange) {
  for (ImageStore& image : SuiteImages()) {
    const auto before = AllBytes(image);
    ForEachField(EditorModules(), image, [&](const FieldInstance& f) {
      const FieldView v = ShowField(f.ref, image);
      const std::vector<ShownChoice> choices = FieldChoices(f.ref, image);
      // Shown together with its choices, the field shows the same and offers the same.
      std::vector<ShownChoice> built;
      const FieldView both = ShowFieldAndChoices(f.ref, image, built);
      EXPECT_TRUE(both.text == v.text && both.choice == v.choice && both.raw == v.raw) << f.key;
      const FieldDecl& decl = *f.ref.decl;
      if (v.exists && (!decl.choices.empty() || (decl.hooks && decl.hooks->choices))) {
        EXPECT_EQ(built, choices) << f.key;
      }
      ASSERT_EQ(AllBytes(image), before) << f.key << ": showing wrote";
      ASSERT_TRUE(ApplyFieldText(f.ref, image, v.text).ok()) << f.key;
      ASSERT_EQ(AllBytes(image), before) << f.key << ": its own text changed bytes";
      // A fixed text of any bytes shows a text that stores those bytes again.
      const FieldDecl& d = *f.ref.decl;
      if (d.storage == Storage::Text && !(d.hooks && d.hooks->show) && v.exists && v.applicable) {
        const auto loc = LocateField(f.ref, image);
        const std::string stored = image.Block(loc->block).Text(loc->offset, d.length);
        const auto bytes = EncodeFixedText(d, v.text);
        ASSERT_TRUE(bytes) << f.key << " " << v.text;
        EXPECT_EQ(std::string(bytes->begin(), bytes->begin() + static_cast<std::ptrdiff_t>(stored.size())), stored)
            << f.key << " " << v.text;
      }
    });
  }
  // On images the program made, committing the shown text itself changes nothing.
  ImageStore image = FilledImage(Uhf450K());
  const auto before = AllBytes(image);
  ForEachField(EditorModules(), image, [&](const FieldInstance& f) {
    const FieldView v = ShowField(f.ref, image);
    if (!v.exists || !v.applicable || v.text.empty() || FieldDisabledReason(f.ref, image).n) return;
    ASSERT_TRUE(CommitFieldText(f.ref, image, v.text).ok()) << f.key << " " << v.text;
    ASSERT_EQ(AllBytes(image), before) << f.key;
  });
}

TEST_F(EveryField, ChoicesRoundTripNumbersAreLimitedChecksRestore) {
  ImageStore image = FilledImage(Vhf146K());
  ForEachField(EditorModules(), image, [&](const FieldInstance& f) {
    const FieldDecl& d = *f.ref.decl;
    FieldView v = ShowField(f.ref, image);
    if (!v.exists || !v.applicable) return;
    const auto start = AllBytes(image);
    if (const TextNo why = FieldDisabledReason(f.ref, image); why.n) {
      // A disabled field (CW ID off) refuses every change with its reason.
      EXPECT_EQ(CommitFieldText(f.ref, image, "1").message, why) << f.key;
      if (d.kind == ControlKind::CheckBox) {
        EXPECT_EQ(CommitFieldCheck(f.ref, image, !v.checked).message, why) << f.key;
      }
      if (IsNumber(d)) {
        EXPECT_EQ(SpinField(f.ref, image, true).message, why) << f.key;
      }
      return;
    }
    if (d.kind == ControlKind::CheckBox) {
      if (!CommitFieldCheck(f.ref, image, !v.checked).ok()) return;  // refused by its rule
      EXPECT_EQ(ShowField(f.ref, image).checked, !v.checked) << f.key;
      ASSERT_TRUE(CommitFieldCheck(f.ref, image, v.checked).ok()) << f.key;
      EXPECT_EQ(AllBytes(image), start) << f.key << ": a tick and an untick restore the bytes";
      return;
    }
    const auto choices = FieldChoices(f.ref, image);
    if (d.kind == ControlKind::DropList) {
      ASSERT_FALSE(choices.empty()) << f.key;
      for (const ShownChoice& c : choices) {
        ASSERT_TRUE(CommitFieldChoice(f.ref, image, c.value).ok()) << f.key << " " << c.text;
        EXPECT_EQ(ShowField(f.ref, image).text, c.text) << f.key;
        const auto bytes = AllBytes(image);
        ASSERT_TRUE(CommitFieldText(f.ref, image, c.text).ok()) << f.key;
        EXPECT_EQ(AllBytes(image), bytes) << f.key << ": a choice's text stores its value";
      }
      EXPECT_EQ(CommitFieldChoice(f.ref, image, 0x7FFF).status, CommitStatus::Refused) << f.key;
    }
    if (IsNumber(d)) {
      const RangeRecord r = d.range;
      auto shownRaw = [&] { return ToShown(d, ShowField(f.ref, image).raw.value_or(-999)); };
      ASSERT_TRUE(CommitFieldText(f.ref, image, FormatUnits(r.maximum + 10 * r.step, d.decimals)).ok());
      EXPECT_EQ(shownRaw(), r.maximum) << f.key << ": above the maximum gives the maximum";
      ASSERT_TRUE(CommitFieldText(f.ref, image, FormatUnits(r.minimum - r.step, d.decimals)).ok());
      if (!ShowField(f.ref, image).text.empty() && ShowField(f.ref, image).text != Tx(d.off.text)) {
        EXPECT_EQ(shownRaw(), r.minimum) << f.key << ": below the minimum gives the minimum";
      }
      if (r.step > 1 && r.minimum + r.step < r.maximum) {
        ASSERT_TRUE(CommitFieldText(f.ref, image, FormatUnits(r.minimum + r.step + 1, d.decimals)).ok());
        EXPECT_EQ(shownRaw(), r.minimum + r.step) << f.key << ": off-step values go down to the step";
      }
      for (bool up : {true, false}) {
        ASSERT_TRUE(SpinField(f.ref, image, up).ok()) << f.key;
        EXPECT_GE(shownRaw(), r.minimum) << f.key;
        EXPECT_LE(shownRaw(), r.maximum) << f.key;
      }
    }
  });
}

TEST_F(EveryField, NoTwoFieldsOverlapAndEveryTextIsInTheLanguageFile) {
  ImageStore image = FilledImage(Uhf450K());
  struct Span {
    std::string key;
    FieldLocation loc;
  };
  std::map<std::pair<int, std::size_t>, Span> bytes;  // (block, byte) -> owner, per bit for bit fields
  std::set<std::string> seen;
  ForEachField(EditorModules(), image, [&](const FieldInstance& f) {
    const FieldDecl& d = *f.ref.decl;
    EXPECT_FALSE(Tx(d.label).empty()) << f.key << " has no label text";
    for (const ShownChoice& c : FieldChoices(f.ref, image)) EXPECT_FALSE(c.text.empty()) << f.key;
    EXPECT_TRUE(seen.insert(f.key).second) << f.key << " is listed twice";
    const auto loc = LocateField(f.ref, image);
    if (!loc) return;
    for (std::size_t i = 0; i < loc->length; ++i) {
      const auto at = std::make_pair(static_cast<int>(loc->block) * 8 + loc->bit.value_or(8) % 8,
                                     loc->offset + i);
      auto [it, fresh] = bytes.try_emplace(at, Span{f.key, *loc});
      if (fresh) continue;
      // The same declaration shown by two editors (the grid and the form) shares its bytes.
      const std::string& other = it->second.key;
      const bool shared = other.substr(other.find('.')) == f.key.substr(f.key.find('.')) &&
                          it->second.loc.offset == loc->offset && it->second.loc.length == loc->length;
      EXPECT_TRUE(shared) << f.key << " overlaps " << other << " at " << loc->offset + i;
    }
  });
  EXPECT_GT(seen.size(), 300u);
}

// The memory map's owners: every byte of every field is named by a field that
// lies there, of the first editor that shows it; a module's own bytes and its
// hidden slots are its colour; the walk follows records that move and writes
// nothing.
TEST_F(EveryField, EveryFieldsBytesAreNamedByTheFirstEditorThatShowsThem) {
  ImageStore image = FilledImage(Uhf450K());
  const auto before = AllBytes(image);
  const ModuleList modules = EditorModules();
  ByteOwners owners(modules);
  owners.Build(image);
  EXPECT_EQ(AllBytes(image), before) << "building the map writes nothing";
  auto indexOf = [&](const EditorModule* m) {
    return static_cast<int>(std::find(modules.begin(), modules.end(), m) - modules.begin());
  };
  int bytes = 0;
  ForEachField(modules, image, [&](const FieldInstance& f) {
    const auto loc = LocateField(f.ref, image);
    if (!loc) return;
    for (std::size_t at = loc->offset; at < loc->offset + loc->length; ++at, ++bytes) {
      const ByteOwner o = owners.At(loc->block, at);
      ASSERT_NE(o.field, nullptr) << f.key << " at " << at;
      EXPECT_LE(o.module, indexOf(f.module)) << f.key << ": named by " << o.field->field.key;
      EXPECT_EQ(o.module, indexOf(o.field->field.module));
      const auto all = owners.FieldsAt(loc->block, at);
      const auto named = [&f](const OwnedField* x) { return x->field.key == f.key; };
      EXPECT_TRUE(std::any_of(all.begin(), all.end(), named)) << f.key;
    }
  });
  EXPECT_GT(bytes, 2000);
  // The grid before the form: channel 1's RX is the grid's, its TX power the form's.
  const std::size_t record = *ChannelStore::RecordOf(image, 0);
  EXPECT_EQ(owners.At(BlockId::Main, record + chrec::kRxFrequency).field->field.key, "channel[1].rx_frequency");
  EXPECT_EQ(owners.At(BlockId::Main, record + chrec::kTxPower).field->field.key, "channel_edit[1].tx_power");
  for (std::size_t m = 0; m < modules.size(); ++m) {
    for (const auto& [offset, length] : modules[m]->owns)
      for (std::size_t at = offset; at < offset + length; ++at)
        EXPECT_GE(owners.At(BlockId::Main, at).module, 0) << modules[m]->key << " owns " << at;
    for (const FieldTable& t : modules[m]->tables) {
      if (!t.hidden) continue;
      const auto loc = LocateField(FieldRef{&t, &t.fields.front(), 0}, image);
      ASSERT_TRUE(loc) << modules[m]->key;
      const ByteOwner o = owners.At(loc->block, loc->offset);
      EXPECT_EQ(o.module, static_cast<int>(m)) << "a hidden slot is its module's";
      ASSERT_NE(o.field, nullptr);
      EXPECT_TRUE(o.field->Hidden());
    }
  }
  EXPECT_EQ(owners.At(BlockId::Main, kChecksumOffset).module, -1) << "the checksum is no editor's";
  EXPECT_EQ(owners.At(BlockId::Second, 100).module, -1);
  // Channel 1 deleted: channel 3's record moves down, and so does its field.
  ASSERT_EQ(ChannelStore(image).DeleteChannel(0), StoreStatus::Ok);
  owners.Build(image);
  EXPECT_EQ(owners.At(BlockId::Main, record).field->field.key, "channel[3].rx_frequency");
}

TEST_F(EveryField, KeysNameTheirInstancesAndMissingGridRowsCanBeNamed) {
  ImageStore image = FilledImage(Vhf146E());
  int count = 0;
  ForEachField(EditorModules(), image, [&](const FieldInstance& f) {
    const auto found = FindField(EditorModules(), image, f.key);
    ASSERT_TRUE(found) << f.key;
    EXPECT_EQ(found->ref.decl, f.ref.decl);
    EXPECT_EQ(found->ref.row, f.ref.row);
    ++count;
  });
  EXPECT_GT(count, 0);
  // Channel 2 does not exist: its grid cells are listed, its form is not.
  const auto cell = FindField(EditorModules(), image, "channel[2].rx_frequency");
  ASSERT_TRUE(cell);
  EXPECT_FALSE(ShowField(cell->ref, image).exists);
  EXPECT_FALSE(FindField(EditorModules(), image, "channel_edit[2].tx_power"));
  ASSERT_TRUE(CommitFieldText(cell->ref, image, "146.5").ok());
  EXPECT_TRUE(ChannelStore(image).Exists(1)) << "typing a frequency creates the channel";
  EXPECT_TRUE(FindField(EditorModules(), image, "channel_edit[2].tx_power"));
  for (const char* bad : {"channel[0].rx_frequency", "channel[31].rx_frequency", "channel[x].rx_frequency",
                          "channel.rx_frequency", "channel[1].nothing", "nothing[1].rx_frequency", ""})
    EXPECT_FALSE(FindField(EditorModules(), image, bad)) << bad;
}

namespace {

// The bytes a commit of this instance may change: its own (as LocateField
// names them) and its pair partner's. Nothing when the field declares what
// follows from a commit (afterCommit) or makes the commit itself (a Custom
// field's commitText, a second control's write, its own spin rule): those
// are tested where they live.
std::optional<std::set<std::pair<int, std::size_t>>> AllowedBytes(const FieldInstance& f, const ImageStore& image,
                                                                 bool spin) {
  const FieldDecl& d = *f.ref.decl;
  if (d.hooks && (d.hooks->afterCommit || d.hooks->commitText || d.hooks->write || (spin && d.hooks->spin)))
    return std::nullopt;
  std::set<std::pair<int, std::size_t>> bytes;
  const auto add = [&](const std::optional<FieldLocation>& loc) {
    if (!loc) return;
    for (std::size_t i = 0; i < loc->length; ++i) bytes.emplace(static_cast<int>(loc->block), loc->offset + i);
  };
  add(LocateField(f.ref, image));
  if (d.pair.role != PairRole::None)
    for (const FieldDecl& other : f.ref.table->fields)
      if (other.offset == d.pair.partner) add(LocateField(FieldRef{f.ref.table, &other, f.ref.row}, image));
  return bytes;
}

// Where two images differ, as (block, offset).
std::vector<std::pair<int, std::size_t>> Changed(const ImageStore& a, const ImageStore& b) {
  std::vector<std::pair<int, std::size_t>> out;
  for (auto block : kAllBlocks) {
    const auto x = a.Block(block).span(), y = b.Block(block).span();
    for (std::size_t i = 0; i < x.size(); ++i)
      if (x[i] != y[i]) out.emplace_back(static_cast<int>(block), i);
  }
  return out;
}

// Each declaration of each table on its first and last listed row: the rules
// below hold for every row alike, and every row would take minutes.
std::vector<std::string> SampleKeys(const ImageStore& image) {
  std::map<const FieldDecl*, std::vector<std::string>> rows;
  ForEachField(EditorModules(), image, [&](const FieldInstance& f) { rows[f.ref.decl].push_back(f.key); });
  std::vector<std::string> keys;
  for (const auto& [decl, list] : rows) {
    keys.push_back(list.front());
    if (list.size() > 1) keys.push_back(list.back());
  }
  return keys;
}

}  // namespace

// Whatever is typed, spun, ticked or picked in any field of any image: a
// refusal changes no byte, and a commit that is taken changes only the field's
// own bytes (and its pair partner's), unless the field declares what follows.
TEST_F(EveryField, RefusalsWriteNothingAndCommitsStayInTheirBytes) {
  using Attempt = std::function<CommitResult(const FieldRef&, ImageStore&)>;
  std::vector<std::pair<std::string, Attempt>> attempts;
  for (std::string text : {"x", "99999999", "7777777777777777777777777777777777777777", "\tä", "Off", "", "-1"})
    attempts.emplace_back("\"" + text + "\"", [text](const FieldRef& f, ImageStore& im) {
      return CommitFieldText(f, im, text);
    });
  attempts.emplace_back("a spin", [](const FieldRef& f, ImageStore& im) { return SpinField(f, im, true); });
  attempts.emplace_back("a click", [](const FieldRef& f, ImageStore& im) {
    return CommitFieldCheck(f, im, !ShowField(f, im).checked);
  });
  attempts.emplace_back("choice 0x7FFF", [](const FieldRef& f, ImageStore& im) {
    return CommitFieldChoice(f, im, 0x7FFF);
  });
  for (const ImageStore& start : SuiteImages()) {
    for (const std::string& key : SampleKeys(start)) {
      for (const auto& [what, attempt] : attempts) {
        ImageStore image = start;
        const auto f = FindField(EditorModules(), image, key);
        ASSERT_TRUE(f) << key;
        const CommitResult r = attempt(f->ref, image);
        const auto changed = Changed(start, image);
        if (!r.ok()) {
          EXPECT_TRUE(changed.empty()) << key << ": " << what << " refused but wrote " << changed.size() << " bytes";
          continue;
        }
        const auto allowed = AllowedBytes(*f, start, what == "a spin");
        if (!allowed) continue;
        const auto outside = std::find_if(changed.begin(), changed.end(),
                                          [&](const auto& at) { return !allowed->count(at); });
        EXPECT_TRUE(outside == changed.end())
            << key << ": " << what << " wrote block " << outside->first << " byte " << outside->second;
      }
    }
  }
}

// Printing and the export and its import leave every image as it was.
TEST_F(EveryField, ListingAndExportThenImportChangeNothing) {
  print::ListingChoice all;
  for (const auto& s : print::ListSections(EditorModules())) all.sections.push_back(s.key);
  for (const ImageStore& start : SuiteImages()) {
    ImageStore image = start;
    EXPECT_FALSE(print::BuildListing(EditorModules(), image, all).sections.empty());
    const std::string yaml = cli::ExportYaml(EditorModules(), image);
    EXPECT_TRUE(Changed(start, image).empty()) << "listing or export wrote";
    // An image without a model record exports model_index -1, which the
    // import refuses: the round trip holds for images of a model.
    if (ModelInfo(image).ModelIndex() < 0) continue;
    const auto imported = cli::ImportYaml(EditorModules(), image, yaml);
    ASSERT_TRUE(imported.ok) << imported.message;
    EXPECT_TRUE(Changed(start, image).empty()) << "importing its own export changed the image";
  }
}

// --- references and the image check -------------------------------------------------

namespace {

ImageStore NewImageOf(const ModelRecord& record) {
  ImageStore image;
  image.MakeBlank();
  ModelInfo(image).SetRecord(record);
  ApplyNewImageDefaults(image, false, false);
  return image;
}

// Every facility on, 5-tone entries in use, option ports 1-3 inputs, and every
// shown referrer naming something present (its choices in turn).
ImageStore ReferencingImage() {
  ImageStore image = FilledImage(Vhf146E());
  auto m = image.Main();
  m.SetByte(0x0291, 20);         // repeat hold timer
  m.SetByte(0x0290, 10);         // time-out timer
  m.SetByte(0x0279, 0);          // voting pilot tone
  m.SetByte(0x027D, 0);          // encryption
  m.SetWord(0x0426, 50);         // courtesy tone
  m.SetByte(0x02AF, 0);          // inputs at level 0: external PTT
  m.SetByte(0x05D0, '<');        // output 3 switched: the auxiliary output
  for (int k = 0; k < 3; ++k) m.SetByte(0x02A8 + static_cast<std::size_t>(k), 0);
  for (int n = 0; n < 8; ++n) m.SetText(0x0640 + 32 * static_cast<std::size_t>(n), 32, "CQ");
  for (int n = 0; n < 4; ++n) m.SetByte(0x6500 + 24 * static_cast<std::size_t>(n), 1);
  for (int n = 0; n < 3; ++n) m.SetByte(0x6200 + 24 * static_cast<std::size_t>(n), 1);
  // What the causes below take away, named where they can be seen.
  const std::pair<const char*, FunctionCode> named[] = {
      {"key_assignment[1].function", NumberedCode(2)},         {"key_assignment[2].function", MakeFunctionCode('&', '2')},
      {"key_assignment[3].function", MakeFunctionCode('#', 'T')}, {"key_assignment[4].function", MakeFunctionCode('7', '2')},
      {"key_assignment[5].function", MakeFunctionCode('5', '2')}, {"key_assignment[6].function", MakeFunctionCode('2', '1')},
      {"function_port[1].inputs.function_1", NumberedCode(2)},
      {"function_port[1].inputs.function_2", MakeFunctionCode('2', '1')},
      {"function_port[1].inputs.function_3", MakeFunctionCode('5', '1')},
      {"function_port[2].inputs.function_1", MakeFunctionCode('P', '1')}};
  for (const auto& [key, code] : named) EXPECT_TRUE(CommitFieldChoice(KeyRef(image, key), image, code).ok()) << key;
  m.SetByte(scan::kPriorityChannel, 3);
  // The rest in turn through their choices, the settings whose targets are
  // references themselves (remote codes) after their owners.
  int turn = 0;
  for (int pass : {1, 2}) {
    for (const Referrer& r : FindReferrers(EditorModules(), image)) {
      const FieldView shown = ShowField(r.ref, image);
      if (r.ref.table->hidden || r.ref.decl->refers->kind->pass != pass || r.target.state != Target::State::None)
        continue;
      std::vector<ShownChoice> choices;
      for (const ShownChoice& c : FieldChoices(r.ref, image))
        if (c.value != r.ref.decl->refers->none) choices.push_back(c);
      if (!choices.empty())
        CommitFieldChoice(r.ref, image, choices[static_cast<std::size_t>(turn++) % choices.size()].value);
    }
  }
  return image;
}

bool Lost(const Referrer& before, const ImageStore& after) {
  return before.target.state == Target::State::Present &&
         ResolveTarget(before.ref, after).state == Target::State::Missing;
}

}  // namespace

TEST_F(EveryField, NewImagesOfEveryModelAndBandPassTheCheck) {
  for (int m = 0; m < kModelCount; ++m) {
    const ModelEntry& model = ModelTable()[static_cast<std::size_t>(m)];
    for (int row = model.firstBandRow; row <= model.lastBandRow; ++row) {
      for (std::uint8_t options : {0xFF, 0xFB}) {
        const BandRow& band = BandTable()[static_cast<std::size_t>(row)];
        const ImageStore image = NewImageOf(MakeRecord(std::string(model.code).c_str(), band.destination,
                                                       band.bandCode, options));
        for (const ImageProblem& p : CheckImage(EditorModules(), image))
          ADD_FAILURE() << model.name << " " << band.rangeText << ": " << p.field.key << " " << p.shown << ": "
                        << p.reason;
      }
    }
  }
}

// For every kind of reference: a change that takes targets away releases
// exactly the referrers that named them (and what a released one takes with
// it), a change that replaces them releases nothing, and a referrer whose
// target is gone shows what it names and why, never Off.
TEST_F(EveryField, EveryKindOfReferenceIsReleasedWithItsTargetAndKeptWhenReplaced) {
  const ImageStore start = ReferencingImage();
  std::set<std::string> kindsReleased;
  struct Cause {
    const char* name;
    std::function<void(ImageStore&)> change;
    bool takesAway;
  };
  const auto type = [](const char* key, std::string text) {
    return [=](ImageStore& im) { ASSERT_TRUE(CommitFieldText(KeyRef(im, key), im, text).ok()) << key; };
  };
  const std::vector<Cause> causes{
      {"delete the priority channel", [](ImageStore& im) { ChannelStore(im).DeleteChannel(2); }, true},
      {"empty a CW message", type("cw_message.message_1", ""), true},
      {"repeat hold timer off", type("optional_features.repeater.repeat_hold_timer", "Off"), true},
      {"encryption off", type("optional_features.repeater.encryption", "0"), true},
      {"courtesy tone off", type("optional_features.local.courtesy_tone", "0"), true},
      {"inputs to the other level", [](ImageStore& im) { im.Main().SetByte(0x02AF, 0xFF); }, true},
      {"no switched output", type("function_port[3].outputs.function", Tx(1256_txt)), true},
      {"a 5-tone entry out of use", [](ImageStore& im) { im.Main().SetByte(0x6500, 0xFF); }, true},
      {"input 1 without function", type("function_port[1].inputs.function_1", Tx(1256_txt)), true},
      {"channel copied onto the priority channel",
       [](ImageStore& im) { ChannelStore(im).CopyChannel(0, 2); }, false},
      {"a CW message rewritten", type("cw_message.message_1", "DE HILL"), false},
      {"repeat hold timer changed", type("optional_features.repeater.repeat_hold_timer", "3.0"), false},
  };
  for (const Cause& cause : causes) {
    SCOPED_TRACE(cause.name);
    const std::vector<Referrer> before = FindReferrers(EditorModules(), start);
    ImageStore raw = start;
    cause.change(raw);
    // What the release must give: each referrer that lost its target lets go,
    // round after round, and nothing else changes.
    ImageStore expected = raw;
    for (bool more = true; more;) {
      more = false;
      for (const Referrer& r : before)
        if (Lost(r, expected) && ReleaseField(r.ref, expected)) more = true;
    }
    ImageStore released = start;
    const auto list = ChangeAndRelease(EditorModules(), released, [&] { cause.change(released); });
    EXPECT_EQ(AllBytes(released), AllBytes(expected));
    EXPECT_EQ(list.empty(), !cause.takesAway) << list.size();
    for (const ReleasedRef& r : list) {
      kindsReleased.insert(std::string(r.ref.decl->refers->kind->key));
      EXPECT_EQ(ResolveTarget(r.ref, released).state, Target::State::None) << r.ref.decl->key;
    }
    for (const Referrer& r : before) {
      if (!Lost(r, raw) || r.ref.table->hidden) continue;
      const FieldView v = ShowField(r.ref, raw);
      EXPECT_TRUE(v.missingTarget) << r.ref.decl->key;
      EXPECT_NE(v.text.find(" ("), std::string::npos) << r.ref.decl->key << ": " << v.text;
    }
  }
  EXPECT_EQ(kindsReleased, (std::set<std::string>{"channel", "function", "five_tone_entry", "remote_code"}));
}

// The check finds every kind of problem once, and its fix leaves only what a
// user must mend; fixing twice changes nothing more.
TEST_F(EveryField, TheCheckFindsWhatTheRepeaterWouldTakeWronglyAndFixesItToTheNearestValue) {
  ImageStore image = ReferencingImage();
  EXPECT_TRUE(CheckImage(EditorModules(), image).empty());
  auto m = image.Main();
  m.SetByte(0x026D, 0xFF);                           // DQT turn-off code time past 200
  m.SetByte(0x0291, 0);                              // repeat hold off: keys keep their function
  m.SetByte(0x0295, 0x42);                           // external monitor: none of its choices
  m.SetText(0x0640, 32, "cq\x19");                   // CW message: characters that cannot be typed
  m.SetWord(0x0293, 0x12AB);                         // test tone: not BCD
  const std::size_t record = *ChannelStore::RecordOf(image, 0);
  m.Write(record, std::vector<std::uint8_t>{0x00, 0x00, 0x00, 0x80, 0x04});  // 480 MHz on a VHF repeater
  std::map<std::string, std::string> found;
  for (const ImageProblem& p : CheckImage(EditorModules(), image)) found[p.field.key] = p.reason;
  EXPECT_EQ(found["optional_features.repeater.dqt_turn_off_code_time"], "outside its range (140 to 200)");
  EXPECT_EQ(found["optional_features.repeater.external_monitor"], Tx(322_txt));
  EXPECT_EQ(found["cw_message.message_1"], Tx(325_txt));
  EXPECT_EQ(found["optional_features.repeater.test_tone"], Tx(328_txt));
  EXPECT_EQ(found["channel[1].rx_frequency"], Tx(326_txt));
  EXPECT_EQ(found["key_assignment[5].function"], Tx(304_txt));

  const FixOutcome fixed = FixImage(EditorModules(), image);
  ASSERT_EQ(fixed.remaining.size(), 1u);
  EXPECT_EQ(fixed.remaining[0].field.key, "channel[1].rx_frequency") << "only the user can move a channel";
  EXPECT_EQ(m.Byte(0x026D), 200);
  EXPECT_EQ(m.Text(0x0640, 32), "CQ");
  EXPECT_EQ(m.Word(0x0293), 0x0300) << "the lowest test tone";
  const auto once = AllBytes(image);
  EXPECT_TRUE(FixImage(EditorModules(), image).fixes.empty());
  EXPECT_EQ(AllBytes(image), once);
}
