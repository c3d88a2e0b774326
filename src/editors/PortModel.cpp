#include "editors/PortModel.h"

#include <array>

#include "lang/LanguageTexts.h"
#include "editors/FunctionCodes.h"

namespace zmp {

namespace {

constexpr std::array<OutputFunction, 8> kOutputFunctions{{
    {' ', 1256_txt},
    {'0', 1288_txt},
    {';', 1294_txt},
    {'2', 1290_txt},
    {'<', 1293_txt},
    {'1', 1289_txt},
    {'7', 1292_txt},
    {'3', 1291_txt},
}};

constexpr std::array<TextNo, kFixedInputCount> kFixedInputNames{958_txt, 959_txt, 960_txt};
constexpr std::array<TextNo, kFixedOutputCount> kFixedOutputNames{953_txt, 954_txt, 955_txt, 956_txt, 957_txt};
constexpr std::array<TextNo, kOptionPortCount> kOptionPortNames{945_txt, 946_txt, 947_txt,
                                                                948_txt, 949_txt, 950_txt};

std::size_t At(std::size_t start, std::size_t stride, int index) {
  return start + stride * static_cast<std::size_t>(index);
}

}  // namespace

int FixedPortCount(PortDirection d) { return d == PortDirection::Input ? kFixedInputCount : kFixedOutputCount; }

int MaxPortRows(PortDirection d) { return FixedPortCount(d) + kOptionPortCount; }

std::optional<PortDirection> OptionPortDirection(const ImageStore& image, int k) {
  if (k < 0 || k >= kOptionPortCount) return std::nullopt;
  switch (image.Main().Byte(kOptionPortDirections + static_cast<std::size_t>(k))) {
    case 0: return PortDirection::Input;
    case 1: return PortDirection::Output;
    default: return std::nullopt;
  }
}

int PortRowCount(const ImageStore& image, PortDirection d) {
  int rows = FixedPortCount(d);
  for (int k = 0; k < kOptionPortCount; ++k)
    if (OptionPortDirection(image, k) == d) ++rows;
  return rows;
}

std::optional<Port> PortOfRow(const ImageStore& image, PortDirection d, int row) {
  if (row < 0) return std::nullopt;
  if (row < FixedPortCount(d)) return Port{d, false, row};
  int n = row - FixedPortCount(d);
  for (int k = 0; k < kOptionPortCount; ++k) {
    if (OptionPortDirection(image, k) != d) continue;
    if (n-- == 0) return Port{d, true, k};
  }
  return std::nullopt;
}

TextNo PortName(const Port& port) {
  const auto i = static_cast<std::size_t>(port.index);
  if (port.option) return kOptionPortNames.at(i);
  return port.direction == PortDirection::Input ? kFixedInputNames.at(i) : kFixedOutputNames.at(i);
}

std::string PortRowTitle(const ImageStore& image, PortDirection d, int row) {
  const std::optional<Port> port = PortOfRow(image, d, row);
  return port ? Tx(PortName(*port)) : std::string{};
}

std::size_t InputGroupOffset(const Port& input) {
  return input.option ? At(kList2.offset, kGroupStride, input.index) : At(kList1.offset, kGroupStride, input.index);
}

std::size_t OutputRecordOffset(const Port& output) {
  return At(output.option ? kOptionOutputRecords : kFixedOutputRecords, kOutputRecordSize, output.index);
}

std::size_t RemoteRecordOffset(const Port& port) {
  const bool input = port.direction == PortDirection::Input;
  const std::size_t start = input ? (port.option ? kOptionInputRemote : kFixedInputRemote)
                                  : (port.option ? kOptionOutputRemote : kFixedOutputRemote);
  return At(start, kRemoteRecordSize, port.index);
}

std::span<const OutputFunction> OutputFunctions() { return kOutputFunctions; }

const OutputFunction* FindOutputFunction(std::uint8_t code) {
  for (const OutputFunction& f : kOutputFunctions)
    if (f.code == code) return &f;
  return nullptr;
}

TextNo PolarityName(std::uint8_t polarity) { return polarity == 0 ? 962_txt : 961_txt; }

bool PortHasFunction(const ImageStore& image, const Port& port) {
  if (port.direction == PortDirection::Input) return image.Main().Word(InputGroupOffset(port)) != kNoFunction;
  const std::uint8_t code = image.Main().Byte(OutputRecordOffset(port));
  return code != kNoOutputFunction && FindOutputFunction(code) != nullptr;
}

}  // namespace zmp
