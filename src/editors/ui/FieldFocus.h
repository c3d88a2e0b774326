// A view that can bring one field instance of its tables into view and give
// its control the focus: the tab of its table, the row of a per-row form, the
// table of a multi-table view, the cell of a grid. The main frame opens an
// editor at a field through it (CMainFrame::OpenEditorAt).
#pragma once

#include "fields/FieldCodec.h"

namespace zmp {

// Whether two tables are the same table: a module keeps copies of the tables
// its views are built from, which share their field rows and their place.
inline bool SameTable(const FieldTable& a, const FieldTable& b) {
  return a.fields.data() == b.fields.data() && a.fields.size() == b.fields.size() && a.key == b.key &&
         a.rows == b.rows && a.base.start == b.base.start && a.base.stride == b.base.stride &&
         a.base.resolve == b.base.resolve && a.base.block == b.base.block;
}

class FieldFocusView {
 public:
  // False when the view does not show that field (another table, a hidden
  // slot, a row the view does not list).
  virtual bool FocusField(const FieldRef& field) = 0;

 protected:
  ~FieldFocusView() = default;
};

}  // namespace zmp
