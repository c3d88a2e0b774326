#include "lang/LanguageRows.h"

namespace zmp {

namespace {

constexpr std::array<LanguageRow, 6> kLanguages{{
    {1, "English", 1312_txt, "en"},
    {4, "German", 1315_txt, "ge"},
    {2, "Spanish", 1313_txt, "sp"},
    {8, "French", 1314_txt, "fr"},
    {16, "Italian", 1317_txt, "it"},
    {32, "Dutch", 1316_txt, "ho"},
}};

}  // namespace

const std::array<LanguageRow, 6>& LanguageRows() { return kLanguages; }

const LanguageRow* LanguageRowOf(int id) {
  for (const auto& r : kLanguages)
    if (r.id == id) return &r;
  return nullptr;
}

const LanguageRow* LanguageRowNamed(std::string_view name) {
  for (const auto& r : kLanguages)
    if (r.name == name) return &r;
  return nullptr;
}

}  // namespace zmp
