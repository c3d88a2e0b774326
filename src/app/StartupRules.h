// The rules of start-up that need no window system: the command-line words
// and the text forms and reading rules of the stored settings; the language
// rows with their help files come from lang/LanguageRows.h. The Qt settings
// store (Settings.h) uses them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lang/LanguageRows.h"
#include "data/ModelInfo.h"

namespace zmp {

// --- Command line -----------------------------------------------------------

struct CommandLineFlags {
  bool memmap = false;          // "memmap", any case: memory-map debug hook
  bool supportUtility = false;  // "SupportUtility", exact case
  bool demo = false;            // "demo", any case: demonstration mode
  bool step = false;            // "step", any case: held for the channel store
  bool operator==(const CommandLineFlags&) const = default;
};

// args are the arguments after the program name; anything else is ignored.
CommandLineFlags ParseCommandLine(const std::vector<std::string>& args);

// --- Default file names ----------------------------------------------------

inline constexpr const char* kDefaultDataFileName = "zmp318t.dat";
inline constexpr const char* kDefaultSdtFileName = "zmp318t.sdt";
inline constexpr const char* kDefaultItmFileName = "zmp318t.itm";
inline constexpr const char* kDefaultTuningFileName = "zmp318t.tun";

// --- Settings values ------------------------------------------------------------

inline constexpr int kDefaultComPort = 1;
inline constexpr int kMaxComPort = 20;
inline constexpr int kDefaultBaudrate = 115200;

// "ComPort": 1..20, anything else reads as 1.
int ComPortRule(long long stored);
// "Baudrate": one of the five rates, anything else reads as 115200.
int BaudrateRule(long long stored);

// "LastModel": sixteen "%02X" fields joined by ':'.
std::string FormatLastModel(const ModelRecord& r);
// Nothing unless all sixteen fields parse (one or two hex digits each).
std::optional<ModelRecord> ParseLastModel(std::string_view text);

// Window placement as ten integers: flags, show command, minimised x and y,
// maximised x and y, normal rectangle left, top, right, bottom.
inline constexpr int kShowNormal = 1;
inline constexpr int kShowMinimized = 2;
inline constexpr int kShowMaximized = 3;
inline constexpr int kRestoreToMaximized = 2;  // placement flag

struct WindowPlacement {
  int flags = 0;
  int showCommand = kShowNormal;
  int minX = -1, minY = -1;
  int maxX = -1, maxY = -1;
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const WindowPlacement&) const = default;
};

std::string FormatWindowPlacement(const WindowPlacement& p);
// Nothing unless ten integers parse ("%i": decimal, 0x hex or 0 octal, signed).
std::optional<WindowPlacement> ParseWindowPlacement(std::string_view text);

// "Protect": the program-execution switch and the six-character security
// password, masked with seven bytes and stored as seven "%02X" fields.
struct Protection {
  bool executionProtected = false;
  std::string password;  // up to six characters
  bool operator==(const Protection&) const = default;
};
inline constexpr std::size_t kPasswordLength = 6;

std::string FormatProtect(const Protection& p);
// Nothing unless all seven fields parse.
std::optional<Protection> ParseProtect(std::string_view text);

}  // namespace zmp
