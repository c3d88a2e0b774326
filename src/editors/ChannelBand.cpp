#include "editors/ChannelBand.h"

#include "data/Frequency.h"
#include "editors/ChannelFields.h"
#include "fields/FieldCodec.h"

namespace zmp {

namespace {

std::string_view FrequencyKey(int which) { return which ? "tx_frequency" : "rx_frequency"; }

// The stored frequency in Hz; nothing when there is none (or no channel).
std::optional<std::uint64_t> StoredHz(const ChannelStore& store, int channel, int which) {
  const auto rec = store.RecordOf(channel);
  if (!rec) return std::nullopt;
  return UnpackFrequency(
      store.Image().Main().Range(*rec + (which ? chrec::kTxFrequency : chrec::kRxFrequency), kFrequencyBytes));
}

bool OutsideLimits(const ChannelStore& store, std::optional<std::uint64_t> hz, int which) {
  return hz && (*hz < store.LowerLimitHz(which) || *hz > store.UpperLimitHz(which));
}

bool OutsideBand(const ChannelStore& store, int channel, int which) {
  return OutsideLimits(store, StoredHz(store, channel, which), which);
}

}  // namespace

BandCheck CheckBand(const ChannelStore& store, int channel) {
  return {OutsideBand(store, channel, 0), OutsideBand(store, channel, 1)};
}

bool ReceivesOutsideBand(const ChannelStore& store, std::span<const std::uint8_t> record) {
  if (record.size() < chrec::kRxFrequency + kFrequencyBytes) return false;
  return OutsideLimits(store, UnpackFrequency(record.subspan(chrec::kRxFrequency, kFrequencyBytes)), 0);
}

BandCheck RestoreChannelForBand(ChannelStore& store, int channel) {
  const BandCheck check = CheckBand(store, channel);
  for (int which : {0, 1}) {
    if (which ? check.txOutside : check.rxOutside) continue;
    if (const auto hz = StoredHz(store, channel, which))
      CommitFieldText(ChannelField(channel, FrequencyKey(which)), store.Image(), HzToText(*hz));
  }
  return check;
}

std::vector<int> RestoreChannelsForBand(ImageStore& image) {
  ChannelStore store(image);
  std::vector<int> outside;
  for (int ch = 0; ch < kChannelCount; ++ch)
    if (store.Exists(ch) && RestoreChannelForBand(store, ch).Any()) outside.push_back(ch);
  return outside;
}

std::vector<int> ChannelsOutsideBand(const ChannelStore& store) {
  std::vector<int> outside;
  for (int ch = 0; ch < kChannelCount; ++ch)
    if (CheckBand(store, ch).Any()) outside.push_back(ch);
  return outside;
}

std::string ChannelNumberList(const std::vector<int>& channels) {
  std::string out;
  for (int ch : channels) {
    if (!out.empty()) out += ", ";
    out += std::to_string(ch + 1);
  }
  return out;
}

}  // namespace zmp
