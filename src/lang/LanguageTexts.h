// The program's 1318 texts, loaded from one column of the language file
// "zmp318t.lng" and looked up by number. Standard library only: the program
// and the command-line tool share it; the message boxes live in the Qt side.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lang/LanguageKeys.h"
#include "lang/TextNo.h"

namespace zmp {

inline constexpr const char* kLanguageFileName = "zmp318t.lng";
inline constexpr const char* kProductName = "ZMP-318T";
inline constexpr const char* kLanguageNotFoundMessage =
    "Can't read language file.  Please install this software again.";
inline constexpr const char* kLanguageDamagedMessage =
    "Language file has been damaged.  Please install this software again.";

class LanguageTexts {
 public:
  enum class LoadResult { Loaded, NotFound, Damaged };

  LanguageTexts();

  // Reads the file and takes the column of languageName (column 1 when the
  // file does not list it). On failure the previous texts stay.
  LoadResult LoadFile(const std::string& path, const std::string& languageName);
  // The same from text already in memory.
  LoadResult LoadFromText(std::string_view content, const std::string& languageName);

  // Text of a slot with \n, \t and \a replaced by line break, tab and comma;
  // empty for a number outside 0..1317.
  std::string Text(int number) const;
  std::string Text(TextNo t) const { return Text(t.n); }
  // The stored text, escapes untouched.
  const std::string& RawText(int number) const;

  const std::vector<std::string>& LanguageNames() const { return languageNames_; }
  std::string CurrentLanguageName() const;
  int Column() const { return column_; }
  // Column of a language name (1-based); 0 when the file does not list it.
  int ColumnOf(std::string_view name) const;
  const std::string& FontName() const { return fontName_; }
  const std::string& Path() const { return path_; }
  bool IsLoaded() const { return loaded_; }

  // The language file in the first of DataFolders that holds one; empty when
  // none does.
  static std::string FindFile(const std::string& executableDir);

  // The message a failed load shows.
  static const char* MessageFor(LoadResult r);

 private:
  std::vector<std::string> texts_;
  std::vector<std::string> shown_;  // texts_ with their escapes replaced
  std::vector<std::string> languageNames_;
  std::vector<std::string> fontNames_;
  std::string fontName_;
  std::string path_;
  int column_ = 1;
  bool loaded_ = false;
};

// The program's one text table.
LanguageTexts& Texts();

// Where the program's data (language file, user guide) are looked for, in
// order: beside the executable (a build tree), ../share/zmp318t from it (an
// installed tree, wherever it was unpacked), and the data folder the program
// was built for.
std::vector<std::string> DataFolders(const std::string& executableDir);
// Shorthand for Texts().Text(t).
inline std::string Tx(TextNo t) { return Texts().Text(t); }

// Fills a C-style format text taken from the language file. Each %s, %d, %i,
// %u, %x, %X, %c or %ld conversion (with optional flags and width, which are
// applied) takes the next argument as ready text; "%%" is a percent sign. A
// conversion without an argument becomes empty, and nothing is ever read past
// the arguments given, so a translated text can never crash the program.
std::string FormatText(std::string_view format, std::initializer_list<std::string> args);
std::string FormatText(std::string_view format, std::span<const std::string> args);

}  // namespace zmp
