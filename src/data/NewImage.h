// A new data image for a repeater variant: the defaults that start-up, New and
// the model change write, the start-up choice of the model, and the store
// operation of one test frequency (which the defaults use to load the band's
// default test channels).
//
// Editors whose data has defaults of its own (channels, signalling, features)
// attach a routine with AddDefaultRoutine; the defaults run them at the right
// moment. Standard library only.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "data/ImageStore.h"
#include "data/ModelInfo.h"

namespace zmp {

// --- Editor default routines ------------------------------------------------

// When an attached routine runs:
//  ChannelBand - the band changed: channel data that depends on the band
//                (frequencies, limits) is reloaded;
//  Channel     - channel defaults are refreshed (after every model change and
//                in every new image);
//  Signalling  - signalling defaults (QT/DQT, DTMF, 5-tone, CW) are set;
//  Feature     - feature-editor defaults are set (new image only).
enum class DefaultStage { ChannelBand, Channel, Signalling, Feature };

using DefaultRoutine = std::function<void(ImageStore& image)>;

// Attaches a routine under a name; attaching the same name again replaces
// the routine (so a test or a re-attach never runs one twice).
void AddDefaultRoutine(DefaultStage stage, const std::string& name, DefaultRoutine routine);
void RemoveDefaultRoutine(DefaultStage stage, const std::string& name);
// Runs the routines of one stage in the order they were attached.
void RunDefaultRoutines(DefaultStage stage, ImageStore& image);

// Attach from a static object in a file that the program links for another
// reason anyway (a static library drops files nothing refers to).
struct DefaultRoutineRegistration {
  DefaultRoutineRegistration(DefaultStage stage, const std::string& name, DefaultRoutine r) {
    AddDefaultRoutine(stage, name, std::move(r));
  }
};

// --- Test frequencies -------------------------------------------------------

inline constexpr int kTestChannelCount = 16;
inline constexpr std::size_t kTestRecordSize = 16;

// The band flag handed to FrequencyToBcd for the image's test frequencies.
bool TestFrequencyBandFlag(const ModelInfo& model);

// Stores one frequency (MHz text) of test channel index (0..15), column 0
// (frequency 1) or 1 (frequency 2). Returns 1 when stored, 0 when the text is
// not a frequency (the whole test channel is then emptied), -1 when stored but
// outside the band's limits of that column's limit set. Column 0 into a test
// channel without frequency 2 fills frequency 2 with the same value.
// An index or column out of range stores nothing and returns 0.
int SetTestFrequency(ImageStore& image, int index, int column, std::string_view text);
// False when all five frequency bytes are 0xFF (or index/column out of range).
bool HasTestFrequency(const ImageStore& image, int index, int column);

// The six default pairs of the band as MHz texts ("146.100000"), column 0 and 1.
struct TestFrequencyPair {
  std::string_view column0;
  std::string_view column1;
};
// Empty for a band word that belongs to no group.
std::span<const TestFrequencyPair> DefaultTestFrequencies(std::uint16_t bandWord);
// Fills the test-frequency region with 0xFF, then stores the six default pairs.
void LoadDefaultTestFrequencies(ImageStore& image);

// --- New image ----------------------------------------------------------------

// The repeater-wide defaults of region 0x0000 and the third block.
void SetRepeaterWideDefaults(ImageStore& image);

// The defaults of a new image in the working copy: optionally the model record
// reset to WAV-300 E 146-174 MHz (E) with all option bits set, optionally Mode
// reset to 0, then version stamp, default test frequencies, repeater-wide
// defaults and every attached editor routine. Takes no snapshot.
void ApplyNewImageDefaults(ImageStore& image, bool resetModel, bool resetOptions);

// Start-up: blank image; the last used model record when it is valid (the two
// start-up options then off, defaults with option reset only), else defaults
// with model and option reset; Mode is 0 either way; snapshot taken. Returns
// true when lastModel was taken.
bool MakeStartupImage(ImageStore& image, const std::optional<ModelRecord>& lastModel);

// New data for the current model: blank image with the model record kept,
// defaults without model reset, start-up options off, Mode 0, snapshot taken.
void MakeNewImageForCurrentModel(ImageStore& image);

}  // namespace zmp
