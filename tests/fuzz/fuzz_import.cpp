// The image-text import: any text into any base image. The first byte
// chooses the base (FuzzImages.h), the rest is the text. A refused text
// leaves the image as it was and says why with a line; an accepted one gives
// an image whose own export imports into it again without a change.
// libFuzzer's -timeout bounds the time of one input.
#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"
#include "FuzzImages.h"
#include "ImageText.h"

using namespace zmp;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const ImageStore base = fuzz::BaseImage(data[0]);
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  ImageStore image = base;
  const cli::ImportOutcome r = cli::ImportYaml(EditorModules(), image, text);
  if (!r.ok) {
    FUZZ_CHECK(image.working() == base.working());
    FUZZ_CHECK(!r.message.empty());
    return 0;
  }
  FUZZ_CHECK(r.message.empty());
  const ImageStore imported = image;
  const cli::ImportOutcome again = cli::ImportYaml(EditorModules(), image, cli::ExportYaml(EditorModules(), image));
  FUZZ_CHECK(again.ok);
  FUZZ_CHECK(image.working() == imported.working());
  return 0;
}
