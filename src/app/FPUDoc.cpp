#include "app/FPUDoc.h"

#include <QUndoCommand>

#include "lang/LanguageTexts.h"
#include "app/MainFrame.h"

namespace zmp {

namespace {

class ImageChangeCommand : public QUndoCommand {
 public:
  ImageChangeCommand(CFPUDoc& doc, const QString& label, std::vector<ByteRun> runs)
      : QUndoCommand(label), doc_(doc), runs_(std::move(runs)) {}
  void undo() override { doc_.ApplyRuns(runs_, false); }
  void redo() override {
    // The change is already in the image when the command is pushed.
    if (first_) {
      first_ = false;
      return;
    }
    doc_.ApplyRuns(runs_, true);
  }

 private:
  CFPUDoc& doc_;
  std::vector<ByteRun> runs_;
  bool first_ = true;
};

}  // namespace

std::vector<ByteRun> DiffImages(const ImageCopy& before, const ImageCopy& after) {
  std::vector<ByteRun> runs;
  for (BlockId b : kAllBlocks) {
    const auto x = before.Block(b).span();
    const auto y = after.Block(b).span();
    std::size_t i = 0;
    while (i < x.size()) {
      if (x[i] == y[i]) {
        ++i;
        continue;
      }
      std::size_t j = i;
      while (j < x.size() && x[j] != y[j]) ++j;
      runs.push_back({b, i, {x.begin() + static_cast<std::ptrdiff_t>(i), x.begin() + static_cast<std::ptrdiff_t>(j)},
                      {y.begin() + static_cast<std::ptrdiff_t>(i), y.begin() + static_cast<std::ptrdiff_t>(j)}});
      i = j;
    }
  }
  return runs;
}

CFPUDoc::CFPUDoc(ImageStore& image, CMainFrame* frame, QObject* parent)
    : EditorDocument(parent), image_(image), model_(image), frame_(frame) {}

CFPUDoc::~CFPUDoc() = default;

ImageChange ChangeOf(const std::vector<ByteRun>& runs) {
  ImageChange change;
  for (const auto& r : runs) change.ranges.push_back({r.block, r.offset, r.after.size()});
  return change;
}

bool CFPUDoc::Commit(const QString& label, const std::function<void()>& change) {
  const ImageCopy before = image_.working();
  std::vector<ReleasedRef> released;
  try {
    released = RunChange(change);
  } catch (...) {
    // A failed change leaves the image as it was.
    image_.working() = before;
    throw;
  }
  auto runs = DiffImages(before, image_.working());
  if (runs.empty()) return false;
  const ImageChange touched = ChangeOf(runs);
  undo_.push(new ImageChangeCommand(*this, label, std::move(runs)));
  NotifyChanged(touched);
  if (!released.empty()) emit Released(ReleasedText(label, released));
  return true;
}

QString CFPUDoc::ReleasedText(const QString& label, const std::vector<ReleasedRef>& released) const {
  std::string names;
  for (const ReleasedRef& r : released) {
    if (!names.empty()) names += ", ";
    names += FieldCaption(*r.ref.table, *r.ref.decl, r.ref.row, image_);
  }
  return QString::fromStdString(FormatText(Tx(319_txt), {label.toStdString(), names}));
}

void CFPUDoc::ApplyRuns(const std::vector<ByteRun>& runs, bool after) {
  for (const auto& r : runs) image_.Block(r.block).Write(r.offset, after ? r.after : r.before);
  NotifyChanged(ChangeOf(runs));
}

void CFPUDoc::OpenEditor(EditorKind kind) {
  if (frame_) frame_->OpenEditor(kind);
}

void CFPUDoc::CloseEditor(EditorKind kind) {
  if (frame_) frame_->CloseEditor(kind);
}

}  // namespace zmp
