// zmp318t-cli commands for data files and tuning files: info, decode,
// encode, new, tune-info and tune-decode.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "Cli.h"
#include "CliSupport.h"
#include "ImageTextRead.h"
#include "lang/LanguageTexts.h"
#include "data/DataFile.h"
#include "data/ModelInfo.h"
#include "data/NewImage.h"
#include "data/SafeFile.h"
#include "data/TuningFile.h"

namespace zmp::cli {

namespace {

namespace fs = std::filesystem;

constexpr const char* kBlockFiles[] = {"main.bin", "second.bin", "third.bin", "fourth.bin"};

std::string Hex(unsigned v, int digits) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%0*X", digits, v);
  return buf;
}

int RunInfo(const std::string& file) {
  if (!LoadToolTexts("info")) return 1;
  ImageStore image;
  bool hasPassword = false;
  std::uint8_t key = 0;
  const DataFileResult r = LoadForInspection(file, image, std::nullopt, &hasPassword, &key);
  if (r.code != kDataFileLoaded) {
    PrintFailure("info", file, ReadFailureText(r, file));
    return r.code;
  }
  image.CopyTransferToWorking();
  const ModelInfo model(image);
  const auto main = image.Main();
  const std::uint16_t stored = main.Word(kChecksumOffset);
  const std::uint16_t computed = ComputeChecksum(image.working());
  std::printf("file:        %s\n", Printable(file, 4096).c_str());
  std::printf("model:       %s\n", model.LongCaption().c_str());
  std::printf("band word:   %u\n", static_cast<unsigned>(model.BandWord()));
  std::printf("version:     %s\n", main.Text(kVersionTextOffset, kProgramVersion.size()).c_str());
  std::printf("data format: %s\n", main.Text(kFormatTextOffset, kDataFormat.size()).c_str());
  std::printf("checksum:    %s\n", stored == computed
                                       ? Tx(161_txt).c_str()
                                       : FormatText(Tx(162_txt), {Hex(stored, 4), Hex(computed, 4)}).c_str());
  std::printf("password:    %s\n", Tx(hasPassword ? 163_txt : 164_txt).c_str());
  std::printf("key byte:    %s\n", Hex(key, 2).c_str());
  return 0;
}

int RunDecode(const std::string& file, const std::string& dir, const std::optional<std::string>& password) {
  if (!LoadToolTexts("decode")) return 1;
  ImageStore image;
  const DataFileResult r = ReadDataFile(file, image, [&] { return password; });
  if (r.code != kDataFileLoaded) {
    PrintFailure("decode", file, ReadFailureText(r, file));
    return r.code;
  }
  const BlockId order[] = {BlockId::Main, BlockId::Second, BlockId::Third, BlockId::Fourth};
  std::vector<FolderFile> files;
  for (int i = 0; i < 4; ++i) files.push_back({kBlockFiles[i], image.transfer().Block(order[i]).span()});
  return WriteBlockFolder(dir, files, "decode") ? 0 : 1;
}

int RunEncode(const std::string& dir, const std::string& out, const std::optional<std::string>& keyText,
              const std::optional<std::string>& password) {
  if (!LoadToolTexts("encode")) return 1;
  DataFileOptions options;
  if (const auto& k = keyText) {
    const auto v = ParseNumber(*k, 0, 255);
    if (!v) {
      std::fprintf(stderr, "zmp318t-cli encode: the key must be 0 to 255\n");
      return 2;
    }
    options.key = static_cast<std::uint8_t>(*v);
  }
  if (const auto& p = password) {
    if (p->size() > kSecurityPasswordLength) {
      std::fprintf(stderr, "zmp318t-cli encode: the password has at most six characters\n");
      return 2;
    }
    options.password = *p;
  }
  ImageCopy image;
  const BlockId order[] = {BlockId::Main, BlockId::Second, BlockId::Third, BlockId::Fourth};
  for (int i = 0; i < 4; ++i) {
    const auto bytes = ReadBlockFile((fs::path(dir) / kBlockFiles[i]).string(),
                                     BlockSize(order[i]), "encode");
    if (!bytes) return 1;
    image.Block(order[i]).Write(0, *bytes);
  }
  // The blocks go into the file as they are (no stamp, no new checksum).
  if (!IsValidRecord(ModelRecord::FromBytes(image.Main().Range(region::kModelRecord, kModelRecordSize))))
    PrintFailure("encode", dir, Tx(165_txt));
  return WriteBlockFile(out, EncodeDataFile(image, options), "encode") ? 0 : 1;
}

int RunNew(const std::string& modelText, const std::optional<std::string>& band, const std::string& out) {
  if (!LoadToolTexts("new")) return 1;
  const auto record = ChooseModelRecord(modelText, band, "new");
  if (!record) return 2;
  ImageStore image;
  image.MakeBlank();
  ModelInfo model(image);
  model.SetRecord(*record);
  MakeNewImageForCurrentModel(image);
  const DataFileResult r = WriteDataFile(out, image, {});
  if (r.code != kDataFileWritten) {
    PrintFailure("new", out, FileErrorText(r.error));
    return 1;
  }
  std::printf("%s\n", model.LongCaption().c_str());
  return 0;
}

int LoadTuning(const std::string& path, TuningFile& t, const char* command) {
  FileError e;
  const int code = t.ReadTuningFile(path, &e);
  if (code == kTuningOk) return 0;
  const std::string name = fs::path(path).filename().string();
  const TextNo text = TuningReadMessage(code, t.ForeignCode());
  std::string message = text == 662_txt   ? FormatText(Tx(662_txt), {name, t.ForeignCode()})
                        : text == 663_txt ? FormatText(Tx(663_txt), {name})
                                          : Tx(text);
  if (e.code || e.notRegularFile) message += " (" + FileErrorText(e) + ")";
  PrintFailure(command, path, message);
  return code;
}

std::string HexBytes(const std::uint8_t* p, std::size_t n) {
  std::string s;
  for (std::size_t i = 0; i < n; ++i) s += Hex(p[i], 2).substr(2) + (i + 1 < n ? " " : "");
  return s;
}

int RunTuneInfo(const std::string& file) {
  if (!LoadToolTexts("tune-info")) return 1;
  TuningFile t;
  if (const int code = LoadTuning(file, t, "tune-info")) return code;
  unsigned sum = 0;
  for (auto b : t.Tuning()) sum += b;
  std::printf("file:        %s\n", Printable(file, 4096).c_str());
  std::printf("identity:    %s\n", HexBytes(t.Identity().data(), 16).c_str());
  std::printf("             %s\n", HexBytes(t.Identity().data() + 16, 16).c_str());
  std::printf("tuning data: %zu bytes, byte sum %s\n", t.Tuning().size(), Hex(sum & 0xFFFF, 4).c_str());
  return 0;
}

int RunTuneDecode(const std::string& file, const std::string& dirText) {
  if (!LoadToolTexts("tune-decode")) return 1;
  TuningFile t;
  if (const int code = LoadTuning(file, t, "tune-decode")) return code;
  const FolderFile files[] = {{"identity.bin", t.Identity()}, {"tuning.bin", t.Tuning()}};
  return WriteBlockFolder(dirText, files, "tune-decode") ? 0 : 1;
}

}  // namespace

void AddFileCommands(CommandList& commands) {
  {
    auto file = std::make_shared<std::string>();
    CLI::App* c = commands.Add("info", "info FILE",
                               "model, band, version and format stamps, checksum, password and key of a data file",
                               [=] { return RunInfo(*file); });
    c->add_option("FILE", *file, "a data file")->required();
  }
  {
    struct Args {
      std::string file, dir;
      std::optional<std::string> password;
    };
    auto a = std::make_shared<Args>();
    CLI::App* c = commands.Add("decode", "decode FILE DIR [--password P]",
                               "write the four blocks of a data file into DIR (main/second/third/fourth.bin)",
                               [=] { return RunDecode(a->file, a->dir, a->password); });
    c->add_option("FILE", a->file, "a data file")->required();
    c->add_option("DIR", a->dir, "the folder of the block files")->required();
    c->add_option("--password", a->password, "the password of a protected file");
  }
  {
    struct Args {
      std::string dir, out;
      std::optional<std::string> key, password;
    };
    auto a = std::make_shared<Args>();
    CLI::App* c = commands.Add("encode", "encode DIR -o FILE [--key K] [--password P]",
                               "build a data file from the four block files of DIR",
                               [=] { return RunEncode(a->dir, a->out, a->key, a->password); });
    c->add_option("DIR", a->dir, "the folder of the block files")->required();
    c->add_option("-o", a->out, "the data file to write")->required();
    c->add_option("--key", a->key, "the key byte, 0 to 255 (0x hex allowed)");
    c->add_option("--password", a->password, "protect the file with a password");
  }
  {
    struct Args {
      std::string model, out;
      std::optional<std::string> band;
    };
    auto a = std::make_shared<Args>();
    CLI::App* c = commands.Add("new", "new --model INDEX [--band WORD] -o FILE",
                               "write a data file of a new image with the defaults of a model",
                               [=] { return RunNew(a->model, a->band, a->out); });
    c->add_option("--model", a->model, "the model index")->required();
    c->add_option("--band", a->band, "the band word (default: the model's first band)");
    c->footer(ModelAndBandWords());
    c->add_option("-o", a->out, "the data file to write")->required();
  }
  {
    auto file = std::make_shared<std::string>();
    CLI::App* c = commands.Add("tune-info", "tune-info FILE", "the identity block and tuning data of a tuning file",
                               [=] { return RunTuneInfo(*file); });
    c->add_option("FILE", *file, "a tuning file")->required();
  }
  {
    auto a = std::make_shared<std::pair<std::string, std::string>>();
    CLI::App* c = commands.Add("tune-decode", "tune-decode FILE DIR",
                               "write DIR/identity.bin and DIR/tuning.bin of a tuning file",
                               [=] { return RunTuneDecode(a->first, a->second); });
    c->add_option("FILE", a->first, "a tuning file")->required();
    c->add_option("DIR", a->second, "the folder to write into")->required();
  }
}

}  // namespace zmp::cli
