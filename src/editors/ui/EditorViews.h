// The editor views that are built, by kind. The main frame opens an editor
// only when its kind is here; the commands of the others stay disabled.
#pragma once

#include <QWidget>
#include <functional>
#include <map>

#include "editors/ui/EditorDocument.h"

namespace zmp {

// Makes the view of one editor on the shared document. The main frame puts it
// into the kind's frame window. A view reloads itself on ImageChanged.
using EditorFactory = std::function<QWidget*(EditorDocument& doc, QWidget* parent)>;

const std::map<EditorKind, EditorFactory>& BuiltEditors();

}  // namespace zmp
