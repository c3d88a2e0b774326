// The reference pages of the channel editors (grid and edit form).
#pragma once

#include <string>
#include <vector>

#include "ReferencePages.h"

namespace zmp::helpgen {

// Needs the language texts loaded. The intros are hand-written HTML fragments.
std::vector<ReferencePage> ChannelReferencePages(const std::string& channelEditIntro,
                                                 const std::string& channelInfoIntro);

}  // namespace zmp::helpgen
