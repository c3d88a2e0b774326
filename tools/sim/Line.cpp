#include "Line.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace zmp::sim {

double Now() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

double LineStats::WireSeconds() const {
  double s = 0;
  for (const auto* m : {&received, &sent})
    for (const auto& [baud, n] : *m) s += static_cast<double>(n) * 10.0 / baud;
  return s;
}

std::string LineStats::Text() const {
  std::string t = "stats rx";
  char pair[48];
  const auto add = [&](int baud, std::uint64_t n) {
    std::snprintf(pair, sizeof pair, " %d:%llu", baud, static_cast<unsigned long long>(n));
    t += pair;
  };
  for (const auto& [baud, n] : received) add(baud, n);
  t += " tx";
  for (const auto& [baud, n] : sent) add(baud, n);
  char ms[64];
  std::snprintf(ms, sizeof ms, " wire_ms %.3f", WireSeconds() * 1000.0);
  return t + ms;
}

Line::~Line() {
  if (slave_ >= 0) ::close(slave_);
  if (master_ >= 0) ::close(master_);
}

bool Line::Open(std::string& error) {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
    error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
    return false;
  }
  const char* name = ::ptsname(master_);
  if (!name) {
    error = std::string("no pseudo-terminal name: ") + std::strerror(errno);
    return false;
  }
  slavePath_ = name;
  slave_ = ::open(name, O_RDWR | O_NOCTTY);
  if (slave_ < 0) {
    error = "cannot open " + slavePath_ + ": " + std::strerror(errno);
    return false;
  }
  termios t{};
  if (::tcgetattr(slave_, &t) == 0) {
    ::cfmakeraw(&t);
    ::tcsetattr(slave_, TCSANOW, &t);
  }
  ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
  return true;
}

void Line::ReadInput(double now) {
  std::uint8_t buf[4096];
  for (;;) {
    const ssize_t n = ::read(master_, buf, sizeof buf);
    if (n <= 0) return;
    stats_.received[baud_] += static_cast<std::uint64_t>(n);
    InChunk c;
    c.bytes.assign(buf, buf + n);
    if (pace_) {
      inFree_ = std::max(inFree_, now) + static_cast<double>(n) * ByteTime();
      c.ready = inFree_;
    } else {
      c.ready = now;
    }
    in_.push_back(std::move(c));
  }
}

void Line::TakeArrived(double now, wire::Bytes& out) {
  while (!in_.empty() && in_.front().ready <= now) {
    out.insert(out.end(), in_.front().bytes.begin(), in_.front().bytes.end());
    in_.pop_front();
  }
}

void Line::Queue(std::vector<Emission>& emissions, double now) {
  // Items leave in order; a hold-back delays its frame and all behind it.
  double base = now;
  for (auto& e : emissions) {
    OutItem item;
    item.bytes = std::move(e.frame);
    base += e.delayMs / 1000.0;
    item.notBefore = base;
    item.baudAfter = e.baudAfter;
    item.connectionEnd = e.connectionEnd;
    item.hangUp = e.hangUp;
    out_.push_back(std::move(item));
  }
  emissions.clear();
}

void Line::WriteAll(const std::uint8_t* p, std::size_t n) {
  while (n > 0 && master_ >= 0) {
    const ssize_t k = ::write(master_, p, n);
    if (k > 0) {
      p += k;
      n -= static_cast<std::size_t>(k);
    } else if (k < 0 && (errno == EAGAIN || errno == EINTR)) {
      ::usleep(200);
    } else {
      return;  // nobody can hear us; drop the rest
    }
  }
}

void Line::Finish(OutItem& item) {
  if (item.baudAfter) baud_ = item.baudAfter;
  const bool end = item.connectionEnd;
  const bool hangUp = item.hangUp;
  out_.pop_front();
  if (end && onConnectionEnd) onConnectionEnd();
  if (hangUp) HangUp();
}

void Line::HangUp() {
  if (slave_ >= 0) ::close(slave_);
  if (master_ >= 0) ::close(master_);
  slave_ = master_ = -1;
  out_.clear();
  in_.clear();
  hungUp_ = true;
}

void Line::Release(double now) {
  wire::Bytes due;
  while (!out_.empty()) {
    OutItem& item = out_.front();
    if (item.notBefore > now) break;
    if (!pace_) {
      due.insert(due.end(), item.bytes.begin(), item.bytes.end());
      stats_.sent[baud_] += item.bytes.size();
      outFree_ = now;
    } else {
      const double start = std::max(outFree_, item.notBefore);
      // Byte i is fully on the far side at start + (i + 1) bit-times × 10.
      while (item.pos < item.bytes.size()) {
        const double done = std::max(outFree_, start) + ByteTime();
        if (done > now) break;
        outFree_ = done;
        due.push_back(item.bytes[item.pos++]);
        ++stats_.sent[baud_];
      }
      if (item.pos < item.bytes.size()) break;
      outFree_ = std::max(outFree_, start);
    }
    if (!due.empty()) {
      WriteAll(due.data(), due.size());
      due.clear();
    }
    Finish(item);
  }
  if (!due.empty()) WriteAll(due.data(), due.size());
}

std::optional<double> Line::NextEvent(double now) const {
  std::optional<double> next;
  auto consider = [&](double t) {
    if (!next || t < *next) next = t;
  };
  if (!out_.empty()) {
    const OutItem& item = out_.front();
    if (item.notBefore > now || !pace_) {
      consider(item.notBefore);
    } else {
      const double start = std::max(outFree_, item.notBefore);
      const std::size_t left = item.bytes.size() - item.pos;
      const double nextByte = start + ByteTime();
      const double itemEnd = start + static_cast<double>(left) * ByteTime();
      // Wake at most every millisecond inside a frame, and exactly at its end.
      consider(left == 0 ? now : std::min(itemEnd, std::max(nextByte, now + 0.001)));
    }
  }
  if (!in_.empty()) consider(in_.front().ready);
  return next;
}

}  // namespace zmp::sim
