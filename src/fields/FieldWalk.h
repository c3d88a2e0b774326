// The walk over every declared field of a list of editor modules, in editor,
// table, row and field order, with the stable key of each instance:
//   editor.field            a single form      ("dtmf.first_digit_delay")
//   editor[n].field         row n as the user counts ("channel[12].rx_frequency")
//   editor.table.field      a named table of an editor
// Standard library only.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "fields/FieldCodec.h"

namespace zmp {

struct FieldInstance {
  const EditorModule* module = nullptr;
  FieldRef ref;
  std::string key;
};

using ModuleList = std::span<const EditorModule* const>;

// Whether a table takes part for this image (tabs of other variants do not).
bool TableApplies(const FieldTable& table, const ImageStore& image);
// Whether a table is shown, listed, printed and exported: it takes part and
// is not hidden.
bool TableShown(const FieldTable& table, const ImageStore& image);
// Rows of a table that are listed: all rows of a grid that lists missing
// rows, otherwise the rows that exist.
bool RowListed(const FieldTable& table, const ImageStore& image, int row);

std::string FieldKey(const EditorModule& module, const FieldTable& table, const FieldDecl& decl, int row);

// Calls visit for every listed instance of every field that holds a value.
void ForEachField(ModuleList modules, const ImageStore& image,
                  const std::function<void(const FieldInstance&)>& visit);
// Calls visit for every instance that lies in the image: every table that
// takes part, hidden ones too, and the rows that exist.
void ForEachFieldInImage(ModuleList modules, const ImageStore& image,
                         const std::function<void(const FieldInstance&)>& visit);
// How many instances ForEachField visits (without making their keys).
std::size_t CountFields(ModuleList modules, const ImageStore& image);
// The instance a key names in this image, or nothing.
std::optional<FieldInstance> FindField(ModuleList modules, const ImageStore& image, std::string_view key);
// The declaration and row a key names in any image, whether or not that row
// or table takes part in one.
std::optional<FieldInstance> NameField(ModuleList modules, std::string_view key);

}  // namespace zmp
