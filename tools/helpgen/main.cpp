// zmp318t-helpgen: assembles the user guide at build time. It copies the
// hand-written pages of each language that the language file holds and writes
// the per-editor reference pages from the editors' field tables.
//
//   zmp318t-helpgen --source help --lang zmp318t.lng --out build/bin/help
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ModuleReference.h"
#include "ReferencePages.h"
#include "lang/LanguageTexts.h"
#include "lang/LanguageRows.h"

namespace fs = std::filesystem;
using namespace zmp;
using namespace zmp::helpgen;

namespace {

constexpr std::string_view kIntroSuffix = ".intro.html";

bool EndsWith(const std::string& s, std::string_view end) {
  return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Copies the hand-written pages; the intro fragments go into the reference pages instead.
bool CopyPages(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  for (fs::recursive_directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file() || EndsWith(it->path().filename().string(), kIntroSuffix)) continue;
    const fs::path target = to / fs::relative(it->path(), from);
    fs::create_directories(target.parent_path());
    fs::copy_file(it->path(), target, fs::copy_options::overwrite_existing, ec);
    if (ec) {
      std::fprintf(stderr, "zmp318t-helpgen: cannot copy %s: %s\n", it->path().c_str(), ec.message().c_str());
      return false;
    }
  }
  return !ec;
}

bool WritePages(const fs::path& sourceGuide, const fs::path& guide) {
  const fs::path intro = sourceGuide / "reference";
  const auto pages = ModuleReferencePages([&](const std::string& page) {
    const std::string stem = page.substr(0, page.size() - 5);  // without ".html"
    return ReadFile(intro / (stem + std::string(kIntroSuffix)));
  });
  fs::create_directories(guide / "reference");
  for (const ReferencePage& p : pages) {
    std::ofstream out(guide / "reference" / p.file);
    WriteReferencePage(out, p);
    if (!out) return false;
  }
  std::ofstream contents(guide / "reference" / "index.html");
  WriteReferenceContents(contents, pages);
  return static_cast<bool>(contents);
}

}  // namespace

int main(int argc, char** argv) {
  std::string source, lang, out;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string key = argv[i];
    if (key == "--source") source = argv[i + 1];
    if (key == "--lang") lang = argv[i + 1];
    if (key == "--out") out = argv[i + 1];
  }
  if (source.empty() || lang.empty() || out.empty()) {
    std::fprintf(stderr, "usage: zmp318t-helpgen --source DIR --lang FILE --out DIR\n");
    return 2;
  }
  int written = 0;
  for (const LanguageRow& row : LanguageRows()) {
    const fs::path from = fs::path(source) / std::string(row.helpFolder);
    if (!fs::is_directory(from)) continue;
    if (Texts().LoadFile(lang, std::string(row.name)) != LanguageTexts::LoadResult::Loaded ||
        Texts().ColumnOf(row.name) == 0) {
      std::fprintf(stderr, "zmp318t-helpgen: the language file holds no %s texts; its guide is left out\n",
                   std::string(row.name).c_str());
      continue;
    }
    const fs::path to = fs::path(out) / std::string(row.helpFolder);
    if (!CopyPages(from, to) || !WritePages(from, to)) {
      std::fprintf(stderr, "zmp318t-helpgen: cannot write the guide in %s\n", to.c_str());
      return 1;
    }
    ++written;
  }
  if (written == 0) {
    std::fprintf(stderr, "zmp318t-helpgen: no guide written (no language folder in %s)\n", source.c_str());
    return 1;
  }
  std::ofstream(fs::path(out) / ".stamp") << written << '\n';
  return 0;
}
