// Editors that are nothing but their tables, under the names of their views:
// each is the default form of its module (ModuleView), with Close and Help.
#pragma once

#include "editors/CwMessageFields.h"
#include "editors/DtmfFields.h"
#include "editors/EmbeddedMessageFields.h"
#include "editors/FuncPortFields.h"
#include "editors/RemoteFields.h"
#include "editors/ScanInfoFields.h"
#include "editors/VendorToneFields.h"
#include "editors/ui/ModuleView.h"

namespace zmp {

class CScanInfoView : public ModuleView {
 public:
  explicit CScanInfoView(EditorDocument& doc, QWidget* parent = nullptr) : ModuleView(doc, ScanInfoModule(), parent) {}
};

class CDtmfView : public ModuleView {
 public:
  explicit CDtmfView(EditorDocument& doc, QWidget* parent = nullptr) : ModuleView(doc, DtmfModule(), parent) {}
};

class CCWMesView : public ModuleView {
 public:
  explicit CCWMesView(EditorDocument& doc, QWidget* parent = nullptr) : ModuleView(doc, CwMessageModule(), parent) {}
};

class CEmbView : public ModuleView {
 public:
  explicit CEmbView(EditorDocument& doc, QWidget* parent = nullptr)
      : ModuleView(doc, EmbeddedMessageModule(), parent) {}
};

// The fifteen vendor tones with their decoder limits; opened by the 5-tone
// editor's button.
class CVelmoraView : public ModuleView {
 public:
  // The heading and the fifteen tones in one column.
  explicit CVelmoraView(EditorDocument& doc, QWidget* parent = nullptr)
      : ModuleView(doc, VendorToneModule(), parent, 1 + vendortone::kToneCount) {}
};

// The functions and polarity of the auxiliary inputs and outputs, and the
// option ports' directions.
class CFuncPortView : public ModuleView {
 public:
  explicit CFuncPortView(EditorDocument& doc, QWidget* parent = nullptr) : ModuleView(doc, FuncPortModule(), parent) {}
};

// The 5-tone codes that switch the keys, inputs and outputs remotely.
class CRemoteView : public ModuleView {
 public:
  explicit CRemoteView(EditorDocument& doc, QWidget* parent = nullptr) : ModuleView(doc, RemoteModule(), parent) {}
};

}  // namespace zmp
