#include "app/HelpTopics.h"

#include <array>

namespace zmp {

namespace {

// The reference pages are written at build time from the editors' field
// tables; their anchors are "field-N" with the editor's field number.
constexpr std::array<HelpTopic, 21> kTopics{{
    {help::kChannelInformation, "reference/channel-information.html"},
    {78081, "reference/channel-information.html#field-1"},
    {78082, "reference/channel-information.html#field-2"},
    {78083, "reference/channel-information.html#field-6"},
    {78084, "reference/channel-information.html#field-5"},
    {78085, "reference/channel-information.html#field-9"},
    {help::kChannelEdit, "reference/channel-edit.html"},
    {78110, "reference/channel-information.html#field-3"},
    {78111, "reference/channel-information.html#field-4"},
    {78112, "reference/channel-information.html#field-7"},
    {78113, "reference/channel-information.html#field-8"},
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
}};

}  // namespace

std::span<const HelpTopic> HelpTopics() { return kTopics; }

std::optional<std::string> HelpTargetOf(int context) {
  for (const HelpTopic& t : HelpTopics())
    if (t.context == context) return std::string(t.target);
  return std::nullopt;
}

HelpTarget SplitHelpTarget(std::string_view target) {
  const auto hash = target.find('#');
  if (hash == std::string_view::npos) return {std::string(target), {}};
  return {std::string(target.substr(0, hash)), std::string(target.substr(hash + 1))};
}

}  // namespace zmp
