#include "SimImage.h"

#include <cstdio>
#include <string_view>
#include <utility>
#include <vector>

#include "data/DataFile.h"
#include "data/ModelInfo.h"
#include "data/NewImage.h"
#include "editors/ChannelFields.h"
#include "editors/ChannelStore.h"
#include "editors/EditorModules.h"
#include "editors/FiveToneTable.h"
#include "fields/FieldWalk.h"

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

// The channel plan of the demonstration repeater as a technician would type
// it for the 146-174 MHz band; other bands take it moved to their lower
// limit. Receive, transmit (0: the receive frequency; -1: receive only), the
// tones (empty: none), name.
struct DemoChannel {
  double rx, tx;
  const char* decode;
  const char* encode;
  const char* name;
};
constexpr DemoChannel kDemoPlan[] = {
    {146.94, 146.34, "88.5", "88.5", "R1"},  // a repeater pair: transmit 600 kHz below
    {147.12, 147.72, "100.0", "100.0", "R2"},
    {151.82, 0, "", "", "B1"},
    {151.88, 0, "131.8", "131.8", "B2"},
    {152.0, 0, "D023", "D023", "B3"},
    {154.57, 0, "67.0", "67.0", "YD"},
    {154.6, 0, "", "", "GR"},
    {155.16, 0, "D754", "D754", "SR"},
    {156.8, 0, "", "", "CH"},
    {158.1, 0, "156.7", "156.7", "WK"},
    {159.45, 0, "123.0", "", "MT"},
    {162.55, -1, "", "", "WX"},  // a weather channel, received only
};
constexpr double kDemoPlanBase = 146.0;

std::string Mhz(double mhz) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4f", mhz);
  return text;
}

// Stores the plan through the channel store, as the channel editors would.
bool AddDemoChannels(ImageStore& image, std::string& error) {
  ChannelStore store(image);
  const double shift = LowerLimit(ModelInfo(image).BandWord(), 0) - kDemoPlanBase;
  int channel = 0;
  for (const DemoChannel& c : kDemoPlan) {
    const auto set = [&](std::string_view field, const std::string& text) {
      if (text.empty() || CommitFieldText(ChannelField(channel, field), image, text).ok()) return true;
      error = "demonstration channel " + std::to_string(channel + 1) + ": field " + std::string(field) +
              " refuses " + text;
      return false;
    };
    if (!set("rx_frequency", Mhz(c.rx + shift)) ||
        !set("tx_frequency", c.tx < 0 ? std::string() : Mhz((c.tx ? c.tx : c.rx) + shift)))
      return false;
    // QT/DQT need a channel type that carries them: the first offered.
    if (*c.decode || *c.encode) {
      for (const auto& type : FieldChoices(ChannelField(channel, "channel_type"), store.Image())) {
        if (CommitFieldChoice(ChannelField(channel, "channel_type"), store.Image(), type.value).ok() &&
            ShowField(ChannelField(channel, "qt_decode"), store.Image()).applicable)
          break;
      }
    }
    if (
        !set("qt_decode", c.decode) || !set("qt_encode", c.encode) ||
        !set("name", c.name))
      return false;
    ++channel;
  }
  return true;
}

// A few 5-tone codes in the encode/decode table (the code's digits, then
// blanks), with the settings that use them chosen as the 5-tone editor would.
constexpr const char* kDemoEncodeCodes[] = {"12345", "12300", "54321"};
constexpr const char* kDemoDecodeCodes[] = {"23456", "23411", "23412", "65432"};

void WriteFiveToneEntry(ImageStore& image, std::size_t start, int n, std::string_view code) {
  std::vector<std::uint8_t> entry(kFiveToneEntrySize, 0xFF);
  for (std::size_t i = 0; i < code.size(); ++i) entry[i] = static_cast<std::uint8_t>(code[i]);
  image.Main().Write(start + kFiveToneEntrySize * static_cast<std::size_t>(n), entry);
}

bool AddDemoFiveTone(ImageStore& image, std::string& error) {
  int n = 0;
  for (const char* code : kDemoEncodeCodes) WriteFiveToneEntry(image, kEncodeTableStart, n++, code);
  n = 0;
  for (const char* code : kDemoDecodeCodes) WriteFiveToneEntry(image, kDecodeTableStart, n++, code);
  const std::pair<const char*, const char*> settings[] = {
      {"five_tone.decode.decode_code", "1"},          {"five_tone.decode.transpond_code", "1"},
      {"five_tone.decode.repeater_open", "2"},        {"five_tone.decode.repeater_close", "3"},
      {"five_tone.call_keys.call_1_encode_code", "2"}, {"five_tone.call_keys.call_2_encode_code", "3"},
  };
  for (const auto& [key, text] : settings) {
    const auto field = FindField(EditorModules(), image, key);
    if (!field || !CommitFieldText(field->ref, image, text).ok()) {
      error = std::string("demonstration 5-tone setting ") + key + " refuses " + text;
      return false;
    }
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
  } else if (!AddDemoChannels(image, error) || !AddDemoFiveTone(image, error)) {
    return false;
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
