// The sixteen test channels of the repeater: test-frequency records of 16
// bytes at main block 0x0100 (frequency 1 in bytes 0-4, frequency 2 in 5-9,
// their step codes in 10-11 and split flags in 12-13), the store operation
// of one frequency, the band's default pairs, the record clipboard and the
// Copy, Paste, Delete and "Ch Paste" operations. Standard library only.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "data/ImageStore.h"
#include "data/ModelInfo.h"
#include "fields/FieldTypes.h"

namespace zmp {

inline constexpr int kTestChannelCount = 16;
inline constexpr std::size_t kTestRecordSize = 16;
using TestRecord = std::array<std::uint8_t, kTestRecordSize>;

// Results of SetTestFrequency.
inline constexpr int kTestFreqStored = 1;
inline constexpr int kTestFreqCleared = 0;      // the text was not a frequency: the test channel is empty
inline constexpr int kTestFreqOutOfBand = -1;   // stored, but outside the band's limits of its column
inline constexpr int kTestFreqTooHigh = -2;     // 1000 MHz or more: refused, nothing written

// Stores one frequency (MHz text) into test channel index (0..15), column 0
// (frequency 1) or 1 (frequency 2), in seven steps: range check, conversion,
// split flag, the frequency bytes (column 0 into a test channel without
// frequency 2 fills frequency 2 as well), step code and split flag, the
// second column's step code and split flag when it was filled, and, when
// the text was no frequency, the other frequency emptied too. A number of
// 1000 MHz or more cannot be held in nine BCD digits and is refused with
// nothing written. An index or column out of range stores nothing.
int SetTestFrequency(ImageStore& image, int index, int column, std::string_view text);
// False when all five frequency bytes are 0xFF (or index/column out of range).
bool HasTestFrequency(const ImageStore& image, int index, int column);
// True while at least one test channel has a frequency 1.
bool AnyTestFrequencyOne(const ImageStore& image);

// The six default pairs of the band as MHz texts ("146.100000"), column 0 and 1.
struct TestFrequencyPair {
  std::string_view column0;
  std::string_view column1;
};
// Empty for a band word that belongs to no group.
std::span<const TestFrequencyPair> DefaultTestFrequencies(std::uint16_t bandWord);
// Fills the test-frequency region with 0xFF, then stores the six default pairs.
void LoadDefaultTestFrequencies(ImageStore& image);
// When no test channel has a frequency 1 any more, the band's default pairs
// are loaded again. True when they were.
bool ReloadDefaultsWhenEmpty(ImageStore& image);

// --- records -------------------------------------------------------------------

TestRecord ReadTestRecord(const ImageStore& image, int index);
// Empties test channels first..last (all 16 bytes 0xFF), then reloads the
// defaults when no frequency 1 remains.
void DeleteTestChannels(ImageStore& image, int first, int last);

// What a paste of records or of channels reports: the messages of frequencies
// that lie outside the band (656 for frequency 1, 657 for frequency 2).
struct TestPasteResult {
  int written = 0;
  bool outOfBand[2] = {false, false};
};

// The record clipboard: whole records of the test channels last copied, kept
// for the program's life, apart from the system clipboard.
class TestFreqClipboard {
 public:
  bool Empty() const { return records_.empty(); }
  int Count() const { return static_cast<int>(records_.size()); }
  int FirstChannel() const { return first_; }
  int LastChannel() const { return first_ + Count() - 1; }
  // Copies test channels first..last (0-based, inclusive); replaces the content.
  void Copy(const ImageStore& image, int first, int last);
  // Writes the copied records in order from test channel first on, stopping
  // after the last test channel. Each pasted frequency is checked against the
  // current band (the model may have changed since the copy) and its split
  // flag computed for it. Reloads the defaults when no frequency 1 remains.
  TestPasteResult Paste(ImageStore& image, int first) const;
  void Clear() { records_.clear(); }

 private:
  std::vector<TestRecord> records_;
  int first_ = 0;
};

TestFreqClipboard& TheTestFreqClipboard();

// "Ch Paste": possible while at least one of channels 1 to 16 exists.
bool ChannelsToPaste(const ImageStore& image);
// Each test channel n is emptied and, when channel n exists, filled from its
// record: frequency 1 from the receive frequency; frequency 2, both step
// codes and both split flags from the transmit frequency and bytes 10-13
// when the channel has one, otherwise the receive frequency again with its
// step code and its split flag computed for frequency 2. Nothing happens
// (false) without a channel to paste.
bool PasteChannelsAsTestChannels(ImageStore& image);

// The grid of the sixteen test channels and its module.
const FieldTable& TestFrequencyTable();
const EditorModule& TestFrequencyModule();

}  // namespace zmp
