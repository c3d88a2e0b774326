#include "editors/VendorToneFields.h"

#include <algorithm>
#include <array>

#include "lang/LanguageTexts.h"
#include "editors/EditorKinds.h"
#include "fields/FilterRules.h"

namespace zmp {

using namespace vendortone;

namespace {

constexpr double kClockCounts = 147456000.0;

std::size_t FrequencyAt(int tone) { return kFrequencies + 2 * static_cast<std::size_t>(tone); }
std::size_t LowerLimitAt(int tone) { return kLimits + 4 * static_cast<std::size_t>(tone); }
std::size_t UpperLimitAt(int tone) { return LowerLimitAt(tone) + 2; }
int ToneOf(const FieldAt& at) { return static_cast<int>((at.offset() - kFrequencies) / 2); }

std::uint16_t Count(double divisor) {
  return static_cast<std::uint16_t>(std::clamp(kClockCounts / divisor, 0.0, 65535.0));
}

void StoreLimits(const FieldAt& at, ToneLimits limits) {
  const BlockRef main = at.Writable().Main();
  const int tone = ToneOf(at);
  main.SetWord(LowerLimitAt(tone), limits.lower);
  main.SetWord(UpperLimitAt(tone), limits.upper);
}

// A typed frequency that changed the stored one: the typed formula's limits.
void AfterTyped(const FieldAt& at, long, long after) { StoreLimits(at, TypedToneLimits(after)); }

// The separation check after a typed change: the value stays, the user is told.
std::string WarnWhenClose(const FieldAt& at, long, long) {
  const int tone = ToneOf(at);
  const int other = CloseTone(at.image, tone);
  if (other < 0) return {};
  return FormatText(Tx(678_txt), {ToneName(tone), ToneName(other)});
}

// One step of 10 tenths by the spin rule of every editor: up from 3000 Hz
// gives 300, down from 300 gives 3000, a frequency outside the range steps to
// an end of it. The spin formula's limits.
CommitResult SpinTone(const FieldAt& at, bool up) {
  const BlockRef main = at.Writable().Main();
  const long next = SpinStep(main.Word(at.offset()), {kMinimumTenths, kMaximumTenths, kStepTenths}, up);
  main.SetWord(at.offset(), static_cast<std::uint16_t>(next));
  StoreLimits(at, SpunToneLimits(next));
  return {};
}

constexpr FieldHooks kToneHooks{.afterCommit = AfterTyped, .spin = SpinTone, .warnAfter = WarnWhenClose};

constexpr FieldDecl Tone(std::string_view key, int tone) {
  return FieldDecl{.key = key, .label = TextNo{1064 + tone}, .kind = ControlKind::EditSpin,
                   .storage = Storage::Word, .offset = kFrequencies + 2 * static_cast<std::size_t>(tone),
                   .range = {kMinimumTenths / 10, kMaximumTenths / 10, 1}, .scale = {1, 10},
                   .filter = filter::kDigits, .maxLength = 4, .labelId = 8000 + tone, .valueId = 8100 + tone,
                   .spinId = 8200 + tone, .helpContext = 82500 + tone, .hooks = &kToneHooks};
}

constexpr std::array<FieldDecl, 1 + kToneCount> kTones{{
    {.key = "frequencies", .label = 343_txt, .kind = ControlKind::GroupLabel, .storage = Storage::None},
    Tone("tone_0", 0), Tone("tone_1", 1), Tone("tone_2", 2), Tone("tone_3", 3), Tone("tone_4", 4),
    Tone("tone_5", 5), Tone("tone_6", 6), Tone("tone_7", 7), Tone("tone_8", 8), Tone("tone_9", 9),
    Tone("tone_a", 10), Tone("tone_b", 11), Tone("tone_c", 12), Tone("tone_d", 13), Tone("tone_e", 14),
}};

const FieldTable kTable{.key = "", .title = 707_txt, .fields = kTones};

// A new image: the common 5-tone alphabet (tones 0-9, A-E in hertz), with
// the limits a typed entry gives.
constexpr std::array<long, kToneCount> kDefaultHertz{2400, 1060, 1160, 1270, 1400, 1530, 1670, 1830,
                                                     2000, 2200, 2800, 810,  970,  885,  2600};

void VendorToneDefaults(ImageStore& image) {
  const BlockRef main = image.Main();
  for (int tone = 0; tone < kToneCount; ++tone) {
    const long tenths = kDefaultHertz[static_cast<std::size_t>(tone)] * 10;
    const ToneLimits limits = TypedToneLimits(tenths);
    main.SetWord(FrequencyAt(tone), static_cast<std::uint16_t>(tenths));
    main.SetWord(LowerLimitAt(tone), limits.lower);
    main.SetWord(UpperLimitAt(tone), limits.upper);
  }
}

}  // namespace

ToneLimits TypedToneLimits(long tenths) {
  const double f = static_cast<double>(tenths);
  return {Count(f * 0.975 + 0.005), Count(f * 1.025 + 0.005)};
}

ToneLimits SpunToneLimits(long tenths) {
  const double hertz = static_cast<double>(tenths) / 10;
  return {Count(hertz * 0.975 * 10), Count(hertz * 1.025 * 10)};
}

int CloseTone(const ImageStore& image, int tone) {
  const ConstBlockRef main = image.Main();
  const long f = main.Word(FrequencyAt(tone));
  for (int other = 0; other < kToneCount; ++other) {
    if (other == tone) continue;
    const double g = main.Word(FrequencyAt(other));
    if (static_cast<long>(g * 1.06 + 0.05) >= f && static_cast<long>(g * 0.94 + 0.05) <= f) return other;
  }
  return -1;
}

std::string ToneName(int tone) { return Tx(TextNo{1064 + tone}); }

const EditorModule& VendorToneModule() {
  static const EditorModule module{
      .kind = static_cast<int>(EditorKind::Velmora),
      .key = "vendor_tone",
      .title = 707_txt,
      .tables = {kTable},
      .defaults = VendorToneDefaults,
      // The two period limits of every tone, kept with its frequency.
      .owns = {{kLimits, 4 * kToneCount}},
      // The heading and the fifteen tones in one column.
      .columnRows = 1 + kToneCount,
  };
  return module;
}

}  // namespace zmp
