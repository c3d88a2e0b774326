// zmp318t-cli channels FILE: the channel plan of a data file as the channel
// grid copies it with its titles ("to Clip(w/Title)"), one line per channel,
// so that channel plans can be compared and archived as text.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "Cli.h"
#include "CliSupport.h"
#include "app/LanguageTexts.h"
#include "data/DataFile.h"
#include "data/ImageStore.h"
#include "editors/ChannelGridSource.h"

namespace zmp::cli {

namespace {

int RunChannels(const std::string& file, const std::optional<std::string>& password) {
  if (!LoadToolTexts("channels")) return 1;
  ImageStore image;
  // A protected file is listed only with its password.
  const DataFileResult r = ReadDataFile(file, image, [&] { return password; });
  if (r.code != kDataFileLoaded) {
    PrintFailure("channels", file, ReadFailureText(r, file));
    return r.code;
  }
  image.CopyTransferToWorking();
  const IndexCheck check = ChannelStore(image).CheckIndex();
  if (!check.sound) std::fprintf(stderr, "zmp318t-cli channels: %s\n", Tx(748_txt).c_str());
  const std::string text = ChannelPlanText(image) + "\n";
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}

}  // namespace

void AddChannelCommands(CommandList& commands) {
  struct Args {
    std::string file;
    std::optional<std::string> password;
  };
  auto a = std::make_shared<Args>();
  CLI::App* c = commands.Add("channels", "channels FILE [--password P]",
                             "print the channel plan of a data file as tab-separated text with titles",
                             [=] { return RunChannels(a->file, a->password); });
  c->add_option("FILE", a->file, "a data file")->required();
  c->add_option("--password", a->password, "the password of a protected file");
}

}  // namespace zmp::cli
