#include "data/NewImage.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "data/Frequency.h"

namespace zmp {

namespace {

struct NamedRoutine {
  std::string name;
  DefaultRoutine routine;
};

std::array<std::vector<NamedRoutine>, 4>& Routines() {
  static std::array<std::vector<NamedRoutine>, 4> routines;
  return routines;
}

std::vector<NamedRoutine>& RoutinesOf(DefaultStage stage) {
  return Routines()[static_cast<std::size_t>(stage)];
}

// Layout of one test-frequency record.
constexpr std::size_t kFreqOffset[2] = {0, 5};
constexpr std::size_t kStepOffset[2] = {10, 11};
constexpr std::size_t kSplitOffset[2] = {12, 13};

std::size_t RecordOffset(int index) {
  return region::kTestFrequency + static_cast<std::size_t>(index) * kTestRecordSize;
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

}  // namespace

void AddDefaultRoutine(DefaultStage stage, const std::string& name, DefaultRoutine routine) {
  auto& list = RoutinesOf(stage);
  for (auto& r : list) {
    if (r.name == name) {
      r.routine = std::move(routine);
      return;
    }
  }
  list.push_back({name, std::move(routine)});
}

void RemoveDefaultRoutine(DefaultStage stage, const std::string& name) {
  auto& list = RoutinesOf(stage);
  std::erase_if(list, [&](const NamedRoutine& r) { return r.name == name; });
}

void RunDefaultRoutines(DefaultStage stage, ImageStore& image) {
  // A copy, so that a routine may attach or remove routines without harm.
  const auto list = RoutinesOf(stage);
  for (const auto& r : list)
    if (r.routine) r.routine(image);
}

bool TestFrequencyBandFlag(const ModelInfo& model) { return model.IsUhf(); }

bool HasTestFrequency(const ImageStore& image, int index, int column) {
  if (index < 0 || index >= kTestChannelCount || column < 0 || column > 1) return false;
  return !image.Main().IsAll(RecordOffset(index) + kFreqOffset[column], kFrequencyBytes, 0xFF);
}

int SetTestFrequency(ImageStore& image, int index, int column, std::string_view text) {
  if (index < 0 || index >= kTestChannelCount || column < 0 || column > 1) return 0;
  ModelInfo model(image);
  BlockRef main = image.Main();
  const std::size_t rec = RecordOffset(index);
  const std::uint16_t bandWord = model.BandWord();
  int result = 1;

  // Range check against the limit set of this column; the value is stored anyway.
  if (const auto hz = ParseMegahertz(text)) {
    const double mhz = static_cast<double>(*hz) / 1e6;
    if (mhz < LowerLimit(bandWord, column) || mhz > UpperLimit(bandWord)) result = -1;
  }

  FrequencyBytes bytes;
  bytes.fill(0xFF);
  std::uint8_t step = kNoStep;
  std::uint8_t split = 0xFF;
  std::uint64_t hz = 0;
  const auto encoded = FrequencyToBcd(text, TestFrequencyBandFlag(model));
  if (encoded) {
    bytes = encoded->bytes;
    step = encoded->stepCode;
    hz = encoded->hz;
    split = SplitFlag(hz, model.IsUhf(), model.BandNumberOfRecord(), column);
  } else {
    result = 0;
  }

  bool filledSecond = false;
  if (column == 0 && !HasTestFrequency(image, index, 1)) filledSecond = true;
  main.Write(rec + kFreqOffset[column], bytes);
  if (filledSecond) main.Write(rec + kFreqOffset[1], bytes);
  main.SetByte(rec + kStepOffset[column], step);
  main.SetByte(rec + kSplitOffset[column], split);
  if (filledSecond) {
    main.SetByte(rec + kStepOffset[1], step);
    main.SetByte(rec + kSplitOffset[1],
                 encoded ? SplitFlag(hz, model.IsUhf(), model.BandNumberOfRecord(), 1) : 0xFF);
  }
  if (result == 0) {
    // Clearing either frequency clears the whole test channel.
    const int other = 1 - column;
    main.Fill(rec + kFreqOffset[other], kFrequencyBytes, 0xFF);
    main.SetByte(rec + kStepOffset[other], 0xFF);
    main.SetByte(rec + kSplitOffset[other], 0xFF);
  }
  return result;
}

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
  const auto pairs = DefaultTestFrequencies(ModelInfo(image).BandWord());
  int i = 0;
  for (const auto& p : pairs) {
    SetTestFrequency(image, i, 0, p.column0);
    SetTestFrequency(image, i, 1, p.column1);
    ++i;
  }
}

void SetRepeaterWideDefaults(ImageStore& image) {
  BlockRef m = image.Main();
  m.SetWord(0x0258, 0);
  m.SetWord(0x025A, 7);
  m.SetByte(0x07F8, 0);
  m.SetByte(0x02B1, 5);
  m.SetByte(0x02B2, 20);
  m.SetByte(0x02B3, 0x30);
  m.SetByte(0x02B4, 30);
  m.SetByte(0x02B5, 30);
  m.SetByte(0x02B7, 0);
  m.SetByte(0x0630, 0);
  m.SetByte(0x0631, 20);
  m.SetByte(0x0632, 80);
  m.SetByte(0x0633, 0);
  m.SetByte(0x0634, 60);
  m.Fill(0x0200, 0x40, 0);
  image.Block(BlockId::Third).Fill(0, 64, 0);
}

void ApplyNewImageDefaults(ImageStore& image, bool resetModel, bool resetOptions) {
  ModelInfo model(image);
  if (resetModel) model.SetRecord(ModelRecord::Default());
  if (resetOptions) model.SetMode(0);
  // The limit sets follow the record's band word (ModelInfo reads them from it).
  image.StampVersion();
  LoadDefaultTestFrequencies(image);
  SetRepeaterWideDefaults(image);
  RunDefaultRoutines(DefaultStage::ChannelBand, image);
  RunDefaultRoutines(DefaultStage::Channel, image);
  RunDefaultRoutines(DefaultStage::Signalling, image);
  RunDefaultRoutines(DefaultStage::Feature, image);
}

bool MakeStartupImage(ImageStore& image, const std::optional<ModelRecord>& lastModel) {
  image.MakeBlank();
  ModelInfo model(image);
  const bool taken = lastModel && IsValidRecord(*lastModel);
  if (taken) {
    model.SetRecord(*lastModel);
    model.SetStartupOptionsOff();
    ApplyNewImageDefaults(image, false, true);
  } else {
    ApplyNewImageDefaults(image, true, true);
  }
  image.TakeSnapshot();
  return taken;
}

void MakeNewImageForCurrentModel(ImageStore& image) {
  ModelInfo model(image);
  const ModelRecord kept = model.Record();
  image.MakeBlank();
  model.SetRecord(kept);
  ApplyNewImageDefaults(image, false, false);
  model.SetStartupOptionsOff();
  model.SetMode(0);
  image.TakeSnapshot();
}

}  // namespace zmp
