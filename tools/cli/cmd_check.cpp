// zmp318t-cli check: what a write would send to a repeater that the editors
// would not have stored (references to what is gone, values outside their
// range, channels outside the band), and the fix that brings each to the
// nearest value it can hold.
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "Cli.h"
#include "CliSupport.h"
#include "ImageText.h"
#include "editors/EditorModules.h"
#include "fields/ImageCheck.h"

namespace zmp::cli {

namespace {

constexpr const char* kCheckSynopsis = "check FILE [--json] [--fix -o OUT] [--password P]";

std::string Shown(const std::string& text) { return text.empty() ? "(empty)" : text; }

std::string ProblemLines(const std::vector<ImageProblem>& problems, const ImageStore& image, bool json) {
  std::string out;
  for (const ImageProblem& p : problems) {
    if (!json) {
      out += p.field.key + ": " + Shown(p.shown) + ": " + p.reason + "\n";
      continue;
    }
    nlohmann::ordered_json j;
    j["editor"] = std::string(p.field.module->key);
    j["key"] = p.field.key;
    j["label"] = FieldLabel(*p.field.ref.decl);
    j["text"] = p.shown;
    j["problem"] = p.reason;
    j["where"] = LocationText(LocateField(p.field.ref, image));
    out += j.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
  }
  return out;
}

bool Print(const std::string& text) {
  return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0;
}

int RunCheck(const std::string& file, const std::optional<std::string>& password, bool json, bool fix,
             const std::string& out) {
  if (fix != !out.empty()) return WrongUse(kCheckSynopsis);
  if (!LoadToolTexts("check")) return 1;
  ImageStore image;
  SourceFile source;
  if (const int code = LoadDataFile(file, password, image, source, "check")) return code;
  if (!fix) {
    const auto problems = CheckImage(EditorModules(), image);
    if (!Print(ProblemLines(problems, image, json))) return 1;
    return problems.empty() ? 0 : 1;
  }
  const FixOutcome outcome = FixImage(EditorModules(), image);
  std::string changes;
  for (const ImageFix& f : outcome.fixes) changes += f.key + ": " + Shown(f.was) + " -> " + Shown(f.now) + "\n";
  if (!Print(changes)) return 1;
  if (!outcome.remaining.empty()) {
    std::fprintf(stderr, "zmp318t-cli check: %zu problem(s) only an editor can mend:\n", outcome.remaining.size());
    const std::string left = ProblemLines(outcome.remaining, image, false);
    std::fwrite(left.data(), 1, left.size(), stderr);
  }
  if (!WriteEditedDataFile(out, image, source, "check")) return 1;
  return outcome.remaining.empty() ? 0 : 1;
}

}  // namespace

void AddCheckCommands(CommandList& commands) {
  struct Args {
    std::string file, out;
    std::optional<std::string> password;
    bool json = false, fix = false;
  };
  auto a = std::make_shared<Args>();
  CLI::App* c = commands.Add(
      "check", kCheckSynopsis,
      "what a write would send that the editors would not store (exit 0 clean, 1 problems); --fix mends them",
      [=] { return RunCheck(a->file, a->password, a->json, a->fix, a->out); });
  c->add_option("FILE", a->file, "a data file")->required();
  c->add_flag("--json", a->json, "one JSON object per problem");
  c->add_flag("--fix", a->fix, "release what names something gone, bring values into their range, write OUT");
  c->add_option("-o", a->out, "the data file to write with --fix");
  c->add_option("--password", a->password, "the password of a protected file");
}

}  // namespace zmp::cli
