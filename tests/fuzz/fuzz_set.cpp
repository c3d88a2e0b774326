// set assignments with any key and text, one per line (KEY=TEXT, KEY++ or
// KEY--), applied in turn to the base the first byte chooses (FuzzImages.h).
// A refused assignment or an unknown key leaves every byte as it was; after
// an accepted one, the text the field now shows is one its control lets
// through (so what the tool exports it also imports), and after one that
// changed the image, that text typed again stores no change.
#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"
#include "FuzzImages.h"
#include "ImageText.h"

using namespace zmp;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  ImageStore image = fuzz::BaseImage(data[0]);
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find('\n'), rest.size());
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(std::min(end + 1, rest.size()));
    const auto a = cli::ParseAssignment(line);
    if (!a) continue;
    const ImageCopy before = image.working();
    const cli::ApplyOutcome r = cli::ApplyAssignment(EditorModules(), image, *a);
    if (r.status != cli::ApplyStatus::Ok) {
      FUZZ_CHECK(image.working() == before);
      FUZZ_CHECK(!r.message.empty());
      continue;
    }
    const auto f = FindField(EditorModules(), image, a->key);
    FUZZ_CHECK(f.has_value());
    const FieldView shown = ShowField(f->ref, image);
    if (!shown.exists || !shown.applicable || shown.text.empty()) continue;
    FUZZ_CHECK(!cli::UntypableText(f->ref, image, shown.text));
    // Typed again over what a commit stored (not over the random bytes an
    // unchanged field may still hold, which a commit of its row tidies).
    if (image.working() == before) continue;
    const ImageCopy after = image.working();
    FUZZ_CHECK(CommitFieldText(f->ref, image, shown.text).ok());
    FUZZ_CHECK(image.working() == after);
  }
  return 0;
}
