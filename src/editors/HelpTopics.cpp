#include "editors/HelpTopics.h"

#include <array>

namespace zmp {

namespace {

// The pages of the guide written by hand: the windows' own contexts and the
// fields it says more about than their reference entries do.
constexpr std::array<HelpTopic, 13> kTopics{{
    {help::kChannelInformation, "reference/channel-information.html#top"},
    {help::kChannelEdit, "reference/channel-edit.html#top"},
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

HelpTarget SplitHelpTarget(std::string_view target) {
  const auto hash = target.find('#');
  if (hash == std::string_view::npos) return {std::string(target), {}};
  return {std::string(target.substr(0, hash)), std::string(target.substr(hash + 1))};
}

}  // namespace zmp
