// The 5-tone and vendor tone forms as a user drives them (offscreen): the
// form's one-time rewrite of the auto reset timer, references that name
// nothing, the vendor tone button, and the vendor tones typed, tabbed
// through, spun and warned about.
#include <gtest/gtest.h>

#include <QPushButton>

#include "EditorGuiSupport.h"
#include "editors/FiveToneFields.h"
#include "editors/VendorToneFields.h"
#include "editors/ui/EditorViews.h"
#include "editors/ui/FiveToneView.h"
#include "editors/ui/SettingsForm.h"

using namespace zmp;
using namespace zmp::testing;

namespace {

FieldSpin* ToneSpin(QWidget& view, int tone) { return Control<FieldSpin>(view, 8100 + tone); }

class FiveToneGui : public EditorGui {
 protected:
  std::uint16_t Word(std::size_t at) const { return doc.image.Main().Word(at); }
};

}  // namespace

TEST_F(FiveToneGui, OpeningRewritesAStoredZeroOnceAndNothingElse) {
  auto m = doc.image.Main();
  m.SetWord(fivetone::kAutoResetTimer, 0);
  auto before = AllBytes(doc.image);
  CFiveToneView view(doc);
  view.resize(800, 600);
  Activate(view);
  ASSERT_EQ(doc.steps.size(), 1u) << "the rewrite is one undo step of its own";
  EXPECT_EQ(Word(fivetone::kAutoResetTimer), 0xFFFF);
  doc.image.Main().SetWord(fivetone::kAutoResetTimer, 0);
  EXPECT_EQ(AllBytes(doc.image), before) << "only the auto reset timer was rewritten";
  doc.image.Main().SetWord(fivetone::kAutoResetTimer, 0xFFFF);

  // Undo takes the rewrite back; the form does not rewrite it again.
  doc.Undo();
  EXPECT_EQ(Word(fivetone::kAutoResetTimer), 0);
  EXPECT_TRUE(doc.steps.empty());
  EXPECT_EQ(Control<FieldSpin>(view, 7112)->Edit()->text(), "Off");

  Control<QPushButton>(view, 7014)->click();
  EXPECT_EQ(doc.opened, std::vector<EditorKind>{EditorKind::Velmora}) << "the vendor tone button";

  // A form over an image that needs no rewrite adds no step.
  m.SetWord(fivetone::kAutoResetTimer, 0xFFFF);
  const std::size_t steps = doc.steps.size();
  CFiveToneView again(doc);
  EXPECT_EQ(doc.steps.size(), steps);
}

TEST_F(FiveToneGui, VendorTonesTabbedThroughAndWarnedOnce) {
  auto m = doc.image.Main();
  for (int t = 0; t < vendortone::kToneCount; ++t) m.SetWord(vendortone::kFrequencies + 2u * t, 0xFFFF);
  const auto blank = AllBytes(doc.image);
  std::unique_ptr<QWidget> view(BuiltEditors().at(EditorKind::Velmora)(doc, nullptr));
  Activate(*view);
  EXPECT_EQ(ToneSpin(*view, 0)->Edit()->text(), "");
  ToneSpin(*view, 0)->Edit()->setFocus();
  for (int t = 0; t < vendortone::kToneCount; ++t) Key(Focus(), Qt::Key_Return);
  EXPECT_EQ(AllBytes(doc.image), blank) << "a blank form tabbed through stays blank";
  EXPECT_TRUE(doc.steps.empty());

  TypeInto(ToneSpin(*view, 0), "1000");

  // 1050 next to 1000: one warning, the value kept. While it is up, a
  // commit of another tone (the focus change it causes) stores nothing.
  auto* form = view->findChild<SettingsForm*>();
  bool flagWhileOpen = false;
  onMessage = [&] {
    flagWhileOpen = form->WarningOpen();
    ToneSpin(*view, 2)->Edit()->setText("2000");
    emit ToneSpin(*view, 2)->TextCommitted("2000");
  };
  TypeInto(ToneSpin(*view, 1), "1050");
  EXPECT_EQ(messages.size(), 1u);
  EXPECT_TRUE(flagWhileOpen);
  EXPECT_FALSE(form->WarningOpen()) << "cleared as the message closed";
  EXPECT_EQ(Word(vendortone::kFrequencies + 2), 10500);
  EXPECT_EQ(Word(vendortone::kFrequencies + 4), 0xFFFF) << "no commit while the warning was up";
  EXPECT_EQ(ToneSpin(*view, 2)->Edit()->text(), "");
}
