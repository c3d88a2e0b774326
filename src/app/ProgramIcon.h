// The program's own icon (a repeater mast), drawn from its SVG at the sizes
// window decorations and task bars ask for.
#pragma once

#include <QIcon>

namespace zmp {

QIcon ProgramIcon();

}  // namespace zmp
