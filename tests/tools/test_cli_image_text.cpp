// The image as text in process: what an import refuses, and the export as a
// backup (the commands as a shell runs them: transcripts/image_text.txt).
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "../editors/EditorTestSupport.h"
#include "ImageText.h"
#include "data/NewImage.h"
#include "editors/EditorModules.h"
#include "fields/FieldWalk.h"
#include "fields/ImageCheck.h"

using namespace zmp;
using zmp::testing::AllBytes;

namespace {

ImageStore NewImage(const ModelRecord& record) {
  ImageStore image;
  image.MakeBlank();
  ModelInfo(image).SetRecord(record);
  MakeNewImageForCurrentModel(image);
  return image;
}

// Hostile image texts are refused with the line and what is wrong, on one
// line, in bounded time, and the image stays as it was.
TEST(ImageTextImport, HostileTextsAreRefusedWithTheirLine) {
  zmp::testing::UseProgramTexts();
  ImageStore image = NewImage(ModelRecord::Default());
  ASSERT_TRUE(CommitFieldText(FindField(EditorModules(), image, "channel[1].rx_frequency")->ref, image, "146.525").ok());
  const std::string yaml = cli::ExportYaml(EditorModules(), image);
  const std::string header = "format: 1\nmodel_index: 1\nband_word: 258\n";
  // Aliases that double at each level, twenty levels deep, wide instead of deep.
  std::string keys, as, bs;
  for (int i = 0; i < 50; ++i) {
    keys += (i ? ", k" : "k") + std::to_string(i) + ": \"1\"";
    as += (i ? ", a" : "a") + std::to_string(i) + ": *a";
    bs += (i ? ", b" : "b") + std::to_string(i) + ": *b";
  }
  std::string laughs = header + "editors:\n  x: &l0 {k: \"1\"}\n";
  for (int i = 1; i <= 20; ++i)
    laughs += "  l" + std::to_string(i) + ": &l" + std::to_string(i) + " [*l" + std::to_string(i - 1) + ", *l" +
              std::to_string(i - 1) + "]\n";
  const std::string cut = yaml.substr(0, yaml.find("rx_frequency:") + 13);
  const std::pair<std::string, std::string> cases[] = {
      {header + "editors:\n  cw_message: &a {x: *a}\n", "line 5: the alias *a refers to the mapping it stands in"},
      {header + "editors: &e {cw_message: *e}\n", "line 4: the alias *e refers to the mapping it stands in"},
      {laughs, "line 6: l1 holds a list"},
      {header + "editors:\n  x: &a {" + keys + "}\n  y: &b {" + as + "}\n  z: {" + bs + "}\n",
       "line 7: the text holds more than 20000 values (aliases expanded)"},
      {cut, "line " + std::to_string(std::count(cut.begin(), cut.end(), '\n') + 1) +
                ": channel[1].rx_frequency has no value"},
      {header + "format: 1\neditors: {}\n", "line 4: format appears twice in one mapping (lines 1 and 4)"},
      {header + "editors:\n  dtmf: {first_digit_delay: \"100\"}\neditors: {}\n", "line 6: editors appears twice"},
      {header + "editors:\n  channel:\n    1:\n      name: \"A\"\n      name: \"B\"\n", "line 8: channel[1].name appears twice"},
      {header + "editors:\n  channel:\n    1: {name: \"A\"}\n  channel_edit: {}\n  x:\n    y:\n      z:\n        w:\n"
                "          v: \"1\"\n",
       "line 11: x.y.z.w is nested deeper than an image text goes"},
      {header + "editors:\n  channel: {1: {name: [\"A\"]}}\n", "line 5: channel[1].name holds a list"},
      {header + "editors:\n  \"chan\\nnel\": {1: {name: \"A\"}}\n", "line 5: no field chan\\nnel[1].name in this image"},
      {header + "editors: {}\n---\nformat: 2\n", "line 5: a second document begins"},
      {"format: 1\nmodel_index: 1\nband_word: 259\neditors: {}\n", "line 2: model_index 1 with band_word 259 is no model"},
      {"format: 1\nmodel_index: 2\nband_word: 2304\neditors: {}\n",
       "line 2: the text is of WAV-500: K  UHF: 450-480 MHz (model_index 2, band_word 2304), the data file of "
       "WAV-300: E  VHF: 146-174 MHz (model_index 1, band_word 258)"},
      {"format: 1\nmodel_index: x1\n", "line 2: model_index is not a number: \"x1\""},
      {"", "the text is empty"},
  };
  const auto before = AllBytes(image);
  for (const auto& [text, message] : cases) {
    const cli::ImportOutcome r = cli::ImportYaml(EditorModules(), image, text);
    EXPECT_FALSE(r.ok) << message;
    EXPECT_EQ(r.message.rfind(message, 0), 0u) << r.message;
    EXPECT_EQ(r.message.find('\n'), std::string::npos) << r.message;
    EXPECT_EQ(AllBytes(image), before) << message;
  }
}

// The export is a backup: imported into a new file of the model it gives the
// image back byte for byte, for a new image of every model and band and for
// images of random bytes once check --fix has mended them.
TEST(ImageTextBackup, ExportImportedIntoANewFileGivesTheImageBack) {
  zmp::testing::UseProgramTexts();
  const auto roundTrip = [&](const ImageStore& image, const std::string& what) {
    const std::string yaml = cli::ExportYaml(EditorModules(), image);
    ImageStore again = NewImage(ModelInfo(const_cast<ImageStore&>(image)).Record());
    const cli::ImportOutcome r = cli::ImportYaml(EditorModules(), again, yaml);
    ASSERT_TRUE(r.ok) << what << ": " << r.message;
    EXPECT_TRUE(again.working() == image.working()) << what;
  };
  std::vector<ImageStore> images;
  for (int m = 0; m < kModelCount; ++m) {
    const ModelEntry& model = ModelTable()[static_cast<std::size_t>(m)];
    for (int row = model.firstBandRow; row <= model.lastBandRow; ++row) {
      ModelRecord record = ModelRecord::Default();
      std::copy(model.code.begin(), model.code.end(), record.bytes.begin());
      record.bytes[10] = BandTable()[static_cast<std::size_t>(row)].destination;
      record.bytes[11] = BandTable()[static_cast<std::size_t>(row)].bandCode;
      images.push_back(NewImage(record));
      roundTrip(images.back(), std::string(model.name) + " " + std::string(BandTable()[static_cast<std::size_t>(row)].rangeText));
    }
  }
  for (unsigned seed : {1u, 2u, 3u}) {
    ImageStore image = images[seed % images.size()];
    std::mt19937 rng(seed);
    auto main = image.Main();
    for (std::size_t i = 0x0100; i < main.size(); ++i)
      if (i < region::kModelRecord || i >= region::kModelRecord + kModelRecordSize) main.SetByte(i, rng() & 0xFF);
    FixImage(EditorModules(), image);
    roundTrip(image, "random image " + std::to_string(seed));
  }
}

}  // namespace
