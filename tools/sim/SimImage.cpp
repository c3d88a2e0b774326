#include "SimImage.h"

#include "data/DataFile.h"
#include "data/ModelInfo.h"
#include "data/NewImage.h"
#include "editors/EditorModules.h"

namespace zmp::sim {

namespace {

// The model record of the options: --model and --band, either alone, or the
// default WAV-300 E.
bool ChooseRecord(const SimOptions& o, ModelRecord& record, std::string& error) {
  record = ModelRecord::Default();
  const auto& models = ModelTable();
  const auto& bands = BandTable();
  int model = ModelIndexOf(record);
  if (o.model) {
    model = *o.model;
  } else if (o.band) {
    const int row = BandRowOfWord(*o.band);
    for (int i = 0; i < kModelCount; ++i)
      if (row >= models[i].firstBandRow && row <= models[i].lastBandRow) {
        model = i;
        break;
      }
  }
  const std::uint16_t word = o.band ? *o.band : bands[models[model].firstBandRow].bandWord;
  const auto& code = models[model].code;
  for (std::size_t i = 0; i < code.size(); ++i) record.bytes[i] = static_cast<std::uint8_t>(code[i]);
  record.bytes[10] = static_cast<std::uint8_t>(word & 0xFF);
  record.bytes[11] = static_cast<std::uint8_t>(word >> 8);
  if (!IsValidRecord(record)) {
    error = "band word " + std::to_string(word) + " does not belong to model " +
            std::to_string(model) + " (" + ModelCaption(model) + ")";
    return false;
  }
  return true;
}

}  // namespace

bool BuildImage(const SimOptions& o, ImageStore& image, std::string& error) {
  if (!o.load.empty()) {
    const DataFileResult r = ReadDataFile(o.load, image, [] { return std::optional<std::string>(); });
    if (r.code != kDataFileLoaded) {
      error = "--load " + o.load + ": not a readable data file (code " + std::to_string(r.code) + ")";
      return false;
    }
    image.CopyTransferToWorking();
    return true;
  }
  ModelRecord record;
  if (!ChooseRecord(o, record, error)) return false;
  image.MakeBlank();
  ModelInfo info(image);
  info.SetRecord(record);
  // The editors' defaults (the band's test channels among them) as the program makes them.
  InstallEditorModules();
  ApplyNewImageDefaults(image, false, true);
  if (o.pattern) {
    // xorshift32 over every block; the identity fields are put back after.
    std::uint32_t x = *o.pattern ? *o.pattern : 0x9E3779B9u;
    for (BlockId b : kAllBlocks) {
      const BlockRef block = image.working().Block(b);
      for (std::size_t i = 0; i < block.size(); ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        block.SetByte(i, static_cast<std::uint8_t>(x >> 11));
      }
    }
    info.SetRecord(record);
    image.StampVersion();
  }
  image.UpdateChecksum();
  return true;
}

bool SaveImage(const std::string& path, ImageStore& image, std::string& error) {
  // The file is the repeater's memory as it stands: the stamp and checksum
  // that saving adds must not change what the program reads next.
  ImageStore copy;
  copy.working() = image.working();
  const DataFileResult r = WriteDataFile(path, copy, {});
  if (r.code != kDataFileWritten) {
    error = "--save " + path + ": cannot write the data file (code " + std::to_string(r.code) + ")";
    return false;
  }
  return true;
}

}  // namespace zmp::sim
