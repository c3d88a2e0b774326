// The image the demonstration repeater holds, read with zmp318t-cli (the
// commands against the simulator: transcripts/radio.txt).
#include <gtest/gtest.h>

#include "CliRun.h"
#include "SimProcess.h"
#include "lang/LanguageTexts.h"
#include "data/DataFile.h"
#include "editors/ChannelFields.h"
#include "editors/ChannelStore.h"
#include "editors/EditorModules.h"
#include "fields/ImageCheck.h"

using namespace zmp::testing;

namespace {

// Without --pattern or --load the simulator is a demonstration repeater: a
// sound channel plan of about a dozen channels with names, tones and a split
// pair, which a technician reads, saves and writes back unchanged.
TEST(CliRadio, SimulatorStartsAsADemonstrationRepeater) {
  ASSERT_EQ(zmp::Texts().LoadFile(ZMP_BIN_DIR "/zmp318t.lng", "English"), zmp::LanguageTexts::LoadResult::Loaded);
  const TempDir dir("cli-radio");
  SimProcess sim({"--no-pace"});
  ASSERT_TRUE(sim.ok());
  CliRun r = Cli(dir, "read --port " + sim.path() + " --baud 115200 -o demo.dat");
  ASSERT_EQ(r.status, 0) << r.err;
  zmp::ImageStore image;
  ASSERT_EQ(zmp::ReadDataFile((dir / "demo.dat").string(), image, {}).code, 0);
  image.CopyTransferToWorking();
  zmp::ChannelStore store(image);
  EXPECT_TRUE(store.CheckIndex().sound);
  EXPECT_GE(store.ExistingCount(), 10);
  EXPECT_LE(store.ExistingCount(), 16);
  int named = 0, toned = 0, split = 0;
  for (int ch = 0; ch < zmp::kChannelCount; ++ch) {
    if (!store.Exists(ch)) continue;
    named += !zmp::ShowField(zmp::ChannelField(ch, "name"), store.Image()).text.empty();
    toned += store.HasTone(ch, 0) || store.HasTone(ch, 1);
    split += store.HasFrequency(ch, 1) && !store.SameFrequencies(ch);
  }
  EXPECT_EQ(named, store.ExistingCount());
  EXPECT_GE(toned, 4);
  EXPECT_GE(split, 1);
  EXPECT_TRUE(zmp::CheckImage(zmp::EditorModules(), image).empty()) << "it checks clean";
  r = Cli(dir, "write --port " + sim.path() + " --baud 115200 demo.dat");
  EXPECT_EQ(r.status, 0) << r.err;
}

}  // namespace
