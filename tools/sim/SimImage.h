// The image the simulated repeater holds: a demonstration repeater (a new
// image with a small channel plan), a patterned one or one from a data file.
#pragma once

#include <string>

#include "SimOptions.h"
#include "data/ImageStore.h"

namespace zmp::sim {

// Fills the working copy of image as the options say: --load, --pattern, or
// else the demonstration repeater for --model/--band (WAV-300 E at first).
// False with a reason.
bool BuildImage(const SimOptions& options, ImageStore& image, std::string& error);
// Saves the working copy to a data file. False with a reason.
bool SaveImage(const std::string& path, ImageStore& image, std::string& error);

}  // namespace zmp::sim
