// The program's languages: the identifier the settings store, the column
// name in the language file, the language's own name as a text and the folder
// of its user guide. Standard library only.
#pragma once

#include <array>
#include <string_view>

#include "lang/TextNo.h"

namespace zmp {

struct LanguageRow {
  int id;
  std::string_view name;  // the language column name in the language file
  TextNo text;            // the language's name as a language text
  // The language's user guide: a folder of HTML pages (help/<folder>/index.html).
  std::string_view helpFolder;
};

inline constexpr int kDefaultLanguageId = 1;
const std::array<LanguageRow, 6>& LanguageRows();
// Nothing for an identifier not in the table.
const LanguageRow* LanguageRowOf(int id);
// The row whose name equals name exactly; nothing when none does.
const LanguageRow* LanguageRowNamed(std::string_view name);

}  // namespace zmp
