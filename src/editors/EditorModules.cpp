#include "editors/EditorModules.h"

#include <array>
#include <string>

#include "data/NewImage.h"
#include "editors/BeatShiftFields.h"
#include "editors/ChannelFields.h"
#include "editors/CwIdFields.h"
#include "editors/CwMessageFields.h"
#include "editors/DtmfFields.h"
#include "editors/EmbeddedMessageFields.h"
#include "editors/ScanInfoFields.h"
#include "editors/FeatureFields.h"
#include "editors/FiveToneFields.h"
#include "editors/FuncPortFields.h"
#include "editors/KeyFields.h"
#include "editors/MultiTableFields.h"
#include "editors/RemoteFields.h"
#include "editors/TestFreqFields.h"
#include "editors/VendorToneFields.h"

namespace zmp {

ModuleList EditorModules() {
  static const std::array<const EditorModule*, 16> modules{
      &ChannelGridModule(), &ChannelEditModule(), &CwIdModule(),       &BeatShiftModule(),
      &FeatureModule(),     &KeyModule(),         &ScanInfoModule(),   &DtmfModule(),
      &RemoteModule(),      &FiveToneModule(),    &VendorToneModule(), &FuncPortModule(),
      &MultiTableModule(),  &CwMessageModule(),   &TestFrequencyModule(), &EmbeddedMessageModule()};
  return modules;
}

const EditorModule* ModuleOf(int kind) {
  for (const EditorModule* m : EditorModules())
    if (m->kind == kind) return m;
  return nullptr;
}

namespace {

// Every field with an initial text takes it, after the modules' own defaults.
void TypeInitialTexts(ImageStore& image) {
  for (const EditorModule* m : EditorModules())
    for (const FieldTable& table : m->tables)
      for (int row = 0; row < table.rows; ++row)
        for (const FieldDecl& decl : table.fields)
          if (decl.initial) InitialiseField({&table, &decl, row}, image);
}

}  // namespace

void InstallEditorModules() {
  for (const EditorModule* m : EditorModules()) {
    const std::string name(m->key);
    if (m->bandDefaults) AddDefaultRoutine(DefaultStage::ChannelBand, name, m->bandDefaults);
    if (m->modelDefaults) AddDefaultRoutine(DefaultStage::Channel, name, m->modelDefaults);
    if (m->defaults) AddDefaultRoutine(DefaultStage::Feature, name, m->defaults);
  }
  AddDefaultRoutine(DefaultStage::Feature, "initial texts", TypeInitialTexts);
}

namespace {
// The channel store links this file into every program that keeps channels,
// so the defaults are attached before main runs.
const bool kInstalled = (InstallEditorModules(), true);
}  // namespace

}  // namespace zmp
