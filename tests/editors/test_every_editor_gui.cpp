// Every editor the program opens, as real widgets on the offscreen platform:
// moving through every control of every page with Tab and Shift+Tab writes
// nothing and raises no message, on a blank image, on a new
// image with channels of every type and on images full of random bytes. A new
// editor is covered here by being registered.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTabWidget>
#include <memory>
#include <random>

#include "../support/QtTestApp.h"
#include "EditorGuiSupport.h"
#include "EditorTestSupport.h"
#include "app/Messages.h"
#include "editors/ui/EditorViews.h"

using namespace zmp;
using namespace zmp::testing;

namespace {

// Puts the focus on the first control of the page that takes it.
void FocusFirstControl(QWidget& page) {
  for (QWidget* w : page.findChildren<QWidget*>()) {
    if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisible()) {
      w->setFocus(Qt::TabFocusReason);
      return;
    }
  }
  page.setFocus(Qt::TabFocusReason);
}

void TabThrough(QWidget& page) {
  FocusFirstControl(page);
  for (int i = 0; i < 60; ++i) Key(Focus(), Qt::Key_Tab);
  for (int i = 0; i < 60; ++i) Key(Focus(), Qt::Key_Backtab, {}, Qt::ShiftModifier);
}

// Every page of the view: each tab of each tab control, or the view itself.
void TabThroughEveryPage(QWidget& view) {
  const auto tabControls = view.findChildren<QTabWidget*>();
  if (tabControls.isEmpty()) return TabThrough(view);
  for (QTabWidget* tabs : tabControls) {
    for (int t = 0; t < tabs->count(); ++t) {
      tabs->setCurrentIndex(t);
      QApplication::processEvents();
      TabThrough(*tabs->currentWidget());
    }
  }
}

ImageStore WithRandomSettings(unsigned seed) {
  ImageStore image = FilledImage(Vhf146E());
  std::mt19937 rng(seed);
  // Everything but the channel index, the channel records and the model
  // record, so that the channels stay readable and every setting holds anything.
  auto main = image.Main();
  for (std::size_t i = 0x0100; i < main.size(); ++i) {
    const bool channels = i >= 0x0800 && i < 0x2800;
    const bool model = i >= region::kModelRecord && i < region::kModelRecord + kModelRecordSize;
    if (!channels && !model) main.SetByte(i, rng() & 0xFF);
  }
  return image;
}

}  // namespace

TEST(EveryEditorGui, OpeningAndTabbingThroughEveryPageWritesNothing) {
  TestApp();
  UseProgramTexts();
  std::vector<QString> messages;
  SetMessageHook([&](const MessageRequest& r) {
    messages.push_back(r.text);
    return Answer::Ok;
  });
  std::vector<std::pair<const char*, ImageStore>> images;
  ImageStore blank;
  blank.MakeBlank();
  SetModel(blank, Vhf146E());
  images.emplace_back("blank", blank);
  images.emplace_back("new with channels", FilledImage(Uhf450K()));
  images.emplace_back("option board", FilledImage(MakeRecord("RWAV0300", 2, 1, 0xFB)));
  images.emplace_back("random 1", WithRandomSettings(1));
  images.emplace_back("random 2", WithRandomSettings(2));
  ASSERT_GE(BuiltEditors().size(), 12u);
  for (auto& [name, image] : images) {
    for (const auto& [kind, open] : BuiltEditors()) {
      TestDocument doc;
      doc.image = image;
      doc.SetCurrentChannel(0);
      std::vector<std::uint8_t> opened;
      {
        std::unique_ptr<QWidget> view(open(doc, nullptr));
        view->resize(900, 700);
        Activate(*view);
        // Opening may rewrite a stored value into the repeater's form, as one step.
        ASSERT_LE(doc.steps.size(), 1u) << name << ", editor " << static_cast<int>(kind);
        opened = AllBytes(doc.image);
        const std::size_t steps = doc.steps.size();
        TabThroughEveryPage(*view);
        EXPECT_EQ(doc.steps.size(), steps) << name << ", editor " << static_cast<int>(kind);
      }
      EXPECT_EQ(AllBytes(doc.image), opened) << name << ", editor " << static_cast<int>(kind);
    }
  }
  for (const QString& m : messages) ADD_FAILURE() << "message: " << m.toStdString();
  SetMessageHook({});
}
