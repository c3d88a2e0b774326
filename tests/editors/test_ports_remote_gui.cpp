// The function port and remote control editors as a user drives them on the
// offscreen platform: functions chosen in the real grids, an option port's
// direction chosen in the form (its grid rows follow), remote codes chosen
// in a row that held a code that did not fit; then the bytes, undone.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QTabWidget>

#include "../support/QtTestApp.h"
#include "EditorGuiSupport.h"
#include "EditorTestSupport.h"
#include "ui/Messages.h"
#include "editors/EditorModules.h"
#include "editors/FunctionCodes.h"
#include "editors/ui/EditGrid.h"
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

TEST_F(PortsRemoteGui, FunctionPortGridsAndTheDirectionOfAnOptionPort) {
  doc.image.Main().SetByte(0x02AB, 7);  // a direction the program does not know
  ModuleView view(doc, *ModuleOf(static_cast<int>(EditorKind::FuncPort)));
  view.resize(720, 420);
  Activate(view);
  EXPECT_EQ(view.findChild<QComboBox*>(QStringLiteral("ctl8517"))->currentIndex(), -1);
  EXPECT_TRUE(doc.steps.empty()) << "opening the editor writes nothing";
  QTabWidget* tabs = view.Form()->Tabs();
  ASSERT_EQ(tabs->count(), 3);
  EditGrid* inputs = view.Form()->GridOf(0);
  EditGrid* outputs = view.Form()->GridOf(1);
  ASSERT_TRUE(inputs && outputs);
  EXPECT_EQ(inputs->Model()->rowCount(), 3);
  EXPECT_EQ(Cell(inputs, 2, 0), "Input 3");
  EXPECT_EQ(Cell(inputs, 0, 1), "None");

  // A function after a blank is refused with its message; the chain is then built in order.
  const auto before = AllBytes(doc.image);
  Choose(inputs, 0, 2, QString::fromStdString(FunctionName(C('#', '2'))));
  EXPECT_EQ(AllBytes(doc.image), before);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], QTx(969_txt));
  Choose(inputs, 0, 1, QString::fromStdString(FunctionName(C('1', '1'))));
  Choose(inputs, 0, 2, QString::fromStdString(FunctionName(C('#', '2'))));
  EXPECT_EQ(doc.image.Main().Read(0x02F0, 4), (std::vector<std::uint8_t>{'1', '1', '#', '2'}));
  EXPECT_EQ(Cell(inputs, 0, 2), QString::fromStdString(FunctionName(C('#', '2'))));
  // Delete empties a cell to None (and the chain after it); Tab goes from
  // cell to cell.
  inputs->setFocus();
  inputs->SetCurrentCell(0, 1);
  Key(inputs, Qt::Key_Delete);
  EXPECT_EQ(doc.image.Main().Read(0x02F0, 4), (std::vector<std::uint8_t>(4, 0x20)));
  EXPECT_EQ(Cell(inputs, 0, 2), "None") << "the cleared rest of the chain is shown";
  Key(inputs, Qt::Key_Tab);
  EXPECT_EQ(Focus(), inputs);
  EXPECT_EQ(inputs->CurrentColumn(), 2);

  // Output 2's polarity and function.
  tabs->setCurrentIndex(1);
  EXPECT_EQ(outputs->Model()->rowCount(), 5);
  Choose(outputs, 1, 2, QTx(962_txt));
  Choose(outputs, 1, 1, QTx(1293_txt));
  EXPECT_EQ(doc.image.Main().Read(0x05C8, 2), (std::vector<std::uint8_t>{'<', 0x00}));

  // Option port 3 (byte 0x2AA) set to input: the input grid gains its row;
  // set to output, the row moves to the output grid and the chain bytes stay.
  tabs->setCurrentIndex(2);
  auto* port3 = view.findChild<QComboBox*>(QStringLiteral("ctl8515"));
  ASSERT_NE(port3, nullptr);
  EXPECT_EQ(port3->currentText(), QTx(965_txt));
  auto choose = [&](QComboBox* box, const QString& text) {
    const int i = box->findText(text);
    ASSERT_GE(i, 0);
    box->setCurrentIndex(i);
    emit box->activated(i);
  };
  choose(port3, QTx(951_txt));
  EXPECT_EQ(doc.image.Main().Byte(0x02AA), 0);
  ASSERT_EQ(inputs->Model()->rowCount(), 4);
  EXPECT_EQ(Cell(inputs, 3, 0), "Option Port 3");
  tabs->setCurrentIndex(0);
  Choose(inputs, 3, 1, QString::fromStdString(FunctionName(C('1', '1'))));
  EXPECT_EQ(doc.image.Main().Word(0x0318), C('1', '1'));
  tabs->setCurrentIndex(2);
  choose(port3, QTx(952_txt));
  EXPECT_EQ(inputs->Model()->rowCount(), 3);
  EXPECT_EQ(outputs->Model()->rowCount(), 6);
  EXPECT_EQ(Cell(outputs, 5, 0), "Option Port 3");
  EXPECT_EQ(doc.image.Main().Word(0x0318), C('1', '1'));
  while (!doc.steps.empty()) doc.Undo();
  EXPECT_EQ(AllBytes(doc.image), before);
  EXPECT_EQ(inputs->Model()->rowCount(), 3);
}

TEST_F(PortsRemoteGui, RemoteCodesChosenInARowThatHeldACodeThatDidNotFit) {
  auto m = doc.image.Main();
  m.SetWord(0x02F8, C('1', '1'));        // input 2 has a function
  m.SetByte(0x6500 + 24 * 5, 0x01);      // decode entry 6 in use
  m.SetByte(0x6200 + 24 * 0, 0x01);      // encode entry 1 in use
  m.Write(0x61B3, std::vector<std::uint8_t>{5, 0x85, 0xFF});    // input 2: Decode 6, an encode code that does not fit, no mode
  m.Write(0x61D3, std::vector<std::uint8_t>{0x50, 0xFE, 2});    // output 2: codes past either part
  m.Write(0x05C0, std::vector<std::uint8_t>{'<', 0x00});        // output 1: switched, active low
  m.Write(0x61D0, std::vector<std::uint8_t>{5, 0xFF, 3});       // output 1: Decode 6, toggling
  for (std::size_t at = 0x61D6; at < 0x61DF; at += 3) m.Write(at, std::vector<std::uint8_t>{0xFF, 0xFF, 0});
  ModuleView view(doc, *ModuleOf(static_cast<int>(EditorKind::Remote)));
  view.resize(720, 420);
  Activate(view);
  EditGrid* keys = view.Form()->GridOf(0);
  EditGrid* inputs = view.Form()->GridOf(1);
  EditGrid* outputs = view.Form()->GridOf(2);
  ASSERT_TRUE(keys && inputs && outputs);
  EXPECT_EQ(Cell(keys, 0, 0), "PF Key 1");
  EXPECT_EQ(Cell(inputs, 1, 1), "Decode 6");
  EXPECT_EQ(Cell(inputs, 1, 2), "Encode 6 (does not fit: a function is assigned)");
  EXPECT_EQ(Cell(inputs, 1, 3), "");
  EXPECT_EQ(Cell(outputs, 0, 1), QTx(1293_txt));
  EXPECT_EQ(Cell(outputs, 0, 2), "Decode 6");
  EXPECT_EQ(Cell(outputs, 0, 5), QTx(962_txt));
  EXPECT_EQ(Cell(outputs, 1, 1), QTx(1256_txt));
  EXPECT_EQ(Cell(outputs, 1, 2), "80 (no such entry)");
  EXPECT_EQ(Cell(outputs, 1, 4), QTx(1054_txt));
  EXPECT_EQ(Cell(outputs, 1, 5), QTx(961_txt));
  const auto before = AllBytes(doc.image);
  EXPECT_TRUE(doc.steps.empty()) << "opening the editor writes nothing";

  // Choosing the mode of input 2 changes the mode only.
  view.Form()->Tabs()->setCurrentIndex(1);
  Choose(inputs, 1, 3, QTx(1050_txt));
  EXPECT_EQ(m.Read(0x61B3, 3), (std::vector<std::uint8_t>{5, 0x85, 3}));
  ASSERT_EQ(doc.steps.size(), 1u);
  // Output 2 has no function: its list offers none and the encode entries.
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
  doc.Undo();
  EXPECT_EQ(AllBytes(doc.image), before);
  EXPECT_TRUE(BuiltEditors().count(EditorKind::Remote) && BuiltEditors().count(EditorKind::FuncPort));
}

}  // namespace
