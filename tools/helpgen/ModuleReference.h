// The reference pages of every editor of the module list, read from the
// editors' own field tables.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ReferencePages.h"

namespace zmp::helpgen {

// Needs the language texts loaded. introOf gives the hand-written HTML fragment
// of a page file (empty when there is none).
std::vector<ReferencePage> ModuleReferencePages(const std::function<std::string(const std::string&)>& introOf);

}  // namespace zmp::helpgen
