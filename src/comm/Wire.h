// Everything that travels on the wire between the program and the repeater, in
// one place: frames, the payload mask, the message grammar, every token and
// control word, the RST reason table, the "Bula!" rule, the tunnel data
// messages with their checksum, the legacy packets carried through the tunnel,
// and the size limits. Pure standard library, no I/O: the program
// (TunnelChannel / RepeaterLink) and the repeater simulator (zmp318t-sim) both
// build and parse with these functions, so the two ends can never drift apart.
//
// Frame (both directions): 2 bytes payload length L, least significant byte
// first, then L payload bytes each XOR-ed with the connection mask. L is 1..3000.
// No start byte, no terminator, no frame checksum.
//
// Message: words separated by exactly one space, no line ending. The first word
// is the token. A word that must be followed by more words but is not followed
// by a space makes the message malformed.
//
// Tunnel data message ("SC_DATA_ind" channel 1, "SC_DATA2_ind" channel 2):
//   token ' ' decimal-count ' ' <count raw bytes> ' ' checksum-hi checksum-lo
// The checksum adds the bytes pair by pair as signed little-endian 16-bit words
// (sign-extended) into a 32-bit sum, adds an odd last byte unsigned, and folds
// twice: sum = (sum >> 16) + (sum & 0xFFFF). Not complemented. Example: the two
// bytes 01 80 give 0x8001.
//
// Connection mask: 0 at every connection start. "SC_VER_req" carries one byte;
// after sending it both ends use that byte as the mask. "SC_PASS_ind" carries
// " FPU " + 6 code bytes + " " (twelve bytes) and a challenge byte; once the
// repeater has acknowledged it, both ends use challenge XOR (sum of the twelve
// bytes, low 8 bits) as the mask (see PassMask). With the random options off
// the program sends VER byte 0 and challenge = sum of the twelve bytes, so the
// mask stays 0.
//
// Legacy packets (the radio section's byte protocol carried through the
// tunnel in "SC_DATA2_ind" messages while the link is in a data mode entered
// with "SC_PD_req"): a packet is a run of bytes ending with a carriage return
// (0x0D), at most 1500 bytes; the single byte "E" on its own is the end-of-data-
// mode packet. The repeater answers every packet with one "SC_DATA2_ind"
// message (for "E" it answers with "SC_COMP_ind" instead).
//
// How to use the link on a device path (e.g. a pseudo-terminal of the
// simulator): see RepeaterLink.h.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zmp::wire {

using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

// ---- size limits ---------------------------------------------------------
inline constexpr std::size_t kMaxFrame = 3000;       // frame payload, both ends
inline constexpr std::size_t kLengthBytes = 2;
inline constexpr std::size_t kMaxTunnel = 1500;      // tunnel in/out buffers, data per message
inline constexpr std::size_t kWriteBlock = 256;      // data bytes per written block
inline constexpr std::size_t kEmbedReadSize = 70;    // "SC_EMBED_req MSGWP READ" answer
inline constexpr std::size_t kMacInfoSize = 16;      // "SC_MACINF_req" answer, NUL-padded text
inline constexpr std::size_t kTestFreqSize = 256;    // "SC_TESTF_req" data
inline constexpr std::size_t kTraceMax = 1024;       // "SC_TRACE_notfy" size at most
inline constexpr std::size_t kSizeDigitsMax = 10;    // size notice: bytes before the space
inline constexpr std::size_t kAccessCodeSize = 6;

// ---- operation results ---------------------------------------------------
inline constexpr int kOk = 0;
inline constexpr int kFail = 1;   // nothing, too little or garbage received; write failed; RST
inline constexpr int kWrong = 2;  // well-formed reply of the wrong kind (NACK for ACK)

// ---- tokens --------------------------------------------------------------
inline constexpr std::string_view kControl = "SC_CONTROL";
inline constexpr std::string_view kMntReq = "SC_MNT_req";
inline constexpr std::string_view kModeReq = "SC_MODE_req";
inline constexpr std::string_view kModeResp = "SC_MODE_resp";
inline constexpr std::string_view kPmchkReq = "SC_PMCHK_req";
inline constexpr std::string_view kPmchkResp = "SC_PMCHK_resp";
inline constexpr std::string_view kVerReq = "SC_VER_req";
inline constexpr std::string_view kVerResp = "SC_VER_resp";
inline constexpr std::string_view kSftinfReq = "SC_SFTINF_req";
inline constexpr std::string_view kSftinfResp = "SC_SFTINF_resp";
inline constexpr std::string_view kEsnrdReq = "SC_ESNRD_req";
inline constexpr std::string_view kEsnrdResp = "SC_ESNRD_resp";
inline constexpr std::string_view kPassInd = "SC_PASS_ind";
inline constexpr std::string_view kDtpasInd = "SC_DTPAS_ind";
inline constexpr std::string_view kEmbedReq = "SC_EMBED_req";
inline constexpr std::string_view kTimeReq = "SC_TIME_req";
inline constexpr std::string_view kTestfReq = "SC_TESTF_req";
inline constexpr std::string_view kHealthReq = "SC_HEALTH_req";
inline constexpr std::string_view kHealthResp = "SC_HEALTH_resp";
inline constexpr std::string_view kMacinfReq = "SC_MACINF_req";
inline constexpr std::string_view kSvcrstReq = "SC_SVCRST_req";
inline constexpr std::string_view kBauReq = "SC_BAU_req";
inline constexpr std::string_view kTraceReq = "SC_TRACE_req";
inline constexpr std::string_view kTraceNotfy = "SC_TRACE_notfy";
inline constexpr std::string_view kPdReq = "SC_PD_req";
inline constexpr std::string_view kRead1Req = "SC_READ1_req";
inline constexpr std::string_view kWrite1Req = "SC_WRITE1_req";
inline constexpr std::string_view kReadNotfy = "SC_READ_notfy";
inline constexpr std::string_view kDataInd = "SC_DATA_ind";
inline constexpr std::string_view kData2Ind = "SC_DATA2_ind";
inline constexpr std::string_view kProgInd = "SC_PROG_ind";
inline constexpr std::string_view kCompInd = "SC_COMP_ind";

// ---- control words ("SC_CONTROL <word>") ---------------------------------
inline constexpr std::string_view kSyn = "SYN";
inline constexpr std::string_view kSynAck = "SYNACK";
inline constexpr std::string_view kAck = "ACK";
inline constexpr std::string_view kNack = "NACK";
inline constexpr std::string_view kFin = "FIN";
inline constexpr std::string_view kHalt = "HALT";
inline constexpr std::string_view kRst = "RST";

// ---- argument words ------------------------------------------------------
inline constexpr std::string_view kWordData = "DATA";
inline constexpr std::string_view kWordPlain = "PLAIN";
inline constexpr std::string_view kWordIns = "INS";
inline constexpr std::string_view kWordFpu = "FPU";  // also the access-code owner word
inline constexpr std::string_view kUnitFpu = "FPU";
inline constexpr std::string_view kUnitCnvUnt = "CNVUNT";
inline constexpr std::string_view kUnitCnvGrp = "CNVGRP";
inline constexpr std::string_view kUnitTestF = "TESTF";
inline constexpr std::size_t kSizeFpu = 26880;
inline constexpr std::size_t kSizeCnvUnt = 16000;
inline constexpr std::size_t kSizeCnvGrp = 8000;
inline constexpr std::string_view kConventional = "CONVENTIONAL";
inline constexpr std::string_view kTrunking = "TRUNKING";
inline constexpr std::string_view kConvOnly = "CONV_ONLY";
inline constexpr std::string_view kConvTrunk = "CONV_TRUNK";
inline constexpr std::string_view kEsnVlm = "VLM";
inline constexpr std::string_view kEsnSps = "SPS";
inline constexpr std::string_view kEsnAll = "ALL";
inline constexpr std::string_view kObjMsgWp = "MSGWP";
inline constexpr std::string_view kObjPass = "PASS";
inline constexpr std::string_view kObjMesg = "MESG";
inline constexpr std::string_view kOpModify = "MODIFY";
inline constexpr std::string_view kOpCompare = "COMPARE";
inline constexpr std::string_view kOpRead = "READ";
inline constexpr std::string_view kPdRfdt = "RFDT";
inline constexpr std::string_view kPdMddt = "MDDT";
inline constexpr std::string_view kPdTest = "TEST";
inline constexpr std::string_view kTailConventional = "1";
inline constexpr std::string_view kTailTrunking = "255 4096";
inline constexpr std::string_view kSizeNoticeTail = "01";   // words after the size in a size notice
inline constexpr std::string_view kProgDone = "100";        // "SC_PROG_ind INS 100"
inline constexpr std::string_view kDataFormat = "101";      // SFTINF data format a write needs
inline constexpr std::string_view kAccessCode = "qv5509";
inline constexpr std::string_view kBula = "Bula!";
inline constexpr std::uint8_t kLegacyEnd = 'E';
inline constexpr std::uint8_t kLegacyTerminator = 0x0D;

// repeaterMode values.
inline constexpr int kModeConventional = 255;
inline constexpr int kModeTrunking = 0;

// The baud rates the repeater and the program offer, lowest first; every
// connection starts at 9600.
inline constexpr int kStartBaud = 9600;
inline constexpr std::array<int, 5> kBaudRates{9600, 19200, 38400, 57600, 115200};
bool IsSupportedBaud(int baud);

// ---- RST reasons -----------------------------------------------------------
inline constexpr int kReasonChecksum = 1;
inline constexpr int kReasonTimer = 5;
inline constexpr int kReasonNetwork = 12;
inline constexpr int kReasonUnknown = 17;
// "CHECKSUM" 1 .. "ACCESS" 16; any other word 17.
int ReasonCode(std::string_view word);
// The word of a code 1..16; empty for 17 or anything else.
std::string_view ReasonWord(int code);

// ---- frames --------------------------------------------------------------
// XOR every byte with mask, in place.
void ApplyMask(std::span<std::uint8_t> bytes, std::uint8_t mask);
// The two length bytes of a payload of n bytes (n must be 1..kMaxFrame).
std::array<std::uint8_t, 2> EncodeLength(std::size_t n);
std::size_t DecodeLength(std::uint8_t lo, std::uint8_t hi);
bool IsValidLength(std::size_t n);  // 1..kMaxFrame
// Length bytes and masked payload; empty when the payload is 0 or above 3000 bytes.
Bytes BuildFrame(ByteView payload, std::uint8_t mask);
Bytes BuildFrame(std::string_view payload, std::uint8_t mask);

// Incremental reader of a byte stream into frames (for the simulator and tests).
class FrameReader {
 public:
  enum class Status { NeedMore, Frame, BadLength };
  void Feed(ByteView bytes);
  // Takes the next complete frame, unmasked with mask. BadLength consumes the
  // two length bytes (the stream has lost its framing).
  Status Next(Bytes& payload, std::uint8_t mask);
  std::size_t Buffered() const { return buffer_.size() - start_; }
  void Clear() { buffer_.clear(); start_ = 0; }

 private:
  Bytes buffer_;
  std::size_t start_ = 0;
};

// ---- "Bula!" -------------------------------------------------------------
// A frame whose payload begins with "Bula!" carries those five bytes as filler:
// the receiver removes them and, when nothing remains, reads the next frame
// (after the second such empty frame in a row it goes on with what there is).
bool StartsWithBula(ByteView payload);
// Removes a leading "Bula!"; true when it was there.
bool StripBula(Bytes& payload);

// ---- message grammar -------------------------------------------------------
std::string_view AsText(ByteView bytes);
ByteView AsBytes(std::string_view text);
// Takes the word up to the next space from rest and drops the space. False
// (rest untouched) when there is no space: the word is not followed by more.
bool NextWord(std::string_view& rest, std::string_view& word);
// All words split at single spaces (an empty word appears for a double space).
std::vector<std::string_view> SplitWords(std::string_view msg);
// Words joined with single spaces.
std::string Join(std::initializer_list<std::string_view> words);
// Strict decimal: 1..10 digits only, value <= max. No sign, no wrap-around.
std::optional<std::uint32_t> ParseDecimal(std::string_view digits, std::uint32_t max = 0xFFFFFFFFu);
// The message's token (text before the first space, or all of it).
std::string_view TokenOf(std::string_view msg);
// True when msg is token alone or token followed by a space.
bool HasToken(std::string_view msg, std::string_view token);
// What follows "token " (empty when msg is the token alone or another token).
std::string_view ArgsOf(std::string_view msg, std::string_view token);

// ---- control messages ------------------------------------------------------
std::string ControlMessage(std::string_view word);            // "SC_CONTROL word"
std::string ResetMessage(std::string_view reasonWord);        // "SC_CONTROL RST word"
// For "SC_CONTROL <rest>": the word (rest cut at its first space). nullopt otherwise.
std::optional<std::string_view> ControlWordOf(std::string_view msg);
// For "SC_CONTROL RST <reason>": the reason code (the whole remainder is the word).
std::optional<int> ResetCodeOf(std::string_view msg);

// ---- requests and replies ----------------------------------------------------
// "1" for conventional (255, also before any query), "255 4096" for trunking (0).
std::string_view ModeTail(int repeaterMode);
// "SC_READ1_req DATA unit PLAIN tail".
std::string ReadRequest(std::string_view unit, int repeaterMode);
// "SC_WRITE1_req DATA unit size PLAIN tail".
std::string WriteRequest(std::string_view unit, std::size_t size, int repeaterMode);
struct UnitRequest {
  bool write = false;
  std::string unit;
  std::size_t size = 0;  // write only
  bool trunkingTail = false;
};
// Parses either request (strict form); nullopt when malformed.
std::optional<UnitRequest> ParseUnitRequest(std::string_view msg);
// "SC_READ_notfy DATA unit size 01".
std::string SizeNotice(std::string_view unit, std::size_t size);
// The prefix a reader compares first: "SC_READ_notfy DATA unit ".
std::string SizeNoticePrefix(std::string_view unit);
// "SC_PD_req what tail".
std::string DataModeRequest(std::string_view what, int repeaterMode);
// "SC_BAU_req <baud>".
std::string BaudRequest(int baud);
// Baud of a "SC_BAU_req" message; nullopt when malformed or not supported.
std::optional<int> ParseBaudRequest(std::string_view msg);
// The baud part (text before the first comma) of a settings string.
std::string_view BaudPart(std::string_view settings);
// Settings with the baud part replaced.
std::string WithBaud(std::string_view settings, int baud);

// "SC_VER_req " + mask byte.
Bytes VersionRequest(std::uint8_t maskByte);
// The mask byte of a version request; nullopt when malformed.
std::optional<std::uint8_t> ParseVersionRequest(ByteView msg);
struct VersionInfo {
  std::string modelCode;    // "RWAV0500"
  int destination = 0;      // model record byte 10
  int bandCode = 0;         // model record byte 11
  std::string firmware;     // "1.02"
};
std::string VersionResponse(const VersionInfo& v);  // "SC_VER_resp RWAV0500 0 9 1.02"
std::optional<VersionInfo> ParseVersionResponse(std::string_view msg);
// What a message names the repeater by: "RWAV0500 0 9".
std::string VersionText(const VersionInfo& v);

// "SC_PASS_ind FPU " + 6 code bytes (0xFF-filled behind a shorter code) + " " + challenge.
Bytes PassMessage(std::string_view code, std::uint8_t challenge);
// The challenge that leaves the mask 0 for this code.
std::uint8_t NeutralChallenge(std::string_view code);
struct PassInfo {
  std::array<std::uint8_t, kAccessCodeSize> code{};
  std::uint8_t challenge = 0;
  std::uint8_t mask = 0;  // the mask both ends use after the ACK
};
std::optional<PassInfo> ParsePassMessage(ByteView msg);
// Mask after an acknowledged PASS: challenge XOR sum of the twelve bytes.
std::uint8_t PassMask(ByteView msg);
// True when the code field holds exactly the program's access code.
bool IsAccessCode(const PassInfo& p);

// "SC_MODE_resp CONVENTIONAL" / "SC_MODE_resp TRUNKING ON". A reply is
// "CONVENTIONAL" or "TRUNKING" and further words; "TRUNKING" must be followed
// by a space.
std::string ModeResponse(bool trunking);
// 255 for CONVENTIONAL, 0 for "TRUNKING ..." ; nullopt otherwise.
std::optional<int> ParseModeResponse(std::string_view msg);
std::string PmchkResponse(bool trunkingToo);
std::optional<bool> ParsePmchkResponse(std::string_view msg);  // true = CONV_TRUNK

struct SoftwareInfo {
  std::string firmware;
  std::string dataFormat;
};
std::string SoftwareInfoResponse(const SoftwareInfo& s);  // "SC_SFTINF_resp 1.02 101"
std::optional<SoftwareInfo> ParseSoftwareInfoResponse(std::string_view msg);

// "SC_TRACE_notfy <size>" (0..1024).
std::string TraceNotice(std::size_t size);
std::optional<std::size_t> ParseTraceNotice(std::string_view msg);
// "SC_PROG_ind INS 100"; IsStoringNotice: begins with "SC_PROG_ind INS".
std::string StoringNotice();
bool IsStoringNotice(std::string_view msg);

// "SC_EMBED_req object operation" plus " " + data for MODIFY/COMPARE.
Bytes EmbedRequest(std::string_view object, std::string_view operation, ByteView data = {});
struct EmbedInfo {
  std::string object;
  std::string operation;
  Bytes data;
};
std::optional<EmbedInfo> ParseEmbedRequest(ByteView msg);

// "SC_TIME_req" + " %02d" per field; fields end at the first value >= 255.
// Order: year (two digits), month, day, hour, minute, second.
std::string TimeRequest(std::span<const int> fields);

// "SC_ESNRD_req <which>" / "SC_ESNRD_resp <which> <serial>".
std::string EsnRequest(std::string_view which);
std::string EsnResponse(std::string_view which, std::string_view serial);

// ---- tunnel data messages -------------------------------------------------
std::uint16_t TunnelChecksum(ByteView data);
std::string_view DataToken(int channel);  // 1 "SC_DATA_ind", 2 "SC_DATA2_ind"
// A full data message; empty when data is above kMaxTunnel or the channel is bad.
Bytes DataMessage(ByteView data, int channel);
enum class DataStatus { Ok, NotData, WrongChannel, Malformed, BadCount, BadChecksum };
// Parses a data message. expectedChannel 0 accepts either; channel returns which.
DataStatus ParseDataMessage(ByteView msg, int expectedChannel, Bytes& data, int* channel = nullptr);

// ---- legacy packets -----------------------------------------------------------
// Length of the first complete legacy packet at the front of pending; 0 when
// none is complete yet.
std::size_t LegacyPacketLength(ByteView pending);

}  // namespace zmp::wire
