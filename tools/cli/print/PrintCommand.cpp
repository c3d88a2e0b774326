// zmp318t-cli print: the printed listing of a data file as a PDF, the same
// listing File > Print makes, without a display. This is the one command of
// the tool that uses Qt (its painter and PDF output, on the offscreen
// platform); it is built only with the Qt program.
#include <QGuiApplication>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>

#include "Cli.h"
#include "CliSupport.h"
#include "editors/EditorModules.h"
#include "print/ui/ListingRenderer.h"

namespace zmp::cli {

namespace {

constexpr const char* kPrintSynopsis =
    "print FILE -o LISTING.pdf [--sections LIST] [--channels FROM-TO] [--password P]";

int RunPrint(const std::string& file, const std::string& out, const std::optional<std::string>& sections,
             const std::optional<std::string>& channels, const std::optional<std::string>& password) {
  print::ListingChoice choice;
  if (sections) {
    const print::SectionKeys keys = print::ParseSectionKeys(EditorModules(), *sections);
    if (!keys.unknown.empty() || keys.keys.empty()) {
      std::fprintf(stderr, "zmp318t-cli print: '%s' is not a section; the sections are:",
                   keys.unknown.empty() ? sections->c_str() : keys.unknown.c_str());
      for (const auto& s : print::ListSections(EditorModules())) std::fprintf(stderr, " %s", s.key.c_str());
      std::fprintf(stderr, "\n");
      return WrongUse(kPrintSynopsis);
    }
    choice.sections = keys.keys;
  } else {
    for (const auto& s : print::ListSections(EditorModules())) choice.sections.push_back(s.key);
  }
  if (channels) {
    const auto range = print::ParseChannelRange(*channels);
    if (!range) {
      std::fprintf(stderr,
                   "zmp318t-cli print: '%s' is not a channel range FROM-TO of channels 1 to %d with FROM "
                   "not after TO\n",
                   channels->c_str(), kChannelCount);
      return WrongUse(kPrintSynopsis);
    }
    choice.channels = *range;
  }
  if (!LoadToolTexts("print")) return 1;
  ImageStore image;
  SourceFile source;
  if (const int code = LoadDataFile(file, password, image, source, "print")) return code;

  // Fonts and the PDF writer need a GUI application; no display is used.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt's notes about the session (no runtime folder and the like) are not the tool's output.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
  });
  static int argc = 1;
  static char name[] = "zmp318t-cli";
  static char* argv[] = {name, nullptr};
  const auto app = std::make_unique<QGuiApplication>(argc, argv);
  const print::Listing listing = print::BuildListing(EditorModules(), image, choice);
  const print::PageHeader header =
      print::HeaderOf(image, std::filesystem::path(file).filename().string(), std::time(nullptr));
  const std::string failure = print::WriteListingPdf(listing, header, out);
  if (!failure.empty()) {
    std::fprintf(stderr, "zmp318t-cli print: %s\n", failure.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

void AddPrintCommands(CommandList& commands) {
  struct Args {
    std::string file, out;
    std::optional<std::string> sections, channels, password;
  };
  auto a = std::make_shared<Args>();
  CLI::App* c = commands.Add("print", kPrintSynopsis,
                             "the printed listing of a data file (the sections of File > Print) as a PDF",
                             [=] { return RunPrint(a->file, a->out, a->sections, a->channels, a->password); });
  c->add_option("FILE", a->file, "a data file")->required();
  c->add_option("-o", a->out, "the PDF to write")->required();
  c->add_option("--sections", a->sections, "comma-separated section keys (default: all), e.g. model,channel");
  c->add_option("--channels", a->channels, "the channels to list, FROM-TO (default 1-30)");
  c->add_option("--password", a->password, "the password of a protected file");
}

}  // namespace zmp::cli
