// zmp318t-cli commands that talk to a repeater: read, write, ports and the
// comparison of a data file with a repeater (diff FILE --port P).
//
// --port takes a COM number (mapped to a device by the port map: the
// defaults and ZMP_PORT_MAP) or a device path such as the pseudo-terminal
// that zmp318t-sim prints. The link starts at 9600 baud and switches to
// --baud after the handshake, as the program does.
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "Cli.h"
#include "CliSupport.h"
#include "lang/LanguageTexts.h"
#include "comm/ImageTransfer.h"
#include "comm/RepeaterLink.h"
#include "comm/Wire.h"
#include "data/DataFile.h"
#include "data/ModelInfo.h"
#include "editors/EditorModules.h"
#include "fields/ImageDiff.h"

namespace zmp::cli {

namespace {

constexpr int kBarWidth = 30;

// The link's messages go to stderr; there is no window to keep alive.
class PrintingLinkUi : public LinkUi {
 public:
  explicit PrintingLinkUi(const char* command) : command_(command) {}
  void ShowFailure(TextNo text) override { Print(Tx(text)); }
  void ShowFailure(TextNo text, TextNo more) override { Print(Tx(text) + "\n" + Tx(more)); }
  void Print(const std::string& message) {
    EndProgressLine();
    std::fprintf(stderr, "zmp318t-cli %s: %s\n", command_, message.c_str());
  }
  // A progress line open on the terminal ends before anything else is printed.
  void EndProgressLine() {
    if (progressShown) std::fputc('\n', stderr);
    progressShown = false;
  }
  bool progressShown = false;

 private:
  const char* command_;
};

// "<status> [#####.....]  45%" redrawn in place when stderr is a terminal.
TransferProgress ProgressBar(PrintingLinkUi& ui) {
  TransferProgress p;
  if (::isatty(STDERR_FILENO) == 0) return p;
  auto status = std::make_shared<std::string>();
  auto draw = [&ui, status](int done, int total) {
    const int filled = total > 0 ? std::clamp(done * kBarWidth / total, 0, kBarWidth) : 0;
    const int percent = total > 0 ? std::clamp(done * 100 / total, 0, 100) : 0;
    std::fprintf(stderr, "\r%-34.34s [%s%s] %3d%%", status->c_str(), std::string(filled, '#').c_str(),
                 std::string(kBarWidth - filled, '.').c_str(), percent);
    std::fflush(stderr);
    ui.progressShown = true;
  };
  auto last = std::make_shared<std::pair<int, int>>(0, kTransferBlocks);
  p.status = [status, draw, last](TextNo t) {
    *status = Tx(t);
    draw(last->first, last->second);
  };
  p.step = [draw, last](int done, int total) {
    *last = {done, total};
    draw(done, total);
  };
  return p;
}

// Ctrl+C (SIGINT) and SIGTERM while a transfer runs: noted, and the transfer
// stops at its next step with the connection closed and the port reset,
// where it still may (a write only until its first data block).
volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void NoteInterrupt(int) { g_interrupted = 1; }

class InterruptCatcher {
 public:
  InterruptCatcher() {
    g_interrupted = 0;
    struct sigaction sa {};
    sa.sa_handler = NoteInterrupt;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, &previousInt_);
    sigaction(SIGTERM, &sa, &previousTerm_);
  }
  ~InterruptCatcher() {
    sigaction(SIGINT, &previousInt_, nullptr);
    sigaction(SIGTERM, &previousTerm_, nullptr);
  }
  InterruptCatcher(const InterruptCatcher&) = delete;
  InterruptCatcher& operator=(const InterruptCatcher&) = delete;
  static bool Interrupted() { return g_interrupted != 0; }

 private:
  struct sigaction previousInt_ {};
  struct sigaction previousTerm_ {};
};

constexpr int kInterrupted = 128 + SIGINT;  // as a shell reports a command ended by Ctrl+C

// One read or write with the tool's messages and progress bar; 0 on success.
// Call it with an InterruptCatcher alive.
int RunTransfer(RepeaterLink& link, const char* command, const std::function<int(ImageTransfer&)>& run) {
  PrintingLinkUi ui(command);
  link.SetUi(&ui);
  TransferProgress progress = ProgressBar(ui);
  bool mustFinish = false, toldWhy = false;
  progress.cancelRequested = [] { return InterruptCatcher::Interrupted(); };
  progress.mustFinish = [&mustFinish] { mustFinish = true; };
  // An interrupt once the write can no longer stop is answered with the why.
  progress.step = [&, draw = progress.step](int done, int total) {
    if (draw) draw(done, total);
    if (mustFinish && !toldWhy && InterruptCatcher::Interrupted()) {
      toldWhy = true;
      ui.Print(Tx(403_txt));
    }
  };
  ImageTransfer transfer(link, progress);
  transfer.showError = [&ui](TextNo text, const std::vector<std::string>& args) {
    ui.Print(FormatText(Tx(text), args));
  };
  const int r = run(transfer);
  ui.EndProgressLine();
  link.SetUi(nullptr);
  return r;
}

// --port: all digits is a COM number, anything else a device path.
bool ChoosePort(RepeaterLink& link, const std::string& port, const char* command) {
  if (!port.empty() && std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    const auto n = ParseNumber(port, 1, 255);
    if (!n) {
      std::fprintf(stderr, "zmp318t-cli %s: COM port numbers are 1 to 255\n", command);
      return false;
    }
    link.SetPort(static_cast<int>(*n));
    return true;
  }
  if (port.empty()) {
    std::fprintf(stderr, "zmp318t-cli %s: --port needs a COM number or a device path\n", command);
    return false;
  }
  link.SetDevice(port);
  return true;
}

bool ChooseBaud(RepeaterLink& link, const std::optional<std::string>& baud, const char* command) {
  if (!baud) return true;
  const auto v = ParseNumber(*baud, 1, 115200);
  if (!v || !wire::IsSupportedBaud(static_cast<int>(*v))) {
    std::fprintf(stderr, "zmp318t-cli %s: the rate is one of 9600, 19200, 38400, 57600, 115200\n", command);
    return false;
  }
  link.SetTargetBaud(static_cast<int>(*v));
  return true;
}

struct ReadArgs {
  std::string port, out;
  std::optional<std::string> baud, model, band, like, password;
};

int RunRead(const ReadArgs& a) {
  if (a.password && a.password->size() > kSecurityPasswordLength) {
    std::fprintf(stderr, "zmp318t-cli read: the password has at most six characters\n");
    return 2;
  }
  if (!LoadToolTexts("read")) return 1;
  RepeaterLink link;
  if (!ChoosePort(link, a.port, "read") || !ChooseBaud(link, a.baud, "read")) return 2;

  // The repeater the read must find; without one any known model is taken.
  std::optional<ModelRecord> expected;
  if (const auto& m = a.model) {
    expected = ChooseModelRecord(*m, a.band, "read");
    if (!expected) return 2;
  } else if (const auto& like = a.like) {
    ImageStore sample;
    const DataFileResult r = LoadForInspection(*like, sample, std::nullopt);
    if (r.code != kDataFileLoaded) {
      PrintFailure("read", *like, ReadFailureText(r, *like));
      return r.code;
    }
    expected = ModelRecord::FromBytes(sample.transfer().Main().Range(region::kModelRecord, kModelRecordSize));
  }

  ImageStore image;
  image.MakeBlank();
  InterruptCatcher interrupts;
  const int r = RunTransfer(link, "read", [&](ImageTransfer& t) { return t.ReadFromRepeater(image, expected); });
  if (r == kTransferCancelled || (r == 0 && InterruptCatcher::Interrupted())) {
    std::fprintf(stderr, "zmp318t-cli read: interrupted; the connection is closed and no file was written\n");
    return kInterrupted;
  }
  if (r != 0) return 1;

  // The file is written whole or not at all; an old one stays until then.
  image.CopyTransferToWorking();
  DataFileOptions options;
  options.password = a.password;
  const DataFileResult w = WriteDataFile(a.out, image, options);
  if (w.code != kDataFileWritten) {
    PrintFailure("read", a.out, FileErrorText(w.error));
    return 1;
  }
  std::printf("%s -> %s\n", ModelInfo(image).LongCaption().c_str(), a.out.c_str());
  return 0;
}

int RunWrite(const std::string& port, const std::optional<std::string>& baud,
             const std::optional<std::string>& password, const std::string& file) {
  if (!LoadToolTexts("write")) return 1;
  RepeaterLink link;
  if (!ChoosePort(link, port, "write") || !ChooseBaud(link, baud, "write")) return 2;

  // A protected file is written only with its password, as it is opened.
  ImageStore image;
  const DataFileResult r = ReadDataFile(file, image, [&] { return password; });
  if (r.code != kDataFileLoaded) {
    PrintFailure("write", file, ReadFailureText(r, file));
    return r.code;
  }
  image.CopyTransferToWorking();

  InterruptCatcher interrupts;
  const int written = RunTransfer(link, "write", [&](ImageTransfer& t) { return t.WriteToRepeater(image); });
  if (written == kTransferCancelled) {
    std::fprintf(stderr, "zmp318t-cli write: interrupted before any data was sent; the repeater is unchanged\n");
    return kInterrupted;
  }
  if (written != 0) return 1;
  std::printf("%s -> %s\n", file.c_str(), ModelInfo(image).LongCaption().c_str());
  return 0;
}

}  // namespace

int RunDiffWithRepeater(const std::string& file, const std::string& port, const std::optional<std::string>& baud,
                        const std::optional<std::string>& password) {
  constexpr int kFailed = 2;
  if (!LoadToolTexts("diff")) return kFailed;
  RepeaterLink link;
  if (!ChoosePort(link, port, "diff") || !ChooseBaud(link, baud, "diff")) return kFailed;
  ImageStore data;
  SourceFile source;
  if (LoadDataFile(file, password, data, source, "diff") != 0) return kFailed;

  // The repeater is read into an image of its own; the file is only read.
  ImageStore repeater;
  repeater.MakeBlank();
  const ModelRecord model = ModelInfo(data).Record();
  InterruptCatcher interrupts;
  wire::VersionInfo other;
  const int r = RunTransfer(link, "diff", [&](ImageTransfer& t) {
    const int read = t.ReadFromRepeater(repeater, model, OtherModel::Return);
    if (read == kRepeaterOfOtherModel) other = t.RepeaterVersion();
    return read;
  });
  if (r == kRepeaterOfOtherModel) {
    const auto models = ModelMismatchArgs(other, model);
    std::fprintf(stderr, "zmp318t-cli diff: the repeater is a %s, but %s is for a %s; only data of the "
                 "repeater's model can be compared with it\n", models[0].c_str(), file.c_str(),
                 models[1].c_str());
    return kFailed;
  }
  if (r != 0 || InterruptCatcher::Interrupted()) {
    std::fprintf(stderr, "zmp318t-cli diff: the repeater was not read completely; nothing was compared\n");
    return kFailed;
  }
  repeater.CopyTransferToWorking();
  const ImageDiff diff = DiffImages(EditorModules(), repeater, data);
  const std::string text = DiffText(diff);
  std::fwrite(text.data(), 1, text.size(), stdout);
  if (repeater.working() == data.working()) {
    std::printf("the repeater holds exactly the image of %s\n", file.c_str());
    return 0;
  }
  if (diff.Empty()) std::printf("the images differ only in bytes that every field shows alike\n");
  return 1;
}

void AddRadioCommands(CommandList& commands) {
  {
    auto a = std::make_shared<ReadArgs>();
    CLI::App* c = commands.Add("read", "read --port P [--baud B] [--model INDEX [--band WORD] | --like FILE] -o FILE",
                               "read the whole data image of a repeater into a data file (--password protects it)",
                               [=] { return RunRead(*a); });
    c->add_option("--port", a->port, "a COM number or a device path")->required();
    c->add_option("--baud", a->baud, "the rate after the handshake");
    CLI::Option* model = c->add_option("--model", a->model, "the model index the repeater must be");
    c->add_option("--band", a->band, "its band word")->needs(model);
    c->add_option("--like", a->like, "the repeater must be the model of this data file")->excludes(model);
    c->add_option("-o", a->out, "the data file to write")->required();
    c->add_option("--password", a->password, "protect the file with a password");
    c->footer(ModelAndBandWords());
  }
  {
    struct Args {
      std::string port, file;
      std::optional<std::string> baud, password;
    };
    auto a = std::make_shared<Args>();
    CLI::App* c = commands.Add("write", "write --port P [--baud B] [--password P] FILE",
                               "write a data file into a repeater",
                               [=] { return RunWrite(a->port, a->baud, a->password, a->file); });
    c->add_option("--port", a->port, "a COM number or a device path")->required();
    c->add_option("--baud", a->baud, "the rate after the handshake");
    c->add_option("--password", a->password, "the password of a protected file");
    c->add_option("FILE", a->file, "a data file")->required();
  }
}

}  // namespace zmp::cli
