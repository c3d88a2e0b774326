// The frequency codec of the data image: MHz text, the packed BCD of the
// records, the step sets and the shown text.
#include <gtest/gtest.h>

#include <vector>

#include "data/Frequency.h"

using namespace zmp;

namespace {

std::vector<std::uint8_t> V(const FrequencyBytes& b) { return {b.begin(), b.end()}; }

TEST(FrequencyText, ParsesBothSeparatorsAndRefusesWhatCannotBeStored) {
  EXPECT_EQ(ParseMegahertz("146.5"), 146'500'000u);
  EXPECT_EQ(ParseMegahertz("146,5"), 146'500'000u);
  EXPECT_EQ(ParseMegahertz(" 450 "), 450'000'000u);
  EXPECT_EQ(ParseMegahertz(".5"), 500'000u);
  EXPECT_EQ(ParseMegahertz("146.0000004"), 146'000'000u) << "below 0.5 Hz rounds down";
  EXPECT_EQ(ParseMegahertz("146.0000005"), 146'000'001u) << "from 0.5 Hz rounds up";
  EXPECT_EQ(ParseMegahertz("999.999999"), 999'999'999u);
  EXPECT_EQ(ParseMegahertz("146.12345678901234567890"), 146'123'457u) << "long fractions never overflow";
  for (const char* bad : {"", " ", "0", "0.0000004", "1000", "999.9999995", "12345678901234567890", "-1",
                          "+1", "1e3", "146.5.1", "146 5", ".", ",", "146.5x", "x"})
    EXPECT_FALSE(ParseMegahertz(bad).has_value()) << bad;
}

TEST(FrequencyText, StepSetsOfBothBandFlags) {
  struct Case {
    const char* text;
    bool flag;
    bool allow1250;
    std::uint8_t step;
    std::uint64_t hz;
  };
  const Case cases[] = {
      {"146.00625", false, false, kStep3125, 146'006'250},
      {"146.0025", false, false, kStep2500, 146'002'500},
      {"146.00125", false, false, kStep3125, 146'000'000},  // none divides: down to 3125 Hz
      {"146.00125", false, true, kStep1250, 146'001'250},
      {"146.005", false, true, kStep2500, 146'005'000},      // 2500 Hz before 1250 Hz
      {"146.0001", false, true, kStep3125, 146'000'000},  // none of the three: down to 3125 Hz
      {"450.005", true, false, kStep5000, 450'005'000},
      {"450.00625", true, false, kStep3125, 450'006'250},
      {"450.0025", true, false, kStep5000, 450'000'000},    // down to 5000 Hz
      {"450.0025", true, true, kStep5000, 450'000'000},     // no 1250 Hz with the flag set
  };
  for (const auto& c : cases) {
    const auto e = FrequencyToBcd(c.text, c.flag, c.allow1250);
    ASSERT_TRUE(e.has_value()) << c.text;
    EXPECT_EQ(e->stepCode, c.step) << c.text;
    EXPECT_EQ(e->hz, c.hz) << c.text;
    EXPECT_EQ(V(e->bytes), V(PackFrequency(c.hz))) << c.text;
  }
  EXPECT_FALSE(FrequencyToBcd("0.001", true).has_value()) << "rounding to zero is refused";
  EXPECT_FALSE(FrequencyToBcd("", false).has_value());
}

TEST(FrequencyText, PackingAndShownText) {
  // 146.006250 MHz: digits 1 4 6 0 0 6 2 5 0.
  EXPECT_EQ(V(PackFrequency(146'006'250)), (std::vector<std::uint8_t>{0x00, 0x25, 0x06, 0x60, 0x14}));
  EXPECT_EQ(UnpackFrequency(PackFrequency(999'999'999)), 999'999'999u);
  const std::vector<std::uint8_t> none(5, 0xFF);
  EXPECT_FALSE(UnpackFrequency(none).has_value());
  EXPECT_EQ(FrequencyText(none), "");
  const std::vector<std::uint8_t> notBcd{0x00, 0x00, 0x00, 0xA0, 0x14};
  EXPECT_FALSE(UnpackFrequency(notBcd).has_value());
  const auto b = PackFrequency(450'000'000);
  EXPECT_EQ(FrequencyText(b), "450.000000");
  EXPECT_EQ(FrequencyText(b, ','), "450,000000");
  EXPECT_EQ(HzToText(146'006'250), "146.006250");
}

}  // namespace
