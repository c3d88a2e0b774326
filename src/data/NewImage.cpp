#include "data/NewImage.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>


namespace zmp {

namespace {

struct NamedRoutine {
  std::string name;
  DefaultRoutine routine;
};

std::array<std::vector<NamedRoutine>, 4>& Routines() {
  static std::array<std::vector<NamedRoutine>, 4> routines;
  return routines;
}

std::vector<NamedRoutine>& RoutinesOf(DefaultStage stage) {
  return Routines()[static_cast<std::size_t>(stage)];
}

}  // namespace

void AddDefaultRoutine(DefaultStage stage, const std::string& name, DefaultRoutine routine) {
  auto& list = RoutinesOf(stage);
  for (auto& r : list) {
    if (r.name == name) {
      r.routine = std::move(routine);
      return;
    }
  }
  list.push_back({name, std::move(routine)});
}

void RemoveDefaultRoutine(DefaultStage stage, const std::string& name) {
  auto& list = RoutinesOf(stage);
  std::erase_if(list, [&](const NamedRoutine& r) { return r.name == name; });
}

void RunDefaultRoutines(DefaultStage stage, ImageStore& image) {
  // A copy, so that a routine may attach or remove routines without harm.
  const auto list = RoutinesOf(stage);
  for (const auto& r : list)
    if (r.routine) r.routine(image);
}

void SetRepeaterWideDefaults(ImageStore& image) {
  BlockRef m = image.Main();
  m.SetWord(0x0258, 0);
  m.SetWord(0x025A, 7);
  m.SetByte(0x07F8, 0);
  m.SetByte(0x02B1, 5);
  m.SetByte(0x02B2, 20);
  m.SetByte(0x02B3, 0x30);
  m.SetByte(0x02B4, 30);
  m.SetByte(0x02B5, 30);
  m.SetByte(0x02B7, 0);
  m.SetByte(0x0630, 0);
  m.SetByte(0x0631, 20);
  m.SetByte(0x0632, 80);
  m.SetByte(0x0633, 0);
  m.SetByte(0x0634, 60);
  m.Fill(0x0200, 0x40, 0);
  image.Block(BlockId::Third).Fill(0, 64, 0);
}

void ApplyNewImageDefaults(ImageStore& image, bool resetModel, bool resetOptions) {
  ModelInfo model(image);
  if (resetModel) model.SetRecord(ModelRecord::Default());
  if (resetOptions) model.SetMode(0);
  // The limit sets follow the record's band word (ModelInfo reads them from it).
  image.StampVersion();
  SetRepeaterWideDefaults(image);
  RunDefaultRoutines(DefaultStage::ChannelBand, image);
  RunDefaultRoutines(DefaultStage::Channel, image);
  RunDefaultRoutines(DefaultStage::Signalling, image);
  RunDefaultRoutines(DefaultStage::Feature, image);
}

bool MakeStartupImage(ImageStore& image, const std::optional<ModelRecord>& lastModel) {
  image.MakeBlank();
  ModelInfo model(image);
  const bool taken = lastModel && IsValidRecord(*lastModel);
  if (taken) {
    model.SetRecord(*lastModel);
    model.SetStartupOptionsOff();
    ApplyNewImageDefaults(image, false, true);
  } else {
    ApplyNewImageDefaults(image, true, true);
  }
  image.TakeSnapshot();
  return taken;
}

void MakeNewImageForCurrentModel(ImageStore& image) {
  ModelInfo model(image);
  const ModelRecord kept = model.Record();
  image.MakeBlank();
  model.SetRecord(kept);
  ApplyNewImageDefaults(image, false, false);
  model.SetStartupOptionsOff();
  model.SetMode(0);
  image.TakeSnapshot();
}

}  // namespace zmp
