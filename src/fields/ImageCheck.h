// The check of a whole image before it goes to a repeater: every field whose
// stored value the repeater would take wrongly (a reference to something that
// is gone, a value outside its range, a channel outside the band, a follower
// without its leader, a text that cannot be typed), and the fix that brings
// each to the nearest value it can hold. The command-line check, the Check
// Data window and the write to a repeater all use it.
// Standard library only.
#pragma once

#include <string>
#include <vector>

#include "fields/FieldWalk.h"

namespace zmp {

struct ImageProblem {
  FieldInstance field;   // key as the command-line tool names it
  std::string shown;     // the text the field shows
  std::string reason;    // "outside its range (140 to 200)"
};

// Every problem in walk order; bytes that two editors show are checked once,
// under the first. Hidden assignment slots are checked too.
std::vector<ImageProblem> CheckImage(ModuleList modules, const ImageStore& image);

struct ImageFix {
  std::string key;
  std::string was;
  std::string now;
};
struct FixOutcome {
  std::vector<ImageFix> fixes;             // what changed, in order
  std::vector<ImageProblem> remaining;     // what only a user can mend
};
// Fixes every problem that can be fixed, each as a commit with its releases.
FixOutcome FixImage(ModuleList modules, ImageStore& image);

}  // namespace zmp
