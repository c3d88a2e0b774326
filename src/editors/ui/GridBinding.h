// The one binding of a grid to its editor's document: a typed cell and a
// picked list entry are stored as one undoable step named after the cell's
// column, a paste as one step of its own. The grid's source is taken when the
// change is made, so a view may give its grid a new source at any time.
#pragma once

namespace zmp {

class EditGrid;
class EditorDocument;

void BindGridToDocument(EditGrid& grid, EditorDocument& doc);

}  // namespace zmp
