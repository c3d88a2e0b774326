// zmp318t-cli fields, set, export, import and diff, run as a script runs them:
// real data files in a temporary folder, the tool's output read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "CliRun.h"
#include "../support/Files.h"
#include "ImageText.h"
#include "lang/LanguageTexts.h"
#include "data/NewImage.h"
#include "editors/EditorModules.h"
#include "fields/ImageCheck.h"

namespace fs = std::filesystem;
using nlohmann::json;
using namespace zmp::testing;

namespace {

class CliImageText : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(zmp::Texts().LoadFile(ZMP_BIN_DIR "/zmp318t.lng", "English"), zmp::LanguageTexts::LoadResult::Loaded);
  }
  // A WAV-300 E file with a dozen channels of assorted settings.
  void MakeSite(const std::string& name) {
    ASSERT_EQ(Cli(dir, "new --model 1 --band 258 -o blank.dat").status, 0);
    std::string args;
    for (int ch = 1; ch <= 12; ++ch) {
      const std::string row = "'channel[" + std::to_string(ch) + "].";
      const std::string form = "'channel_edit[" + std::to_string(ch) + "].";
      char rx[16];
      std::snprintf(rx, sizeof rx, "%.4f", 146.5 + 0.025 * ch);
      args += " " + row + "rx_frequency=" + rx + "'";
      if (ch % 2 == 0) args += " " + row + "tx_frequency=150.1'";
      args += " " + row + "name=C" + std::to_string(ch % 10) + "'";
      if (ch % 3 == 0) args += " " + row + "channel_type=Analog' " + row + "qt_decode=88.5'";
      if (ch % 4 == 0) args += " " + form + "tx_power=Low' " + form + "compander=1'";
    }
    const CliRun r = Cli(dir, "set blank.dat" + args + " -o " + name);
    ASSERT_EQ(r.status, 0) << r.err;
  }

  // fields --json, by key.
  std::map<std::string, json> Fields(const std::string& file, const std::string& more = "") {
    const CliRun r = Cli(dir, "fields " + file + " --json" + more);
    EXPECT_EQ(r.status, 0) << r.err;
    std::map<std::string, json> out;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) {
      const json j = json::parse(line);
      out[j["key"].get<std::string>()] = j;
    }
    return out;
  }

  std::string Bytes(const std::string& file) { return ReadText(dir / file); }
  std::string Text(int n) { return zmp::Texts().Text(zmp::TextNo(n)); }

  TempDir dir{"cli-image-text"};
};

TEST_F(CliImageText, FieldsListsEveryInstanceWithWhereItLives) {
  MakeSite("site.dat");
  auto f = Fields("site.dat");
  const json& rx = f["channel[3].rx_frequency"];
  EXPECT_EQ(rx["editor"], "channel");
  EXPECT_EQ(rx["kind"], "text");
  EXPECT_EQ(rx["text"], "146.575000");
  EXPECT_EQ(rx["block"], "main");
  ASSERT_TRUE(rx["offset"].is_number());
  EXPECT_EQ(rx["length"], 5);
  EXPECT_EQ(f["channel_edit[3].rx_frequency"]["offset"], rx["offset"]) << "grid and form show the same bytes";
  EXPECT_TRUE(rx["bit"].is_null());
  EXPECT_FALSE(rx.contains("choices"));
  EXPECT_EQ(f["channel[3].qt_decode"]["text"], "88.5");
  EXPECT_EQ(f["channel[4].qt_decode"]["text"], "---") << "tones do not apply to a digital channel";
  const json& power = f["channel_edit[4].tx_power"];
  EXPECT_EQ(power["kind"], "list");
  EXPECT_EQ(power["text"], "Low");
  EXPECT_EQ(power["choices"], json::array({"High", "Low"}));
  const json& beat = f["channel_edit[1].beat_shift"];
  EXPECT_EQ(beat["kind"], "check");
  EXPECT_EQ(beat["text"], "0");
  EXPECT_EQ(beat["bit"], 0);
  EXPECT_EQ(f["channel_edit[4].compander"]["text"], "1");
  // A grid row of a channel that does not exist: listed, empty, nowhere.
  const json& missing = f["channel[20].rx_frequency"];
  EXPECT_EQ(missing["text"], "");
  EXPECT_TRUE(missing["offset"].is_null());
  EXPECT_TRUE(missing["length"].is_null());
  EXPECT_EQ(f.count("channel_edit[20].rx_frequency"), 0u) << "forms list only channels that exist";
  // The plain listing is a table of the same keys.
  const CliRun plain = Cli(dir, "fields site.dat");
  EXPECT_NE(plain.out.find("channel[3].name "), std::string::npos);
  char where[32];
  std::snprintf(where, sizeof where, "main 0x%04X..0x%04X", rx["offset"].get<unsigned>(), rx["offset"].get<unsigned>() + 4);
  EXPECT_NE(plain.out.find(where), std::string::npos) << plain.out.substr(0, 400);
}

TEST_F(CliImageText, SetTakesWhatTheEditorsTakeAndRefusesTheRest) {
  MakeSite("site.dat");
  // (Limits, wraps and steps are the field engine's; here the three forms of
  // an assignment reach it.)
  CliRun r = Cli(dir,
                 "set site.dat 'channel_edit[2].tx_power=Low' 'channel_edit[2].compander=1' "
                 "'channel_edit[5].scrambler_code++' 'channel_edit[5].scrambler_code++' "
                 "'channel_edit[6].scrambler_code--' -o out.dat");
  ASSERT_EQ(r.status, 0) << r.err;
  auto f = Fields("out.dat");
  EXPECT_EQ(f["channel_edit[2].tx_power"]["text"], "Low");
  EXPECT_EQ(f["channel_edit[2].compander"]["text"], "1");
  EXPECT_EQ(f["channel_edit[5].scrambler_code"]["text"], "3");
  EXPECT_EQ(f["channel_edit[6].scrambler_code"]["text"], "16");

  // The text a field already shows changes no byte.
  r = Cli(dir, "set site.dat 'channel[3].rx_frequency=146.575000' 'channel_edit[4].tx_power=Low' -o same.dat");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Bytes("same.dat"), Bytes("site.dat"));

  // Once CW ID is on, its settings are taken.
  r = Cli(dir, "set site.dat 'channel_edit[2].cw_id=1' 'cw_id[2].text=de hill' 'channel[1].name=\\x19A' -o cw.dat");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Fields("cw.dat")["cw_id[2].text"]["text"], "DE HILL");
  // A byte nobody can type shows escaped, and the escape sets it again.
  EXPECT_EQ(Fields("cw.dat")["channel[1].name"]["text"], "\\x19A");
  ASSERT_EQ(Cli(dir, "set cw.dat 'channel[1].name=\\x19A' -o cw2.dat").status, 0);
  EXPECT_EQ(Bytes("cw2.dat"), Bytes("cw.dat"));

  // Refused: the editor's message with its reason, status 1, nothing written
  // (even when an earlier assignment was taken).
  r = Cli(dir, "set site.dat 'channel_edit[1].compander=1' 'channel_edit[1].cw_id=1' -o refused.dat");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(Text(345)), std::string::npos) << r.err;
  // What the editors disable is refused with the reason: CW ID is off.
  r = Cli(dir, "set site.dat 'cw_id[2].text=de hill' -o refused.dat");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(Text(379)), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(dir / "refused.dat"));

  // Text that the field's input would not let through is refused, not
  // stored as "no frequency" (which empties the whole test channel).
  for (const char* text : {"nan", "1\\x01"}) {
    r = Cli(dir, std::string("set site.dat 'test_frequency[1].frequency_1=") + text + "' -o refused.dat");
    EXPECT_EQ(r.status, 1) << text;
    EXPECT_NE(r.err.find("cannot be typed into this field"), std::string::npos) << r.err;
  }
  EXPECT_FALSE(fs::exists(dir / "refused.dat"));
  // A text longer than its field is refused as the grid refuses it, never cut.
  r = Cli(dir, "set site.dat 'channel[1].name=" + std::string(5000, 'N') + "' -o refused.dat");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(Text(354)), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(dir / "refused.dat"));
  // A value limited or rounded is stored as the editors store it, and said
  // so, one line each.
  r = Cli(dir, "set site.dat cw_message.speed=99999 "
                   "'multi_table[2].table_1.tone_1=300' 'channel[2].rx_frequency=146.55001' -o kept.dat");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "zmp318t-cli set: cw_message.speed: 99999 kept as 30 (5–30)\n"
                   "zmp318t-cli set: multi_table[2].table_1.tone_1: 300 kept as 254.1 (67.0–254.1)\n"
                   "zmp318t-cli set: channel[2].rx_frequency: 146.55001 kept as 146.550000\n");
  f = Fields("kept.dat");
  EXPECT_EQ(f["cw_message.speed"]["text"], "30");

  // Unknown keys and wrong use: status 2.
  EXPECT_EQ(Cli(dir, "set site.dat 'channel_edit[20].tx_power=Low' -o x.dat").status, 2) << "no channel 20";
  EXPECT_EQ(Cli(dir, "set site.dat 'channel[1].colour=red' -o x.dat").status, 2);
  EXPECT_EQ(Cli(dir, "set site.dat 'channel[1].name' -o x.dat").status, 2);
  EXPECT_EQ(Cli(dir, "set site.dat 'channel[1].name=AB'").status, 2) << "no -o";
  EXPECT_FALSE(fs::exists(dir / "x.dat"));

  // A protected file: the read's code and message (a damaged one:
  // CliFiles.EveryCommandExitsWithTheReadCodeOfItsFile).
  ASSERT_EQ(Cli(dir, "decode site.dat blocks").status, 0);
  ASSERT_EQ(Cli(dir, "encode blocks -o locked.dat --key 0x5A --password 4711").status, 0);
  r = Cli(dir, "set locked.dat 'channel[1].name=AB' -o x.dat");
  EXPECT_EQ(r.status, 4);
  EXPECT_NE(r.err.find(Text(160)), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(dir / "x.dat"));
  // With its password: written with the same key byte and password.
  r = Cli(dir, "set locked.dat 'channel[1].name=AB' -o x.dat --password 4711");
  ASSERT_EQ(r.status, 0) << r.err;
  r = Cli(dir, "info x.dat");
  EXPECT_NE(r.out.find("key byte:    0x5A"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(Text(163)), std::string::npos) << "still protected";
  EXPECT_NE(r.out.find(Text(161)), std::string::npos) << "the checksum follows the change";
  EXPECT_EQ(Fields("x.dat", " --password 4711")["channel[1].name"]["text"], "AB");
}

TEST_F(CliImageText, ExportThenImportReproducesTheFile) {
  MakeSite("site.dat");
  CliRun r = Cli(dir, "export site.dat -o site.yaml");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string yaml = ReadText(dir / "site.yaml");
  EXPECT_NE(yaml.find("model_index: 1"), std::string::npos) << yaml.substr(0, 300);
  EXPECT_NE(yaml.find("compander: true"), std::string::npos);
  EXPECT_NE(yaml.find("rx_frequency: \"146.575000\""), std::string::npos);
  EXPECT_EQ(Cli(dir, "export site.dat").out, yaml) << "standard output without -o";

  // (Into a new image of the model: ImageTextBackup, in process.)
  ASSERT_EQ(Cli(dir, "import site.yaml --into site.dat -o again.dat").status, 0);
  EXPECT_EQ(Bytes("again.dat"), Bytes("site.dat"));

  // (Bytes nobody typed: fuzz_import's random bases into themselves, and
  // ImageTextBackup into a new file.)

  // A value the editors limit is imported as they store it, and said so with its line.
  WriteBytes(dir / "limited.yaml", "format: 1\nmodel_index: 1\nband_word: 258\neditors:\n  cw_message:\n"
                                   "    speed: \"99999\"\n");
  r = Cli(dir, "import limited.yaml --into site.dat -o limited.dat");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "zmp318t-cli import: limited.yaml: line 6: cw_message.speed: 99999 kept as 30 (5–30)\n");

  // Another model, a refused value (broken texts: HostileTexts...): status 1, nothing written.
  ASSERT_EQ(Cli(dir, "new --model 2 -o uhf.dat").status, 0);
  r = Cli(dir, "import site.yaml --into uhf.dat -o x.dat");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("WAV-300: E"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("WAV-500: K"), std::string::npos) << r.err;
  std::string edited = yaml;
  edited.replace(edited.find("\"146.575000\""), 12, "\"999\"");
  WriteBytes(dir / "refused.yaml", edited);
  r = Cli(dir, "import refused.yaml --into site.dat -o x.dat");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("channel[3].rx_frequency"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(dir / "x.dat"));
}

// Hostile image texts are refused with the file, the line and what is wrong,
// on one line, in bounded time, and nothing is written.
TEST_F(CliImageText, HostileTextsAreRefusedWithTheirLine) {
  MakeSite("site.dat");
  ASSERT_EQ(Cli(dir, "export site.dat -o site.yaml").status, 0);
  const std::string yaml = ReadText(dir / "site.yaml");
  const std::string header = "format: 1\nmodel_index: 1\nband_word: 258\n";
  // Aliases that double at each level, twenty levels deep, wide instead of deep.
  std::string keys, as, bs;
  for (int i = 0; i < 50; ++i) {
    keys += (i ? ", k" : "k") + std::to_string(i) + ": \"1\"";
    as += (i ? ", a" : "a") + std::to_string(i) + ": *a";
    bs += (i ? ", b" : "b") + std::to_string(i) + ": *b";
  }
  std::string laughs = header + "editors:\n  x: &l0 {k: \"1\"}\n";
  for (int i = 1; i <= 20; ++i)
    laughs += "  l" + std::to_string(i) + ": &l" + std::to_string(i) + " [*l" + std::to_string(i - 1) + ", *l" +
              std::to_string(i - 1) + "]\n";
  const std::string cut = yaml.substr(0, yaml.find("rx_frequency:") + 13);
  const std::pair<std::string, std::string> cases[] = {
      {header + "editors:\n  cw_message: &a {x: *a}\n", "line 5: the alias *a refers to the mapping it stands in"},
      {header + "editors: &e {cw_message: *e}\n", "line 4: the alias *e refers to the mapping it stands in"},
      {laughs, "line 6: l1 holds a list"},
      {header + "editors:\n  x: &a {" + keys + "}\n  y: &b {" + as + "}\n  z: {" + bs + "}\n",
       "line 7: the text holds more than 20000 values (aliases expanded)"},
      {cut, "line " + std::to_string(std::count(cut.begin(), cut.end(), '\n') + 1) +
                ": channel[1].rx_frequency has no value"},
      {header + "format: 1\neditors: {}\n", "line 4: format appears twice in one mapping (lines 1 and 4)"},
      {header + "editors:\n  dtmf: {first_digit_delay: \"100\"}\neditors: {}\n", "line 6: editors appears twice"},
      {header + "editors:\n  channel:\n    1:\n      name: \"A\"\n      name: \"B\"\n", "line 8: channel[1].name appears twice"},
      {header + "editors:\n  channel:\n    1: {name: \"A\"}\n  channel_edit: {}\n  x:\n    y:\n      z:\n        w:\n"
                "          v: \"1\"\n",
       "line 11: x.y.z.w is nested deeper than an image text goes"},
      {header + "editors:\n  channel: {1: {name: [\"A\"]}}\n", "line 5: channel[1].name holds a list"},
      {header + "editors:\n  \"chan\\nnel\": {1: {name: \"A\"}}\n", "line 5: no field chan\\nnel[1].name in this image"},
      {header + "editors: {}\n---\nformat: 2\n", "line 5: a second document begins"},
      {"format: 1\nmodel_index: 1\nband_word: 259\neditors: {}\n", "line 2: model_index 1 with band_word 259 is no model"},
      {"format: 1\nmodel_index: 2\nband_word: 2304\neditors: {}\n",
       "line 2: the text is of WAV-500: K  UHF: 450-480 MHz (model_index 2, band_word 2304), the data file of "
       "WAV-300: E  VHF: 146-174 MHz (model_index 1, band_word 258)"},
      {"format: 1\nmodel_index: x1\n", "line 2: model_index is not a number: \"x1\""},
      {"", "the text is empty"},
  };
  for (const auto& [text, message] : cases) {
    WriteBytes(dir / "bad.yaml", text);
    const CliRun r = Cli(dir, "import bad.yaml --into site.dat -o x.dat");
    EXPECT_EQ(r.status, 1) << message;
    EXPECT_EQ(r.err.find("zmp318t-cli import: bad.yaml: " + message), 0u) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_FALSE(fs::exists(dir / "x.dat")) << message;
  }
}

TEST_F(CliImageText, DiffNamesTheFieldsThatDiffer) {
  MakeSite("a.dat");
  ASSERT_EQ(Cli(dir, "set a.dat 'channel[3].rx_frequency=146.6' 'channel_edit[4].compander=0' -o b.dat").status, 0);
  CliRun r = Cli(dir, "diff a.dat b.dat");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("channel 3 / RX Frequency [MHz]: 146.575000 → 146.600000\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("channel_edit 4 / Compander: 1 → 0\n"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("channel_edit 3 / RX"), std::string::npos) << "each place once";
  EXPECT_NE(r.out.find("bytes outside every field:\n  main 0x0256"), std::string::npos)
      << "the checksum lies outside every field";
  r = Cli(dir, "diff a.dat a.dat");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(Cli(dir, "diff a.dat").status, 2);
  EXPECT_EQ(Cli(dir, "diff a.dat none.dat").status, 3);
}

TEST_F(CliImageText, MultiTablesAndTestChannelsAreListedSetExportedAndCompared) {
  ASSERT_EQ(Cli(dir, "new --model 2 --band 2560 -o uhf.dat").status, 0);
  CliRun r = Cli(dir,
                 "set uhf.dat 'multi_table[5].table_3.tone_1=88.5' 'multi_table[1].table_15.number_1=70' "
                 "'test_frequency[14].frequency_1=494.6' -o a.dat");
  ASSERT_EQ(r.status, 0) << r.err;
  // (Their pair rules are the editors'.) Nested keys are listed; outside the
  // band a test frequency is stored with the editor's warning.
  auto f = Fields("a.dat");
  EXPECT_EQ(f["multi_table[5].table_3.tone_1"]["text"], "88.5");
  EXPECT_EQ(f["test_frequency[14].frequency_1"]["text"], "494.600000");
  r = Cli(dir, "set a.dat 'test_frequency[1].frequency_2=520' -o b.dat");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find(Text(657)), std::string::npos) << r.err;
  r = Cli(dir, "diff a.dat b.dat");
  EXPECT_NE(r.out.find("test_frequency 1 / Frequency 2: 477.000000 → 520.000000"), std::string::npos) << r.out;
  ASSERT_EQ(Cli(dir, "set a.dat 'multi_table[5].table_3.tone_2=D023' -o c.dat").status, 0);
  r = Cli(dir, "diff a.dat c.dat");
  EXPECT_NE(r.out.find("multi_table.table_3 5 / QT/DQT 2: 88.5 → D023N"), std::string::npos) << r.out;
  // The export carries every cell and reads back into the same file.
  ASSERT_EQ(Cli(dir, "export c.dat -o c.yaml").status, 0);
  const std::string yaml = ReadText(dir / "c.yaml");
  EXPECT_NE(yaml.find("table_3:"), std::string::npos);
  EXPECT_NE(yaml.find("frequency_2:"), std::string::npos);
  r = Cli(dir, "import c.yaml --into uhf.dat -o rebuilt.dat");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Bytes("rebuilt.dat"), Bytes("c.dat"));
}

}  // namespace

// check: one line per problem, exit 1; --fix releases and limits, prints each
// change and writes a file that checks clean; a damaged or protected file
// gives its read code; an emptied message releases the key that sends it.
TEST_F(CliImageText, CheckNamesWhatAWriteWouldSendAndFixMendsIt) {
  ASSERT_EQ(Cli(dir, "new --model 1 -o blank.dat").status, 0);
  CliRun r = Cli(dir, "check blank.dat");
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_EQ(r.out, "");
  r = Cli(dir, "set blank.dat 'cw_message.message_1=CQ TEST' 'key_assignment[1].function=Send CW Message 1' -o cw.dat");
  ASSERT_EQ(r.status, 0) << r.err;
  r = Cli(dir, "set cw.dat 'cw_message.message_1=' -o empty.dat");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("also cleared key_assignment[1].function (was Send CW Message 1)"), std::string::npos) << r.err;
  EXPECT_EQ(Fields("empty.dat")["key_assignment[1].function"]["text"], Text(1256));

  // A key naming a message emptied elsewhere, and a time past its range.
  ASSERT_EQ(Cli(dir, "decode cw.dat blocks").status, 0);
  std::string main = ReadText(dir / "blocks/main.bin");
  main[0x0640] = '\xFF';
  main[0x026D] = '\xFF';
  WriteBytes(dir / "blocks/main.bin", main);
  ASSERT_EQ(Cli(dir, "encode blocks -o bad.dat").status, 0);
  r = Cli(dir, "check bad.dat");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out,
            "optional_features.repeater.dqt_turn_off_code_time: (empty): outside its range (140 to 200)\n"
            "key_assignment[1].function: Send CW Message 1 (message empty): message empty\n");
  r = Cli(dir, "check bad.dat --json");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("{\"editor\":\"key_assignment\",\"key\":\"key_assignment[1].function\""), std::string::npos)
      << r.out;
  r = Cli(dir, "check bad.dat --fix -o fixed.dat");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("optional_features.repeater.dqt_turn_off_code_time: (empty) -> 200\n"), std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("key_assignment[1].function: Send CW Message 1 (message empty) -> " + Text(1256)),
            std::string::npos) << r.out;
  EXPECT_EQ(Cli(dir, "check fixed.dat").status, 0);
  EXPECT_EQ(Cli(dir, "check bad.dat --fix").status, 2) << "--fix writes a file";

  // A damaged file and a protected one give their read codes.
  WriteBytes(dir / "short.dat", "ZMP");
  EXPECT_EQ(Cli(dir, "check short.dat").status, 1);
  ASSERT_EQ(Cli(dir, "encode blocks -o locked.dat --key 0x5A --password 4711").status, 0);
  EXPECT_EQ(Cli(dir, "check locked.dat").status, 4);
  EXPECT_EQ(Cli(dir, "check locked.dat --password 4711").status, 1);
}

// The export is a backup: imported into a new file of the model it gives the
// image back byte for byte, for a new image of every model and band and for
// images of random bytes once check --fix has mended them (in process).
TEST(ImageTextBackup, ExportImportedIntoANewFileGivesTheImageBack) {
  using namespace zmp;
  ASSERT_EQ(Texts().LoadFile(std::string(ZMP_SOURCE_DIR) + "/lang/zmp318t.lng", "English"),
            LanguageTexts::LoadResult::Loaded);
  const auto newImage = [](const ModelRecord& record) {
    ImageStore image;
    image.MakeBlank();
    ModelInfo(image).SetRecord(record);
    MakeNewImageForCurrentModel(image);
    return image;
  };
  const auto roundTrip = [&](const ImageStore& image, const std::string& what) {
    const std::string yaml = cli::ExportYaml(EditorModules(), image);
    ImageStore again = newImage(ModelInfo(const_cast<ImageStore&>(image)).Record());
    const cli::ImportOutcome r = cli::ImportYaml(EditorModules(), again, yaml);
    ASSERT_TRUE(r.ok) << what << ": " << r.message;
    EXPECT_TRUE(again.working() == image.working()) << what;
  };
  std::vector<ImageStore> images;
  for (int m = 0; m < kModelCount; ++m) {
    const ModelEntry& model = ModelTable()[static_cast<std::size_t>(m)];
    for (int row = model.firstBandRow; row <= model.lastBandRow; ++row) {
      ModelRecord record = ModelRecord::Default();
      std::copy(model.code.begin(), model.code.end(), record.bytes.begin());
      record.bytes[10] = BandTable()[static_cast<std::size_t>(row)].destination;
      record.bytes[11] = BandTable()[static_cast<std::size_t>(row)].bandCode;
      images.push_back(newImage(record));
      roundTrip(images.back(), std::string(model.name) + " " + std::string(BandTable()[static_cast<std::size_t>(row)].rangeText));
    }
  }
  for (unsigned seed : {1u, 2u, 3u}) {
    ImageStore image = images[seed % images.size()];
    std::mt19937 rng(seed);
    auto main = image.Main();
    for (std::size_t i = 0x0100; i < main.size(); ++i)
      if (i < region::kModelRecord || i >= region::kModelRecord + kModelRecordSize) main.SetByte(i, rng() & 0xFF);
    FixImage(EditorModules(), image);
    roundTrip(image, "random image " + std::to_string(seed));
  }
}
