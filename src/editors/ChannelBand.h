// Channel frequencies and the band of the image they are stored for. A band
// change keeps the channels: each frequency inside the new band is stored
// again (step code and split flag of the new band), one outside it is kept as
// it is and its channel is named so that the user corrects it. Channels pasted
// from an image of another band go the same way. Standard library only.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "data/ImageStore.h"
#include "editors/ChannelStore.h"

namespace zmp {

// Which frequencies of a channel lie outside the band limits of the image
// (receive: limit set 0, transmit: limit set 1).
struct BandCheck {
  bool rxOutside = false;
  bool txOutside = false;
  bool Any() const { return rxOutside || txOutside; }
};

// A frequency of bytes that are not a frequency counts as inside.
BandCheck CheckBand(const ChannelStore& store, int channel);
// The receive frequency of a 64-byte channel record (say one on the channel
// clipboard) lies outside the band of the store's image.
bool ReceivesOutsideBand(const ChannelStore& store, std::span<const std::uint8_t> record);
// Stores both frequencies of an existing channel again through the channel
// store for the image's band; a frequency outside the band stays as it is.
BandCheck RestoreChannelForBand(ChannelStore& store, int channel);
// Every channel of the image; returns the channels (0-based) that hold a
// frequency outside the band.
std::vector<int> RestoreChannelsForBand(ImageStore& image);
// The channels (0-based) with a frequency outside the band.
std::vector<int> ChannelsOutsideBand(const ChannelStore& store);
// "3, 5" for channels 2 and 4 (0-based): the numbers the user sees.
std::string ChannelNumberList(const std::vector<int>& channels);

}  // namespace zmp
