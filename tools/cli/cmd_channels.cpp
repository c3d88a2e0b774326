// zmp318t-cli channels: the channel plan of a data file as the channel grid
// copies it with its titles ("to Clip(w/Title)"), one line per channel, as
// tab-separated text or as CSV for a spreadsheet; and a plan kept as CSV
// applied to a data file exactly as if it were pasted into the grid.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "Cli.h"
#include "CliSupport.h"
#include "lang/LanguageTexts.h"
#include "data/DataFile.h"
#include "data/ImageStore.h"
#include "data/SafeFile.h"
#include "editors/ChannelGridSource.h"
#include "editors/CsvTable.h"
#include "editors/EditorModules.h"
#include "editors/GridTextPaste.h"
#include "fields/References.h"

namespace zmp::cli {

namespace {

constexpr const char* kSynopsis =
    "channels FILE [--csv] [-o OUT] [--password P] | channels BASE --from PLAN.csv -o OUT [--password P]";
// A plan of 30 channels is a few kilobytes; anything far larger is no plan.
constexpr std::size_t kLargestPlan = 1u << 20;

// The grid as lines of cells: the title line, then every channel's row.
CsvRows GridRows(const GridSource& grid) {
  CsvRows rows(1);
  for (int c = 0; c < grid.ColumnCount(); ++c) rows.front().push_back(Tx(grid.Column(c).title));
  for (int r = 0; r < grid.RowCount(); ++r) rows.push_back(RowTexts(grid, r));
  return rows;
}

void WarnWhenIndexDamaged(ImageStore& image) {
  if (!ChannelStore(image).CheckIndex().sound)
    std::fprintf(stderr, "zmp318t-cli channels: %s\n", Tx(748_txt).c_str());
}

int RunList(const std::string& file, bool csv, const std::string& out, const std::optional<std::string>& password) {
  if (!LoadToolTexts("channels")) return 1;
  ImageStore image;
  // A protected file is listed only with its password.
  const DataFileResult r = ReadDataFile(file, image, [&] { return password; });
  if (r.code != kDataFileLoaded) {
    PrintFailure("channels", file, ReadFailureText(r, file));
    return r.code;
  }
  image.CopyTransferToWorking();
  WarnWhenIndexDamaged(image);
  const std::string text = csv ? WriteCsv(GridRows(ChannelGridSource(image))) : ChannelPlanText(image) + "\n";
  return WriteTextOutput(out, text, "channels") ? 0 : 1;
}

std::string CsvFaultText(const CsvParse& p) {
  switch (p.fault) {
    case CsvFault::None: return {};
    case CsvFault::Empty: return "the file is empty";
    case CsvFault::QuoteNotClosed:
      return "line " + std::to_string(p.line) + ": a quoted cell starts here and is never closed";
    case CsvFault::TextAfterQuote:
      return "line " + std::to_string(p.line) + ": text follows the closing quote of a cell";
    case CsvFault::QuoteInCell:
      return "line " + std::to_string(p.line) + ": a double quote inside a cell that is not quoted";
    case CsvFault::NulByte: return "line " + std::to_string(p.line) + ": a NUL byte; this is not a text file";
  }
  return "not CSV";
}

// The lines of a plan fill channels 1, 2, 3 ... in order, as a paste at the
// grid's first cell does. When the plan carries the CH column, each line must
// be the channel it fills: a plan whose lines were sorted or thinned out in a
// spreadsheet would otherwise shift channels silently.
std::optional<std::string> MisplacedLine(const GridSource& grid, const CsvRows& rows) {
  if (rows.size() < 2 || rows.front().empty() || rows.front().front() != Tx(grid.Column(0).title)) return std::nullopt;
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const std::string& ch = rows[i].empty() ? std::string() : rows[i].front();
    if (ch.empty() || ch == std::to_string(i)) continue;
    return "line " + std::to_string(i + 1) + ": " + rows.front().front() + " " + ch + " is in the place of channel " +
           std::to_string(i) + "; a plan lists the channels in order from 1, one line each";
  }
  return std::nullopt;
}

int RunApply(const std::string& base, const std::string& plan, const std::string& out,
             const std::optional<std::string>& password) {
  if (!LoadToolTexts("channels")) return 1;
  FileError e;
  const auto bytes = ReadFileBytes(plan, kLargestPlan, &e);
  if (!bytes || bytes->size() > kLargestPlan) {
    PrintFailure("channels", plan, bytes ? "is too large for a channel plan" : e.Text());
    return 1;
  }
  const CsvParse csv = ParseCsv(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
  if (!csv.ok()) {
    PrintFailure("channels", plan, CsvFaultText(csv));
    return 1;
  }
  ImageStore image;
  SourceFile source;
  if (const int code = LoadDataFile(base, password, image, source, "channels")) return code;
  WarnWhenIndexDamaged(image);
  ChannelGridSource grid(image);
  if (const auto misplaced = MisplacedLine(grid, csv.rows)) {
    PrintFailure("channels", plan, *misplaced);
    return 1;
  }
  // One change, as one paste into the grid is: what it takes away (a deleted
  // channel named by a key or the priority channel) is let go of with it.
  TextPasteOutcome outcome;
  const auto released = ChangeAndRelease(EditorModules(), image, [&] { outcome = PasteTable(grid, 0, 0, csv.rows); });
  if (!outcome.table) {
    PrintFailure("channels", plan, "holds no channel rows");
    return 1;
  }
  if (outcome.refusedRow >= 0) {
    PrintFailure("channels", plan, RefusalText(grid, outcome) + " Nothing was written.");
    return 1;
  }
  if (const std::string notes = PasteNotes(outcome); !notes.empty())
    std::fprintf(stderr, "zmp318t-cli channels: %s\n", notes.c_str());
  for (const ReleasedRef& r : released)
    std::fprintf(stderr, "zmp318t-cli channels: also cleared %s (was %s)\n",
                 FieldKey(*r.module, *r.ref.table, *r.ref.decl, r.ref.row).c_str(), r.was.c_str());
  return WriteEditedDataFile(out, image, source, "channels") ? 0 : 1;
}

}  // namespace

void AddChannelCommands(CommandList& commands) {
  struct Args {
    std::string file, from, out;
    std::optional<std::string> password;
    bool csv = false;
  };
  auto a = std::make_shared<Args>();
  CLI::App* c = commands.Add(
      "channels", kSynopsis,
      "print the channel plan of a data file (tab-separated text with titles, or CSV), or apply a CSV plan "
      "to a data file as a paste into the channel grid",
      [=] {
        if (a->from.empty()) return RunList(a->file, a->csv, a->out, a->password);
        if (a->csv || a->out.empty()) {
          std::fprintf(stderr, "zmp318t-cli channels: --from needs -o OUT and takes no --csv\n");
          return WrongUse(kSynopsis);
        }
        return RunApply(a->file, a->from, a->out, a->password);
      });
  c->add_option("FILE", a->file, "a data file (with --from: the data file the plan is applied to)")->required();
  c->add_flag("--csv", a->csv, "the plan as CSV (RFC 4180) instead of tab-separated text");
  c->add_option("--from", a->from, "a CSV plan with the grid's column titles to apply");
  c->add_option("-o", a->out, "the file to write: the plan (default: standard output), or with --from the data file");
  c->add_option("--password", a->password, "the password of a protected file");
}

}  // namespace zmp::cli
