// A new data image for a repeater variant: the defaults that start-up, New and
// the model change write, and the start-up choice of the model.
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

// --- New image ----------------------------------------------------------------

// The repeater-wide defaults of region 0x0000 and the third block.
void SetRepeaterWideDefaults(ImageStore& image);

// The defaults of a new image in the working copy: optionally the model record
// reset to WAV-300 E 146-174 MHz (E) with all option bits set, optionally Mode
// reset to 0, then version stamp, repeater-wide defaults and every attached
// editor routine (the band's default test channels among them). Takes no
// snapshot.
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
