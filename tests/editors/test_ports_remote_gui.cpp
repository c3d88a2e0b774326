// The function port and remote control editors as a user drives them on the
// offscreen platform: functions chosen in the real grids, an option port's
// direction chosen in the form (its grid rows follow), remote codes chosen
// in a row that held a code that did not fit; then the bytes, undone.
#include <gtest/gtest.h>

#include <QTabWidget>

#include "EditorGuiSupport.h"
#include "editors/FunctionCodes.h"
#include "editors/ui/EditorViews.h"
#include "editors/ui/ModuleView.h"
#include "editors/ui/SettingsForm.h"

using namespace zmp;
using namespace zmp::testing;

namespace {

constexpr FunctionCode C(char a, char b) { return MakeFunctionCode(a, b); }

class PortsRemoteGui : public EditorGui {
 protected:
  void SetUp() override {
    SetUpDocument(false);
    auto m = doc.image.Main();
    m.Fill(0x02F0, 72, 0x20);  // every input chain blank
    m.Fill(0x05C0, 0x60, 0x20);  // every output without function
  }
};

// A refused choice in a function port grid is told once; Delete empties a
// cell and the grid shows the chain cleared after it; Tab goes from cell to
// cell; an option port's direction moves its row between the grids at once,
// and undo takes every step back. (The chain and row rules themselves:
// cases/ports_remote.txt.)
TEST_F(PortsRemoteGui, FunctionPortGridsAndTheDirectionOfAnOptionPort) {
  ModuleView view(doc, *ModuleOf(static_cast<int>(EditorKind::FuncPort)));
  view.resize(720, 420);
  Activate(view);
  QTabWidget* tabs = view.Form()->Tabs();
  EditGrid* inputs = view.Form()->GridOf(0);
  EditGrid* outputs = view.Form()->GridOf(1);
  ASSERT_TRUE(inputs && outputs);
  const auto before = AllBytes(doc.image);
  Choose(inputs, 0, 2, QString::fromStdString(FunctionName(C('#', '2'))));
  EXPECT_EQ(AllBytes(doc.image), before);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], QTx(969_txt));
  Choose(inputs, 0, 1, QString::fromStdString(FunctionName(C('1', '1'))));
  Choose(inputs, 0, 2, QString::fromStdString(FunctionName(C('#', '2'))));
  inputs->setFocus();
  inputs->SetCurrentCell(0, 1);
  Key(inputs, Qt::Key_Delete);
  EXPECT_EQ(doc.image.Main().Read(0x02F0, 4), (std::vector<std::uint8_t>(4, 0x20)));
  EXPECT_EQ(Cell(inputs, 0, 2), "None") << "the cleared rest of the chain is shown";
  Key(inputs, Qt::Key_Tab);
  EXPECT_EQ(Focus(), inputs);
  EXPECT_EQ(inputs->CurrentColumn(), 2);

  // Option port 3 to input: the input grid gains its row; to output, the
  // row moves to the output grid.
  tabs->setCurrentIndex(2);
  auto* port3 = view.findChild<QComboBox*>(QStringLiteral("ctl8515"));
  ASSERT_NE(port3, nullptr);
  Pick(port3, 0);
  ASSERT_EQ(inputs->Model()->rowCount(), 4);
  EXPECT_EQ(Cell(inputs, 3, 0), "Option Port 3");
  Pick(port3, 1);
  EXPECT_EQ(inputs->Model()->rowCount(), 3);
  EXPECT_EQ(outputs->Model()->rowCount(), 6);
  EXPECT_EQ(Cell(outputs, 5, 0), "Option Port 3");
  while (!doc.steps.empty()) doc.Undo();
  EXPECT_EQ(AllBytes(doc.image), before);
  EXPECT_EQ(inputs->Model()->rowCount(), 3);
}

// A remote code that did not fit is shown with why in the grid; its row's
// list selects nothing and offers what fits, and a choice is stored.
TEST_F(PortsRemoteGui, RemoteCodesChosenInARowThatHeldACodeThatDidNotFit) {
  auto m = doc.image.Main();
  m.SetByte(0x6200 + 24 * 0, 0x01);      // encode entry 1 in use
  m.Write(0x61D3, std::vector<std::uint8_t>{0x50, 0xFE, 2});    // output 2: codes past either part
  ModuleView view(doc, *ModuleOf(static_cast<int>(EditorKind::Remote)));
  view.resize(720, 420);
  Activate(view);
  EditGrid* outputs = view.Form()->GridOf(2);
  ASSERT_NE(outputs, nullptr);
  EXPECT_EQ(Cell(outputs, 1, 2), "80 (no such entry)");
  const auto before = AllBytes(doc.image);
  view.Form()->Tabs()->setCurrentIndex(2);
  outputs->setFocus();
  ASSERT_TRUE(outputs->BeginCellEdit(1, 2));
  QComboBox* list = outputs->ListEditor();
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->itemText(1), "Encode 1");
  EXPECT_EQ(list->currentIndex(), -1) << "a reference past the table selects nothing";
  list->setCurrentIndex(1);
  emit list->activated(1);
  EXPECT_EQ(m.Read(0x61D3, 3), (std::vector<std::uint8_t>{0x80, 0xFE, 2}));
  doc.Undo();
  EXPECT_EQ(AllBytes(doc.image), before);
  EXPECT_TRUE(BuiltEditors().count(EditorKind::Remote) && BuiltEditors().count(EditorKind::FuncPort));
}

}  // namespace
