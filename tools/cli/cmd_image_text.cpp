// zmp318t-cli commands that show and change a data file through the field
// tables of the editors: fields, set, export, import and diff. A script sees
// exactly what the editors show and changes exactly what a user could type.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Cli.h"
#include "CliSupport.h"
#include "ImageText.h"
#include "lang/LanguageTexts.h"
#include "data/SafeFile.h"
#include "editors/EditorModules.h"

namespace zmp::cli {

namespace {

// An export is text of a few hundred kilobytes; anything far larger is no export.
constexpr std::size_t kLargestImageText = 16u << 20;
// diff: 0 equal, 1 different, 2 wrong use; a file that cannot be read gives
// its read code, and this one when it cannot be read at all.
constexpr int kDiffUnreadable = 3;

constexpr const char* kSetSynopsis = "set FILE KEY=TEXT [KEY=TEXT ...] -o OUT [--password P]";

void Print(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

int RunFields(const std::string& file, const std::optional<std::string>& password, bool json) {
  if (!LoadToolTexts("fields")) return 1;
  ImageStore image;
  SourceFile source;
  if (const int code = LoadDataFile(file, password, image, source, "fields")) return code;
  const auto fields = ListFields(EditorModules(), image);
  if (!json) {
    Print(FieldTableText(fields));
    return 0;
  }
  std::string out;
  for (const FieldListing& f : fields) out += FieldJson(f) + "\n";
  Print(out);
  return 0;
}

int RunSet(const std::string& file, const std::vector<std::string>& arguments, const std::string& out,
           const std::optional<std::string>& password) {
  std::vector<Assignment> assignments;
  for (const std::string& argument : arguments) {
    const auto a = ParseAssignment(argument);
    if (!a) {
      std::fprintf(stderr, "zmp318t-cli set: '%s' is not KEY=TEXT, KEY++ or KEY--\n", Printable(argument).c_str());
      return WrongUse(kSetSynopsis);
    }
    assignments.push_back(*a);
  }
  if (!LoadToolTexts("set")) return 1;
  ImageStore image;
  SourceFile source;
  if (const int code = LoadDataFile(file, password, image, source, "set")) return code;
  for (const Assignment& a : assignments) {
    const ApplyOutcome r = ApplyAssignment(EditorModules(), image, a);
    const std::string what = Printable(a.key) + (a.op == Assignment::Op::Text ? "=" + Printable(a.text, 24) : "");
    if (!r.message.empty()) std::fprintf(stderr, "zmp318t-cli set: %s: %s\n", what.c_str(), r.message.c_str());
    if (!r.kept.empty()) std::fprintf(stderr, "zmp318t-cli set: %s: %s\n", Printable(a.key).c_str(), r.kept.c_str());
    for (const std::string& released : r.released)
      std::fprintf(stderr, "zmp318t-cli set: %s: also cleared %s\n", Printable(a.key).c_str(), released.c_str());
    if (r.status == ApplyStatus::UnknownKey) {
      std::fprintf(stderr, "zmp318t-cli set: 'zmp318t-cli fields %s' lists the fields\n", Printable(file, 4096).c_str());
      return kWrongUse;
    }
    if (r.status == ApplyStatus::Refused) return 1;
  }
  return WriteEditedDataFile(out, image, source, "set") ? 0 : 1;
}

int RunExport(const std::string& file, const std::string& out, const std::optional<std::string>& password) {
  if (!LoadToolTexts("export")) return 1;
  ImageStore image;
  SourceFile source;
  if (const int code = LoadDataFile(file, password, image, source, "export")) return code;
  return WriteTextOutput(out, ExportYaml(EditorModules(), image), "export") ? 0 : 1;
}

int RunImport(const std::string& textFile, const std::string& base, const std::string& out,
              const std::optional<std::string>& password) {
  if (!LoadToolTexts("import")) return 1;
  FileError e;
  const auto text = ReadFileBytes(textFile, kLargestImageText, &e);
  if (!text || text->size() > kLargestImageText) {
    PrintFailure("import", textFile, text ? "is too large for an image text" : FileErrorText(e));
    return 1;
  }
  ImageStore image;
  SourceFile source;
  if (const int code = LoadDataFile(base, password, image, source, "import")) return code;
  const std::string_view yaml(reinterpret_cast<const char*>(text->data()), text->size());
  const ImportOutcome r = ImportYaml(EditorModules(), image, yaml);
  for (const std::string& notice : r.notices) PrintFailure("import", textFile, notice);
  if (!r.ok) {
    PrintFailure("import", textFile, r.message);
    return 1;
  }
  return WriteEditedDataFile(out, image, source, "import") ? 0 : 1;
}

int RunDiff(const std::string& fileA, const std::string& fileB, const std::optional<std::string>& password) {
  if (!LoadToolTexts("diff")) return kDiffUnreadable;
  ImageStore a, b;
  SourceFile sourceA, sourceB;
  for (auto [file, image, source] : {std::tuple{&fileA, &a, &sourceA}, std::tuple{&fileB, &b, &sourceB}}) {
    if (const int code = LoadDataFile(*file, password, *image, *source, "diff"))
      return code == kDataFileUnreadable ? kDiffUnreadable : code;
  }
  if (sourceA.bytes == sourceB.bytes) return 0;
  const ImageDiff diff = DiffImages(EditorModules(), a, b);
  Print(DiffText(diff));
  if (diff.Empty()) {
    Print(a.working() == b.working() ? "the images are equal; the files differ in their header or key byte\n"
                                     : "the images differ only in bytes that every field shows alike\n");
  }
  return 1;
}

}  // namespace

void AddImageTextCommands(CommandList& commands) {
  {
    struct Args {
      std::string file;
      std::optional<std::string> password;
      bool json = false;
    };
    auto a = std::make_shared<Args>();
    CLI::App* c = commands.Add("fields", "fields FILE [--password P] [--json]",
                               "every field of every editor: key, label, shown text and where it lives",
                               [=] { return RunFields(a->file, a->password, a->json); });
    c->add_option("FILE", a->file, "a data file")->required();
    c->add_option("--password", a->password, "the password of a protected file");
    c->add_flag("--json", a->json, "one JSON object per line");
  }
  {
    struct Args {
      std::string file, out;
      std::optional<std::string> password;
      std::vector<std::string> assignments;
    };
    auto a = std::make_shared<Args>();
    CLI::App* c = commands.Add(
        "set", kSetSynopsis,
        "set fields as typed into the editors (KEY++/KEY-- spin) and write the result to OUT", [=] {
          return RunSet(a->file, a->assignments, a->out, a->password);
        });
    c->add_option("FILE", a->file, "a data file")->required();
    c->add_option("ASSIGNMENT", a->assignments, "KEY=TEXT, KEY++ or KEY-- (keys as 'fields' lists them)")
        ->required();
    c->add_option("-o", a->out, "the data file to write")->required();
    c->add_option("--password", a->password, "the password of a protected file");
  }
  {
    struct Args {
      std::string file, out;
      std::optional<std::string> password;
    };
    auto a = std::make_shared<Args>();
    CLI::App* c = commands.Add("export", "export FILE [-o OUT.yaml] [--password P]",
                               "the whole image as YAML, by editor, with the shown texts",
                               [=] { return RunExport(a->file, a->out, a->password); });
    c->add_option("FILE", a->file, "a data file")->required();
    c->add_option("-o", a->out, "the YAML file to write (default: standard output)");
    c->add_option("--password", a->password, "the password of a protected file");
  }
  {
    struct Args {
      std::string text, base, out;
      std::optional<std::string> password;
    };
    auto a = std::make_shared<Args>();
    CLI::App* c = commands.Add(
        "import", "import FILE.yaml --into BASE.dat -o OUT.dat [--password P]",
        "apply an export to a data file of the same model, field by field as the editors take them", [=] {
          return RunImport(a->text, a->base, a->out, a->password);
        });
    c->add_option("FILE.yaml", a->text, "an export")->required();
    c->add_option("--into", a->base, "the data file it is applied to")->required();
    c->add_option("-o", a->out, "the data file to write")->required();
    c->add_option("--password", a->password, "the password of a protected base");
  }
  {
    struct Args {
      std::string a, b, port;
      std::optional<std::string> baud, password;
    };
    auto a = std::make_shared<Args>();
    constexpr const char* kDiffSynopsis = "diff A.dat B.dat [--password P] | diff FILE --port P [--baud B] [--password P]";
    CLI::App* c = commands.Add("diff", kDiffSynopsis,
                               "the fields whose text differs, then bytes that differ outside every field "
                               "(exit 0 equal, 1 different); with --port, FILE against the connected repeater "
                               "(2: the comparison failed)",
                               [=] {
                                 if (!a->port.empty()) {
                                   if (!a->b.empty()) return WrongUse(kDiffSynopsis);
                                   return RunDiffWithRepeater(a->a, a->port, a->baud, a->password);
                                 }
                                 if (a->b.empty() || a->baud) return WrongUse(kDiffSynopsis);
                                 return RunDiff(a->a, a->b, a->password);
                               });
    c->add_option("A.dat", a->a, "a data file")->required();
    c->add_option("B.dat", a->b, "another data file (not with --port)");
    c->add_option("--port", a->port, "compare A.dat with the repeater on this COM number or device path");
    c->add_option("--baud", a->baud, "with --port: the rate after the handshake");
    c->add_option("--password", a->password, "the password of protected files");
  }
}

}  // namespace zmp::cli
