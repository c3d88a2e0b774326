// The settings form built from field tables, on the program's own document:
// tabs by the image, keyboard rules, one undo step per commit, grid tables.
#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTabWidget>
#include <array>

#include "../support/QtTestApp.h"
#include "EditorGuiSupport.h"
#include "EditorTestSupport.h"
#include "app/FPUDoc.h"
#include "editors/ui/EditGrid.h"
#include "editors/ui/FieldControls.h"
#include "editors/ui/SettingsForm.h"

using namespace zmp;
using namespace zmp::testing;

namespace {

constexpr std::array<FieldDecl, 3> kPageOne{{
    {.key = "timer", .label = 737_txt, .offset = 0x0290, .range = {0, 300, 5}, .decimals = 1,
     .scale = {5, 1}, .off = {719_txt, 1}, .filter = 3, .maxLength = 5, .valueId = 1},
    {.key = "flag", .label = 750_txt, .kind = ControlKind::CheckBox, .offset = 0x0292, .check = {0, 1},
     .valueId = 2},
    {.key = "name", .label = 771_txt, .kind = ControlKind::Edit, .storage = Storage::Text, .offset = 0x0480,
     .length = 4, .filter = 10, .maxLength = 4, .valueId = 3},
}};
constexpr std::array<FieldDecl, 1> kPageTwo{{{.key = "level", .label = 776_txt, .offset = 0x0291,
                                             .range = {0, 15, 1}, .valueId = 4}}};
constexpr std::array<FieldDecl, 1> kGridFields{{{.key = "ms", .label = 708_txt, .offset = 0x2800,
                                                .range = {140, 200, 1}, .filter = 2, .maxLength = 3}}};

bool OptionByteBit2(const ImageStore& image) { return image.Main().Bit(0x0420, 2); }

const FieldTable kOne{.key = "one", .title = 899_txt, .fields = kPageOne};
const FieldTable kTwo{.key = "two", .title = 900_txt, .fields = kPageTwo, .shown = OptionByteBit2};
const FieldTable kGrid{.key = "grid", .title = 896_txt, .kind = TableKind::Grid, .rows = 4,
                       .base = {.start = 0, .stride = 1}, .fields = kGridFields};

class SettingsFormGui : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApp();
    UseProgramTexts();
  }
  ImageStore image;
  CFPUDoc doc{image, nullptr};
};

}  // namespace

TEST_F(SettingsFormGui, TabsFollowTheImageAndTabbingThroughWritesNothing) {
  image.Main().SetBit(0x0420, 2, false);
  SettingsForm narrow(doc, {&kOne, &kTwo, &kGrid});
  ASSERT_NE(narrow.Tabs(), nullptr);
  EXPECT_EQ(narrow.Tabs()->count(), 2) << "the second page needs bit 2 of 0x420";
  image.Main().SetBit(0x0420, 2, true);
  SettingsForm form(doc, {&kOne, &kTwo, &kGrid});
  EXPECT_EQ(form.Tabs()->count(), 3);
  Activate(form);
  const auto before = AllBytes(image);
  form.ValueControl(0, 0)->setFocus();
  ASSERT_NE(QApplication::focusWidget(), nullptr);
  for (int i = 0; i < 12; ++i) Key(QApplication::focusWidget(), Qt::Key_Tab);
  for (int i = 0; i < 6; ++i) Key(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(AllBytes(image), before);
  EXPECT_EQ(doc.UndoStack().count(), 0);
}

TEST_F(SettingsFormGui, EachCommitIsOneUndoStepAndEscapeRestores) {
  SettingsForm form(doc, {&kOne, &kGrid});
  form.show();
  auto* timer = static_cast<FieldSpin*>(form.ValueControl(0, 0));
  EXPECT_EQ(timer->Edit()->text(), "") << "0xFF x 0.5 lies outside 0.0-30.0";
  timer->Edit()->setText("2.57");
  emit timer->editingFinished();
  EXPECT_EQ(image.Main().Byte(0x0290), 5);
  EXPECT_EQ(timer->Edit()->text(), "2.5");
  timer->stepBy(1);
  EXPECT_EQ(image.Main().Byte(0x0290), 6);
  EXPECT_EQ(doc.UndoStack().count(), 2);
  // Escape puts back the shown text and stores nothing.
  timer->Edit()->setText("9");
  Key(timer->Edit(), Qt::Key_Escape);
  EXPECT_EQ(timer->Edit()->text(), "3.0");
  emit timer->editingFinished();
  EXPECT_EQ(doc.UndoStack().count(), 2);
  // A check box and a fixed text.
  static_cast<QCheckBox*>(form.ValueControl(0, 1))->click();
  EXPECT_EQ(image.Main().Byte(0x0292), 0);
  auto* name = static_cast<QLineEdit*>(form.ValueControl(0, 2));
  name->setText("AB");
  emit name->editingFinished();
  EXPECT_EQ(image.Main().Read(0x0480, 4), (std::vector<std::uint8_t>{'A', 'B', 0xFF, 0xFF}));
  // Undo takes back one commit at a time and the form follows.
  doc.UndoStack().undo();
  EXPECT_EQ(name->text(), "");
  doc.UndoStack().undo();
  doc.UndoStack().undo();
  EXPECT_EQ(timer->Edit()->text(), "2.5");
}

TEST_F(SettingsFormGui, GridTablesCommitThroughTheCodec) {
  SettingsForm form(doc, {&kGrid});
  form.show();
  EditGrid* grid = form.GridOf(0);
  ASSERT_NE(grid, nullptr);
  ASSERT_TRUE(grid->BeginCellEdit(2, 1, "7"));
  EXPECT_TRUE(grid->CommitCellEdit());
  EXPECT_EQ(image.Main().Byte(0x2802), 140) << "7 in 140-200 stores 140";
  EXPECT_EQ(grid->Model()->index(2, 1).data().toString(), "140");
  EXPECT_EQ(grid->Model()->index(2, 0).data().toString(), "3");
  EXPECT_EQ(doc.UndoStack().count(), 1);
}
