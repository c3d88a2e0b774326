#include "lang/LanguageTexts.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace zmp {

namespace {

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = line.find(',', start);
    if (comma == std::string_view::npos) {
      fields.push_back(line.substr(start));
      return fields;
    }
    fields.push_back(line.substr(start, comma - start));
    start = comma + 1;
  }
}

// A text line's first field: "^#" and exactly eight digits. Returns the key,
// or -1 for a first field that starts with "^#" but is not a whole key.
long ParseKeyField(std::string_view field) {
  if (field.size() != 10) return -1;
  long key = 0;
  for (std::size_t i = 2; i < field.size(); ++i) {
    if (field[i] < '0' || field[i] > '9') return -1;
    key = key * 10 + (field[i] - '0');
  }
  return key;
}

std::string Unescape(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      const char c = s[i + 1];
      if (c == 'n') { out.push_back('\n'); ++i; continue; }
      if (c == 't') { out.push_back('\t'); ++i; continue; }
      if (c == 'a') { out.push_back(','); ++i; continue; }
    }
    out.push_back(s[i]);
  }
  return out;
}

}  // namespace

LanguageTexts::LanguageTexts() : texts_(kTextCount), shown_(kTextCount) {}

LanguageTexts::LoadResult LanguageTexts::LoadFile(const std::string& path,
                                                  const std::string& languageName) {
  std::error_code ec;
  if (path.empty() || !std::filesystem::is_regular_file(path, ec)) return LoadResult::NotFound;
  std::ifstream in(path, std::ios::binary);
  if (!in) return LoadResult::Damaged;
  std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return LoadResult::Damaged;
  const LoadResult r = LoadFromText(content, languageName);
  if (r == LoadResult::Loaded) path_ = path;
  return r;
}

LanguageTexts::LoadResult LanguageTexts::LoadFromText(std::string_view content,
                                                      const std::string& languageName) {
  std::vector<std::string> texts(kTextCount);
  std::vector<bool> seen(kTextCount, false);
  std::vector<std::string> names, fonts;
  bool haveLanguage = false, haveFont = false;
  struct TextLine {
    int slot;
    std::vector<std::string_view> fields;
  };
  std::vector<TextLine> textLines;

  std::size_t pos = 0;
  while (pos <= content.size()) {
    std::size_t end = content.find('\n', pos);
    if (end == std::string_view::npos) end = content.size();
    std::string_view line = content.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    auto fields = SplitFields(line);
    const std::string_view first = fields[0];
    if (first == "*Language") {
      if (!haveLanguage) {
        haveLanguage = true;
        for (std::size_t i = 1; i < fields.size(); ++i) names.emplace_back(fields[i]);
      }
    } else if (first == "*Font") {
      if (!haveFont) {
        haveFont = true;
        for (std::size_t i = 1; i < fields.size(); ++i) fonts.emplace_back(fields[i]);
      }
    } else if (first.find("^#") != std::string_view::npos) {
      if (first.substr(0, 2) != "^#") return LoadResult::Damaged;
      const long key = ParseKeyField(first);
      const int slot = key < 0 ? -1 : SlotOfKey(static_cast<std::uint32_t>(key));
      if (slot < 0 || seen[slot]) return LoadResult::Damaged;
      seen[slot] = true;
      textLines.push_back({slot, std::move(fields)});
    }
  }
  if (!haveLanguage) return LoadResult::Damaged;
  if (textLines.size() != static_cast<std::size_t>(kTextCount)) return LoadResult::Damaged;

  int column = 1;
  for (std::size_t i = 0; i < names.size(); ++i)
    if (names[i] == languageName) column = static_cast<int>(i) + 1;
  for (const auto& tl : textLines)
    if (static_cast<std::size_t>(column) < tl.fields.size())
      texts[tl.slot] = std::string(tl.fields[column]);

  texts_ = std::move(texts);
  // Unescaped once here: a text is asked for many times (every list entry shown).
  shown_.clear();
  for (const std::string& t : texts_) shown_.push_back(Unescape(t));
  languageNames_ = std::move(names);
  fontNames_ = std::move(fonts);
  column_ = column;
  fontName_ = static_cast<std::size_t>(column - 1) < fontNames_.size() ? fontNames_[column - 1] : "";
  loaded_ = true;
  return LoadResult::Loaded;
}

std::string LanguageTexts::Text(int number) const {
  if (number < 0 || number >= kTextCount) return {};
  return shown_[number];
}

const std::string& LanguageTexts::RawText(int number) const {
  static const std::string empty;
  if (number < 0 || number >= kTextCount) return empty;
  return texts_[number];
}

std::string LanguageTexts::CurrentLanguageName() const {
  if (column_ >= 1 && static_cast<std::size_t>(column_) <= languageNames_.size())
    return languageNames_[column_ - 1];
  return {};
}

int LanguageTexts::ColumnOf(std::string_view name) const {
  for (std::size_t i = 0; i < languageNames_.size(); ++i)
    if (languageNames_[i] == name) return static_cast<int>(i) + 1;
  return 0;
}

std::vector<std::string> DataFolders(const std::string& executableDir) {
  std::vector<std::string> folders;
  if (!executableDir.empty()) {
    folders.push_back(executableDir);
    folders.push_back((std::filesystem::path(executableDir) / ".." / "share" / "zmp318t").lexically_normal().string());
  }
  folders.push_back(ZMP_DATA_DIR);
  return folders;
}

std::string LanguageTexts::FindFile(const std::string& executableDir) {
  namespace fs = std::filesystem;
  std::error_code ec;
  for (const std::string& dir : DataFolders(executableDir)) {
    const fs::path p = fs::path(dir) / kLanguageFileName;
    if (fs::is_regular_file(p, ec)) return p.string();
  }
  return {};
}

const char* LanguageTexts::MessageFor(LoadResult r) {
  switch (r) {
    case LoadResult::Loaded: return "";
    case LoadResult::NotFound: return kLanguageNotFoundMessage;
    case LoadResult::Damaged: return kLanguageDamagedMessage;
  }
  return kLanguageDamagedMessage;
}

LanguageTexts& Texts() {
  static LanguageTexts texts;
  return texts;
}

std::string FormatText(std::string_view format, std::initializer_list<std::string> args) {
  return FormatText(format, std::span<const std::string>(args.begin(), args.size()));
}

std::string FormatText(std::string_view format, std::span<const std::string> args) {
  std::string out;
  auto next = args.begin();
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      out.push_back(format[i]);
      continue;
    }
    if (i + 1 < format.size() && format[i + 1] == '%') {
      out.push_back('%');
      ++i;
      continue;
    }
    // %[flags][width][.precision][length]conversion
    std::size_t j = i + 1;
    bool leftAlign = false;
    char pad = ' ';
    while (j < format.size() && (format[j] == '-' || format[j] == '0' || format[j] == '+' ||
                                 format[j] == ' ' || format[j] == '#')) {
      if (format[j] == '-') leftAlign = true;
      if (format[j] == '0') pad = '0';
      ++j;
    }
    std::size_t width = 0;
    while (j < format.size() && format[j] >= '0' && format[j] <= '9' && width < 1000)
      width = width * 10 + static_cast<std::size_t>(format[j++] - '0');
    if (j < format.size() && format[j] == '.') {
      ++j;
      while (j < format.size() && format[j] >= '0' && format[j] <= '9') ++j;
    }
    while (j < format.size() && (format[j] == 'l' || format[j] == 'h')) ++j;
    if (j >= format.size() || std::string_view("sdiuxXcf").find(format[j]) == std::string_view::npos) {
      out.push_back('%');  // not a conversion: keep it as text
      continue;
    }
    std::string value = next != args.end() ? *next++ : std::string();
    if (value.size() < width) {
      const std::string fill(width - value.size(), leftAlign ? ' ' : pad);
      value = leftAlign ? value + fill : fill + value;
    }
    out += value;
    i = j;
  }
  return out;
}

}  // namespace zmp
