// The repeater variant an image belongs to: the 16-byte model identity record at
// main block 0x0412, the model and band tables, frequency limits, band number
// and split frequency.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "data/ImageStore.h"

namespace zmp {

inline constexpr std::size_t kModelRecordSize = 16;

// The model identity record as a value. Byte 14 holds option flags where a
// cleared bit means the option is on.
struct ModelRecord {
  std::array<std::uint8_t, kModelRecordSize> bytes{};

  static ModelRecord FromBytes(std::span<const std::uint8_t> sixteen);
  // "RWAV0300", FF FF, destination 2, band code 1, FF FF, FF, FF: WAV-300 E, 146-174 MHz (E).
  static ModelRecord Default();

  std::string ModelCode() const;  // bytes 0-7
  std::uint8_t Destination() const { return bytes[10]; }
  std::uint8_t BandCode() const { return bytes[11]; }
  std::uint16_t BandWord() const { return static_cast<std::uint16_t>(bytes[11] * 256 + bytes[10]); }
  std::uint8_t Options() const { return bytes[14]; }
  bool operator==(const ModelRecord&) const = default;
};

struct ModelEntry {
  std::string_view code;    // "RWAV0300"
  std::string_view name;    // "WAV-300"
  std::string_view suffix;  // " K"
  std::uint8_t destination;
  int firstBandRow;
  int lastBandRow;
};

struct BandRow {
  std::uint8_t bandCode;
  std::uint8_t destination;
  std::string_view rangeText;
  std::string_view suffix;
  std::uint16_t bandWord;
  bool uhf;
  double lower[2];  // limit set 0 and 1
  double upper;
};

inline constexpr int kModelCount = 4;
inline constexpr int kBandRowCount = 8;
const std::array<ModelEntry, kModelCount>& ModelTable();
const std::array<BandRow, kBandRowCount>& BandTable();

// Table queries on a record value; each answers safely for records that are not
// in the tables.
int ModelIndexOf(const ModelRecord& r);  // -1 if none
int BandRowOf(const ModelRecord& r);     // -1 if none
int BandRowOfWord(std::uint16_t bandWord);
bool IsKnownModel(const ModelRecord& r);
bool IsAllowedBand(const ModelRecord& r);
bool HasBlankTail(const ModelRecord& r);  // bytes 12-13 are FF FF
// Known model, allowed band and blank tail: what every record entering from
// outside (file, repeater, settings) must satisfy.
bool IsValidRecord(const ModelRecord& r);

// Band number for the protocol and the tuning file: 258->0, 256->1, 512->2,
// 3074->3, 2818->4, 2304->6, 2560->7, 2816->8, other->1.
int BandNumber(std::uint16_t bandWord);
// Limits in MHz of a band word for limit set 0 or 1; unknown words take 146/174.
double LowerLimit(std::uint16_t bandWord, int limitSet);
double UpperLimit(std::uint16_t bandWord);
// 0 VHF, 1 UHF, -1 when the band word is not in the table.
int VhfUhfOf(std::uint16_t bandWord);
// Split frequency in Hz for the band and column (0 = receive / frequency 1,
// 1 = transmit / frequency 2).
std::uint64_t SplitFrequencyHz(bool uhf, int bandNumber, int column);
// 1 when hz is at or above the split frequency, else 0.
std::uint8_t SplitFlag(std::uint64_t hz, bool uhf, int bandNumber, int column);

// "%s:%s" of model name and suffix, e.g. "WAV-300: K"; empty for a bad index.
std::string ModelCaption(int modelIndex);
// The long caption of a record value: "WAV-300: K  VHF: 146-174 MHz".
std::string LongCaptionOf(const ModelRecord& r);

// Bound to the record in the working main block of the image store.
class ModelInfo {
 public:
  explicit ModelInfo(ImageStore& store) : store_(store) {}

  ModelRecord Record() const;
  void SetRecord(const ModelRecord& r);

  int ModelIndex() const { return ModelIndexOf(Record()); }
  // Copies the model code into bytes 0-9; false (nothing written) outside 0-3.
  bool SetModelIndex(int index);
  int BandRowIndex() const { return BandRowOf(Record()); }
  void SetBandWord(std::uint16_t word);  // byte 11 = high, byte 10 = low
  std::uint16_t BandWord() const { return Record().BandWord(); }
  int VhfUhf() const;  // 0 VHF, 1 UHF, -1 when the band row is not found
  bool IsUhf() const { return VhfUhf() == 1; }
  int BandNumberOfRecord() const { return BandNumber(BandWord()); }
  double Lower(int limitSet) const { return LowerLimit(BandWord(), limitSet); }
  double Upper(int limitSet) const;
  std::uint64_t SplitHz(int column) const { return SplitFrequencyHz(IsUhf(), BandNumberOfRecord(), column); }

  std::string Caption() const;        // "WAV-300: K"
  std::string LongCaption() const;    // "WAV-300: K  VHF: 146-174 MHz"
  std::string WindowCaption() const;  // "WAV-300: K [VHF]"

  bool IsKnownModel() const { return zmp::IsKnownModel(Record()); }
  bool IsAllowedBand() const { return zmp::IsAllowedBand(Record()); }
  bool HasBlankTail() const { return zmp::HasBlankTail(Record()); }

  // Option byte accessors (cleared bit = value 1 / on).
  int Mode() const;  // bit 3 clear = 1, set = 0
  void SetMode(int mode);
  int OptionBoard() const;  // bit 2 clear = 1 (fitted)
  void SetOptionBoard(int fitted);
  bool StartupOption(int bit) const;  // bit 0 or 1: true when on (bit clear)
  void SetStartupOption(int bit, bool on);
  void SetStartupOptionsOff() { SetStartupOption(0, false); SetStartupOption(1, false); }

  bool IsKMarket() const { return Record().Destination() == 0; }
  // Frequencies in 1250 Hz steps: offered for the VHF bands of the K markets
  // (channels and test frequencies alike).
  bool Allows1250Hz() const { return VhfUhf() == 0 && IsKMarket(); }
  bool IsPlainEMarket() const { return BandWord() == 258 || BandWord() == 3074; }

 private:
  ImageStore& store_;
};

}  // namespace zmp
