// The references between settings, walked from their declarations
// (FieldDecl::refers): every setting that names another, what it names now,
// and the one path by which a change lets go of the targets it took away.
//
// A change (a commit, a paste, a delete, an import) runs through
// ChangeAndRelease: the referrers are resolved before and after it, and each
// one whose target was there before and is missing after stores its none
// value, in the same step. A referrer that pointed at nothing valid before the
// change is left as it is (it is shown marked, and the image check reports it).
// Standard library only.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "fields/FieldWalk.h"

namespace zmp {

// One referring field as found in the image.
struct Referrer {
  const EditorModule* module = nullptr;
  FieldRef ref;
  FieldLocation where;
  Target target;
};

// Every referrer in the listed rows of every shown table, hidden tables too,
// in walk order.
std::vector<Referrer> FindReferrers(ModuleList modules, const ImageStore& image);

// A referrer that a change let go of, and what it named before.
struct ReleasedRef {
  const EditorModule* module = nullptr;
  FieldRef ref;
  std::string was;  // the target's name ("Send CW Message 1")
};

// Lets go of every referrer whose target was present in `before` and is
// missing now, repeated until nothing more goes (a key that lost its function
// takes its remote codes with it).
std::vector<ReleasedRef> ReleaseLostTargets(ModuleList modules, ImageStore& image,
                                            const std::vector<Referrer>& before);

// Runs change against the image, then releases what it took away. What
// change throws goes through; the caller restores the image.
std::vector<ReleasedRef> ChangeAndRelease(ModuleList modules, ImageStore& image,
                                          const std::function<void()>& change);

// How the user knows a field: the title of its row and its label ("PF Key 2:
// Function"), its label and row number, or its label.
std::string FieldCaption(const FieldTable& table, const FieldDecl& decl, int row, const ImageStore& image);

}  // namespace zmp
