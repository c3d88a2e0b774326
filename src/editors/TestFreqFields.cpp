#include "editors/TestFreqFields.h"

#include <algorithm>

#include "lang/LanguageTexts.h"
#include "data/Frequency.h"
#include "editors/ChannelStore.h"
#include "editors/EditorKinds.h"
#include "fields/DecimalSeparator.h"
#include "fields/FieldCodec.h"
#include "fields/FilterRules.h"

namespace zmp {

namespace {

// Layout of one test-frequency record.
constexpr std::size_t kFreqOffset[2] = {0, 5};
constexpr std::size_t kStepOffset[2] = {10, 11};
constexpr std::size_t kSplitOffset[2] = {12, 13};

std::size_t RecordOffset(int index) {
  return region::kTestFrequency + static_cast<std::size_t>(index) * kTestRecordSize;
}

bool ValidIndex(int index) { return index >= 0 && index < kTestChannelCount; }

// The model queries read the image only.
ModelInfo ModelOf(const ImageStore& image) { return ModelInfo(const_cast<ImageStore&>(image)); }

bool InBand(const ModelInfo& model, std::uint64_t hz, int column) {
  const double mhz = static_cast<double>(hz) / 1e6;
  return mhz >= model.Lower(column) && mhz <= UpperLimit(model.BandWord());
}

std::uint8_t SplitOf(const ModelInfo& model, std::uint64_t hz, int column) {
  return SplitFlag(hz, model.IsUhf(), model.BandNumberOfRecord(), column);
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// A plain decimal number (digits, at most one "." or ",") whose value, after
// rounding to whole Hz, is 1000 MHz or more: it cannot be held in nine BCD
// digits. Zero, text that is no number and anything below 1000 MHz are not.
bool IsTooHigh(std::string_view text) {
  text = Trim(text);
  long whole = 0;
  bool digits = false, point = false;
  for (char c : text) {
    if (c == '.' || c == ',') {
      if (point) return false;
      point = true;
    } else if (c >= '0' && c <= '9') {
      digits = true;
      if (!point && whole < 1'000'000) whole = whole * 10 + (c - '0');
    } else {
      return false;
    }
  }
  // 999.9999995 rounds to 1000 MHz, which the parser refuses.
  return digits && whole >= 999 && !ParseMegahertz(text);
}

constexpr TestFrequencyPair kVhf146[] = {{"146.100000", "146.000000"}, {"173.900000", "174.000000"},
                                         {"159.200000", "159.300000"}, {"159.500000", "159.400000"},
                                         {"152.600000", "152.500000"}, {"166.600000", "166.500000"}};
constexpr TestFrequencyPair kVhf136[] = {{"136.100000", "136.000000"}, {"153.900000", "154.000000"},
                                         {"144.850000", "144.950000"}, {"145.100000", "145.000000"},
                                         {"140.600000", "140.500000"}, {"149.600000", "149.500000"}};
constexpr TestFrequencyPair kUhf450[] = {{"450.100000", "450.000000"}, {"479.900000", "480.000000"},
                                         {"464.500000", "464.600000"}, {"464.800000", "464.700000"},
                                         {"457.200000", "457.300000"}, {"472.200000", "472.300000"}};
constexpr TestFrequencyPair kUhf480[] = {{"480.000000", "477.000000"}, {"511.900000", "512.000000"},
                                         {"495.950000", "494.450000"}, {"496.000000", "494.500000"},
                                         {"488.000000", "485.750000"}, {"504.000000", "503.250000"}};
constexpr TestFrequencyPair kUhf400[] = {{"400.100000", "400.000000"}, {"429.900000", "430.000000"},
                                         {"414.500000", "414.600000"}, {"414.800000", "414.700000"},
                                         {"407.400000", "407.300000"}, {"422.400000", "422.300000"}};
constexpr TestFrequencyPair kUhf440[] = {{"440.100000", "440.000000"}, {"469.900000", "470.000000"},
                                         {"454.500000", "454.600000"}, {"454.800000", "454.700000"},
                                         {"447.200000", "447.300000"}, {"462.200000", "462.300000"}};

void WriteRecord(ImageStore& image, int index, const TestRecord& record) {
  image.Main().Write(RecordOffset(index), record);
}

// The frequency of a record's column in Hz, when it holds a readable one.
std::optional<std::uint64_t> RecordHz(const TestRecord& r, int column) {
  return UnpackFrequency(std::span<const std::uint8_t>(r).subspan(kFreqOffset[column], kFrequencyBytes));
}

// Computes the split flags of a pasted record for the current band and
// notes frequencies outside it.
void FitToBand(ImageStore& image, int index, TestPasteResult& result) {
  const ModelInfo model = ModelOf(image);
  TestRecord r = ReadTestRecord(image, index);
  for (int column : {0, 1}) {
    const auto hz = RecordHz(r, column);
    if (!hz) continue;
    r[kSplitOffset[column]] = SplitOf(model, *hz, column);
    if (!InBand(model, *hz, column)) result.outOfBand[column] = true;
  }
  WriteRecord(image, index, r);
}

}  // namespace

// --- one frequency --------------------------------------------------------------

bool HasTestFrequency(const ImageStore& image, int index, int column) {
  if (!ValidIndex(index) || column < 0 || column > 1) return false;
  return !image.Main().IsAll(RecordOffset(index) + kFreqOffset[column], kFrequencyBytes, 0xFF);
}

bool AnyTestFrequencyOne(const ImageStore& image) {
  for (int i = 0; i < kTestChannelCount; ++i)
    if (HasTestFrequency(image, i, 0)) return true;
  return false;
}

int SetTestFrequency(ImageStore& image, int index, int column, std::string_view text) {
  if (!ValidIndex(index) || column < 0 || column > 1) return kTestFreqCleared;
  if (IsTooHigh(text)) return kTestFreqTooHigh;
  const ModelInfo model = ModelOf(image);
  BlockRef main = image.Main();
  const std::size_t rec = RecordOffset(index);
  const int other = 1 - column;

  // 1. Range check against the limit set of the column; it does not stop the store.
  int result = kTestFreqStored;
  if (!Trim(text).empty()) {
    const auto hz = ParseMegahertz(text);
    if (!hz || !InBand(model, *hz, column)) result = kTestFreqOutOfBand;
  }
  // 2. Conversion: text that is no frequency gives no frequency.
  FrequencyBytes bytes;
  bytes.fill(0xFF);
  std::uint8_t step = kNoStep;
  std::uint8_t split = 0xFF;
  const auto encoded = FrequencyToBcd(text, model.IsUhf(), model.Allows1250Hz());
  if (encoded) {
    bytes = encoded->bytes;
    step = encoded->stepCode;
    // 3. The split flag of the column.
    split = SplitOf(model, encoded->hz, column);
  } else {
    result = kTestFreqCleared;
  }
  // 4. The frequency bytes; frequency 1 into a test channel without
  //    frequency 2 fills frequency 2 as well.
  const bool fillsSecond = column == 0 && !HasTestFrequency(image, index, 1);
  main.Write(rec + kFreqOffset[column], bytes);
  if (fillsSecond) main.Write(rec + kFreqOffset[1], bytes);
  // 5. Step code and split flag of the column.
  main.SetByte(rec + kStepOffset[column], step);
  main.SetByte(rec + kSplitOffset[column], split);
  // 6. The filled frequency 2 takes the step code and its own split flag.
  if (fillsSecond) {
    main.SetByte(rec + kStepOffset[1], step);
    main.SetByte(rec + kSplitOffset[1], encoded ? SplitOf(model, encoded->hz, 1) : 0xFF);
  }
  // 7. Clearing either frequency clears the whole test channel.
  if (result == kTestFreqCleared) {
    main.Fill(rec + kFreqOffset[other], kFrequencyBytes, 0xFF);
    main.SetByte(rec + kStepOffset[other], 0xFF);
    main.SetByte(rec + kSplitOffset[other], 0xFF);
  }
  return result;
}

// --- defaults --------------------------------------------------------------------

std::span<const TestFrequencyPair> DefaultTestFrequencies(std::uint16_t bandWord) {
  switch (bandWord) {
    case 256:
    case 258: return kVhf146;
    case 512: return kVhf136;
    case 2304: return kUhf450;
    case 2560: return kUhf480;
    case 2816:
    case 2818: return kUhf400;
    case 3074: return kUhf440;
    default: return {};
  }
}

void LoadDefaultTestFrequencies(ImageStore& image) {
  image.Main().Fill(region::kTestFrequency, kTestChannelCount * kTestRecordSize, 0xFF);
  int i = 0;
  for (const auto& p : DefaultTestFrequencies(ModelOf(image).BandWord())) {
    SetTestFrequency(image, i, 0, p.column0);
    SetTestFrequency(image, i, 1, p.column1);
    ++i;
  }
}

bool ReloadDefaultsWhenEmpty(ImageStore& image) {
  if (AnyTestFrequencyOne(image)) return false;
  LoadDefaultTestFrequencies(image);
  return true;
}

// --- records -----------------------------------------------------------------------

TestRecord ReadTestRecord(const ImageStore& image, int index) {
  TestRecord r;
  r.fill(0xFF);
  if (!ValidIndex(index)) return r;
  const auto bytes = image.Main().Read(RecordOffset(index), kTestRecordSize);
  std::copy(bytes.begin(), bytes.end(), r.begin());
  return r;
}

void DeleteTestChannels(ImageStore& image, int first, int last) {
  first = std::max(first, 0);
  last = std::min(last, kTestChannelCount - 1);
  for (int i = first; i <= last; ++i) image.Main().Fill(RecordOffset(i), kTestRecordSize, 0xFF);
  ReloadDefaultsWhenEmpty(image);
}

void TestFreqClipboard::Copy(const ImageStore& image, int first, int last) {
  first = std::max(first, 0);
  last = std::min(last, kTestChannelCount - 1);
  if (first > last) return;
  records_.clear();
  first_ = first;
  for (int i = first; i <= last; ++i) records_.push_back(ReadTestRecord(image, i));
}

TestPasteResult TestFreqClipboard::Paste(ImageStore& image, int first) const {
  TestPasteResult result;
  if (records_.empty() || !ValidIndex(first)) return result;
  for (std::size_t k = 0; k < records_.size() && first + static_cast<int>(k) < kTestChannelCount; ++k) {
    const int target = first + static_cast<int>(k);
    WriteRecord(image, target, records_[k]);
    FitToBand(image, target, result);
    ++result.written;
  }
  ReloadDefaultsWhenEmpty(image);
  return result;
}

TestFreqClipboard& TheTestFreqClipboard() {
  static TestFreqClipboard clipboard;
  return clipboard;
}

// --- Ch Paste ----------------------------------------------------------------------------

bool ChannelsToPaste(const ImageStore& image) {
  for (int ch = 0; ch < kTestChannelCount; ++ch)
    if (ChannelStore::RecordOf(image, ch)) return true;
  return false;
}

bool PasteChannelsAsTestChannels(ImageStore& image) {
  if (!ChannelsToPaste(image)) return false;
  const ModelInfo model = ModelOf(image);
  for (int n = 0; n < kTestChannelCount; ++n) {
    TestRecord r;
    r.fill(0xFF);
    if (const auto start = ChannelStore::RecordOf(image, n)) {
      const auto ch = image.Main().Read(*start, 14);
      const bool hasTx = std::any_of(ch.begin() + 5, ch.begin() + 10, [](std::uint8_t b) { return b != 0xFF; });
      std::copy(ch.begin(), ch.begin() + 5, r.begin());
      if (hasTx) {
        std::copy(ch.begin() + 5, ch.begin() + 14, r.begin() + 5);
      } else {
        std::copy(ch.begin(), ch.begin() + 5, r.begin() + 5);
        r[10] = r[11] = ch[chrec::kRxStep];
        r[12] = ch[chrec::kRxSplit];
        // Frequency 2 splits where a transmit frequency does (494.5 MHz, not
        // 496.0 MHz, in the 477/480-512 MHz band).
        const auto hz = RecordHz(r, 0);
        r[13] = hz ? SplitOf(model, *hz, 1) : ch[chrec::kRxSplit];
      }
    }
    WriteRecord(image, n, r);
  }
  ReloadDefaultsWhenEmpty(image);
  return true;
}

// --- the grid ------------------------------------------------------------------------------

namespace {

int ColumnOf(const FieldAt& at) { return at.decl.offset == kFreqOffset[0] ? 0 : 1; }

std::string ShowTestFrequency(const FieldAt& at) {
  return FrequencyText(at.image.Main().Range(at.offset(), kFrequencyBytes), DecimalSeparator());
}

std::optional<long> TestFrequencyHz(const FieldAt& at) {
  if (auto hz = UnpackFrequency(at.image.Main().Range(at.offset(), kFrequencyBytes)))
    return static_cast<long>(*hz);
  return std::nullopt;
}

// A typed frequency: stored (warned when outside the band), or the test
// channel emptied by text that is no frequency; the defaults come back when
// no frequency 1 remains, in the same step.
CommitResult CommitTestFrequency(const FieldAt& at, std::string_view text) {
  ImageStore& image = at.Writable();
  const int column = ColumnOf(at);
  const int result = SetTestFrequency(image, at.row, column, text);
  if (result == kTestFreqTooHigh) return CommitResult::Refuse(613_txt);
  ReloadDefaultsWhenEmpty(image);
  if (result == kTestFreqOutOfBand) return {CommitStatus::Ok, column == 0 ? 656_txt : 657_txt};
  return {};
}

constexpr FieldHooks kFrequencyHooks{
    .show = ShowTestFrequency, .commitText = CommitTestFrequency, .raw = TestFrequencyHz};

constexpr FieldDecl kFrequency1{.key = "frequency_1", .label = 717_txt, .kind = ControlKind::Edit,
                                .storage = Storage::Custom, .offset = kFreqOffset[0],
                                .length = kFrequencyBytes, .filter = filter::kFrequency, .maxLength = 10,
                                .valueId = 1029, .helpContext = 80641, .hooks = &kFrequencyHooks};
constexpr FieldDecl kFrequency2{.key = "frequency_2", .label = 718_txt, .kind = ControlKind::Edit,
                                .storage = Storage::Custom, .offset = kFreqOffset[1],
                                .length = kFrequencyBytes, .filter = filter::kFrequency, .maxLength = 10,
                                .valueId = 1029, .helpContext = 80642, .hooks = &kFrequencyHooks};
constexpr std::array<FieldDecl, 2> kFields{kFrequency1, kFrequency2};
constexpr std::array<GridColumnInfo, 2> kColumns{{{717_txt, 100}, {718_txt, 100}}};

const FieldTable kTable{.key = "", .title = 710_txt, .kind = TableKind::Grid, .rows = kTestChannelCount,
                        .base = {.start = region::kTestFrequency, .stride = kTestRecordSize},
                        .fields = kFields, .columns = kColumns, .numberTitle = 716_txt};

}  // namespace

const FieldTable& TestFrequencyTable() { return kTable; }

const EditorModule& TestFrequencyModule() {
  static const EditorModule module{
      .kind = static_cast<int>(EditorKind::TestFreq),
      .key = "test_frequency",
      .title = 710_txt,
      .tables = {kTable},
      // A new image and a new band start from the band's default pairs.
      .bandDefaults = LoadDefaultTestFrequencies,
      // The step codes and split flags beside the frequencies.
      .owns = {{region::kTestFrequency, kTestChannelCount * kTestRecordSize}},
  };
  return module;
}

}  // namespace zmp
