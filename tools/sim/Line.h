// The simulator's end of the serial line: a pseudo-terminal master, paced like
// a real line. Every byte takes 10 bit times at the current baud in each
// direction ("line free at" clock per direction): what the repeater sends is
// released to the pseudo-terminal byte by byte at the moment it would have
// been fully received, and what the program sends counts as arrived only once
// it would have crossed the line. Without pacing everything passes at once.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Repeater.h"
#include "comm/Wire.h"

namespace zmp::sim {

// Seconds on the monotonic clock.
double Now();

struct LineStats {
  std::map<int, std::uint64_t> received;  // bytes by baud rate
  std::map<int, std::uint64_t> sent;
  // All bytes in both directions × 10 bits ÷ the rate they travelled at.
  double WireSeconds() const;
  std::string Text() const;  // "stats rx 9600:17 ... tx ... wire_ms 12.3"
};

class Line {
 public:
  Line() = default;
  ~Line();
  Line(const Line&) = delete;
  Line& operator=(const Line&) = delete;

  // Opens the pseudo-terminal pair in raw mode and keeps the slave open, so the
  // line does not hang up while the program has it closed.
  bool Open(std::string& error);
  const std::string& SlavePath() const { return slavePath_; }
  int MasterFd() const { return master_; }

  void SetPace(bool pace) { pace_ = pace; }
  int baud() const { return baud_; }

  // Reads what the program sent (non-blocking).
  void ReadInput(double now);
  // Moves the received bytes whose time has come into out.
  void TakeArrived(double now, wire::Bytes& out);
  // Queues the repeater's answer.
  void Queue(std::vector<Emission>& emissions, double now);
  // Writes what is due; calls onConnectionEnd when an ending frame is out.
  void Release(double now);
  // When something is due next (nullopt: nothing pending).
  std::optional<double> NextEvent(double now) const;
  bool Idle() const { return out_.empty() && in_.empty(); }

  const LineStats& stats() const { return stats_; }
  std::function<void()> onConnectionEnd;
  // True once a frame marked for it is out: both ends of the terminal are
  // closed, so the program sees the line hang up.
  bool HungUp() const { return hungUp_; }

 private:
  struct OutItem {
    wire::Bytes bytes;
    double notBefore = 0;
    int baudAfter = 0;
    bool connectionEnd = false;
    bool hangUp = false;
    std::size_t pos = 0;
  };
  struct InChunk {
    wire::Bytes bytes;
    double ready = 0;
  };

  double ByteTime() const { return 10.0 / baud_; }
  void WriteAll(const std::uint8_t* p, std::size_t n);
  void Finish(OutItem& item);
  void HangUp();

  int master_ = -1;
  int slave_ = -1;
  std::string slavePath_;
  bool pace_ = true;
  bool hungUp_ = false;
  int baud_ = wire::kStartBaud;
  double outFree_ = 0;  // when the outgoing line is free
  double inFree_ = 0;   // when the incoming line is free
  std::deque<OutItem> out_;
  std::deque<InChunk> in_;
  LineStats stats_;
};

}  // namespace zmp::sim
