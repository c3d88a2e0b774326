// zmp318t-sim: a WAV-300/WAV-500 repeater on a pseudo-terminal, for tests,
// benchmarks and anyone without hardware. The first line of standard output is
// the device path to point the program at; see SimOptions.cpp (--help) for the
// faults it can inject and Repeater.h for what it answers.
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "Line.h"
#include "Repeater.h"
#include "SimImage.h"
#include "SimOptions.h"

namespace {

volatile sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }

// A received or sent payload as one log line: text as it is, other bytes as
// \xNN; data messages as their token and count only.
std::string Describe(zmp::wire::ByteView payload) {
  namespace w = zmp::wire;
  const std::string_view text = w::AsText(payload);
  const std::string_view token = w::TokenOf(text);
  if (token == w::kDataInd || token == w::kData2Ind) {
    std::string_view rest = w::ArgsOf(text, token), count;
    if (w::NextWord(rest, count)) return std::string(token) + " " + std::string(count);
  }
  std::string out;
  for (unsigned char c : text) {
    if (c >= 0x20 && c < 0x7F) {
      out.push_back(static_cast<char>(c));
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zmp::sim;
  std::string error;
  bool help = false;
  const auto parsed = ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc), error, help);
  if (help) {
    std::fputs(SimUsage(), stdout);
    return 0;
  }
  if (!parsed) {
    std::fprintf(stderr, "zmp318t-sim: %s\n(zmp318t-sim --help lists the options)\n",
                 error.c_str());
    return 2;
  }
  const SimOptions& opt = *parsed;

  zmp::ImageStore image;
  if (!BuildImage(opt, image, error)) {
    std::fprintf(stderr, "zmp318t-sim: %s\n", error.c_str());
    return 1;
  }

  FILE* log = nullptr;
  if (!opt.log.empty()) {
    log = std::fopen(opt.log.c_str(), "w");
    if (!log) {
      std::fprintf(stderr, "zmp318t-sim: cannot write the log %s\n", opt.log.c_str());
      return 1;
    }
    std::setvbuf(log, nullptr, _IOLBF, 0);
  }

  // SIGINT/SIGTERM are blocked except while waiting, so they can only end the
  // wait and never cut a write in half.
  sigset_t block, waitMask;
  sigemptyset(&block);
  sigaddset(&block, SIGINT);
  sigaddset(&block, SIGTERM);
  sigprocmask(SIG_BLOCK, &block, &waitMask);
  sigdelset(&waitMask, SIGINT);
  sigdelset(&waitMask, SIGTERM);
  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
  signal(SIGPIPE, SIG_IGN);

  Line line;
  if (!line.Open(error)) {
    std::fprintf(stderr, "zmp318t-sim: %s\n", error.c_str());
    return 1;
  }
  line.SetPace(opt.pace);
  std::printf("%s\n", line.SlavePath().c_str());
  std::fflush(stdout);

  Repeater repeater(opt, image, [&](char dir, zmp::wire::ByteView payload) {
    if (log) std::fprintf(log, "%c %s\n", dir, Describe(payload).c_str());
  });
  repeater.onImageWritten = [&] {
    if (!opt.save.empty() && !SaveImage(opt.save, image, error))
      std::fprintf(stderr, "zmp318t-sim: %s\n", error.c_str());
  };
  line.onConnectionEnd = [&] {
    if (opt.stats) {
      std::printf("%s\n", line.stats().Text().c_str());
      std::fflush(stdout);
    }
  };

  zmp::wire::FrameReader reader;
  std::vector<Emission> emissions;
  zmp::wire::Bytes arrived, payload;
  while (!g_stop && !line.HungUp()) {
    double now = Now();
    line.TakeArrived(now, arrived);
    if (!arrived.empty()) {
      reader.Feed(arrived);
      arrived.clear();
    }
    for (;;) {
      const auto status = reader.Next(payload, repeater.mask());
      if (status == zmp::wire::FrameReader::Status::NeedMore) break;
      if (status == zmp::wire::FrameReader::Status::BadLength) {
        if (log) std::fprintf(log, "< (bad frame length; input dropped)\n");
        reader.Clear();
        break;
      }
      repeater.OnFrame(payload, emissions);
      line.Queue(emissions, now);
    }
    line.Release(Now());
    if (line.HungUp()) break;

    now = Now();
    const auto next = line.NextEvent(now);
    timespec ts{};
    timespec* timeout = nullptr;
    if (next) {
      const double wait = std::max(0.0, *next - now);
      ts.tv_sec = static_cast<time_t>(wait);
      ts.tv_nsec = static_cast<long>((wait - std::floor(wait)) * 1e9);
      timeout = &ts;
    }
    pollfd pfd{line.MasterFd(), POLLIN, 0};
    const int r = ::ppoll(&pfd, 1, timeout, &waitMask);
    if (r < 0 && errno != EINTR) break;
    if (r > 0 && (pfd.revents & POLLIN)) line.ReadInput(Now());
    if (r > 0 && (pfd.revents & (POLLHUP | POLLERR)) && !(pfd.revents & POLLIN)) ::usleep(10000);
  }

  int status = 0;
  if (!opt.save.empty() && !SaveImage(opt.save, image, error)) {
    std::fprintf(stderr, "zmp318t-sim: %s\n", error.c_str());
    status = 1;
  }
  if (opt.stats) std::printf("%s\n", line.stats().Text().c_str());
  std::fflush(stdout);
  if (log) std::fclose(log);
  return status;
}
