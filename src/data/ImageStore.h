// The repeater's data image: four fixed blocks, each held as a working copy
// (what the editors change), a transfer copy (what file loading and repeater
// reading fill, and what saving and writing take) and a snapshot copy (what the
// modified test compares against).
//
// Every access to image bytes goes through BlockRef, which checks bounds and
// throws std::out_of_range on any access outside its block. Nothing else in the
// program does pointer arithmetic on the image.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace zmp {

enum class BlockId : std::uint8_t { Main = 0, Second = 1, Third = 2, Fourth = 3 };

inline constexpr std::size_t kMainBlockSize = 26880;    // 0x6900
inline constexpr std::size_t kSecondBlockSize = 24000;  // 0x5DC0
inline constexpr std::size_t kThirdBlockSize = 70;      // 68 bytes + a 16-bit word at 68
inline constexpr std::size_t kFourthBlockSize = 1024;
inline constexpr std::array<std::size_t, 4> kBlockSizes{kMainBlockSize, kSecondBlockSize,
                                                        kThirdBlockSize, kFourthBlockSize};
inline constexpr std::array<BlockId, 4> kAllBlocks{BlockId::Main, BlockId::Second, BlockId::Third,
                                                   BlockId::Fourth};

constexpr std::size_t BlockSize(BlockId b) { return kBlockSizes[static_cast<std::size_t>(b)]; }
const char* BlockName(BlockId b);

// Region starts within the main block (the editors address fields by their
// main-block offsets; these name the areas).
namespace region {
inline constexpr std::size_t kSettings = 0x0000;       // repeater-wide settings, channel index
inline constexpr std::size_t kTestFrequency = 0x0100;  // 16 test-frequency records of 16 bytes
inline constexpr std::size_t kModelRecord = 0x0412;    // model identity record, 16 bytes
inline constexpr std::size_t kKeys = 0x2800;           // key assignment, multi table
inline constexpr std::size_t kMaintenance = 0x58C0;    // maintenance and communication information
inline constexpr std::size_t kEncDec = 0x5A00;         // encode/decode table, embedded message
inline constexpr std::size_t kFiveTone = 0x6100;       // 5-tone, remote control, DTMF, vendor tone
inline constexpr std::size_t kDtmfCw = 0x6200;         // DTMF encode/decode, CW message
// Second block.
inline constexpr std::size_t kConventionalUnit = 0;       // "CNVUNT", 16000 bytes
inline constexpr std::size_t kConventionalGroup = 16000;  // "CNVGRP", 8000 bytes
}  // namespace region

// Fields of the main block owned by the image itself.
inline constexpr std::size_t kVersionTextOffset = 0x0248;  // "V1.40", 5 bytes
inline constexpr std::size_t kFormatTextOffset = 0x024D;   // "101", 3 bytes
inline constexpr std::size_t kChecksumOffset = 0x0256;     // u16 little-endian
inline constexpr std::string_view kProgramVersion = "V1.40";
inline constexpr std::string_view kDataFormat = "101";

// Bounds-checked view of one block. T is std::uint8_t (writable) or
// const std::uint8_t (read-only).
template <class T>
class BasicBlockRef {
 public:
  static constexpr bool kWritable = !std::is_const_v<T>;

  BasicBlockRef(std::span<T> bytes, BlockId id) : bytes_(bytes), id_(id) {}
  template <class U>
    requires(std::is_const_v<T> && !std::is_const_v<U>)
  BasicBlockRef(BasicBlockRef<U> other) : bytes_(other.span()), id_(other.id()) {}

  BlockId id() const { return id_; }
  std::size_t size() const { return bytes_.size(); }
  std::span<T> span() const { return bytes_; }
  // A checked sub-range [offset, offset + length).
  std::span<T> Range(std::size_t offset, std::size_t length) const {
    Check(offset, length);
    return bytes_.subspan(offset, length);
  }

  std::uint8_t Byte(std::size_t offset) const { return Range(offset, 1)[0]; }
  // 16-bit little-endian word.
  std::uint16_t Word(std::size_t offset) const {
    auto r = Range(offset, 2);
    return static_cast<std::uint16_t>(r[0] | (r[1] << 8));
  }
  bool Bit(std::size_t offset, int bit) const { return (Byte(offset) >> CheckBit(bit)) & 1u; }
  std::vector<std::uint8_t> Read(std::size_t offset, std::size_t length) const {
    auto r = Range(offset, length);
    return {r.begin(), r.end()};
  }
  bool IsAll(std::size_t offset, std::size_t length, std::uint8_t value) const {
    for (auto b : Range(offset, length))
      if (b != value) return false;
    return true;
  }
  // Fixed text field: characters up to the first 0xFF or NUL, at most length.
  std::string Text(std::size_t offset, std::size_t length) const {
    std::string out;
    for (auto b : Range(offset, length)) {
      if (b == 0xFF || b == 0x00) break;
      out.push_back(static_cast<char>(b));
    }
    return out;
  }
  // Packed BCD of nbytes bytes, least significant byte first, two digits a
  // byte (high nibble first). Returns the 2*nbytes digits, most significant
  // first, or nothing when a nibble is not a decimal digit.
  std::optional<std::string> BcdDigits(std::size_t offset, std::size_t nbytes) const {
    auto r = Range(offset, nbytes);
    std::string digits;
    for (std::size_t i = nbytes; i-- > 0;) {
      const int hi = r[i] >> 4, lo = r[i] & 0x0F;
      if (hi > 9 || lo > 9) return std::nullopt;
      digits.push_back(static_cast<char>('0' + hi));
      digits.push_back(static_cast<char>('0' + lo));
    }
    return digits;
  }

  void SetByte(std::size_t offset, std::uint8_t v) const
    requires kWritable
  {
    Range(offset, 1)[0] = v;
  }
  void SetWord(std::size_t offset, std::uint16_t v) const
    requires kWritable
  {
    auto r = Range(offset, 2);
    r[0] = static_cast<std::uint8_t>(v & 0xFF);
    r[1] = static_cast<std::uint8_t>(v >> 8);
  }
  void SetBit(std::size_t offset, int bit, bool on) const
    requires kWritable
  {
    const std::uint8_t mask = static_cast<std::uint8_t>(1u << CheckBit(bit));
    const std::uint8_t b = Byte(offset);
    SetByte(offset, on ? (b | mask) : (b & static_cast<std::uint8_t>(~mask)));
  }
  void Write(std::size_t offset, std::span<const std::uint8_t> data) const
    requires kWritable
  {
    auto r = Range(offset, data.size());
    for (std::size_t i = 0; i < data.size(); ++i) r[i] = data[i];
  }
  void Fill(std::size_t offset, std::size_t length, std::uint8_t v) const
    requires kWritable
  {
    for (auto& b : Range(offset, length)) b = v;
  }
  // memmove within the block; both ranges are checked.
  void Move(std::size_t to, std::size_t from, std::size_t length) const
    requires kWritable
  {
    auto dst = Range(to, length);
    auto src = Range(from, length);
    if (to < from) {
      for (std::size_t i = 0; i < length; ++i) dst[i] = src[i];
    } else {
      for (std::size_t i = length; i-- > 0;) dst[i] = src[i];
    }
  }
  // Fixed text field: the text's bytes, cut at length, the rest padded.
  void SetText(std::size_t offset, std::size_t length, std::string_view text,
               std::uint8_t pad = 0xFF) const
    requires kWritable
  {
    auto r = Range(offset, length);
    for (std::size_t i = 0; i < length; ++i)
      r[i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : pad;
  }
  // Inverse of BcdDigits: digits.size() must be 2*nbytes decimal digits.
  void SetBcdDigits(std::size_t offset, std::size_t nbytes, std::string_view digits) const
    requires kWritable
  {
    CheckBcdDigits(nbytes, digits);
    auto r = Range(offset, nbytes);
    for (std::size_t i = 0; i < nbytes; ++i) {
      // digits[0..1] is the most significant byte, stored last.
      const std::size_t pos = 2 * (nbytes - 1 - i);
      r[i] = static_cast<std::uint8_t>(((digits[pos] - '0') << 4) | (digits[pos + 1] - '0'));
    }
  }

 private:
  // The members below are defined once in ImageStore.cpp; they throw.
  void Check(std::size_t offset, std::size_t length) const;
  static int CheckBit(int bit);
  static void CheckBcdDigits(std::size_t nbytes, std::string_view digits);

  std::span<T> bytes_;
  BlockId id_;
};

using BlockRef = BasicBlockRef<std::uint8_t>;
using ConstBlockRef = BasicBlockRef<const std::uint8_t>;

// One full set of the four blocks.
class ImageCopy {
 public:
  ImageCopy();  // every byte 0xFF

  BlockRef Block(BlockId b) { return {std::span<std::uint8_t>(blocks_[Index(b)]), b}; }
  ConstBlockRef Block(BlockId b) const {
    return {std::span<const std::uint8_t>(blocks_[Index(b)]), b};
  }
  BlockRef Main() { return Block(BlockId::Main); }
  ConstBlockRef Main() const { return Block(BlockId::Main); }
  BlockRef Second() { return Block(BlockId::Second); }
  ConstBlockRef Second() const { return Block(BlockId::Second); }
  BlockRef Third() { return Block(BlockId::Third); }
  ConstBlockRef Third() const { return Block(BlockId::Third); }
  BlockRef Fourth() { return Block(BlockId::Fourth); }
  ConstBlockRef Fourth() const { return Block(BlockId::Fourth); }

  void FillAll(std::uint8_t v);
  bool operator==(const ImageCopy&) const = default;

 private:
  static std::size_t Index(BlockId b) { return static_cast<std::size_t>(b); }
  std::array<std::vector<std::uint8_t>, 4> blocks_;
};

// Sum of all main-block bytes with the checksum field taken as 0, low 16 bits.
std::uint16_t ComputeChecksum(const ImageCopy& image);
// "V1.40" and "101" into the main block of a copy.
void StampVersion(ImageCopy& image);
// Recomputes the checksum field of the main block of a copy.
void UpdateChecksum(ImageCopy& image);

// The one data image of the program.
class ImageStore {
 public:
  ImageStore();

  ImageCopy& working() { return working_; }
  const ImageCopy& working() const { return working_; }
  ImageCopy& transfer() { return transfer_; }
  const ImageCopy& transfer() const { return transfer_; }
  const ImageCopy& snapshot() const { return snapshot_; }

  // Shorthands for the working copy, which is what editors use.
  BlockRef Main() { return working_.Main(); }
  ConstBlockRef Main() const { return working_.Main(); }
  BlockRef Block(BlockId b) { return working_.Block(b); }
  ConstBlockRef Block(BlockId b) const { return working_.Block(b); }

  void CopyWorkingToTransfer() { transfer_ = working_; }
  void CopyTransferToWorking() { working_ = transfer_; }
  void TakeSnapshot() { snapshot_ = working_; }
  // Working differs from the snapshot in the main, second or third block.
  // The fourth block takes no part. Has no side effect on any copy.
  bool IsModified() const;
  // Working copy all 0xFF, then copied to transfer.
  void MakeBlank();
  // "V1.40" and "101" into the working main block.
  void StampVersion();
  // Recomputes the checksum field of the working main block.
  void UpdateChecksum();

 private:
  ImageCopy working_;
  ImageCopy transfer_;
  ImageCopy snapshot_;
};

}  // namespace zmp
