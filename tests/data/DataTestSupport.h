// Shared set-up of the data tests: model records and the default routines
// a new image runs, recorded.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "data/ModelInfo.h"
#include "data/NewImage.h"

namespace zmp::testing {

// A model record: code "RWAV0300" or "RWAV0500", destination, band code and
// option byte (bit 2 clear = option board fitted).
inline ModelRecord MakeRecord(const char* code, std::uint8_t dest, std::uint8_t band,
                              std::uint8_t options = 0xFF) {
  ModelRecord r;
  r.bytes.fill(0xFF);
  for (int i = 0; i < 8; ++i) r.bytes[i] = static_cast<std::uint8_t>(code[i]);
  r.bytes[10] = dest;
  r.bytes[11] = band;
  r.bytes[14] = options;
  return r;
}

// Default routines attached for one test, recording the stages that ran
// ("band", "channel", "signalling", "feature"), removed again afterwards.
struct RecordedDefaults {
  std::vector<std::string> calls;
  RecordedDefaults() {
    for (const auto& entry : {std::pair{DefaultStage::ChannelBand, "band"},
                              std::pair{DefaultStage::Channel, "channel"},
                              std::pair{DefaultStage::Signalling, "signalling"},
                              std::pair{DefaultStage::Feature, "feature"}}) {
      const char* name = entry.second;
      AddDefaultRoutine(entry.first, "test", [this, name](ImageStore&) { calls.push_back(name); });
    }
  }
  ~RecordedDefaults() {
    for (auto stage : {DefaultStage::ChannelBand, DefaultStage::Channel, DefaultStage::Signalling,
                       DefaultStage::Feature})
      RemoveDefaultRoutine(stage, "test");
  }
  RecordedDefaults(const RecordedDefaults&) = delete;
  RecordedDefaults& operator=(const RecordedDefaults&) = delete;
};

}  // namespace zmp::testing
