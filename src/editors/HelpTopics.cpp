#include "editors/HelpTopics.h"

#include <array>

namespace zmp {

namespace {

// The reference pages are written at build time from the editors' field
// tables; their anchors are the field keys, and "top" at the page's title.
constexpr std::array<HelpTopic, 22> kTopics{{
    {help::kChannelInformation, "reference/channel-information.html#top"},
    {78081, "reference/channel-information.html#rx_frequency"},
    {78082, "reference/channel-information.html#tx_frequency"},
    {78083, "reference/channel-information.html#qt_encode"},
    {78084, "reference/channel-information.html#qt_decode"},
    {78085, "reference/channel-information.html#name"},
    {help::kChannelEdit, "reference/channel-edit.html#top"},
    {78110, "reference/channel-information.html#channel_type"},
    {78111, "reference/channel-information.html#tx_mode"},
    {78112, "reference/channel-information.html#ran_decode"},
    {78113, "reference/channel-information.html#ran_encode"},
    {help::kBeatShift, "editors.html#beat-shift"},
    {help::kBeatShiftBoxes, "editors.html#beat-shift"},
    {help::kTestFrequency, "editors.html#test-frequency"},
    {80641, "editors.html#test-frequency"},
    {80642, "editors.html#test-frequency"},
    {80643, "editors.html#test-frequency"},
    {help::kModelInformation, "dialogs.html#model-information"},
    {help::kCommunicationPort, "dialogs.html#communication-port"},
    {help::kLanguageFileSetup, "dialogs.html#language-file-setup"},
    {help::kNetworkInformation, "dialogs.html#network-information"},
    {help::kCompareWithRepeater, "dialogs.html#compare-with-repeater"},
}};

}  // namespace

std::span<const HelpTopic> HelpTopics() { return kTopics; }

std::optional<std::string> HelpTargetOf(int context) {
  for (const HelpTopic& t : HelpTopics())
    if (t.context == context) return std::string(t.target);
  // Contexts numbered by the editors' own tables: the key functions (79001,
  // then one per function code from 79100), the optional features' rows
  // (81000 + 100 x page + row) and the rows below open their editor's
  // reference page.
  if (context == 79001 || (context >= 79100 && context <= 79299)) return "reference/key-assignment.html#top";
  if (context >= 81000 && context <= 81499) return "reference/optional-features.html#top";
  // The 5-tone rows (82000 + 100 x tab + row) and the vendor tones (82500 + tone).
  if (context >= 82000 && context <= 82499) return "reference/five-tone.html#top";
  if (context >= 82500 && context <= 82514) return "reference/vendor-tone.html#top";
  // The remote control and function port fields open their editor's page.
  if (context == 75001) return "reference/remote-control.html#top";
  if (context == 85001) return "reference/function-port.html#top";
  return std::nullopt;
}

HelpTarget SplitHelpTarget(std::string_view target) {
  const auto hash = target.find('#');
  if (hash == std::string_view::npos) return {std::string(target), {}};
  return {std::string(target.substr(0, hash)), std::string(target.substr(hash + 1))};
}

}  // namespace zmp
