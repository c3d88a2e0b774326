// The constant tables by which forms and dialogs describe their controls:
// one record per row (label control, value control, spin control, text
// number, control kind), and (item data, text number) pairs for lists.
// Standard library only, so the item tables of the editors can use them.
#pragma once

#include <cstdint>

#include "app/TextNo.h"

namespace zmp {

// The kind of a row's value control; each editor interprets it.
enum class ControlKind : std::uint8_t { Label, Check, Number, Choice, Text, Button, Spin };

struct ControlRecord {
  int labelId;  // 0: none
  int valueId;  // 0: none
  int spinId;   // 0: none
  TextNo text;  // 0: the label keeps its text
  ControlKind kind;
};

struct ListItem {
  int data;
  TextNo text;
};

}  // namespace zmp
