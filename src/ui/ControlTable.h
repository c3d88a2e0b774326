// The constant tables by which forms and dialogs describe their controls:
// one record per row (label control, value control, spin control, text
// number, control kind), and (item data, text number) pairs for lists.
// Standard library only; LanguageWidgets puts their texts on the controls.
#pragma once

#include <cstdint>

#include "lang/TextNo.h"
#include "fields/FieldTypes.h"

namespace zmp {

struct ControlRecord {
  int labelId;  // 0: none
  int valueId;  // 0: none
  int spinId;   // 0: none
  TextNo text;  // 0: the label keeps its text
  ControlKind kind;
};


}  // namespace zmp
