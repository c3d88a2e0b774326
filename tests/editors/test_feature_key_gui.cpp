// The optional features and key assignment editors as a user drives them:
// keys typed into the real widgets on the offscreen platform, then the image
// bytes checked, undone and compared.
#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

#include "EditorGuiSupport.h"
#include "editors/FunctionCodes.h"
#include "editors/ui/EditorViews.h"
#include "editors/ui/FeatureView.h"
#include "editors/ui/FilterEdit.h"
#include "editors/ui/KeyView.h"
#include "editors/ui/SettingsForm.h"

using namespace zmp;
using namespace zmp::testing;

namespace {

constexpr FunctionCode C(char a, char b) { return MakeFunctionCode(a, b); }

class FeatureKeyGui : public EditorGui {
 protected:
  std::uint16_t Word(std::size_t at) const { return doc.image.Main().Word(at); }
};

TEST_F(FeatureKeyGui, PttOrderPasswordAndThePagesOfTheVariant) {
  auto m = doc.image.Main();
  m.SetByte(0x0298, 0);
  m.SetByte(0x0299, 2);
  m.SetByte(0x029A, 3);
  CFeatureView view(doc);
  view.resize(900, 700);
  Activate(view);
  QTabWidget* tabs = view.Form()->Tabs();
  ASSERT_EQ(tabs->count(), 5);
  // The priority list: the third entry moved up by the spin, then by Ctrl+Up.
  auto* ptt = Control<OrderedListSpin>(view, 3023);
  ASSERT_NE(ptt, nullptr);
  EXPECT_EQ(ptt->Entries(), (QStringList{"Repeater", "Local Mic", "External PTT"}));
  ptt->Select(2);
  ptt->Spin()->stepUp();
  EXPECT_EQ(m.Read(0x0298, 3), (std::vector<std::uint8_t>{0, 3, 2}));
  EXPECT_EQ(ptt->Selected(), 1) << "the moved entry stays selected";
  ptt->List()->setFocus();
  Key(ptt->List(), Qt::Key_Up, {}, Qt::ControlModifier);
  EXPECT_EQ(m.Read(0x0298, 3), (std::vector<std::uint8_t>{3, 0, 2}));

  // The data password: the entry takes digits only; Enter stores it.
  auto* password = Control<ValueButton>(view, 3028);
  ASSERT_NE(password, nullptr);
  password->Button()->click();
  ASSERT_NE(view.PasswordDialog(), nullptr);
  Activate(*view.PasswordDialog());
  view.PasswordDialog()->Edit()->setFocus();
  Type("12a34");
  EXPECT_EQ(view.PasswordDialog()->Edit()->text(), "1234");
  Key(Focus(), Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(m.Read(0x0250, 7), (std::vector<std::uint8_t>{'1', '2', '3', '4', 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(password->Value()->text(), "1234");
  // Pasted non-digits are refused with a message and change nothing.
  password->Button()->click();
  ASSERT_NE(view.PasswordDialog(), nullptr);
  view.PasswordDialog()->Edit()->setText("9x9");
  const auto before = AllBytes(doc.image);
  view.PasswordDialog()->accept();
  QApplication::processEvents();
  EXPECT_EQ(AllBytes(doc.image), before);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages.back(), QTx(913_txt));

  // Pages 3 and 4: their headings over empty, read-only grids.
  for (int id : {3300, 3400, 3401, 3402}) {
    auto* grid = Control<QTableWidget>(view, id);
    ASSERT_NE(grid, nullptr) << id;
    EXPECT_EQ(grid->rowCount(), 0);
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
  }

  // Without bit 2 of the model option byte only the first two pages exist.
  m.SetByte(0x0420, 0xFB);
  CFeatureView small(doc);
  EXPECT_EQ(small.Form()->Tabs()->count(), 2);
}

// A key that holds a function its list does not offer shows it as the list's
// placeholder, and leaving the list without a choice stores nothing; a choice
// is stored and the picture marks the key. (What is offered and the record
// reset: cases/function_codes.txt and cases/feature.txt.)
TEST_F(FeatureKeyGui, KeyGridShowsAFunctionNotOfferedAndStoresOnlyAChoice) {
  auto m = doc.image.Main();
  m.SetByte(0x0291, 30);  // repeat hold on
  m.Fill(KeyGroupOffset(0), 8 * kKeyCount, 0x20);
  m.SetWord(KeyGroupOffset(1), C('5', '1'));  // a level code no key should hold
  CKeyView view(doc);
  view.resize(800, 400);
  Activate(view);
  EditGrid* grid = view.Grid();
  EXPECT_EQ(Cell(grid, 0, 0), "PF Key 1");
  const QString notOffered = "Repeat Hold On (not offered on keys)";
  EXPECT_EQ(Cell(grid, 1, 1), notOffered);
  grid->setFocus();
  ASSERT_TRUE(grid->BeginCellEdit(1, 1));
  EXPECT_EQ(grid->ListEditor()->currentIndex(), -1);
  EXPECT_EQ(grid->ListEditor()->placeholderText(), notOffered);
  Key(Focus(), Qt::Key_Tab);
  EXPECT_EQ(Word(KeyGroupOffset(1)), C('5', '1'));
  EXPECT_TRUE(doc.steps.empty());

  Choose(grid, 5, 1, "Repeat Hold On/Off");
  EXPECT_EQ(Word(KeyGroupOffset(5)), C('5', '2'));
  EXPECT_EQ(Cell(grid, 5, 1), "Repeat Hold On/Off");
  EXPECT_EQ(doc.steps.size(), 1u);
  EXPECT_EQ(view.Panel()->CurrentKey(), 5) << "the picture marks the key being edited";
  // Both editors are built: the Edit menu and the function tree open them.
  EXPECT_TRUE(BuiltEditors().count(EditorKind::Feature));
  EXPECT_TRUE(BuiltEditors().count(EditorKind::Key));
}

// Typed into, a key's list picks the entry that starts with every key typed so
// far ("Channel 12", not "Channel 1" or "Channel 2"); Escape takes the pick
// back unstored, Enter stores it.
TEST_F(FeatureKeyGui, KeyListChosenByTyping) {
  ChannelStore store(doc.image);
  for (int ch : {0, 1, 11}) ASSERT_TRUE(CommitFieldText(ChannelField(ch, "rx_frequency"), store.Image(), "150.0").ok());
  CKeyView view(doc);
  Activate(view);
  EditGrid* grid = view.Grid();
  grid->setFocus();
  grid->SetCurrentCell(2, 1);
  const QString before = Cell(grid, 2, 1);
  Type("Channel 12");
  ASSERT_TRUE(grid->IsEditing());
  EXPECT_EQ(grid->ListEditor()->currentText(), "Channel 12");
  Key(Focus(), Qt::Key_Backspace);
  EXPECT_EQ(grid->ListEditor()->currentText(), "Channel 1");
  Key(Focus(), Qt::Key_Escape);
  EXPECT_FALSE(grid->IsEditing());
  EXPECT_EQ(Cell(grid, 2, 1), before);
  EXPECT_TRUE(doc.steps.empty());
  Type("channel 2");
  ASSERT_TRUE(grid->IsEditing());
  EXPECT_EQ(grid->ListEditor()->currentText(), "Channel 2");
  Key(Focus(), Qt::Key_Return);
  EXPECT_EQ(Cell(grid, 2, 1), "Channel 2");
  EXPECT_EQ(doc.steps.size(), 1u);
}

}  // namespace
