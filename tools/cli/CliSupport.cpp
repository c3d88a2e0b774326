#include "CliSupport.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <system_error>

#include "lang/LanguageTexts.h"
#include "data/SafeFile.h"
#include "ImageTextRead.h"
#include "fields/DecimalSeparator.h"

namespace zmp::cli {

bool LoadToolTexts(const char* command) {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  const std::string dir = ec ? std::string(".") : exe.parent_path().string();
  const std::string path = LanguageTexts::FindFile(dir);
  const auto r = path.empty() ? LanguageTexts::LoadResult::NotFound : Texts().LoadFile(path, "English");
  if (r == LanguageTexts::LoadResult::Loaded) {
    SetDecimalSeparator('.');
    return true;
  }
  std::fprintf(stderr, "zmp318t-cli %s: %s\n", command, LanguageTexts::MessageFor(r));
  return false;
}

std::optional<long> ParseNumber(const std::string& text, long min, long max) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(text.c_str(), &end, 0);
  if (errno || *end != '\0' || v < min || v > max) return std::nullopt;
  return v;
}

void PrintFailure(const char* command, const std::string& file, const std::string& message) {
  std::fprintf(stderr, "zmp318t-cli %s: %s: %s\n", command, Printable(file, 4096).c_str(), message.c_str());
}

bool WriteBlockFile(const std::string& path, const std::vector<std::uint8_t>& bytes, const char* command) {
  FileError e;
  if (WriteFileSafely(path, bytes, &e)) return true;
  PrintFailure(command, path, FileErrorText(e));
  return false;
}

bool WriteBlockFolder(const std::string& folder, std::span<const FolderFile> files, const char* command) {
  FileError e;
  if (WriteFolderSafely(folder, files, &e)) return true;
  PrintFailure(command, folder, FileErrorText(e) + "; nothing was written");
  return false;
}

std::optional<std::vector<std::uint8_t>> ReadBlockFile(const std::string& path, std::size_t size,
                                                       const char* command) {
  FileError e;
  auto bytes = ReadFileBytes(path, size, &e);
  if (!bytes) {
    PrintFailure(command, path, FileErrorText(e));
    return std::nullopt;
  }
  if (bytes->size() != size) {
    PrintFailure(command, path, "must hold exactly " + std::to_string(size) + " bytes");
    return std::nullopt;
  }
  return bytes;
}

// The message of a failed data-file read, from the language file.
std::string ReadFailureText(const DataFileResult& r, const std::string& path) {
  const std::string name = std::filesystem::path(path).filename().string();
  std::string text;
  if (r.code == kDataFilePasswordRefused)
    text = Tx(160_txt);
  else if (r.code == kDataFileOtherProgram)
    text = FormatText(Tx(662_txt), {name, r.foreignCode});
  else if (r.code == kDataFileForeign)
    text = FormatText(Tx(663_txt), {name});
  else
    text = Tx(DataFileReadMessage(r.code));
  if (r.code == kDataFileUnreadable && (r.error.code || r.error.notRegularFile))
    text += " (" + FileErrorText(r.error) + ")";
  return text;
}

namespace {

// Answers for a protected file, given the file's bytes.
using FilePasswordPrompt = std::function<std::optional<std::string>(const std::vector<std::uint8_t>&)>;

// Reads and decodes path into the transfer copy.
DataFileResult DecodeFile(const std::string& path, ImageStore& image, const FilePasswordPrompt& prompt,
                          SourceFile* source, bool* hasPassword, std::uint8_t* key) {
  DataFileResult r;
  auto bytes = ReadFileBytes(path, kDataFileSize, &r.error);
  if (!bytes) {
    r.code = kDataFileUnreadable;
    return r;
  }
  DecodedDataFile d = DecodeDataFile(*bytes, [&] { return prompt(*bytes); });
  r.code = d.code;
  r.foreignCode = d.foreignCode;
  if (hasPassword) *hasPassword = d.hasPassword;
  if (key) *key = d.key;
  if (d.code != kDataFileLoaded) return r;
  if (source) {
    source->path = path;
    source->bytes = std::move(*bytes);
    source->key = d.key;
    source->image = d.image;
  }
  image.transfer() = std::move(d.image);
  return r;
}

}  // namespace

DataFileResult LoadForInspection(const std::string& path, ImageStore& image,
                                 const std::optional<std::string>& password, bool* hasPassword,
                                 std::uint8_t* key) {
  const auto prompt = [&](const std::vector<std::uint8_t>& bytes) -> std::optional<std::string> {
    if (password) return password;
    return DecodePassword(std::span<const std::uint8_t, kSecurityPasswordLength>(
        bytes.data() + kHeaderPasswordOffset, kSecurityPasswordLength));
  };
  return DecodeFile(path, image, prompt, nullptr, hasPassword, key);
}

int LoadDataFile(const std::string& path, const std::optional<std::string>& password, ImageStore& image,
                 SourceFile& source, const char* command) {
  bool hasPassword = false;
  const auto prompt = [&](const std::vector<std::uint8_t>&) { return password; };
  const DataFileResult r = DecodeFile(path, image, prompt, &source, &hasPassword, nullptr);
  if (r.code != kDataFileLoaded) {
    PrintFailure(command, path, ReadFailureText(r, path));
    return r.code;
  }
  source.password = hasPassword ? password : std::nullopt;
  image.CopyTransferToWorking();
  return 0;
}

bool WriteEditedDataFile(const std::string& path, ImageStore& image, const SourceFile& source,
                         const char* command) {
  FileError e;
  bool written;
  if (image.working() == source.image) {
    written = WriteFileSafely(path, source.bytes, &e);
  } else {
    image.StampVersion();
    image.UpdateChecksum();
    DataFileOptions options;
    options.key = source.key;
    options.password = source.password;
    written = WriteFileSafely(path, EncodeDataFile(image.working(), options), &e);
  }
  if (!written) PrintFailure(command, path, FileErrorText(e));
  return written;
}

bool WriteTextOutput(const std::string& path, const std::string& text, const char* command) {
  if (path.empty()) return std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
  FileError e;
  const auto* p = reinterpret_cast<const std::uint8_t*>(text.data());
  if (WriteFileSafely(path, std::span<const std::uint8_t>(p, text.size()), &e)) return true;
  PrintFailure(command, path, FileErrorText(e));
  return false;
}

std::string ModelAndBandWords() {
  std::string text = "--model INDEX and --band WORD (the first band of the model when --band is left out):\n";
  ImageStore image;
  image.MakeBlank();
  ModelInfo model(image);
  for (int index = 0; index < kModelCount; ++index) {
    text += "  " + std::to_string(index) + "  " + ModelCaption(index) + "\n";
    model.SetRecord(ModelRecord::Default());
    model.SetModelIndex(index);
    for (const auto& row : BandTable()) {
      model.SetBandWord(row.bandWord);
      if (!IsValidRecord(model.Record()) || ModelIndexOf(model.Record()) != index) continue;
      char line[96];
      std::snprintf(line, sizeof line, "       --band %-5u %s\n", static_cast<unsigned>(row.bandWord),
                    model.LongCaption().c_str());
      text += line;
    }
  }
  return text;
}

std::optional<ModelRecord> ChooseModelRecord(const std::string& modelText,
                                             const std::optional<std::string>& bandText, const char* command) {
  const auto index = ParseNumber(modelText, 0, kModelCount - 1);
  if (!index) {
    std::fprintf(stderr, "zmp318t-cli %s: models are:\n", command);
    for (int i = 0; i < kModelCount; ++i) std::fprintf(stderr, "  %d  %s\n", i, ModelCaption(i).c_str());
    return std::nullopt;
  }
  ImageStore image;
  image.MakeBlank();
  ModelInfo model(image);
  model.SetRecord(ModelRecord::Default());
  model.SetModelIndex(static_cast<int>(*index));
  // A band row carries its destination: only the rows of this model count.
  const int wanted = static_cast<int>(*index);
  const auto fits = [&] { return IsValidRecord(model.Record()) && ModelIndexOf(model.Record()) == wanted; };
  std::uint16_t band = 0;
  if (bandText) {
    if (const auto v = ParseNumber(*bandText, 0, 0xFFFF)) band = static_cast<std::uint16_t>(*v);
  } else {
    for (const auto& row : BandTable()) {
      model.SetBandWord(row.bandWord);
      if (fits()) {
        band = row.bandWord;
        break;
      }
    }
  }
  model.SetBandWord(band);
  if (fits()) return model.Record();
  std::fprintf(stderr, "zmp318t-cli %s: band words of %s are:\n", command,
               ModelCaption(static_cast<int>(*index)).c_str());
  for (const auto& row : BandTable()) {
    model.SetBandWord(row.bandWord);
    if (fits())
      std::fprintf(stderr, "  %u  %s\n", static_cast<unsigned>(row.bandWord), model.LongCaption().c_str());
  }
  return std::nullopt;
}

}  // namespace zmp::cli
