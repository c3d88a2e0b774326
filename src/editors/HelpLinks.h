// Where the user guide explains an editor and each of its fields. The build
// writes one reference page per module of the module list
// (reference/<page>.html) with an anchor per field key and "top" at its
// title; help context numbers (HelpTopics.h) lead where the guide has more to
// say. Every target is "page.html#anchor" relative to the guide's folder.
// Standard library only.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "fields/FieldTypes.h"

namespace zmp {

// The anchor of a reference page's title.
inline constexpr std::string_view kPageTopAnchor = "top";

// The reference page of a module, below reference/ ("channel" ->
// "channel-information.html", "key_assignment" -> "key-assignment.html").
std::string ReferencePageFile(std::string_view moduleKey);

// The page and anchor of a help context; nothing for a number without a page.
// The hand-written pages' contexts (HelpTopics.h) lead there; a field's
// context leads to the reference page of the module that declares it, at the
// field's entry when no other field carries the context, else at the page's
// top; a function code's context to the key assignment page.
std::optional<std::string> HelpTargetOf(int context);

// The target of a help context with an anchor; empty when the context has no
// page or only a page.
std::string AnchoredTargetOf(int context);

// F1 on a field: its help context when that leads to an anchor below a
// page's top, otherwise the
// field's own entry on the reference page of the module that declares it;
// empty for a declaration no module holds.
std::string FieldHelpTarget(const FieldDecl& d);

// The Help button of an editor window: the window's help context when it has
// one with an anchor, otherwise the top of its module's reference page; empty
// for an editor that is neither.
std::string EditorHelpTarget(int kind, int context = 0);

}  // namespace zmp
