// What an editor view needs from the shared document: the data image, the
// model descriptor, and one way to change the image. The application's
// document (CFPUDoc) implements it; views never hold a copy of a setting.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "data/ImageStore.h"
#include "data/ModelInfo.h"
#include "editors/EditorKinds.h"
#include "editors/EditorModules.h"
#include "fields/References.h"
#include "fields/ImageChange.h"

namespace zmp {

class EditorDocument : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;
  ~EditorDocument() override = default;

  virtual ImageStore& Image() = 0;
  virtual ModelInfo& Model() = 0;

  // Runs change against the working image as one undoable step named label,
  // with what it releases (RunChange). Returns true when any byte changed (no
  // step is recorded otherwise). After a change ImageChanged is emitted.
  virtual bool Commit(const QString& label, const std::function<void()>& change) = 0;

  // Asks the main frame to open (or activate) another editor, or to close one.
  virtual void OpenEditor(EditorKind kind) = 0;
  virtual void CloseEditor(EditorKind kind) = 0;

  // The channel (0-based) that the channel edit form shows and the views
  // that follow it (CW ID, beat shift) edit. Views keep the number only and
  // resolve it through the channel index at every access.
  int CurrentChannel() const { return currentChannel_; }
  void SetCurrentChannel(int channel) {
    if (channel == currentChannel_) return;
    currentChannel_ = channel;
    emit CurrentChannelChanged(channel);
  }

  // Tells the views that an editor window closed (views that follow another
  // editor close with it).
  void NotifyEditorClosed(EditorKind kind) { emit EditorClosed(kind); }

  // Tells the views what changed: Changed with the ranges, then ImageChanged.
  // When the change touched the channel index the current channel may have
  // moved or gone: CurrentChannelChanged follows.
  void NotifyChanged(const ImageChange& change) {
    emit Changed(change);
    emit ImageChanged(nullptr);
    if (change.Touches(BlockId::Main, 0, 0x00C8)) emit CurrentChannelChanged(currentChannel_);
  }

 protected:
  // Runs a change as every commit does: what it takes away (a channel, a
  // facility, a function) is let go of by whatever named it, in the same step.
  std::vector<ReleasedRef> RunChange(const std::function<void()>& change) {
    return ChangeAndRelease(EditorModules(), Image(), change);
  }

 signals:
  // Image bytes changed by a commit, an undo or a redo: open views reload
  // what they show. sender is the view that committed, or nullptr.
  void ImageChanged(QObject* sender);
  // The byte ranges of a change, just before ImageChanged.
  void Changed(const zmp::ImageChange& change);
  void CurrentChannelChanged(int channel);
  void EditorClosed(zmp::EditorKind kind);

 private:
  int currentChannel_ = 0;
};

}  // namespace zmp
