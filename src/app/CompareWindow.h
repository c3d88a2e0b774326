// Program > Compare with Repeater: reads the connected repeater into an image
// of its own (the working image and its modified state stay as they are) and
// lists, by editor, every setting whose text differs (the repeater's text and
// the data's), then the bytes that differ outside every field. A repeater of
// another model than the data is refused with its message.
//
// The window follows the data live (an edit shows at once against the image
// read); Compare Again reads the repeater again. A double-click opens the
// setting in its editor. Write File to Repeater runs the normal write, with
// its check of the data, and then reads the repeater again, so the window
// shows what the repeater holds after the write. A read that fails or is
// cancelled leaves the window saying that nothing has been compared, never
// that nothing differs.
#pragma once

#include <QTreeWidget>
#include <QWidget>
#include <optional>
#include <vector>

#include "data/ImageStore.h"
#include "fields/ImageDiff.h"

class QLabel;
class QPushButton;

namespace zmp {

class CMainFrame;

class CCompareWnd : public QWidget {
  Q_OBJECT
 public:
  CCompareWnd(CMainFrame& frame, const ImageStore& image, QWidget* parent = nullptr);

  // Reads the repeater (the read dialog with its progress and Cancel) and
  // compares; false when the read failed or was cancelled.
  bool Compare();
  // Compares the data with the image last read again (after every edit).
  void Refresh();
  // The repeater's image as read; nothing before a complete read.
  const std::optional<ImageStore>& RepeaterImage() const { return repeater_; }
  const ImageDiff& Differences() const { return diff_; }
  QTreeWidget* List() const { return list_; }
  QString Summary() const;
  QPushButton* WriteButton() const { return write_; }
  QPushButton* CompareAgainButton() const { return again_; }

 private:
  void ShowDifferences();
  void WriteFileToRepeater();

  CMainFrame& frame_;
  const ImageStore& image_;
  std::optional<ImageStore> repeater_;
  ImageDiff diff_;
  QLabel* summary_;
  QTreeWidget* list_;
  QPushButton* write_;
  QPushButton* again_;
};

}  // namespace zmp
