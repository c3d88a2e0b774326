// Command-line words and the text forms and reading rules of the settings.
#include <gtest/gtest.h>

#include "app/StartupRules.h"
#include "data/ModelInfo.h"

using namespace zmp;

TEST(CommandLine, WordsWithTheirCaseRules) {
  EXPECT_EQ(ParseCommandLine({}), CommandLineFlags{});
  EXPECT_TRUE(ParseCommandLine({"MEMMAP"}).memmap);
  EXPECT_TRUE(ParseCommandLine({"MemMap", "DEMO"}).demo);
  EXPECT_TRUE(ParseCommandLine({"SupportUtility"}).supportUtility);
  EXPECT_FALSE(ParseCommandLine({"supportutility"}).supportUtility);
  EXPECT_TRUE(ParseCommandLine({"Step"}).step);
  // A file name or any other word switches nothing on.
  EXPECT_EQ(ParseCommandLine({"/tmp/plan.dat", "--help", "demos"}), CommandLineFlags{});
  CommandLineFlags all;
  all.memmap = all.supportUtility = all.demo = all.step = true;
  EXPECT_EQ(ParseCommandLine({"step", "memmap", "demo", "SupportUtility"}), all);
}

TEST(SettingsRules, ComPortAndBaudrateFallBackToTheirDefaults) {
  EXPECT_EQ(ComPortRule(21), 1);
  EXPECT_EQ(ComPortRule(0), 1);
  EXPECT_EQ(ComPortRule(-3), 1);
  EXPECT_EQ(ComPortRule(20), 20);
  EXPECT_EQ(ComPortRule(7), 7);
  EXPECT_EQ(BaudrateRule(4800), 115200);
  EXPECT_EQ(BaudrateRule(0), 115200);
  for (int b : {9600, 19200, 38400, 57600, 115200}) EXPECT_EQ(BaudrateRule(b), b);
}

TEST(SettingsRules, LastModelNeedsAllSixteenFields) {
  ModelRecord r = ModelRecord::Default();
  const std::string text = FormatLastModel(r);
  EXPECT_EQ(text.size(), 16u * 3 - 1);
  EXPECT_EQ(text.substr(0, 11), "52:57:41:56");  // "RWAV"
  ASSERT_TRUE(ParseLastModel(text));
  EXPECT_EQ(ParseLastModel(text)->bytes, r.bytes);
  EXPECT_FALSE(ParseLastModel(text.substr(0, text.size() - 3)));  // fifteen fields
  EXPECT_FALSE(ParseLastModel(""));
  EXPECT_FALSE(ParseLastModel("zz:" + text.substr(3)));
  EXPECT_FALSE(ParseLastModel(std::string(47, ':')));
}

TEST(SettingsRules, WindowPlacementHasTenIntegers) {
  WindowPlacement p{2, 3, -1, -1, -8, -8, 10, 20, 810, 620};
  const std::string text = FormatWindowPlacement(p);
  EXPECT_EQ(text, "2:3:-1:-1:-8:-8:10:20:810:620");
  EXPECT_EQ(ParseWindowPlacement(text), p);
  EXPECT_EQ(ParseWindowPlacement("0:1:0x10:0:0:0:0:0:100:100")->minX, 16);  // "%i" reads hex
  EXPECT_FALSE(ParseWindowPlacement("0:1:0:0:0:0:0:0:100"));                 // nine
  EXPECT_FALSE(ParseWindowPlacement("0:1:0:0:0:0:0:0:100:x"));
  EXPECT_FALSE(ParseWindowPlacement("0:1:0:0:0:0:0:0:100:99999999999"));
  EXPECT_FALSE(ParseWindowPlacement(""));
}

TEST(SettingsRules, ProtectIsMaskedAndReversible) {
  const Protection on{true, "ab12Z9"};
  const std::string text = FormatProtect(on);
  EXPECT_EQ(text.size(), 7u * 3 - 1);
  EXPECT_EQ(text.find("61"), std::string::npos) << "the password must not be stored in the clear";
  EXPECT_EQ(ParseProtect(text), on);
  const Protection shortPassword{false, "ab"};
  EXPECT_EQ(ParseProtect(FormatProtect(shortPassword)), shortPassword);
  EXPECT_EQ(ParseProtect(FormatProtect(Protection{})), Protection{});
  EXPECT_FALSE(ParseProtect("00:11:22"));
}
