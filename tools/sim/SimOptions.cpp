#include "SimOptions.h"

#include "comm/Wire.h"
#include "data/ModelInfo.h"

namespace zmp::sim {

const char* SimUsage() {
  return R"(usage: zmp318t-sim [OPTIONS]

Opens a pseudo-terminal, prints its device path as the first line of standard
output and answers on it as a WAV-300/WAV-500 repeater, until SIGTERM or SIGINT.
Point zmp318t-cli (or the program's port map) at the printed path.

Image (by default a demonstration repeater: a new image with a dozen
channels, with tones, names and a repeater pair):
  --model INDEX         model index 0..3 (default: WAV-300 E)
  --band WORD           band word of a new image (e.g. 258, 3074)
  --load FILE           start with the image of a data file
  --save FILE           save the image to a data file after every written unit
                        and on exit
  --pattern SEED        fill the image with pseudo-random bytes instead (model
                        record, version, format and checksum stay valid; for
                        stress tests: its channel index is not a valid one)

Answers:
  --firmware TEXT       firmware version in SC_VER_resp / SC_SFTINF_resp (1.02)
  --data-format WORD    data format word of SC_SFTINF_resp (101)
  --model-code CODE     answer SC_VER_req with this model code
  --destination N       answer SC_VER_req with this destination code
  --chunk N             data bytes per SC_DATA_ind of a read, 1..1500 (1500)
  --trace-size N        size announced by SC_TRACE_notfy (1024)

Faults (PREFIX: the beginning of a received message, e.g. "SC_BAU_req" or
"SC_READ1_req DATA CNVUNT"; every matching message triggers the fault):
  --rst REASON@PREFIX   answer with "SC_CONTROL RST REASON"
  --nack PREFIX         answer with "SC_CONTROL NACK"
  --silent PREFIX       do not answer
  --garbage PREFIX      answer with bytes that are no frame
  --hangup PREFIX       send the first half of the answer's frame, then hang
                        up the line and end
  --rst-after REASON@PREFIX  answer as usual, then reset the connection at once
                        with "SC_CONTROL RST REASON" (an RST between exchanges)
  --missed-baud         acknowledge SC_BAU_req but stay at the old rate: what
                        the program sends at its new rate goes unanswered until
                        its next connection request
  --extra-words         add further words to the replies whose grammar allows
                        them (SC_MODE_resp, SC_READ_notfy, SC_PROG_ind)
  --no-fin-ack          never acknowledge SC_CONTROL FIN
  --size UNIT=N         announce N bytes for UNIT in SC_READ_notfy
  --bad-checksum        corrupt the checksum of every data message sent
  --no-comp             never send SC_COMP_ind
  --bula                send a "Bula!" frame before every answer and prefix
                        the answer itself with "Bula!"
  --late-ack MS[@PREFIX] hold the ACK of a write request and of a service reset
                        (or of the messages beginning with PREFIX) MS ms back
  --trunking            answer SC_MODE_req with TRUNKING ON and demand the
                        trunking tail "255 4096" on unit requests
  --random-mask         demand a masked connection: a PASS that leaves the
                        version byte and the mask 0 is answered with RST ACCESS
  --data-fault KIND     overrun | empty | count-high: spoil the data messages
                        of every unit read

Line:
  --no-pace             answer at once instead of at the line rate
  --stats               print the byte counts of each direction per baud rate
                        after every connection and on exit
  --log FILE            write every message received (<) and sent (>)
  --help                this text
)";
}

namespace {

bool SplitAt(const std::string& s, char c, std::string& a, std::string& b) {
  const auto p = s.find(c);
  if (p == std::string::npos || p == 0 || p + 1 == s.size()) return false;
  a = s.substr(0, p);
  b = s.substr(p + 1);
  return true;
}

std::optional<std::uint32_t> Number(const std::string& s, std::uint32_t max) {
  return wire::ParseDecimal(s, max);
}

}  // namespace

std::optional<SimOptions> ParseSimOptions(const std::vector<std::string>& args, std::string& error,
                                          bool& helpRequested) {
  SimOptions o;
  helpRequested = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) {
        error = a + " needs a value";
        return false;
      }
      out = args[++i];
      return true;
    };
    auto number = [&](std::uint32_t max, std::uint32_t& out) {
      std::string v;
      if (!value(v)) return false;
      const auto n = Number(v, max);
      if (!n) {
        error = a + ": not a number up to " + std::to_string(max) + ": " + v;
        return false;
      }
      out = *n;
      return true;
    };
    std::string v;
    std::uint32_t n = 0;
    if (a == "--help" || a == "-h") {
      helpRequested = true;
      return std::nullopt;
    } else if (a == "--model") {
      if (!number(kModelCount - 1, n)) return std::nullopt;
      o.model = static_cast<int>(n);
    } else if (a == "--band") {
      if (!number(0xFFFF, n)) return std::nullopt;
      if (BandRowOfWord(static_cast<std::uint16_t>(n)) < 0) {
        error = "--band: not a band word: " + std::to_string(n);
        return std::nullopt;
      }
      o.band = static_cast<std::uint16_t>(n);
    } else if (a == "--load") {
      if (!value(o.load)) return std::nullopt;
    } else if (a == "--save") {
      if (!value(o.save)) return std::nullopt;
    } else if (a == "--pattern") {
      if (!number(0xFFFFFFFFu, n)) return std::nullopt;
      o.pattern = n;
    } else if (a == "--firmware") {
      if (!value(o.firmware)) return std::nullopt;
    } else if (a == "--data-format") {
      if (!value(o.dataFormat)) return std::nullopt;
    } else if (a == "--model-code") {
      if (!value(o.modelCode)) return std::nullopt;
    } else if (a == "--destination") {
      if (!number(255, n)) return std::nullopt;
      o.destination = static_cast<int>(n);
    } else if (a == "--chunk") {
      if (!number(static_cast<std::uint32_t>(wire::kMaxTunnel), n)) return std::nullopt;
      if (n == 0) {
        error = "--chunk must be 1..1500";
        return std::nullopt;
      }
      o.chunk = n;
    } else if (a == "--trace-size") {
      if (!number(1000000, n)) return std::nullopt;
      o.traceSize = n;
    } else if (a == "--rst" || a == "--rst-after") {
      if (!value(v)) return std::nullopt;
      PrefixFault f;
      if (!SplitAt(v, '@', f.word, f.prefix)) {
        error = a + " needs REASON@PREFIX: " + v;
        return std::nullopt;
      }
      (a == "--rst" ? o.rst : o.rstAfter).push_back(f);
    } else if (a == "--nack" || a == "--silent" || a == "--garbage" || a == "--hangup") {
      if (!value(v)) return std::nullopt;
      auto& list = a == "--nack" ? o.nack : a == "--silent" ? o.silent : a == "--garbage" ? o.garbage : o.hangup;
      list.push_back({v, {}});
    } else if (a == "--missed-baud") {
      o.missedBaud = true;
    } else if (a == "--extra-words") {
      o.extraWords = true;
    } else if (a == "--no-fin-ack") {
      o.noFinAck = true;
    } else if (a == "--size") {
      if (!value(v)) return std::nullopt;
      std::string unit, size;
      if (!SplitAt(v, '=', unit, size) || !Number(size, 0xFFFFFFFFu)) {
        error = "--size needs UNIT=N: " + v;
        return std::nullopt;
      }
      o.sizeOverride[unit] = *Number(size, 0xFFFFFFFFu);
    } else if (a == "--bad-checksum") {
      o.badChecksum = true;
    } else if (a == "--no-comp") {
      o.noComp = true;
    } else if (a == "--bula") {
      o.bula = true;
    } else if (a == "--late-ack") {
      if (!value(v)) return std::nullopt;
      std::string ms = v, prefix;
      if (v.find('@') != std::string::npos && !SplitAt(v, '@', ms, prefix)) {
        error = "--late-ack needs MS[@PREFIX]: " + v;
        return std::nullopt;
      }
      const auto t = Number(ms, 600000);
      if (!t) {
        error = "--late-ack: not a time in ms: " + ms;
        return std::nullopt;
      }
      o.lateAckMs = static_cast<int>(*t);
      if (!prefix.empty()) o.lateAckPrefixes.push_back(prefix);
    } else if (a == "--trunking") {
      o.trunking = true;
    } else if (a == "--random-mask") {
      o.randomMask = true;
    } else if (a == "--data-fault") {
      if (!value(v)) return std::nullopt;
      if (v == "overrun") o.dataFault = DataFault::Overrun;
      else if (v == "empty") o.dataFault = DataFault::Empty;
      else if (v == "count-high") o.dataFault = DataFault::CountHigh;
      else {
        error = "--data-fault: overrun, empty or count-high: " + v;
        return std::nullopt;
      }
    } else if (a == "--no-pace") {
      o.pace = false;
    } else if (a == "--stats") {
      o.stats = true;
    } else if (a == "--log") {
      if (!value(o.log)) return std::nullopt;
    } else {
      error = "unknown option: " + a;
      return std::nullopt;
    }
  }
  if (o.lateAckMs > 0 && o.lateAckPrefixes.empty())
    o.lateAckPrefixes = {std::string(wire::kWrite1Req), std::string(wire::kSvcrstReq)};
  if (!o.load.empty() && (o.model || o.band || o.pattern)) {
    error = "--load does not go with --model, --band or --pattern";
    return std::nullopt;
  }
  return o;
}

}  // namespace zmp::sim
