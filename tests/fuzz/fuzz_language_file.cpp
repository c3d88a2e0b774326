// The language loader: a file it refuses leaves the texts as they were; a
// file it takes is written out again (one column, its texts as stored) and
// read back to the same texts, and every text formats without reading past
// its arguments.
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "lang/LanguageKeys.h"
#include "lang/LanguageTexts.h"

using namespace zmp;

namespace {

// A file of one column holding texts' stored texts.
std::string WriteOut(const LanguageTexts& texts) {
  std::string out = "*Language," + texts.CurrentLanguageName() + "\n*Font," + texts.FontName() + "\n";
  for (int slot = 0; slot < kTextCount; ++slot)
    out += "^#" + std::to_string(KeyOfSlot(slot)) + "," + texts.RawText(slot) + "\n";
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  static const std::string kBase = [] {
    LanguageTexts empty;
    return WriteOut(empty);
  }();
  LanguageTexts texts;
  FUZZ_CHECK(texts.LoadFromText(kBase, "") == LanguageTexts::LoadResult::Loaded);
  // The language name is the input's first line, so that other columns are reached.
  const std::string name(content.substr(0, std::min<std::size_t>(content.find('\n'), 16)));
  const auto r = texts.LoadFromText(content, name);
  if (r != LanguageTexts::LoadResult::Loaded) {
    FUZZ_CHECK(r == LanguageTexts::LoadResult::Damaged);
    FUZZ_CHECK(WriteOut(texts) == kBase);
    return 0;
  }
  FUZZ_CHECK(texts.Column() >= 1);
  LanguageTexts again;
  FUZZ_CHECK(again.LoadFromText(WriteOut(texts), texts.CurrentLanguageName()) == LanguageTexts::LoadResult::Loaded);
  for (int slot = 0; slot < kTextCount; ++slot) {
    FUZZ_CHECK(again.RawText(slot) == texts.RawText(slot));
    const std::string text = texts.Text(slot);
    FUZZ_CHECK(text.size() <= texts.RawText(slot).size());
    (void)FormatText(text, {"a", "1"});
  }
  return 0;
}
