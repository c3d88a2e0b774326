// The repeater link: the serial port, the bulk-data tunnel (TunnelChannel) and
// the text command protocol on top (RepeaterLink). The program holds one
// RepeaterLink for its whole life (TheLink()).
//
// Frames and messages are those of Wire.h. Message-level operations return
// 0 for success, 1 for a failure of communication (nothing, too little or
// garbage received, a failed write, an RST) and 2 for a well-formed reply of
// the wrong kind. Frame-level operations return true for success.
//
// To talk to a device path instead of a COM number (for example the
// pseudo-terminal that zmp318t-sim prints): link.SetDevice("/dev/pts/7"),
// then Reconnect() and OpenConnection().
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "lang/TextNo.h"
#include "comm/SerialPort.h"
#include "comm/Wire.h"

namespace zmp {

// What the link needs from the user interface: message pumping between
// steps (the GUI keeps its window alive; nothing else may run meanwhile) and
// the one failure message. The command-line tool prints instead.
class LinkUi {
 public:
  virtual ~LinkUi() = default;
  // Processes at most one pending window message.
  virtual void Pump() {}
  // The error box of a failed operation (caption 638, the given text).
  virtual void ShowFailure(TextNo text) { (void)text; }
  // The same with a further paragraph that says what the failure left behind.
  virtual void ShowFailure(TextNo text, TextNo more) {
    (void)more;
    ShowFailure(text);
  }
  // The wait cursor while the link closes after a failure.
  virtual void SetBusy(bool busy) { (void)busy; }
};

class TunnelChannel : public SerialPort {
 public:
  // The tunnel: bytes written go out as legacy packets in "SC_DATA2_ind"
  // messages; the answers are read byte by byte from the tunnel input.
  bool WriteByte(std::uint8_t b) override;
  bool WriteString(std::string_view s) override;
  bool WriteBuffer(std::span<const std::uint8_t> bytes) override;
  bool Read(std::span<std::uint8_t> bytes) override;

  bool ResetReceived() const { return resetReceived_ != 0; }
  int ResetReason() const { return resetReason_; }
  void ClearReset() {
    resetReceived_ = 0;
    resetReason_ = 0;
  }
  int RepeaterMode() const { return repeaterMode_; }
  void SetRepeaterMode(int mode) { repeaterMode_ = mode; }
  unsigned LongTimeout() const { return longTimeout_; }
  void SetLongTimeout(unsigned ms) { longTimeout_ = ms; }
  unsigned NormalTimeout() const { return normalTimeout_; }
  void SetNormalTimeout(unsigned ms) { normalTimeout_ = ms; }
  int TargetBaud() const { return targetBaud_; }
  void SetTargetBaud(int baud) { targetBaud_ = baud; }

  // One "SC_DATA_ind" (channel 1) or "SC_DATA2_ind" (channel 2) message; its
  // data go to the tunnel input, which must have room for all of them.
  virtual int ReceiveData(int channel) = 0;
  // Builds and sends one data message (at most 1500 data bytes).
  int SendData(std::span<const std::uint8_t> data, int channel);
  // Frame sending of the layer above.
  virtual bool SendBuffer(std::span<const std::uint8_t> payload) = 0;

  // The tunnel buffers.
  std::size_t TunnelInCount() const { return tunnelIn_.size(); }
  std::size_t TunnelOutCount() const { return tunnelOut_.size(); }

 protected:
  void ClearTunnel() {
    tunnelIn_.clear();
    tunnelOut_.clear();
  }
  // Records an RST: port back to 9600, resetReceived, resetReason.
  void RecordReset(int code);
  // Appends to the tunnel input; false when it would overflow.
  bool AppendTunnelIn(std::span<const std::uint8_t> bytes);

  wire::Bytes tunnelIn_;
  wire::Bytes tunnelOut_;
  int resetReceived_ = 0;
  int resetReason_ = 0;
  int repeaterMode_ = wire::kModeConventional;
  unsigned longTimeout_ = 6000;
  unsigned normalTimeout_ = 3000;
  int targetBaud_ = wire::kStartBaud;

 private:
  bool FlushPackets();
};

class RepeaterLink : public TunnelChannel {
 public:
  void SetUi(LinkUi* ui) { ui_ = ui; }
  LinkUi* Ui() const { return ui_; }
  void PumpMessages();

  // Closes the port, settings back to "9600,N,8,1", connection state
  // cleared, port opened with the normal read timeout. 0, or 1 when the port
  // cannot be opened.
  int Reconnect();
  // "SC_MNT_req" and the SYNACK handshake. 0 when the connection is open.
  int OpenConnection();
  // "SC_CONTROL FIN" and its ACK (nothing when the repeater already reset).
  int CloseConnection();
  int Halt();
  // "SC_BAU_req" to the target rate unless the port runs at it already.
  int ChangeBaud();
  // The one message of a failed operation, then close and reset the port;
  // more is a further paragraph of that message (0: none).
  void ReportFailure(TextNo more = TextNo{0});
  // The message of a port that cannot be opened (text 642), port reset.
  void ReportPortUnavailable();
  // Settings back to "9600,N,8,1", RST state cleared, port closed.
  void ResetAndClose();

  std::uint8_t Mask() const { return mask_; }
  void SetMask(std::uint8_t m) { mask_ = m; }

  // Sending: a waiting RST refuses the send.
  bool SendBuffer(std::span<const std::uint8_t> payload) override;
  bool SendText(std::string_view text);
  int SendControl(std::string_view word);
  // "SC_CONTROL <word>" awaited: 0, 2 for another word, 1 for nothing.
  int AwaitControl(std::string_view word);

  // The next n bytes of the current message, reading a frame when none is
  // left; RST and "Bula!" frames are handled on the way.
  bool ReceiveExact(std::span<std::uint8_t> out);
  // The rest of the current message (at most max bytes handed out; more is a
  // failure and the message is dropped).
  bool FetchRest(wire::Bytes& out, std::size_t max = wire::kMaxFrame);
  // The whole next message (what is left of the current one, else a new frame).
  bool ReceiveMessage(wire::Bytes& out);
  // A message that begins with token: 0; another message 2; nothing 1.
  int AwaitToken(std::string_view token);
  std::size_t PendingCount() const { return rxMessage_.size(); }
  void ClearReceive();

  int ReceiveData(int channel) override;

  // Reads one frame (length, payload, unmasked). False on timeout, L = 0 or L
  // above the 3000-byte buffer.
  bool ReadFrame(wire::Bytes& payload);

 private:
  // Looks for an unsolicited RST before a send; true when one arrived.
  bool PollUnsolicited();
  // Fills rxMessage with a new frame, handling RST and "Bula!".
  bool FillMessage();

  LinkUi* ui_ = nullptr;
  wire::Bytes rxMessage_;
  std::uint8_t mask_ = 0;
};

// The program's one link.
RepeaterLink& TheLink();

// Restores the read timeout when it goes out of scope.
class ScopedReadTimeout {
 public:
  ScopedReadTimeout(SerialPort& port, unsigned ms) : port_(port), previous_(port.ReadTimeout()) {
    port_.SetReadTimeout(ms);
  }
  ~ScopedReadTimeout() { port_.SetReadTimeout(previous_); }
  ScopedReadTimeout(const ScopedReadTimeout&) = delete;
  ScopedReadTimeout& operator=(const ScopedReadTimeout&) = delete;

 private:
  SerialPort& port_;
  unsigned previous_;
};

}  // namespace zmp
