// The new image of every model and band, byte for byte, against the reviewed
// files under tests/data/golden/ (one per variant: every 32-byte line of each
// block that is not all 0xFF). A change of a default or of where it lies shows
// here as the lines that differ. After a deliberate change, regenerate with
// ZMP_WRITE_GOLDEN=1 and review the difference before committing it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "EditorTestSupport.h"
#include "data/NewImage.h"

using namespace zmp;
using namespace zmp::testing;

namespace {

std::string Dump(const ImageStore& image) {
  static const char* const kNames[] = {"main", "second", "third", "fourth"};
  std::string out;
  for (auto b : kAllBlocks) {
    const auto bytes = image.Block(b).span();
    for (std::size_t at = 0; at < bytes.size(); at += 32) {
      const std::size_t n = std::min<std::size_t>(32, bytes.size() - at);
      bool blank = true;
      for (std::size_t i = 0; i < n; ++i) blank = blank && bytes[at + i] == 0xFF;
      if (blank) continue;
      char head[32];
      std::snprintf(head, sizeof head, "%s %04zX:", kNames[static_cast<int>(b)], at);
      out += head;
      for (std::size_t i = 0; i < n; ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02X", bytes[at + i]);
        out += hex;
      }
      out += '\n';
    }
  }
  return out;
}

}  // namespace

TEST(GoldenImages, TheNewImageOfEveryModelAndBand) {
  UseProgramTexts();
  InstallEditorModules();
  const bool write = std::getenv("ZMP_WRITE_GOLDEN") != nullptr;
  int variants = 0;
  for (const ModelEntry& model : ModelTable()) {
    for (int row = model.firstBandRow; row <= model.lastBandRow; ++row, ++variants) {
      const BandRow& band = BandTable()[static_cast<std::size_t>(row)];
      ImageStore image;
      image.Block(BlockId::Second).SetByte(5, 0x12);  // left over from before: must go
      MakeStartupImage(image, MakeRecord(std::string(model.code).c_str(), band.destination, band.bandCode));
      EXPECT_FALSE(image.IsModified());
      const std::string name = std::string(ZMP_SOURCE_DIR) + "/tests/data/golden/new-" + std::string(model.code) +
                               "-" + std::to_string(band.bandWord) + ".txt";
      const std::string dump = Dump(image);
      if (write) {
        std::ofstream(name) << dump;
        continue;
      }
      std::ifstream in(name);
      ASSERT_TRUE(in) << name << " is missing (ZMP_WRITE_GOLDEN=1 writes it)";
      const std::string golden{std::istreambuf_iterator<char>(in), {}};
      EXPECT_EQ(golden, dump) << name;  // the lines that differ, as a diff
    }
  }
  EXPECT_GT(variants, 5);
}
