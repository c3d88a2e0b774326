#include "data/ModelInfo.h"

#include <algorithm>

namespace zmp {

namespace {
constexpr std::array<ModelEntry, kModelCount> kModels{{
    {"RWAV0300", "WAV-300", " K", 0, 0, 1},
    {"RWAV0300", "WAV-300", " E", 2, 2, 2},
    {"RWAV0500", "WAV-500", " K", 0, 3, 5},
    {"RWAV0500", "WAV-500", " E", 2, 6, 7},
}};

constexpr std::array<BandRow, kBandRowCount> kBands{{
    {1, 0, "146-174 MHz", " (K)", 256, false, {146, 146}, 174},
    {2, 0, "136-154 MHz", " (K2)", 512, false, {136, 136}, 154},
    {1, 2, "146-174 MHz", " (E)", 258, false, {146, 146}, 174},
    {9, 0, "450-480 MHz", " (K)", 2304, true, {450, 450}, 480},
    {10, 0, "477/480-512 MHz", " (K2)", 2560, true, {480, 477}, 512},
    {11, 0, "400-430 MHz", " (K3)", 2816, true, {400, 400}, 430},
    {12, 2, "440-470 MHz", " (E)", 3074, true, {440, 440}, 470},
    {11, 2, "* 400-430 MHz", " (E3)", 2818, true, {400, 400}, 430},
}};

constexpr std::size_t kModelCodeLength = 8;
}  // namespace

const std::array<ModelEntry, kModelCount>& ModelTable() { return kModels; }
const std::array<BandRow, kBandRowCount>& BandTable() { return kBands; }

ModelRecord ModelRecord::FromBytes(std::span<const std::uint8_t> sixteen) {
  ModelRecord r;
  std::copy_n(sixteen.begin(), std::min<std::size_t>(sixteen.size(), kModelRecordSize),
              r.bytes.begin());
  return r;
}

ModelRecord ModelRecord::Default() {
  ModelRecord r;
  r.bytes.fill(0xFF);
  std::copy_n("RWAV0300", kModelCodeLength, r.bytes.begin());
  r.bytes[10] = 2;
  r.bytes[11] = 1;
  return r;
}

std::string ModelRecord::ModelCode() const {
  return std::string(bytes.begin(), bytes.begin() + kModelCodeLength);
}

int ModelIndexOf(const ModelRecord& r) {
  // The code is 8 characters followed by FF FF.
  if (r.bytes[8] != 0xFF || r.bytes[9] != 0xFF) return -1;
  const std::string code = r.ModelCode();
  for (int i = 0; i < kModelCount; ++i)
    if (kModels[i].code == code && kModels[i].destination == r.Destination()) return i;
  return -1;
}

int BandRowOf(const ModelRecord& r) {
  for (int i = 0; i < kBandRowCount; ++i)
    if (kBands[i].bandCode == r.BandCode() && kBands[i].destination == r.Destination()) return i;
  return -1;
}

int BandRowOfWord(std::uint16_t bandWord) {
  for (int i = 0; i < kBandRowCount; ++i)
    if (kBands[i].bandWord == bandWord) return i;
  return -1;
}

bool IsKnownModel(const ModelRecord& r) { return ModelIndexOf(r) >= 0; }

bool IsAllowedBand(const ModelRecord& r) {
  const int model = ModelIndexOf(r);
  const int row = BandRowOf(r);
  if (model < 0 || row < 0) return false;
  return row >= kModels[model].firstBandRow && row <= kModels[model].lastBandRow;
}

bool HasBlankTail(const ModelRecord& r) { return r.bytes[12] == 0xFF && r.bytes[13] == 0xFF; }

bool IsValidRecord(const ModelRecord& r) {
  return IsKnownModel(r) && IsAllowedBand(r) && HasBlankTail(r);
}

int BandNumber(std::uint16_t bandWord) {
  switch (bandWord) {
    case 258: return 0;
    case 256: return 1;
    case 512: return 2;
    case 3074: return 3;
    case 2818: return 4;
    case 2304: return 6;
    case 2560: return 7;
    case 2816: return 8;
    default: return 1;
  }
}

double LowerLimit(std::uint16_t bandWord, int limitSet) {
  const int row = BandRowOfWord(bandWord);
  if (row < 0) return 146;
  return kBands[row].lower[limitSet == 1 ? 1 : 0];
}

double UpperLimit(std::uint16_t bandWord) {
  const int row = BandRowOfWord(bandWord);
  return row < 0 ? 174 : kBands[row].upper;
}

int VhfUhfOf(std::uint16_t bandWord) {
  const int row = BandRowOfWord(bandWord);
  if (row < 0) return -1;
  return row < 3 ? 0 : 1;
}

std::uint64_t SplitFrequencyHz(bool uhf, int bandNumber, int column) {
  if (!uhf) return bandNumber == 2 ? 145'000'000 : 160'000'000;
  switch (bandNumber) {
    case 3: return 455'000'000;
    case 4:
    case 8: return 415'000'000;
    case 7: return column == 0 ? 496'000'000 : 494'500'000;
    default: return 465'000'000;
  }
}

std::uint8_t SplitFlag(std::uint64_t hz, bool uhf, int bandNumber, int column) {
  return hz >= SplitFrequencyHz(uhf, bandNumber, column) ? 1 : 0;
}

std::string ModelCaption(int modelIndex) {
  if (modelIndex < 0 || modelIndex >= kModelCount) return {};
  const auto& m = kModels[modelIndex];
  return std::string(m.name) + ":" + std::string(m.suffix);
}

ModelRecord ModelInfo::Record() const {
  return ModelRecord::FromBytes(store_.Main().Range(region::kModelRecord, kModelRecordSize));
}

void ModelInfo::SetRecord(const ModelRecord& r) { store_.Main().Write(region::kModelRecord, r.bytes); }

bool ModelInfo::SetModelIndex(int index) {
  if (index < 0 || index >= kModelCount) return false;
  ModelRecord r = Record();
  std::copy_n(kModels[index].code.begin(), kModelCodeLength, r.bytes.begin());
  r.bytes[8] = 0xFF;
  r.bytes[9] = 0xFF;
  SetRecord(r);
  return true;
}

void ModelInfo::SetBandWord(std::uint16_t word) {
  ModelRecord r = Record();
  r.bytes[11] = static_cast<std::uint8_t>(word >> 8);
  r.bytes[10] = static_cast<std::uint8_t>(word & 0xFF);
  SetRecord(r);
}

int ModelInfo::VhfUhf() const {
  const int row = BandRowIndex();
  if (row < 0) return -1;
  return row < 3 ? 0 : 1;
}

double ModelInfo::Upper(int) const { return UpperLimit(BandWord()); }

std::string ModelInfo::Caption() const { return ModelCaption(ModelIndex()); }

std::string LongCaptionOf(const ModelRecord& r) {
  const int row = BandRowOf(r);
  std::string out = ModelCaption(ModelIndexOf(r)) + "  " + (row >= 3 ? "UHF:" : "VHF:") + " ";
  if (row >= 0) out += std::string(kBands[row].rangeText);
  return out;
}

std::string ModelInfo::LongCaption() const { return LongCaptionOf(Record()); }

std::string ModelInfo::WindowCaption() const {
  return Caption() + (VhfUhf() == 1 ? " [UHF]" : " [VHF]");
}

namespace {
constexpr std::size_t kOptionByte = region::kModelRecord + 14;
}

int ModelInfo::Mode() const { return store_.Main().Bit(kOptionByte, 3) ? 0 : 1; }
void ModelInfo::SetMode(int mode) { store_.Main().SetBit(kOptionByte, 3, mode == 0); }
int ModelInfo::OptionBoard() const { return store_.Main().Bit(kOptionByte, 2) ? 0 : 1; }
void ModelInfo::SetOptionBoard(int fitted) { store_.Main().SetBit(kOptionByte, 2, fitted == 0); }
bool ModelInfo::StartupOption(int bit) const { return !store_.Main().Bit(kOptionByte, bit & 1); }
void ModelInfo::SetStartupOption(int bit, bool on) { store_.Main().SetBit(kOptionByte, bit & 1, !on); }

}  // namespace zmp
