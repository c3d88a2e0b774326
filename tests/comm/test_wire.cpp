// The wire codec that both the program and the simulator speak.
#include <gtest/gtest.h>

#include "comm/Wire.h"

using namespace zmp::wire;

TEST(Wire, TunnelChecksumSignExtendsAndFolds) {
  const Bytes two{0x01, 0x80};
  EXPECT_EQ(TunnelChecksum(two), 0x8001);
  EXPECT_EQ(TunnelChecksum(Bytes{}), 0);
  EXPECT_EQ(TunnelChecksum(Bytes{0x34, 0x12, 0x05}), 0x1239);  // odd last byte unsigned
  EXPECT_EQ(TunnelChecksum(Bytes{0xFF, 0xFF}), 0xFFFF);        // -1 folds to 0xFFFF
}

TEST(Wire, FramesRoundTripAndBadLengthsAreRefused) {
  const Bytes frame = BuildFrame(std::string_view("SC_MNT_req"), 0x5A);
  ASSERT_EQ(frame.size(), 12u);
  EXPECT_EQ(frame[0], 10);
  EXPECT_EQ(frame[1], 0);
  EXPECT_EQ(frame[2], 'S' ^ 0x5A);
  EXPECT_TRUE(BuildFrame(Bytes{}, 0).empty());
  EXPECT_TRUE(BuildFrame(Bytes(3001, 'x'), 0).empty());
  EXPECT_EQ(BuildFrame(Bytes(3000, 'x'), 0).size(), 3002u);

  FrameReader r;
  Bytes payload;
  r.Feed(ByteView(frame).first(5));
  EXPECT_EQ(r.Next(payload, 0x5A), FrameReader::Status::NeedMore);
  r.Feed(ByteView(frame).subspan(5));
  ASSERT_EQ(r.Next(payload, 0x5A), FrameReader::Status::Frame);
  EXPECT_EQ(AsText(payload), "SC_MNT_req");
  r.Feed(Bytes{0xB9, 0x0B, 'x'});  // 3001
  EXPECT_EQ(r.Next(payload, 0), FrameReader::Status::BadLength);
  r.Feed(Bytes{0x00, 0x00});
  EXPECT_EQ(r.Next(payload, 0), FrameReader::Status::NeedMore) << "one byte left from before";
  EXPECT_EQ(r.Buffered(), 3u);
  FrameReader empty;
  empty.Feed(Bytes{0x00, 0x00});
  EXPECT_EQ(empty.Next(payload, 0), FrameReader::Status::BadLength) << "length 0";
}

TEST(Wire, ControlMessagesAndResetReasons) {
  EXPECT_EQ(ControlMessage(kSynAck), "SC_CONTROL SYNACK");
  EXPECT_EQ(ControlWordOf("SC_CONTROL ACK"), "ACK");
  EXPECT_EQ(ControlWordOf("SC_CONTROL RST TIMER"), "RST");
  EXPECT_FALSE(ControlWordOf("SC_CONTROLX ACK"));
  EXPECT_EQ(ResetCodeOf("SC_CONTROL RST TIMER"), 5);
  EXPECT_EQ(ResetCodeOf("SC_CONTROL RST NETWORK"), 12);
  EXPECT_EQ(ResetCodeOf("SC_CONTROL RST ACCESS"), 16);
  EXPECT_EQ(ResetCodeOf("SC_CONTROL RST TIMER NOW"), 17) << "the whole remainder is the word";
  EXPECT_EQ(ResetCodeOf("SC_CONTROL RST BANANA"), 17);
  EXPECT_FALSE(ResetCodeOf("SC_CONTROL ACK"));
  for (int c = 1; c <= 16; ++c) EXPECT_EQ(ReasonCode(ReasonWord(c)), c);
  EXPECT_TRUE(ReasonWord(17).empty());
}

TEST(Wire, GrammarIsStrict) {
  std::string_view rest = "A B";
  std::string_view w;
  ASSERT_TRUE(NextWord(rest, w));
  EXPECT_EQ(w, "A");
  EXPECT_FALSE(NextWord(rest, w)) << "B is not followed by a space";
  EXPECT_EQ(ParseDecimal("4294967295"), 4294967295u);
  EXPECT_FALSE(ParseDecimal("4294994176")) << "no wrap-around";
  EXPECT_FALSE(ParseDecimal("12345678901"));
  EXPECT_FALSE(ParseDecimal("-1"));
  EXPECT_FALSE(ParseDecimal("1x"));
  EXPECT_FALSE(ParseDecimal(""));
  EXPECT_FALSE(ParseDecimal("16001", 16000));
  EXPECT_EQ(ReadRequest(kUnitCnvUnt, kModeTrunking), "SC_READ1_req DATA CNVUNT PLAIN 255 4096");
  EXPECT_EQ(WriteRequest(kUnitFpu, 26880, kModeConventional), "SC_WRITE1_req DATA FPU 26880 PLAIN 1");
  const auto req = ParseUnitRequest("SC_WRITE1_req DATA CNVGRP 8000 PLAIN 255 4096");
  ASSERT_TRUE(req);
  EXPECT_TRUE(req->write);
  EXPECT_EQ(req->size, 8000u);
  EXPECT_TRUE(req->trunkingTail);
  EXPECT_FALSE(ParseUnitRequest("SC_READ1_req DATA FPU PLAIN 2"));
  EXPECT_EQ(SizeNotice(kUnitFpu, 26880), "SC_READ_notfy DATA FPU 26880 01");
  EXPECT_EQ(WithBaud("9600,N,8,1", 115200), "115200,N,8,1");
  EXPECT_EQ(BaudPart("57600,N,8,1"), "57600");
  EXPECT_EQ(ParseBaudRequest("SC_BAU_req 38400"), 38400);
  EXPECT_FALSE(ParseBaudRequest("SC_BAU_req 4800"));
  const auto ver = ParseVersionResponse("SC_VER_resp RWAV0500 0 9 1.02");
  ASSERT_TRUE(ver);
  EXPECT_EQ(ver->modelCode, "RWAV0500");
  EXPECT_EQ(ver->bandCode, 9);
  EXPECT_EQ(VersionResponse(*ver), "SC_VER_resp RWAV0500 0 9 1.02");
  EXPECT_EQ(ParseModeResponse("SC_MODE_resp TRUNKING ON"), kModeTrunking);
  EXPECT_EQ(ParseModeResponse("SC_MODE_resp CONVENTIONAL"), kModeConventional);
  EXPECT_FALSE(ParseModeResponse("SC_MODE_resp"));
  // "CONVENTIONAL" or "TRUNKING" and further words; "TRUNKING" needs its space.
  EXPECT_EQ(ParseModeResponse("SC_MODE_resp CONVENTIONAL 01 FIXED"), kModeConventional);
  EXPECT_EQ(ParseModeResponse("SC_MODE_resp TRUNKING "), kModeTrunking);
  EXPECT_FALSE(ParseModeResponse("SC_MODE_resp TRUNKING"));
  EXPECT_FALSE(ParseModeResponse("SC_MODE_resp CONVENTIONALLY"));
  EXPECT_FALSE(ParseModeResponse("SC_MODE_resp TRUNKINGS ON"));
  EXPECT_FALSE(ParseModeResponse("SC_MODE_resp  CONVENTIONAL"));
  EXPECT_FALSE(ParseModeResponse("SC_PMCHK_resp CONVENTIONAL"));
  EXPECT_EQ(ParseTraceNotice("SC_TRACE_notfy 1024"), 1024u);
  EXPECT_FALSE(ParseTraceNotice("SC_TRACE_notfy 1025"));
  EXPECT_EQ(TimeRequest(std::vector<int>{26, 12, 7, 255, 1}), "SC_TIME_req 26 12 07");
}

TEST(Wire, PassMessageKeepsTheMaskZeroWithTheNeutralChallenge) {
  const Bytes pass = PassMessage(kAccessCode, NeutralChallenge(kAccessCode));
  EXPECT_EQ(pass.size(), 24u);
  EXPECT_EQ(AsText(ByteView(pass).first(16)), "SC_PASS_ind FPU ");
  EXPECT_EQ(PassMask(pass), 0);
  const auto info = ParsePassMessage(pass);
  ASSERT_TRUE(info);
  EXPECT_TRUE(IsAccessCode(*info));
  const Bytes other = PassMessage("qv5508", static_cast<std::uint8_t>(NeutralChallenge("qv5508") ^ 0x3C));
  EXPECT_EQ(PassMask(other), 0x3C);
  EXPECT_FALSE(IsAccessCode(*ParsePassMessage(other)));
  EXPECT_FALSE(ParsePassMessage(ByteView(pass).first(23)));
  const Bytes ver = VersionRequest(0x7E);
  EXPECT_EQ(ParseVersionRequest(ver), 0x7E);
}

TEST(Wire, DataMessagesCheckCountAndChecksum) {
  Bytes data{'a', ' ', 0x00, 0xFF, 0x0D};
  const Bytes msg = DataMessage(data, 1);
  Bytes out;
  int ch = 0;
  ASSERT_EQ(ParseDataMessage(msg, 0, out, &ch), DataStatus::Ok);
  EXPECT_EQ(out, data);
  EXPECT_EQ(ch, 1);
  EXPECT_EQ(ParseDataMessage(msg, 2, out), DataStatus::WrongChannel);
  Bytes bad = msg;
  bad[bad.size() - 1] ^= 1;
  EXPECT_EQ(ParseDataMessage(bad, 1, out), DataStatus::BadChecksum);
  Bytes longer = msg;
  longer.insert(longer.begin() + 15, 'z');
  EXPECT_EQ(ParseDataMessage(longer, 1, out), DataStatus::BadCount) << "count must match the length";
  EXPECT_EQ(ParseDataMessage(AsBytes("SC_DATA_ind 1501 x"), 1, out), DataStatus::BadCount);
  EXPECT_EQ(ParseDataMessage(AsBytes("SC_DATA_ind 99999999999 x"), 1, out), DataStatus::BadCount);
  EXPECT_EQ(ParseDataMessage(AsBytes("SC_DATA_ind"), 1, out), DataStatus::Malformed);
  EXPECT_EQ(ParseDataMessage(AsBytes("SC_COMP_ind"), 1, out), DataStatus::NotData);
  EXPECT_TRUE(DataMessage(Bytes(1501, 0), 1).empty());
  EXPECT_EQ(DataMessage(Bytes(1500, 0), 2).size(), 13u + 5 + 1500 + 3);
}

TEST(Wire, LegacyPacketsEndWithCarriageReturnOrAreTheLoneE) {
  EXPECT_EQ(LegacyPacketLength(AsBytes("E")), 1u);
  EXPECT_EQ(LegacyPacketLength(AsBytes("R01\rR02\r")), 4u);
  EXPECT_EQ(LegacyPacketLength(AsBytes("R01")), 0u);
  EXPECT_EQ(LegacyPacketLength(AsBytes("EX")), 0u);
  EXPECT_EQ(LegacyPacketLength(Bytes(2000, 'x')), 0u);
}
