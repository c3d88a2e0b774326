// The function port and remote control editors through their field keys:
// rows that follow the option ports' directions, chains without gaps,
// polarity and output functions, and the remote codes that follow the state
// of what they switch. What every field shares (limits, round trips, showing
// writes nothing) is the field engine suite's.
#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "ImageText.h"
#include "editors/EditorModules.h"
#include "editors/FunctionCodes.h"
#include "editors/PortModel.h"
#include "editors/RemoteFields.h"
#include "fields/FieldWalk.h"
#include "fields/References.h"
#include "print/Listing.h"

using namespace zmp;
using namespace zmp::testing;

namespace {

constexpr FunctionCode C(char a, char b) { return MakeFunctionCode(a, b); }

class PortsRemote : public ::testing::Test {
 protected:
  void SetUp() override {
    UseProgramTexts();
    image.MakeBlank();
    SetModel(image, Vhf146E());
  }
  FieldRef Ref(const std::string& key) const {
    const auto f = FindField(EditorModules(), image, key);
    EXPECT_TRUE(f) << key;
    return f ? f->ref : FieldRef{};
  }
  bool Exists(const std::string& key) const { return FindField(EditorModules(), image, key).has_value(); }
  std::string Shown(const std::string& key) const { return ShowField(Ref(key), image).text; }
  CommitResult Pick(const std::string& key, long value) { return CommitFieldChoice(Ref(key), image, value); }
  BlockRef Main() { return image.Main(); }
  std::size_t Location(const std::string& key) const { return LocateField(Ref(key), image)->offset; }
  // The remote output grid's columns that show the output record (no keys of their own).
  std::string RemoteOutputColumn(std::size_t field, int row) const {
    const FieldTable& outputs = RemoteModule().tables.at(2);
    return ShowField(FieldRef{&outputs, &outputs.fields[field], row}, image).text;
  }

  ImageStore image;
};

TEST_F(PortsRemote, OptionPortsAddAndRemoveRowsAndKeepTheOtherDirectionsBytes) {
  // A blank image: the fixed ports only; a direction byte outside 0/1/0xFF shows nothing.
  EXPECT_EQ(PortRowCount(image, PortDirection::Input), 3);
  EXPECT_EQ(PortRowCount(image, PortDirection::Output), 5);
  EXPECT_FALSE(Exists("function_port[4].inputs.function_1"));
  EXPECT_EQ(Shown("function_port.ports.option_port_3"), "Not Used");
  Main().SetByte(0x02AB, 7);
  EXPECT_EQ(Shown("function_port.ports.option_port_4"), "");
  EXPECT_EQ(ShowField(Ref("function_port.ports.option_port_4"), image).choice, -1);

  // Option port 2 (counted from 0, the third byte) set to input: a fourth input row at 0x318.
  ASSERT_TRUE(Pick("function_port.ports.option_port_3", 0).ok());
  EXPECT_EQ(Main().Byte(0x02AA), 0);
  EXPECT_EQ(Location("function_port[4].inputs.function_1"), 0x0318u);
  EXPECT_EQ(Location("remote_control[4].inputs.activation"), 0x61BFu);
  EXPECT_EQ(PortRowTitle(image, PortDirection::Input, 3), "Option Port 3");
  EXPECT_EQ(PortRowTitle(image, PortDirection::Input, 2), "Input 3");
  Main().SetWord(0x0318, C('1', '1'));
  Main().SetByte(0x61BF, 4);

  // To output: the input row goes, an output row comes at 0x600; the input
  // bytes stay where they were and are no longer read.
  ASSERT_TRUE(Pick("function_port.ports.option_port_3", 1).ok());
  EXPECT_FALSE(Exists("function_port[4].inputs.function_1"));
  EXPECT_EQ(Location("function_port[6].outputs.function"), 0x0600u);
  EXPECT_EQ(Location("remote_control[6].outputs.activation"), 0x61E8u);
  EXPECT_EQ(Main().Word(0x0318), C('1', '1'));
  EXPECT_EQ(Main().Byte(0x61BF), 4);
  // Two option ports as input are listed in port order.
  Main().SetByte(0x02AD, 0);
  Main().SetByte(0x02A8, 0);
  EXPECT_EQ(Location("function_port[4].inputs.function_1"), 0x0308u);
  EXPECT_EQ(Location("function_port[5].inputs.function_1"), 0x0330u);
  EXPECT_EQ(PortRowTitle(image, PortDirection::Input, 4), "Option Port 6");
  // Back to input: the kept chain and code are shown again.
  ASSERT_TRUE(Pick("function_port.ports.option_port_3", 0).ok());
  EXPECT_EQ(Location("function_port[5].inputs.function_1"), 0x0318u);
  EXPECT_EQ(Shown("remote_control[5].inputs.activation"), "Decode 5 (entry not in use)");
}

TEST_F(PortsRemote, ChainsHaveNoGapsAndOutputsShowFunctionAndPolarity) {
  Main().Fill(0x02F0, 24, 0x20);
  const auto before = AllBytes(image);
  const CommitResult gap = Pick("function_port[1].inputs.function_2", C('1', '1'));
  EXPECT_EQ(gap.status, CommitStatus::Refused);
  EXPECT_EQ(gap.message, 969_txt);
  EXPECT_EQ(AllBytes(image), before) << "a refused function writes nothing";
  ASSERT_TRUE(Pick("function_port[1].inputs.function_1", C('1', '1')).ok());
  ASSERT_TRUE(Pick("function_port[1].inputs.function_2", C('#', '2')).ok());
  ASSERT_TRUE(CommitFieldText(Ref("function_port[1].inputs.function_3"), image, FunctionName(C('#', '3'))).ok());
  EXPECT_EQ(Shown("function_port[1].inputs.function_3"), FunctionName(C('#', '3')));
  ASSERT_TRUE(Pick("function_port[1].inputs.function_3", kNoFunction).ok());
  EXPECT_EQ(Main().Read(0x02F0, 6), (std::vector<std::uint8_t>{'1', '1', '#', '2', ' ', ' '}));
  ASSERT_TRUE(Pick("function_port[1].inputs.function_3", C('#', '3')).ok());
  ASSERT_TRUE(Pick("function_port[1].inputs.function_1", kNoFunction).ok());
  EXPECT_EQ(Main().Read(0x02F0, 8), (std::vector<std::uint8_t>(8, 0x20))) << "blanking word 0 ends the chain";
  // A word never written (0xFFFF) names no function: nothing may follow it.
  Main().Fill(0x02F8, 8, 0xFF);
  EXPECT_EQ(Pick("function_port[2].inputs.function_2", C('#', '2')).status, CommitStatus::Refused);
  EXPECT_EQ(Main().Word(0x02FA), 0xFFFF);
  // External PTT is offered to inputs only at level 0.
  auto offered = [&](FunctionCode code) {
    for (const ShownChoice& c : FieldChoices(Ref("function_port[2].inputs.function_1"), image))
      if (c.value == code) return true;
    return false;
  };
  EXPECT_FALSE(offered(C('P', '1')));
  ASSERT_TRUE(CommitFieldText(Ref("function_port.ports.level"), image, "Low").ok());
  EXPECT_EQ(Main().Byte(0x02AF), 0);
  EXPECT_TRUE(offered(C('P', '1')));

  // Polarity: 0 is one text, any other byte the other; choosing stores 0 or 0xFF.
  Main().SetByte(0x05C1, 0x00);
  EXPECT_EQ(Shown("function_port[1].outputs.polarity"), Tx(962_txt));
  Main().SetByte(0x05C1, 0xFF);
  EXPECT_EQ(Shown("function_port[1].outputs.polarity"), Tx(961_txt));
  Main().SetByte(0x05C1, 0x05);
  EXPECT_EQ(RemoteOutputColumn(4, 0), Tx(961_txt));
  ASSERT_TRUE(CommitFieldText(Ref("function_port[1].outputs.polarity"), image, Tx(962_txt)).ok());
  EXPECT_EQ(Main().Byte(0x05C1), 0x00);
  // Output functions: a known code by name, an unknown one shows nothing.
  Main().SetByte(0x05D0, '<');
  EXPECT_EQ(Shown("function_port[3].outputs.function"), Tx(1293_txt));
  EXPECT_EQ(RemoteOutputColumn(0, 2), Tx(1293_txt));
  Main().SetByte(0x05D0, 'Z');
  EXPECT_EQ(Shown("function_port[3].outputs.function"), "");
  EXPECT_EQ(Main().Byte(0x05D0), 'Z');
  ASSERT_TRUE(CommitFieldText(Ref("function_port[3].outputs.function"), image, Tx(1289_txt)).ok());
  EXPECT_EQ(Main().Byte(0x05D0), '1');
}

TEST_F(PortsRemote, RemoteCodesFollowTheStateOfWhatTheySwitch) {
  Main().Fill(0x02F0, 24, 0x20);
  Main().SetWord(0x02F8, C('1', '1'));  // input 2 has a function
  Main().SetByte(0x6500 + 24 * 5, 0x01);  // decode entry 6 in use
  Main().SetByte(0x6200 + 24 * 2, 0x01);  // encode entry 3 in use
  // With a function: decode references; without: encode references.
  Main().SetByte(0x61B3, 5);
  EXPECT_EQ(Shown("remote_control[2].inputs.activation"), "Decode 6");
  Main().SetByte(0x61B0, 0x82);
  EXPECT_EQ(Shown("remote_control[1].inputs.activation"), "Encode 3");
  EXPECT_EQ(Shown("remote_control[1].inputs.deactivation"), "Off");
  auto texts = [&](const std::string& key) {
    std::vector<std::string> out;
    for (const ShownChoice& c : FieldChoices(Ref(key), image)) out.push_back(c.text);
    return out;
  };
  EXPECT_EQ(texts("remote_control[2].inputs.activation"), (std::vector<std::string>{"Off", "Decode 6"}));
  EXPECT_EQ(texts("remote_control[1].inputs.activation"), (std::vector<std::string>{"Off", "Encode 3"}));
  // Modes, and a mode byte outside 0..3 shows nothing.
  Main().SetByte(0x61B5, 3);
  EXPECT_EQ(Shown("remote_control[2].inputs.mode"), "Toggle");
  Main().SetByte(0x61B5, 0xFF);
  EXPECT_EQ(Shown("remote_control[2].inputs.mode"), "");

  // Codes that do not fit (an encode reference with a function, references
  // past either part) show what they name, marked, and stay through showing,
  // printing, the export and its import, and a commit of another field of the row.
  Main().SetByte(0x61B0, 0x85);
  Main().SetByte(0x61B4, 0x82);
  Main().SetByte(0x61B6, 0x50);
  Main().SetByte(0x61B7, 0xFE);
  EXPECT_EQ(Shown("remote_control[1].inputs.activation"), "Encode 6 (entry not in use)");
  EXPECT_EQ(Shown("remote_control[2].inputs.deactivation"), "Encode 3 (does not fit: a function is assigned)");
  EXPECT_EQ(Shown("remote_control[3].inputs.activation"), "80 (no such entry)");
  EXPECT_EQ(ShowField(Ref("remote_control[3].inputs.deactivation"), image).choice, -1);
  const auto before = AllBytes(image);
  print::ListingChoice all;
  for (const auto& s : print::ListSections(EditorModules())) all.sections.push_back(s.key);
  EXPECT_FALSE(print::BuildListing(EditorModules(), image, all).sections.empty());
  const std::string yaml = cli::ExportYaml(EditorModules(), image);
  ASSERT_TRUE(cli::ImportYaml(EditorModules(), image, yaml).ok);
  EXPECT_EQ(AllBytes(image), before);
  ASSERT_TRUE(Pick("remote_control[2].inputs.mode", 1).ok());
  EXPECT_EQ(Main().Read(0x61B3, 3), (std::vector<std::uint8_t>{5, 0x82, 1}));
  EXPECT_EQ(Pick("remote_control[3].inputs.deactivation", 5).status, CommitStatus::Refused)
      << "a decode reference does not fit an input without function";

  // Input 2 loses its function: the code that fitted it is released in the
  // same step, the one that did not now fits and stays.
  const auto released = ChangeAndRelease(EditorModules(), image, [&] {
    ASSERT_TRUE(CommitFieldChoice(Ref("function_port[2].inputs.function_1"), image, kNoFunction).ok());
  });
  ASSERT_EQ(released.size(), 1u);
  EXPECT_EQ(Main().Read(0x61B3, 3), (std::vector<std::uint8_t>{0xFF, 0x82, 1}));
  EXPECT_EQ(Shown("remote_control[2].inputs.deactivation"), "Encode 3");

  // Outputs: 0xFF is no function (encode), a known code is (decode).
  Main().SetByte(0x61D0, 0x82);
  EXPECT_EQ(Shown("remote_control[1].outputs.activation"), "Encode 3");
  Main().SetByte(0x05C0, '0');
  EXPECT_EQ(Shown("remote_control[1].outputs.activation"), "Encode 3 (does not fit: a function is assigned)");
  Main().SetByte(0x61D0, 5);
  EXPECT_EQ(Shown("remote_control[1].outputs.activation"), "Decode 6");
  // PF keys: the key's function decides, over the records at 0x6190 + 3k.
  Main().SetWord(KeyGroupOffset(3), C('1', '1'));
  Main().SetByte(KeyRecordOffset(3), 5);
  EXPECT_EQ(Location("remote_control[4].keys.activation"), 0x6199u);
  EXPECT_EQ(Shown("remote_control[4].keys.activation"), "Decode 6");
  Main().SetWord(KeyGroupOffset(3), kNoFunction);
  EXPECT_EQ(Shown("remote_control[4].keys.activation"), "Decode 6 (does not fit: no function is assigned)");
  EXPECT_EQ(Main().Byte(KeyRecordOffset(3)), 5);
}

}  // namespace

TEST(PortsRemoteNewImage, EverySlotHoldsNoFunctionAndEveryRecordNoCode) {
  UseProgramTexts();
  const ImageStore image = FilledImage(Vhf146E());
  auto shown = [&](const std::string& key) {
    const auto f = FindField(EditorModules(), image, key);
    EXPECT_TRUE(f) << key;
    return f ? ShowField(f->ref, image).text : std::string{};
  };
  for (const char* key : {"key_assignment[6].function", "function_port[1].inputs.function_1",
                          "function_port[3].inputs.function_3", "function_port[5].outputs.function"})
    EXPECT_EQ(shown(key), "None") << key;
  EXPECT_EQ(shown("function_port[5].outputs.polarity"), "Active High");
  for (const char* key : {"remote_control[6].keys.mode", "remote_control[3].inputs.mode", "remote_control[5].outputs.mode"})
    EXPECT_EQ(shown(key), "Off") << key;
  EXPECT_EQ(image.Main().Read(0x61E2, 3), (std::vector<std::uint8_t>{0xFF, 0xFF, 0x00})) << "option port records too";
  EXPECT_EQ(image.Main().Word(0x0336), 0xFFFF) << "word 3 of a group is no slot";
}
