// The frequency rules of a channel: the model's steps and limits, and a typed
// frequency stored into a record (an empty one deletes the channel or takes
// its transmit side away; one in a missing channel creates it).
#include <cmath>

#include "data/Frequency.h"
#include "editors/ChannelBand.h"
#include "editors/ChannelStore.h"
#include "fields/ToneCode.h"

namespace zmp {

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

// --- frequencies --------------------------------------------------------------

bool ChannelStore::BandFlag() const { return model_.IsUhf(); }

bool ChannelStore::Allows1250() const { return model_.Allows1250Hz(); }

std::uint64_t ChannelStore::LowerLimitHz(int which) const {
  return static_cast<std::uint64_t>(std::llround(model_.Lower(which ? 1 : 0) * 1e6));
}

std::uint64_t ChannelStore::UpperLimitHz(int which) const {
  return static_cast<std::uint64_t>(std::llround(model_.Upper(which ? 1 : 0) * 1e6));
}

StoreStatus ChannelStore::StoreFrequency(int channel, int which, std::string_view input) {
  const std::string_view text = Trim(input);
  auto main = image_.Main();
  if (text.empty()) {
    if (!Exists(channel)) return StoreStatus::Ok;
    if (which == 0) return DeleteChannel(channel);
    // No transmit frequency: the channel only receives; what belongs to the
    // transmit side goes with it.
    const std::size_t r = *RecordOf(channel);
    main.Fill(r + chrec::kTxFrequency, kFrequencyBytes, 0xFF);
    main.SetByte(r + chrec::kTxStep, kNoStep);
    main.SetByte(r + chrec::kTxSplit, 0xFF);
    main.SetWord(r + chrec::kToneEncode, kToneOff);
    main.SetWord(r + chrec::kRanEncode, 0);
    return StoreStatus::Ok;
  }
  const auto typed = ParseMegahertz(text);
  const auto encoded = FrequencyToBcd(text, BandFlag(), Allows1250());
  if (!typed || !encoded) return StoreStatus::NotAFrequency;
  if (encoded->hz < LowerLimitHz(which) || *typed > UpperLimitHz(which)) return StoreStatus::OutOfBand;
  if (!Exists(channel)) {
    const StoreStatus s = CreateChannelWithDefaults(channel);
    if (s != StoreStatus::Ok) return s;
  }
  const std::size_t r = *RecordOf(channel);
  main.Write(r + (which ? chrec::kTxFrequency : chrec::kRxFrequency), encoded->bytes);
  main.SetByte(r + (which ? chrec::kTxStep : chrec::kRxStep), encoded->stepCode);
  main.SetByte(r + (which ? chrec::kTxSplit : chrec::kRxSplit),
               SplitFlag(encoded->hz, model_.IsUhf(), model_.BandNumberOfRecord(), which));
  return StoreStatus::Ok;
}

}  // namespace zmp
