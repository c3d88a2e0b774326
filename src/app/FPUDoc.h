// The one document that every editor window shares: the data image with its
// model descriptor, and the undo history of the changes editors commit.
// Each commit is one undoable step, held as the bytes of the working image
// that differ before and after it.
#pragma once

#include <QUndoStack>
#include <cstdint>
#include <vector>

#include "editors/ui/EditorDocument.h"
#include "fields/References.h"

namespace zmp {

class CMainFrame;

// The bytes one commit changed: runs of consecutive bytes of one block.
struct ByteRun {
  BlockId block;
  std::size_t offset;
  std::vector<std::uint8_t> before;
  std::vector<std::uint8_t> after;
};
std::vector<ByteRun> DiffImages(const ImageCopy& before, const ImageCopy& after);
ImageChange ChangeOf(const std::vector<ByteRun>& runs);

class CFPUDoc : public EditorDocument {
  Q_OBJECT
 public:
  CFPUDoc(ImageStore& image, CMainFrame* frame, QObject* parent = nullptr);
  ~CFPUDoc() override;

  ImageStore& Image() override { return image_; }
  ModelInfo& Model() override { return model_; }
  bool Commit(const QString& label, const std::function<void()>& change) override;
  void OpenEditor(EditorKind kind) override;
  void CloseEditor(EditorKind kind) override;

  QUndoStack& UndoStack() { return undo_; }
  // The image was replaced: the history no longer applies.
  void ClearHistory() { undo_.clear(); }

  // Writes one side of a change into the working image and tells the views.
  void ApplyRuns(const std::vector<ByteRun>& runs, bool after);

 signals:
  // A commit also let go of settings that named what it took away: one line
  // for the status bar ("Delete; also cleared: Priority Channel, PF Key 2: Function").
  void Released(const QString& text);

 private:
  QString ReleasedText(const QString& label, const std::vector<ReleasedRef>& released) const;

  ImageStore& image_;
  ModelInfo model_;
  CMainFrame* frame_;
  QUndoStack undo_;
};

}  // namespace zmp
