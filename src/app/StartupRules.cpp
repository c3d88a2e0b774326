#include "app/StartupRules.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "comm/Wire.h"

namespace zmp {

namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// The seven mask bytes of "Protect".
constexpr std::array<std::uint8_t, 7> kProtectMask{0x5A, 0xC3, 0x17, 0x8E, 0x61, 0xB4, 0x2D};

// Parses count fields of one or two hex digits separated by ':'. Leading
// blanks of a field are skipped; anything after the last field is ignored.
template <std::size_t N>
std::optional<std::array<std::uint8_t, N>> ParseHexFields(std::string_view text) {
  std::array<std::uint8_t, N> out{};
  std::size_t pos = 0;
  for (std::size_t i = 0; i < N; ++i) {
    if (i > 0) {
      if (pos >= text.size() || text[pos] != ':') return std::nullopt;
      ++pos;
    }
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    int value = 0, digits = 0;
    while (pos < text.size() && digits < 2 && std::isxdigit(static_cast<unsigned char>(text[pos]))) {
      const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[pos])));
      value = value * 16 + (c >= 'a' ? c - 'a' + 10 : c - '0');
      ++digits;
      ++pos;
    }
    if (digits == 0) return std::nullopt;
    out[i] = static_cast<std::uint8_t>(value);
  }
  return out;
}

std::string FormatHexFields(const std::uint8_t* bytes, std::size_t n) {
  std::string s;
  char buf[4];
  for (std::size_t i = 0; i < n; ++i) {
    std::snprintf(buf, sizeof buf, "%02X", bytes[i]);
    if (i) s += ':';
    s += buf;
  }
  return s;
}

}  // namespace

CommandLineFlags ParseCommandLine(const std::vector<std::string>& args) {
  CommandLineFlags f;
  for (const auto& a : args) {
    if (EqualsNoCase(a, "memmap")) f.memmap = true;
    if (a == "SupportUtility")
      f.supportUtility = true;
    else if (EqualsNoCase(a, "demo"))
      f.demo = true;
    else if (EqualsNoCase(a, "step"))
      f.step = true;
  }
  return f;
}

int ComPortRule(long long stored) {
  return stored >= 1 && stored <= kMaxComPort ? static_cast<int>(stored) : kDefaultComPort;
}

int BaudrateRule(long long stored) {
  for (int b : wire::kBaudRates)
    if (stored == b) return b;
  return kDefaultBaudrate;
}

std::string FormatLastModel(const ModelRecord& r) {
  return FormatHexFields(r.bytes.data(), r.bytes.size());
}

std::optional<ModelRecord> ParseLastModel(std::string_view text) {
  const auto fields = ParseHexFields<kModelRecordSize>(text);
  if (!fields) return std::nullopt;
  return ModelRecord::FromBytes(*fields);
}

std::string FormatWindowPlacement(const WindowPlacement& p) {
  char buf[160];
  std::snprintf(buf, sizeof buf, "%i:%i:%i:%i:%i:%i:%i:%i:%i:%i", p.flags, p.showCommand, p.minX,
                p.minY, p.maxX, p.maxY, p.left, p.top, p.right, p.bottom);
  return buf;
}

std::optional<WindowPlacement> ParseWindowPlacement(std::string_view text) {
  const std::string s(text);  // strtol needs a terminated string
  int values[10];
  const char* p = s.c_str();
  for (int i = 0; i < 10; ++i) {
    if (i > 0) {
      if (*p != ':') return std::nullopt;
      ++p;
    }
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(p, &end, 0);
    if (end == p || errno == ERANGE || v < INT32_MIN || v > INT32_MAX) return std::nullopt;
    values[i] = static_cast<int>(v);
    p = end;
  }
  WindowPlacement w;
  w.flags = values[0];
  w.showCommand = values[1];
  w.minX = values[2];
  w.minY = values[3];
  w.maxX = values[4];
  w.maxY = values[5];
  w.left = values[6];
  w.top = values[7];
  w.right = values[8];
  w.bottom = values[9];
  return w;
}

std::string FormatProtect(const Protection& p) {
  std::array<std::uint8_t, 7> plain{};
  plain[0] = p.executionProtected ? '1' : '0';
  for (std::size_t i = 0; i < kPasswordLength; ++i)
    plain[i + 1] = i < p.password.size() ? static_cast<std::uint8_t>(p.password[i]) : 0;
  for (std::size_t i = 0; i < plain.size(); ++i) plain[i] ^= kProtectMask[i];
  return FormatHexFields(plain.data(), plain.size());
}

std::optional<Protection> ParseProtect(std::string_view text) {
  auto fields = ParseHexFields<7>(text);
  if (!fields) return std::nullopt;
  for (std::size_t i = 0; i < fields->size(); ++i) (*fields)[i] ^= kProtectMask[i];
  Protection p;
  p.executionProtected = (*fields)[0] != '0';
  for (std::size_t i = 1; i < fields->size() && (*fields)[i] != 0; ++i)
    p.password.push_back(static_cast<char>((*fields)[i]));
  return p;
}

}  // namespace zmp
