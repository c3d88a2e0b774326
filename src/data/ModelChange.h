// The decision of the Model Information dialog: what the user chose compared
// with the image's model record gives a result code and a confirmation text,
// and applying the code changes the image. The dialog window lives in the
// application; this is the logic alone. Standard library only.
#pragma once

#include <cstdint>
#include <vector>

#include "lang/TextNo.h"
#include "data/ImageStore.h"
#include "data/ModelInfo.h"

namespace zmp {

// Result code bits.
inline constexpr int kModelReinitialise = 2;   // full re-initialisation of the image
inline constexpr int kModelBandChanged = 4;    // band word changed, same destination
inline constexpr int kModelStandardChanged = 8;  // control standard changed
inline constexpr int kModelModeToZero = 16;    // Mode changed to 0

// The control standard the program works with (the dialog shows it disabled).
inline constexpr int kControlStandard = 1;

// The five selections of the dialog.
struct ModelChoice {
  int modelIndex = -1;
  std::uint16_t bandWord = 0;
  int mode = 0;
  int optionBoard = 0;
  int controlStandard = kControlStandard;
  bool operator==(const ModelChoice&) const = default;
};

// What the dialog shows for the image's record (control standard always 1).
ModelChoice ChoiceOf(const ModelInfo& model);

// Band words of a model's band rows, in table order; empty for a bad index.
std::vector<std::uint16_t> BandWordsOfModel(int modelIndex);
// The band word the frequency list selects after the model type changed to
// modelIndex: previousBandWord when that model offers it, else its first row.
std::uint16_t BandWordAfterModelChange(int modelIndex, std::uint16_t previousBandWord);

struct ModelChangeDecision {
  int code = 0;
  // Language text numbers of the confirmation, one line each; empty when the
  // dialog closes at once without asking.
  std::vector<TextNo> messageTexts;
  bool NeedsConfirmation() const { return !messageTexts.empty(); }
};

ModelChangeDecision DecideModelChange(const ModelChoice& current, const ModelChoice& chosen);

// Applies a code to the image (the caller has closed the editor windows):
// code 2 blanks the image first; the chosen model, band, Mode and option
// board are written into the record; without 2, code 4 reloads the channel
// band data and the default test frequencies, code 8 reruns the signalling
// defaults, and the channel defaults are refreshed; with 2 the full new-image
// defaults run without model and option reset. No snapshot is taken.
// Returns true when the current file names are to return to their defaults
// (any nonzero code).
bool ApplyModelChange(ImageStore& image, const ModelChoice& chosen, int code);

}  // namespace zmp
