#include "data/DataFile.h"

#include <ctime>

namespace zmp {

namespace {

constexpr std::string_view kPasswordKey = "TvbQxwHnKs";
constexpr std::size_t kProgramVersionOffset = 10;

// The blocks in file order, each with its file offset.
struct Placed {
  BlockId block;
  std::size_t fileOffset;
};
constexpr std::array<Placed, 2> kThirdThenSecond{{{BlockId::Third, kDataFileThirdOffset},
                                                  {BlockId::Second, kDataFileSecondOffset}}};

// File offset of main-block byte i (the key sits between bytes 49 and 50).
constexpr std::size_t MainFileOffset(std::size_t i) {
  return kDataFileHeaderSize + i + (i >= kDataFileMainSplit ? 1 : 0);
}

std::string ForeignCodeText(std::span<const std::uint8_t> magic) {
  std::string s;
  for (std::size_t i = 0; i < kFileMagicSize && i < magic.size(); ++i) {
    if (magic[i] == 0xFF || magic[i] == 0) break;
    s.push_back(static_cast<char>(magic[i]));
  }
  return s;
}

}  // namespace

std::array<std::uint8_t, kSecurityPasswordLength> EncodePassword(const std::string& password) {
  std::array<std::uint8_t, kSecurityPasswordLength> out{};
  for (std::size_t i = 0; i < out.size(); ++i) {
    std::uint8_t b = i < password.size() ? static_cast<std::uint8_t>(password[i]) : 0xFF;
    if (b >= '0' && b <= '9') b = static_cast<std::uint8_t>(kPasswordKey[b - '0']);
    out[i] = static_cast<std::uint8_t>(b ^ kFileMagic[i]);
  }
  return out;
}

std::string DecodePassword(std::span<const std::uint8_t, kSecurityPasswordLength> encoded) {
  std::string out;
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    const std::uint8_t b = static_cast<std::uint8_t>(encoded[i] ^ kFileMagic[i]);
    if (b == 0xFF) break;
    const auto pos = kPasswordKey.find(static_cast<char>(b));
    out.push_back(pos == std::string_view::npos ? static_cast<char>(b) : static_cast<char>('0' + pos));
  }
  return out;
}

std::uint8_t ChooseFileKey(bool scramble) {
  if (!scramble) return 0;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return static_cast<std::uint8_t>((local.tm_min + local.tm_sec + 1) % 256);
}

std::vector<std::uint8_t> EncodeDataFile(const ImageCopy& image, const DataFileOptions& options) {
  std::vector<std::uint8_t> file(kDataFileSize, 0xFF);
  for (std::size_t i = 0; i < kFileMagicSize; ++i) file[i] = kFileMagic[i];
  for (std::size_t i = 0; i < kProgramVersion.size(); ++i)
    file[kProgramVersionOffset + i] = static_cast<std::uint8_t>(kProgramVersion[i]);
  const auto record = image.Main().Range(region::kModelRecord, kModelRecordSize);
  for (std::size_t i = 0; i < kModelRecordSize; ++i) file[kHeaderRecordOffset + i] = record[i];
  file[kHeaderMarkerOffset] = kDataFileMarker;
  // An empty password embeds nothing, so such a file opens without a prompt.
  if (options.password && !options.password->empty()) {
    const auto enc = EncodePassword(*options.password);
    for (std::size_t i = 0; i < enc.size(); ++i) file[kHeaderPasswordOffset + i] = enc[i];
  }
  const std::uint8_t key = options.key;
  const auto main = image.Main().span();
  for (std::size_t i = 0; i < main.size(); ++i) file[MainFileOffset(i)] = main[i] ^ key;
  file[kDataFileKeyOffset] = key;
  for (const Placed& p : kThirdThenSecond) {
    const auto bytes = image.Block(p.block).span();
    for (std::size_t i = 0; i < bytes.size(); ++i) file[p.fileOffset + i] = bytes[i] ^ key;
  }
  const auto fourth = image.Fourth().span();
  for (std::size_t i = 0; i < fourth.size(); ++i) file[kDataFileFourthOffset + i] = fourth[i] ^ key;
  return file;
}

DecodedDataFile DecodeDataFile(std::span<const std::uint8_t> file, const PasswordPrompt& askPassword) {
  DecodedDataFile out;
  auto fail = [&out](int code) {
    out.code = code;
    return out;
  };
  if (file.size() < kDataFileHeaderSize) return fail(kDataFileUnreadable);
  const auto header = file.first(kDataFileHeaderSize);
  if (!std::equal(kFileMagic.begin(), kFileMagic.end(), header.begin())) {
    if (header[0] == 'Z' && header[1] == 'M' && header[2] == 'P') {
      out.foreignCode = ForeignCodeText(header.first(kFileMagicSize));
      return fail(kDataFileOtherProgram);
    }
    return fail(kDataFileForeign);
  }
  if (header[kHeaderMarkerOffset] != kDataFileMarker) return fail(kDataFileBadMarker);
  const ModelRecord headerRecord =
      ModelRecord::FromBytes(header.subspan(kHeaderRecordOffset, kModelRecordSize));
  if (!IsKnownModel(headerRecord) || !IsAllowedBand(headerRecord)) return fail(kDataFileBadModel);
  if (!HasBlankTail(headerRecord)) return fail(kDataFileBadRecordTail);
  // A protected file asks for its password before any block is read.
  if (header[kHeaderPasswordOffset] < 0xFF) {
    out.hasPassword = true;
    const std::string expected =
        DecodePassword(header.subspan<kHeaderPasswordOffset, kSecurityPasswordLength>());
    const auto entry = askPassword ? askPassword() : std::nullopt;
    if (!entry || *entry != expected) return fail(kDataFilePasswordRefused);
  }
  // The main block, the third and the second block must be there whole; the
  // fourth may be missing. Bytes beyond the fourth block are not read.
  if (file.size() < kDataFileFourthOffset) return fail(kDataFileUnreadable);
  const std::uint8_t key = file[kDataFileKeyOffset];
  out.key = key;
  auto main = out.image.Main();
  for (std::size_t i = 0; i < main.size(); ++i) main.SetByte(i, file[MainFileOffset(i)] ^ key);
  for (const Placed& p : kThirdThenSecond) {
    auto block = out.image.Block(p.block);
    for (std::size_t i = 0; i < block.size(); ++i) block.SetByte(i, file[p.fileOffset + i] ^ key);
  }
  auto fourth = out.image.Fourth();
  if (file.size() >= kDataFileSize) {
    for (std::size_t i = 0; i < fourth.size(); ++i) fourth.SetByte(i, file[kDataFileFourthOffset + i] ^ key);
  } else {
    fourth.Fill(0, fourth.size(), 0xFF);  // files without the fourth block stay readable
  }
  // The image's own record becomes the current model: it must be sound too.
  if (!IsValidRecord(ModelRecord::FromBytes(main.Range(region::kModelRecord, kModelRecordSize))))
    return fail(kDataFileBadModel);
  out.code = kDataFileLoaded;
  return out;
}

DataFileResult WriteDataFile(const std::string& path, ImageStore& image, const DataFileOptions& options) {
  // The version and checksum go into the image only once the file holds them:
  // a save that fails leaves the image as it was.
  ImageCopy stamped = image.working();
  StampVersion(stamped);
  UpdateChecksum(stamped);
  DataFileResult r;
  if (!WriteFileSafely(path, EncodeDataFile(stamped, options), &r.error)) {
    r.code = kDataFileCannotCreate;
    return r;
  }
  image.working() = std::move(stamped);
  return r;
}

DataFileResult ReadDataFile(const std::string& path, ImageStore& image, const PasswordPrompt& askPassword) {
  DataFileResult r;
  const auto bytes = ReadFileBytes(path, kDataFileSize, &r.error);
  if (!bytes) {
    r.code = kDataFileUnreadable;
    return r;
  }
  DecodedDataFile d = DecodeDataFile(*bytes, askPassword);
  r.code = d.code;
  r.foreignCode = d.foreignCode;
  if (d.code == kDataFileLoaded) image.transfer() = std::move(d.image);
  return r;
}

TextNo DataFileReadMessage(int code) {
  switch (code) {
    case kDataFileUnreadable: return 641_txt;
    case kDataFileOtherProgram: return 662_txt;
    case kDataFileBadModel:
    case kDataFileBadMarker: return 654_txt;
    case kDataFileBadRecordTail: return 690_txt;
    case kDataFileForeign: return 663_txt;
    default: return TextNo{0};
  }
}

}  // namespace zmp
