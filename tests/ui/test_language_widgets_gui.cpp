// Caption tables on real widgets.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <array>

#include "../support/QtTestApp.h"
#include "lang/LanguageTexts.h"
#include "ui/LanguageWidgets.h"

using namespace zmp;

TEST(LanguageWidgets, CaptionTable) {
  zmp::testing::TestApp();
  ASSERT_EQ(Texts().LoadFile(std::string(ZMP_BIN_DIR) + "/zmp318t.lng", "English"),
            LanguageTexts::LoadResult::Loaded);
  QWidget form;
  auto* label = new QLabel(QStringLiteral("placeholder"), &form);
  NameControl(label, 1001);
  auto* check = new QCheckBox(&form);
  NameControl(check, 1002);
  auto* untouched = new QLabel(QStringLiteral("keep"), &form);
  NameControl(untouched, 1003);
  const std::array<ControlRecord, 4> rows{{
      {1001, 0, 0, 638_txt, ControlKind::Static},
      {1002, 0, 0, 639_txt, ControlKind::CheckBox},
      {1003, 0, 0, TextNo{0}, ControlKind::Static},  // no text number: keeps its text
      {1999, 0, 0, 640_txt, ControlKind::Static},    // the form has no such control
  }};
  EXPECT_EQ(ApplyCaptions(&form, rows), 2);
  EXPECT_EQ(label->text(), QStringLiteral("Error"));
  EXPECT_EQ(check->text(), QStringLiteral("Confirmation"));
  EXPECT_EQ(untouched->text(), QStringLiteral("keep"));
  EXPECT_EQ(FindControl(&form, 1999), nullptr);
}
