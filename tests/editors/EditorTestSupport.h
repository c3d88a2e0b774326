// Shared set-up of the editor tests: the program's own language file, images
// for each repeater variant, and channel records written through the store.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "../data/DataTestSupport.h"
#include "lang/LanguageTexts.h"
#include "data/ImageStore.h"
#include "data/ModelInfo.h"
#include "data/NewImage.h"
#include "editors/ChannelFields.h"
#include "editors/ChannelStore.h"
#include "editors/EditorModules.h"
#include "fields/References.h"
#include "fields/DecimalSeparator.h"
#include "fields/FieldWalk.h"

namespace zmp::testing {

// Loads lang/zmp318t.lng of the source tree (English) once.
inline void UseProgramTexts() {
  static const bool loaded = [] {
    const auto r = Texts().LoadFile(std::string(ZMP_SOURCE_DIR) + "/lang/zmp318t.lng", "English");
    return r == LanguageTexts::LoadResult::Loaded;
  }();
  ASSERT_TRUE(loaded) << "the language file of the source tree does not load";
  ASSERT_EQ(Tx(719_txt), "Off");
}

// A blank image (all 0xFF) with only the model record set.
inline void SetModel(ImageStore& image, const ModelRecord& r) { ModelInfo(image).SetRecord(r); }

inline ModelRecord Vhf146E() { return MakeRecord("RWAV0300", 2, 1); }      // band word 258
inline ModelRecord Vhf146K() { return MakeRecord("RWAV0300", 0, 1); }      // 256
inline ModelRecord Vhf136K() { return MakeRecord("RWAV0300", 0, 2); }      // 512
inline ModelRecord Uhf450K() { return MakeRecord("RWAV0500", 0, 9); }      // 2304
inline ModelRecord Uhf480K() { return MakeRecord("RWAV0500", 0, 10); }     // 2560
inline ModelRecord Uhf400K() { return MakeRecord("RWAV0500", 0, 11); }     // 2816
inline ModelRecord Uhf440E() { return MakeRecord("RWAV0500", 2, 12); }     // 3074
inline ModelRecord Uhf400E() { return MakeRecord("RWAV0500", 2, 11); }     // 2818

// Every byte of the image, all four blocks, for whole-image comparisons.
inline std::vector<std::uint8_t> AllBytes(const ImageStore& image) {
  std::vector<std::uint8_t> out;
  for (auto b : kAllBlocks) {
    auto r = image.Block(b);
    out.insert(out.end(), r.span().begin(), r.span().end());
  }
  return out;
}

inline bool AllFF(const ImageStore& image) {
  for (auto v : AllBytes(image))
    if (v != 0xFF) return false;
  return true;
}

// A commit as the program makes it: what the commit takes away (a channel, a
// facility) is released in the same step.
template <class Commit>
CommitResult AsUserCommits(ImageStore& image, Commit commit) {
  CommitResult r;
  ChangeAndRelease(EditorModules(), image, [&] { r = commit(); });
  return r;
}

// Channels by number (from 1), each made by typing a receive frequency on a
// 5 kHz grid: 146.105 MHz for channel 1, 146.150 MHz for channel 10.
inline void MakeChannels(ImageStore& image, std::initializer_list<int> numbers) {
  for (int n : numbers) {
    const std::string mhz = "146." + std::to_string(100 + 5 * n);
    ASSERT_TRUE(CommitFieldText(ChannelField(n - 1, "rx_frequency"), image, mhz).ok()) << n;
  }
}

// The field a key names (as zmp318t-cli names it) in this image.
inline FieldRef KeyRef(const ImageStore& image, const std::string& key) {
  const auto f = FindField(EditorModules(), image, key);
  EXPECT_TRUE(f) << key;
  return f ? f->ref : FieldRef{};
}

// A new image of a model with a dozen channels of every type.
inline ImageStore FilledImage(const ModelRecord& model) {
  ImageStore image;
  image.MakeBlank();
  ModelInfo(image).SetRecord(model);
  ApplyNewImageDefaults(image, false, false);
  ChannelStore store(image);
  const bool uhf = ModelInfo(image).IsUhf();
  const double base = uhf ? 451.0 : 150.0;
  for (int ch = 0; ch < 12; ++ch) {
    char f[32];
    std::snprintf(f, sizeof f, "%.5f", base + 0.0125 * ch);
    CommitFieldText(ChannelField(ch * 2, "rx_frequency"), store.Image(), f);
    if (ch % 3 != 2) CommitFieldText(ChannelField(ch * 2, "tx_frequency"), store.Image(), f);
    CommitFieldChoice(ChannelField(ch * 2, "channel_type"), store.Image(), FieldChoices(ChannelField(ch * 2, "channel_type"), store.Image())[ch % 3].value);
  }
  return image;
}

// A new image with channels whose bytes from 0x0100 on are random, the channel
// index and the model record kept (with keepRecords the channel records too,
// so that every channel stays readable and only the settings hold anything).
inline ImageStore RandomImage(unsigned seed, bool keepRecords = false) {
  ImageStore image = FilledImage(Vhf146E());
  std::mt19937 rng(seed);
  auto main = image.Main();
  for (std::size_t i = 0x0100; i < main.size(); ++i) {
    const bool record = keepRecords && i >= 0x0800 && i < 0x2800;
    const bool model = i >= region::kModelRecord && i < region::kModelRecord + kModelRecordSize;
    if (!record && !model) main.SetByte(i, rng() & 0xFF);
  }
  return image;
}

}  // namespace zmp::testing
