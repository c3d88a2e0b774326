// Reading the repeater's data image and writing it back, unit by unit, over
// one connection of RepeaterLink.
//
// Units: "FPU" (26880 bytes, the main block), "CNVUNT" (16000 bytes, the
// second block at 0) and "CNVGRP" (8000 bytes, the second block at 16000).
// The third block comes with "SC_EMBED_req MSGWP READ" and the fourth with
// the trace read.
//
// A read fills a copy of its own; only a complete read reaches the caller's
// transfer copy, so a failed or partial read never changes any copy of the
// image. The caller then copies transfer to working. A write always sends the
// working copy, stamped with the version and a fresh checksum.
//
// Complete read: MNT, VER, PASS, BAU (skipped at the current rate), MODE,
// READ1 FPU, EMBED MSGWP READ, TRACE, READ1 CNVUNT, READ1 CNVGRP, FIN. Once
// every unit is through, the FIN is best effort: a missing acknowledgement
// fails neither a read nor a write.
// Complete write: MNT, VER, PASS, BAU, MODE, SFTINF, WRITE1 FPU, WRITE1
// CNVUNT, WRITE1 CNVGRP, FIN (a data write needs no "SC_PD_req"). The working
// copy takes the version stamp and the fresh checksum only once the write is
// complete, so a write that fails or is cancelled leaves it as it was.
//
// Cancelling: the caller's cancelRequested is asked between steps, whenever
// the line is quiet. A read stops at any of them; a write until its first data
// block goes out (mustFinish is told just before). A unit in progress is
// stopped with "SC_CONTROL HALT", then the connection is closed with FIN and
// the port reset; nothing is reported and nothing changes.
//
// A write that fails once the repeater has stored a unit says which units it
// holds (a further paragraph of the failure message): until a write completes,
// the repeater holds a mix of new and old data.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lang/TextNo.h"
#include "comm/RepeaterLink.h"
#include "comm/ServiceCommands.h"
#include "data/ImageStore.h"
#include "data/ModelInfo.h"

namespace zmp {

// Results besides 0 (complete) and 1 (failed, reported): the user cancelled
// (nothing reported), and a repeater of another model than expected where the
// caller asked to hear of it (connection closed, RepeaterVersion() names it).
inline constexpr int kTransferCancelled = 3;
inline constexpr int kRepeaterOfOtherModel = 4;

// What a read does with a repeater of another model than expected.
enum class OtherModel { Refuse, Return };

// Block counts of the progress: 256-byte blocks of every unit.
inline constexpr int kFpuBlocks = 105;
inline constexpr int kCnvUntBlocks = 63;
inline constexpr int kCnvGrpBlocks = 32;
inline constexpr int kTransferBlocks = kFpuBlocks + kCnvUntBlocks + kCnvGrpBlocks;
// Blocks of size bytes, rounded up.
constexpr int BlocksOf(std::size_t size) { return static_cast<int>((size + 255) / 256); }

struct TransferProgress {
  std::function<void(TextNo status)> status;     // the status text of the step
  std::function<void(int done, int total)> step; // blocks done of the total
  std::function<bool()> cancelRequested;         // asked between steps
  std::function<void()> mustFinish;              // a write can no longer be cancelled
};

// The model record a repeater's version reply names.
ModelRecord RecordOfVersion(const wire::VersionInfo& v);
// True when the repeater's model code and destination are in the model table.
bool IsKnownRepeater(const wire::VersionInfo& v);
// True when the repeater is of the data's model (model code and destination).
bool RepeaterMatches(const wire::VersionInfo& v, const ModelRecord& data);
// The arguments of the model-mismatch message (text 470): the repeater's
// model in words, then the data's ("WAV-500: K  UHF: 450-480 MHz").
std::vector<std::string> ModelMismatchArgs(const wire::VersionInfo& v, const ModelRecord& data);

class ImageTransfer {
 public:
  ImageTransfer(RepeaterLink& link, TransferProgress progress = {});

  // A stop that is not a failure of communication (wrong model, data format):
  // shown through this with its text and the detail to fill in.
  std::function<void(TextNo text, const std::vector<std::string>& args)> showError;

  // One unit into out (exactly expectedSize bytes). The announced size must
  // equal expectedSize, every data message holds 1 to (size - offset) bytes,
  // and the unit ends exactly at its size with "SC_COMP_ind". Reports on
  // failure and returns 1; out may then hold a part of the unit.
  int ReadUnit(std::string_view unit, std::vector<std::uint8_t>& out, std::size_t expectedSize);
  // One unit from data, in blocks of 256 bytes.
  int WriteUnit(std::string_view unit, std::span<const std::uint8_t> data);
  // CNVUNT then CNVGRP into / from a second block (CNVUNT at 0, CNVGRP at 16000).
  int ReadConventional(BlockRef second);
  int WriteConventional(ConstBlockRef second);

  // The complete read. expected: the model the read must find (model code
  // and destination); nothing accepts any valid model. A repeater of another
  // model is refused with its message, or with OtherModel::Return ends the
  // connection and gives kRepeaterOfOtherModel. On 0 the transfer copy of
  // image holds the repeater's image; otherwise nothing changed.
  int ReadFromRepeater(ImageStore& image, const std::optional<ModelRecord>& expected,
                       OtherModel otherModel = OtherModel::Refuse);
  // The complete write of the working copy of image.
  int WriteToRepeater(ImageStore& image);

  // The repeater that answered the version request of the last transfer.
  const wire::VersionInfo& RepeaterVersion() const { return repeater_; }
  // Units of the last write that the repeater has stored.
  int UnitsStored() const { return unitsStored_; }

 private:
  int Fail();  // reports a communication failure, returns 1
  int Stop(TextNo text, const std::vector<std::string>& args);  // closes without a failure report, returns 1
  void EndConnection();  // every unit is through: FIN (best effort), port reset
  int OpenSequence(const std::optional<ModelRecord>& expected, OtherModel otherModel);
  void Start();
  void Status(TextNo t);
  void Advance(int blocks);
  int AwaitMessage(std::string_view text);
  // True when the user asked to stop and still may.
  bool CancelPending() const;
  // Pumps one window message first.
  bool StopRequested();
  // Stops: HALT when a unit is in progress, FIN, port reset. kTransferCancelled.
  int Cancelled(bool unitInProgress);
  // The write is about to send its first data block: no more cancelling.
  void PassPointOfNoReturn();
  // What the repeater holds after a write failed (0: nothing of this write).
  TextNo PartialWriteNote() const;

  RepeaterLink& link_;
  ServiceCommands svc_;
  TransferProgress progress_;
  wire::VersionInfo repeater_;
  int done_ = 0;
  int total_ = kTransferBlocks;
  bool cancellable_ = true;
  bool writing_ = false;
  int unitsStored_ = 0;  // units of this write the repeater has stored
};

}  // namespace zmp
