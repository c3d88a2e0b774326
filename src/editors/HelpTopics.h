// The user guide: the help contexts of its hand-written pages (page and anchor
// of the HTML guide), the contents pages, and the guide folder of a language.
// Where the contexts of the editors' fields lead is HelpLinks.h's.
// Standard library only.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace zmp {

// Help context numbers of windows whose own tables do not carry one (the
// column and field contexts live in the editors' tables).
namespace help {
inline constexpr int kChannelInformation = 78080;
inline constexpr int kChannelEdit = 78096;
inline constexpr int kBeatShift = 78160;
inline constexpr int kBeatShiftBoxes = 78161;
inline constexpr int kTestFrequency = 80640;
inline constexpr int kModelInformation = 90112;
inline constexpr int kCommunicationPort = 90368;
inline constexpr int kLanguageFileSetup = 90624;
inline constexpr int kNetworkInformation = 90880;
inline constexpr int kCompareWithRepeater = 91136;
}  // namespace help

struct HelpTopic {
  int context;
  std::string_view target;  // "page.html#anchor" relative to the guide folder
};

// The contexts that lead to the hand-written pages, in context order.
std::span<const HelpTopic> HelpTopics();

// The guide's contents page and the contents of the per-editor reference pages
// (what "Help Topics (Advanced)" opens).
inline constexpr std::string_view kHelpContentsPage = "index.html";
inline constexpr std::string_view kReferenceContentsPage = "reference/index.html";
// The folder of the guides below the program's data folder ("help/en").
inline constexpr std::string_view kHelpFolderName = "help";

// Splits "page.html#anchor" into its page and anchor (empty when there is none).
struct HelpTarget {
  std::string page;
  std::string anchor;
};
HelpTarget SplitHelpTarget(std::string_view target);

}  // namespace zmp
