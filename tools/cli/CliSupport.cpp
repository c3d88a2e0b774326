#include "CliSupport.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "app/LanguageTexts.h"
#include "data/SafeFile.h"

namespace zmp::cli {

bool LoadToolTexts(const char* command) {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  const std::string dir = ec ? std::string(".") : exe.parent_path().string();
  const std::string path = LanguageTexts::FindFile(dir);
  const auto r = path.empty() ? LanguageTexts::LoadResult::NotFound : Texts().LoadFile(path, "English");
  if (r == LanguageTexts::LoadResult::Loaded) return true;
  std::fprintf(stderr, "zmp318t-cli %s: %s\n", command, LanguageTexts::MessageFor(r));
  return false;
}

std::optional<std::string> ParsedArgs::Option(const std::string& name) const {
  for (const auto& [k, v] : options)
    if (k == name) return v;
  return std::nullopt;
}

bool ParseArgs(const std::vector<std::string>& args, const std::vector<std::string>& knownOptions,
               const char* usage, ParsedArgs& out) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.size() > 1 && a[0] == '-') {
      bool known = false;
      for (const auto& k : knownOptions) known = known || k == a;
      if (!known || i + 1 >= args.size()) {
        std::fprintf(stderr, "%s\nusage: zmp318t-cli %s\n",
                     known ? ("missing value for " + a).c_str() : ("unknown option " + a).c_str(), usage);
        return false;
      }
      out.options.emplace_back(a, args[++i]);
    } else {
      out.positional.push_back(a);
    }
  }
  return true;
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
  std::fprintf(stderr, "zmp318t-cli %s: %s: %s\n", command, file.c_str(), message.c_str());
}

bool WriteBlockFile(const std::string& path, const std::vector<std::uint8_t>& bytes, const char* command) {
  FileError e;
  if (WriteFileSafely(path, bytes, &e)) return true;
  PrintFailure(command, path, e.Text());
  return false;
}

std::optional<std::vector<std::uint8_t>> ReadBlockFile(const std::string& path, std::size_t size,
                                                       const char* command) {
  FileError e;
  auto bytes = ReadFileBytes(path, size, &e);
  if (!bytes) {
    PrintFailure(command, path, e.Text());
    return std::nullopt;
  }
  if (bytes->size() != size) {
    PrintFailure(command, path, "must hold exactly " + std::to_string(size) + " bytes");
    return std::nullopt;
  }
  return bytes;
}

}  // namespace zmp::cli
