// The base images of the image-text targets: a new image of every model and
// band, and the same with twelve channels and pseudo-random bytes over
// everything from the test frequencies on but the model record (the channel
// index stays, so the channels hold anything). The first input byte chooses
// one; the texts are the tool's (English, "." as the decimal point).
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <random>
#include <vector>

#include "lang/LanguageTexts.h"
#include "data/ModelInfo.h"
#include "data/NewImage.h"
#include "editors/EditorModules.h"
#include "fields/DecimalSeparator.h"
#include "fields/FieldWalk.h"

namespace zmp::fuzz {

inline const std::vector<ImageStore>& NewImages() {
  static const std::vector<ImageStore> images = [] {
    if (Texts().LoadFile(ZMP_LANGUAGE_FILE, "English") != LanguageTexts::LoadResult::Loaded) std::abort();
    SetDecimalSeparator('.');
    (void)EditorModules();
    std::vector<ImageStore> out;
    for (int index = 0; index < kModelCount; ++index) {
      for (const auto& row : BandTable()) {
        ImageStore image;
        image.MakeBlank();
        ModelInfo model(image);
        model.SetRecord(ModelRecord::Default());
        model.SetModelIndex(index);
        model.SetBandWord(row.bandWord);
        if (!IsValidRecord(model.Record()) || ModelIndexOf(model.Record()) != index) continue;
        MakeNewImageForCurrentModel(image);
        out.push_back(std::move(image));
      }
    }
    return out;
  }();
  return images;
}

// The base that selector names: new images in turn, then the same with
// random bytes seeded by the selector.
inline ImageStore BaseImage(std::uint8_t selector) {
  const auto& images = NewImages();
  ImageStore image = images[selector % images.size()];
  if (selector < 128) return image;
  const double lower = ModelInfo(image).Lower(0);
  for (int ch = 1; ch <= 12; ++ch) {
    const auto f = FindField(EditorModules(), image, "channel[" + std::to_string(ch) + "].rx_frequency");
    char mhz[32];
    std::snprintf(mhz, sizeof mhz, "%.5f", lower + 0.0125 * ch);
    if (!f || !ApplyFieldText(f->ref, image, mhz).ok()) std::abort();
  }
  std::mt19937 rng(selector);
  auto main = image.Main();
  for (std::size_t i = 0x0100; i < main.size(); ++i)
    if (i < region::kModelRecord || i >= region::kModelRecord + kModelRecordSize) main.SetByte(i, rng() & 0xFF);
  return image;
}

}  // namespace zmp::fuzz
