#include "data/ImageStore.h"

#include <algorithm>
#include <stdexcept>

namespace zmp {

const char* BlockName(BlockId b) {
  switch (b) {
    case BlockId::Main: return "main";
    case BlockId::Second: return "second";
    case BlockId::Third: return "third";
    case BlockId::Fourth: return "fourth";
  }
  return "?";
}

template <class T>
void BasicBlockRef<T>::Check(std::size_t offset, std::size_t length) const {
  if (offset > bytes_.size() || length > bytes_.size() - offset) {
    throw std::out_of_range(std::string("image access outside the ") + BlockName(id_) +
                            " block: offset " + std::to_string(offset) + ", length " +
                            std::to_string(length) + ", block size " +
                            std::to_string(bytes_.size()));
  }
}

template <class T>
int BasicBlockRef<T>::CheckBit(int bit) {
  if (bit < 0 || bit > 7) throw std::out_of_range("bit number " + std::to_string(bit));
  return bit;
}

template <class T>
void BasicBlockRef<T>::CheckBcdDigits(std::size_t nbytes, std::string_view digits) {
  if (digits.size() != 2 * nbytes) throw std::invalid_argument("BCD digit count");
  for (char c : digits)
    if (c < '0' || c > '9') throw std::invalid_argument("BCD digit");
}

// Only the out-of-line members are instantiated here: instantiating the whole
// read-only class would also instantiate its writing members.
template void BasicBlockRef<std::uint8_t>::Check(std::size_t, std::size_t) const;
template void BasicBlockRef<const std::uint8_t>::Check(std::size_t, std::size_t) const;
template int BasicBlockRef<std::uint8_t>::CheckBit(int);
template int BasicBlockRef<const std::uint8_t>::CheckBit(int);
template void BasicBlockRef<std::uint8_t>::CheckBcdDigits(std::size_t, std::string_view);
template void BasicBlockRef<const std::uint8_t>::CheckBcdDigits(std::size_t, std::string_view);

ImageCopy::ImageCopy() {
  for (std::size_t i = 0; i < blocks_.size(); ++i) blocks_[i].assign(kBlockSizes[i], 0xFF);
}

void ImageCopy::FillAll(std::uint8_t v) {
  for (auto& b : blocks_) std::fill(b.begin(), b.end(), v);
}

std::uint16_t ComputeChecksum(const ImageCopy& image) {
  std::uint32_t sum = 0;
  const auto main = image.Main().span();
  for (std::size_t i = 0; i < main.size(); ++i) {
    if (i == kChecksumOffset || i == kChecksumOffset + 1) continue;
    sum += main[i];
  }
  return static_cast<std::uint16_t>(sum & 0xFFFF);
}

ImageStore::ImageStore() = default;

bool ImageStore::IsModified() const {
  for (BlockId b : {BlockId::Main, BlockId::Second, BlockId::Third}) {
    const auto w = working_.Block(b).span();
    const auto s = snapshot_.Block(b).span();
    if (!std::equal(w.begin(), w.end(), s.begin())) return true;
  }
  return false;
}

void ImageStore::MakeBlank() {
  working_.FillAll(0xFF);
  CopyWorkingToTransfer();
}

void StampVersion(ImageCopy& image) {
  image.Main().SetText(kVersionTextOffset, kProgramVersion.size(), kProgramVersion);
  image.Main().SetText(kFormatTextOffset, kDataFormat.size(), kDataFormat);
}

void UpdateChecksum(ImageCopy& image) {
  image.Main().SetWord(kChecksumOffset, 0);
  image.Main().SetWord(kChecksumOffset, ComputeChecksum(image));
}

void ImageStore::StampVersion() { zmp::StampVersion(working_); }

void ImageStore::UpdateChecksum() { zmp::UpdateChecksum(working_); }

}  // namespace zmp
