#include "data/ModelChange.h"

#include <algorithm>

#include "data/NewImage.h"

namespace zmp {

ModelChoice ChoiceOf(const ModelInfo& model) {
  ModelChoice c;
  c.modelIndex = model.ModelIndex();
  c.bandWord = model.BandWord();
  c.mode = model.Mode();
  c.optionBoard = model.OptionBoard();
  c.controlStandard = kControlStandard;
  return c;
}

std::vector<std::uint16_t> BandWordsOfModel(int modelIndex) {
  std::vector<std::uint16_t> words;
  if (modelIndex < 0 || modelIndex >= kModelCount) return words;
  const auto& m = ModelTable()[static_cast<std::size_t>(modelIndex)];
  for (int row = m.firstBandRow; row <= m.lastBandRow; ++row)
    words.push_back(BandTable()[static_cast<std::size_t>(row)].bandWord);
  return words;
}

std::uint16_t BandWordAfterModelChange(int modelIndex, std::uint16_t previousBandWord) {
  const auto words = BandWordsOfModel(modelIndex);
  if (words.empty()) return previousBandWord;
  if (std::find(words.begin(), words.end(), previousBandWord) != words.end())
    return previousBandWord;
  return words.front();
}

ModelChangeDecision DecideModelChange(const ModelChoice& current, const ModelChoice& chosen) {
  ModelChangeDecision d;
  const bool bandChanged = chosen.bandWord != current.bandWord;
  if (bandChanged) {
    d.messageTexts = {658_txt};
    d.code = kModelBandChanged;
  }
  if (chosen.controlStandard != current.controlStandard) {
    d.messageTexts.push_back(659_txt);
    d.code |= kModelStandardChanged;
  }
  if (chosen.mode != current.mode && chosen.mode == 0) d.code |= kModelModeToZero;
  // The destination code is the band word's low byte.
  const bool destinationChanged =
      bandChanged && (chosen.bandWord & 0xFF) != (current.bandWord & 0xFF);
  if (chosen.optionBoard != current.optionBoard || destinationChanged) {
    d.messageTexts = {653_txt};
    d.code = kModelReinitialise;
  }
  return d;
}

bool ApplyModelChange(ImageStore& image, const ModelChoice& chosen, int code) {
  ModelInfo model(image);
  const bool reinitialise = (code & kModelReinitialise) != 0;
  if (reinitialise) image.MakeBlank();
  model.SetModelIndex(chosen.modelIndex);
  model.SetBandWord(chosen.bandWord);
  model.SetMode(chosen.mode);
  model.SetOptionBoard(chosen.optionBoard);
  if (!reinitialise) {
    // The band's routines reload the channel band data and the default test channels.
    if (code & kModelBandChanged) RunDefaultRoutines(DefaultStage::ChannelBand, image);
    if (code & kModelStandardChanged) RunDefaultRoutines(DefaultStage::Signalling, image);
    RunDefaultRoutines(DefaultStage::Channel, image);
  } else {
    ApplyNewImageDefaults(image, false, false);
  }
  return code != 0;
}

}  // namespace zmp
