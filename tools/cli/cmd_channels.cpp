// zmp318t-cli channels FILE: the channel plan of a data file as the channel
// grid copies it with its titles ("to Clip(w/Title)"), one line per channel,
// so that channel plans can be compared and archived as text.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "Cli.h"
#include "app/LanguageTexts.h"
#include "data/DataFile.h"
#include "data/ImageStore.h"
#include "editors/ChannelGridSource.h"
#include "editors/DecimalSeparator.h"

namespace zmp::cli {

namespace {

// The language file beside the tool, or the installed one.
bool LoadTexts() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  const std::string dir = ec ? std::string(".") : exe.parent_path().string();
  const std::string path = LanguageTexts::FindFile(dir);
  if (path.empty()) return false;
  return Texts().LoadFile(path, "English") == LanguageTexts::LoadResult::Loaded;
}

int RunChannels(const std::vector<std::string>& args) {
  std::string file;
  std::optional<std::string> password;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--password" && i + 1 < args.size()) {
      password = args[++i];
    } else if (file.empty() && !args[i].empty() && args[i][0] != '-') {
      file = args[i];
    } else {
      file.clear();
      break;
    }
  }
  if (file.empty()) {
    std::fprintf(stderr, "usage: zmp318t-cli channels FILE [--password P]\n");
    return 2;
  }
  if (!LoadTexts()) {
    std::fprintf(stderr, "zmp318t-cli channels: %s\n", kLanguageNotFoundMessage);
    return 1;
  }
  SetDecimalSeparator('.');
  ImageStore image;
  // A protected file is listed only with its password.
  const DataFileResult r = ReadDataFile(file, image, [&] { return password; });
  if (r.code != kDataFileLoaded) {
    std::string why = Tx(DataFileReadMessage(r.code));
    if (why.empty()) why = "the file cannot be read";
    if (r.error.code) why += " (" + r.error.Text() + ")";
    std::fprintf(stderr, "zmp318t-cli channels: %s: %s\n", file.c_str(), why.c_str());
    return 1;
  }
  image.CopyTransferToWorking();
  const IndexCheck check = ChannelStore(image).CheckIndex();
  if (!check.sound) std::fprintf(stderr, "zmp318t-cli channels: %s\n", Tx(748_txt).c_str());
  const std::string text = ChannelPlanText(image);
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
  return 0;
}

const CliRegistration kChannels({
    "channels",
    "channels FILE [--password P]",
    "print the channel plan of a data file as tab-separated text with titles",
    RunChannels,
});

}  // namespace

}  // namespace zmp::cli
