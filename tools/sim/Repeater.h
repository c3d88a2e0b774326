// The repeater side of the command protocol: takes each received frame payload
// and produces the frames the repeater sends back. No I/O and no clock: the line
// (Line.h) paces what this produces.
//
// What the simulated repeater answers:
//   SC_MNT_req                  SC_CONTROL SYNACK (mask 0, line back to 9600)
//   SC_VER_req <b>              SC_VER_resp <model code> <destination> <band code> <firmware>
//                               (masked with b, which is the mask from then on)
//   SC_PASS_ind FPU <code> <c>  ACK for "qv5509", then the mask of PassMask; else NACK
//   SC_BAU_req <baud>           ACK, then the line runs at that rate
//   SC_MODE_req                 SC_MODE_resp CONVENTIONAL | SC_MODE_resp TRUNKING ON
//   SC_PMCHK_req                SC_PMCHK_resp CONV_ONLY | CONV_TRUNK
//   SC_SFTINF_req               SC_SFTINF_resp <firmware> <data format>
//   SC_ESNRD_req VLM|SPS|ALL    SC_ESNRD_resp <which> <serial>
//   SC_DTPAS_ind, SC_TIME_req   ACK
//   SC_EMBED_req MSGWP READ     one SC_DATA2_ind with the 70 bytes of the third block, SC_COMP_ind
//   SC_EMBED_req MSGWP MODIFY d ACK; d (at most 70 bytes) replaces the start of the third block
//   SC_EMBED_req PASS ...       MODIFY stores, COMPARE ACKs a match (else NACK), READ sends it
//   SC_EMBED_req MESG READ      one SC_DATA2_ind with the 68 message bytes, SC_COMP_ind
//   SC_TESTF_req                ACK, SC_READ_notfy DATA TESTF 256 01, data, SC_COMP_ind
//   SC_HEALTH_req               SC_HEALTH_resp NORMAL 32 13.8
//   SC_MACINF_req               one SC_DATA2_ind of 16 bytes (address text, NUL-padded), SC_COMP_ind
//   SC_SVCRST_req               ACK (held back with --late-ack), SC_PROG_ind INS 100, SC_COMP_ind
//   SC_TRACE_req                ACK, SC_TRACE_notfy <size>, data (fourth block), SC_COMP_ind
//   SC_PD_req RFDT|MDDT|TEST t  ACK; the link is then in data mode (legacy packets below)
//   SC_READ1_req DATA u PLAIN t ACK, SC_READ_notfy DATA u <size> 01, data, SC_COMP_ind
//   SC_WRITE1_req DATA u n PLAIN t  ACK, one ACK per data message, SC_PROG_ind INS 100, SC_COMP_ind
//   SC_CONTROL FIN / HALT       ACK
// Faults of the line (SimOptions): garbage instead of an answer, a hang-up in
// the middle of a frame, a missed baud change, an RST right after an answer,
// further words in the replies that allow them, a FIN left unacknowledged.
// Read data goes out as SC_DATA_ind messages of at most --chunk bytes; the
// program acknowledges the size notice and every data message before the next
// one is sent. A request with the wrong tail for the repeater's mode is NACKed.
//
// Legacy packets in data mode: every SC_DATA2_ind the program sends carries one
// packet (bytes ending in a carriage return, or the single byte "E"). The radio
// section of the simulated repeater echoes each packet back in one
// SC_DATA2_ind; "E" ends the data mode and is answered with SC_COMP_ind.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "SimOptions.h"
#include "comm/Wire.h"
#include "data/ImageStore.h"

namespace zmp::sim {

// One frame to send, with what the line does around it.
struct Emission {
  wire::Bytes frame;  // length bytes and masked payload; may be empty
  int delayMs = 0;    // hold the frame back this long after the one before it
  int baudAfter = 0;  // line rate once the frame is out (0: unchanged)
  bool connectionEnd = false;  // the connection is over once this is out
  bool hangUp = false;         // the line hangs up once this is out
};

class Repeater {
 public:
  using Logger = std::function<void(char direction, wire::ByteView payload)>;

  Repeater(const SimOptions& options, ImageStore& image, Logger log);

  // One received (unmasked) frame payload; appends the answer frames to out.
  void OnFrame(const wire::Bytes& payload, std::vector<Emission>& out);
  // The frame mask in force for the next received frame.
  std::uint8_t mask() const { return mask_; }
  // Called after each unit the program wrote into the image.
  std::function<void()> onImageWritten;

 private:
  enum class Phase { Idle, ReadNoticeAck, ReadDataAck, WriteData, DataMode };

  void Handle(std::string_view msg, const wire::Bytes& payload, std::vector<Emission>& out);
  void HandleControl(std::string_view word, std::vector<Emission>& out);
  void HandleData(const wire::Bytes& payload, std::vector<Emission>& out);
  void StartRead(std::string_view unit, wire::Bytes bytes, std::size_t announced,
                 std::vector<Emission>& out, bool ackFirst);
  void SendNextData(std::vector<Emission>& out);
  void StoreWritten(std::vector<Emission>& out);

  void Send(wire::ByteView payload, std::vector<Emission>& out, int delayMs = 0);
  void Send(std::string_view text, std::vector<Emission>& out, int delayMs = 0);
  void SendControl(std::string_view word, std::vector<Emission>& out, int delayMs = 0);
  void SendComp(std::vector<Emission>& out);
  void SendDataMessage(wire::ByteView data, int channel, std::vector<Emission>& out);
  void Reset(std::string_view reason, std::vector<Emission>& out);
  int AckDelay(std::string_view msg) const;
  // The answer cut in the middle of its frame, then the hang-up.
  void HangUpWithin(std::vector<Emission>& answer, std::vector<Emission>& out);
  // The further words of --extra-words ("" without it).
  std::string Extra(std::string_view words) const;

  const SimOptions& opt_;
  ImageStore& image_;
  Logger log_;
  std::uint8_t mask_ = 0;
  bool connected_ = false;
  bool deaf_ = false;  // a missed baud change: the program talks at another rate
  std::uint8_t versionByte_ = 0;
  Phase phase_ = Phase::Idle;
  std::string passCode_ = "000000";

  // Unit read in progress.
  std::string readUnit_;
  wire::Bytes readBytes_;
  std::size_t readOffset_ = 0;
  bool readFaultDone_ = false;

  // Unit write in progress.
  std::string writeUnit_;
  std::size_t writeSize_ = 0;
  wire::Bytes writeBytes_;
  std::size_t writeMessages_ = 0;
};

// Where a unit lives in the image: block, offset, size. False for another word.
bool UnitPlace(std::string_view unit, BlockId& block, std::size_t& offset, std::size_t& size);

}  // namespace zmp::sim
