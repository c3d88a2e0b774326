// The function code table, its families, the release of a deleted channel
// from the image's assignment slots and the families' rule of the
// availability decision table (its other rows and the release of a facility
// switched off, byte for byte: cases/function_codes.txt).
#include <gtest/gtest.h>

#include <set>

#include "EditorTestSupport.h"
#include "editors/ChannelFields.h"
#include "editors/ChannelStore.h"
#include "editors/EditorModules.h"
#include "editors/FunctionCodes.h"
#include "fields/References.h"

using namespace zmp;
using namespace zmp::testing;

namespace {

constexpr FunctionCode C(char a, char b) { return MakeFunctionCode(a, b); }

// Writes a chain of three codes into a group (word 3 gets a marker that no
// rule may touch).
void SetGroup(ImageStore& image, std::size_t group, FunctionCode w0, FunctionCode w1, FunctionCode w2) {
  image.Main().SetWord(group, w0);
  image.Main().SetWord(group + 2, w1);
  image.Main().SetWord(group + 4, w2);
  image.Main().SetWord(group + 6, 0x5A5A);
}
std::vector<FunctionCode> Group(const ImageStore& image, std::size_t group) {
  return {image.Main().Word(group), image.Main().Word(group + 2), image.Main().Word(group + 4),
          image.Main().Word(group + 6)};
}
constexpr FunctionCode B = kNoFunction;

// Every facility switched on: hold timer, both TOTs, voting pilot, links,
// connections, CW messages, the switched output, encryption, courtesy tone,
// inputs at level 0, and channels 1-3.
ImageStore AllOn() {
  ImageStore image;
  image.MakeBlank();
  SetModel(image, Vhf146E());
  auto m = image.Main();
  m.SetByte(0x0291, 20);
  m.SetByte(0x0290, 10);
  m.SetWord(0x0629, 30);
  m.SetByte(0x0279, 0);
  for (int n = 0; n < 3; ++n) m.SetByte(0x0378 + n, 1);
  for (int n = 0; n < 5; ++n) m.SetWord(0x0450 + 8 * n, C('#', '1'));
  for (int n = 0; n < 8; ++n) m.SetByte(0x0640 + 32 * n, 'A');
  m.SetByte(0x05D0, '<');
  m.SetByte(0x027D, 0);
  m.SetWord(0x0426, 50);
  m.SetByte(0x02AF, 0);
  ChannelStore store(image);
  for (int ch : {0, 1, 2}) EXPECT_TRUE(CommitFieldText(ChannelField(ch, "rx_frequency"), store.Image(), "150.0" + std::to_string(ch)).ok());
  return image;
}

class FunctionCodes : public ::testing::Test {
 protected:
  void SetUp() override { UseProgramTexts(); }
};

}  // namespace

// What the table must hold whatever its order: one entry per code, a name
// and a help page of its own each; unknown codes have no name.
TEST_F(FunctionCodes, EveryFunctionHasItsOwnCodeNameAndHelp) {
  static_assert(MakeFunctionCode('#', '1') == 0x3123, "first character in the low byte");
  const auto table = FunctionTable();
  ASSERT_EQ(table.size(), kFunctionCount);
  EXPECT_EQ(table.front().code, kNoFunction);
  std::set<FunctionCode> codes;
  std::set<std::string> names;
  std::set<int> help;
  for (const FunctionEntry& e : table) {
    codes.insert(e.code);
    EXPECT_FALSE(Tx(e.name).empty()) << e.name.n;
    names.insert(Tx(e.name));
    help.insert(e.helpContext);
  }
  EXPECT_EQ(codes.size(), kFunctionCount);
  EXPECT_EQ(names.size(), kFunctionCount);
  EXPECT_EQ(help.size(), kFunctionCount);
  EXPECT_EQ(FunctionName(NumberedCode(29)), "Channel 30");
  EXPECT_EQ(FunctionName(NumberedCode(30)), "") << "no channel 31";
  EXPECT_EQ(FunctionName(C('Z', 'Z')), "");
  EXPECT_EQ(FunctionName(0xFFFF), "");
}

TEST_F(FunctionCodes, ADeletedChannelIsReleasedFromEverySlot) {
  ImageStore image = AllOn();
  const FunctionCode ch2 = NumberedCode(1);
  SetGroup(image, KeyGroupOffset(3), ch2, B, B);
  SetGroup(image, 0x02F0, C('1', '1'), ch2, C('2', '1'));
  SetGroup(image, 0x0358, ch2, C('1', '1'), B);
  image.Main().SetWord(0x03C0, ch2);
  image.Main().SetByte(kPriorityChannelByte, 2);
  ChannelStore store(image);
  // (A copy onto a named channel keeps its slots: EveryField's release test.)
  const auto released = ChangeAndRelease(EditorModules(), image, [&] { ASSERT_EQ(store.DeleteChannel(1), StoreStatus::Ok); });
  EXPECT_EQ(released.size(), 5u);
  EXPECT_EQ(Group(image, KeyGroupOffset(3)), (std::vector<FunctionCode>{B, B, B, 0x5A5A}));
  EXPECT_EQ(Group(image, 0x02F0), (std::vector<FunctionCode>{C('1', '1'), B, B, 0x5A5A}));
  EXPECT_EQ(Group(image, 0x0358), (std::vector<FunctionCode>{B, B, B, 0x5A5A}));
  EXPECT_EQ(image.Main().Word(0x03C0), B);
  EXPECT_EQ(image.Main().Byte(kPriorityChannelByte), 0xFF);
  EXPECT_TRUE(FunctionAvailable(image, NumberedCode(0), category::kKey));
  EXPECT_FALSE(FunctionAvailable(image, ch2, category::kPortInput));
}

TEST_F(FunctionCodes, KeysGetOnlyAFamilysThirdCodeAndInputsEvery) {
  ImageStore image = AllOn();
  const auto offered = AvailableFunctions(image, category::kKey);
  EXPECT_EQ(offered.front(), kNoFunction) << "the blank is always offered";
  // Row 1: keys never get a family's first or second code, only its third.
  for (const FunctionFamily& fam : FunctionFamilies()) {
    for (int i = 0; i < 2; ++i) {
      bool alsoThird = false;
      for (const FunctionFamily& g : FunctionFamilies()) alsoThird = alsoThird || (fam[i] != 0 && g[2] == fam[i]);
      if (fam[i] != 0 && !alsoThird) {
        EXPECT_FALSE(FunctionAvailable(image, fam[i], category::kKey)) << fam[i];
      }
      if (fam[i] != 0 && FindFunction(fam[i])) {
        EXPECT_TRUE(FunctionAvailable(image, fam[i], category::kPortInput)) << fam[i];
      }
    }
    if (fam[2] != 0 && FindFunction(fam[2])) {
      EXPECT_TRUE(FunctionAvailable(image, fam[2], category::kKey)) << fam[2];
    }
  }
  // Rows 2 to 13, one facility at a time: cases/function_codes.txt.
}
