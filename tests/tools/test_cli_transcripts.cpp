// zmp318t-cli run from a shell as a technician runs it, written as transcripts:
// tests/tools/transcripts/*.txt. Each "== name" is a session in a new empty
// folder; "$ LINE" runs LINE with sh there (zmp318t-cli and zmp318t-sim on the
// PATH), and the lines after it say what it must do. The format is described
// at the top of transcripts/files.txt.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <map>
#include <optional>
#include <sstream>

#include "CliRun.h"
#include "SimProcess.h"
#include "lang/LanguageTexts.h"

namespace fs = std::filesystem;
using namespace zmp::testing;

namespace {

struct Step {
  int line;
  std::string text;
};

struct Session {
  std::string file, name;
  std::vector<Step> steps;
};

std::vector<Session> ReadSessions() {
  std::vector<Session> sessions;
  const fs::path folder = fs::path(ZMP_SOURCE_DIR) / "tests/tools/transcripts";
  for (const auto& entry : fs::directory_iterator(folder)) {
    std::ifstream in(entry.path());
    int number = 0;
    for (std::string line; std::getline(in, line);) {
      ++number;
      if (line.rfind("== ", 0) == 0) {
        sessions.push_back({entry.path().stem().string(), line.substr(3), {}});
      } else if (!sessions.empty() && !sessions.back().steps.empty() && sessions.back().steps.back().text.ends_with('\\')) {
        sessions.back().steps.back().text += "\n" + line;  // a command line goes on
      } else if (!line.empty() && line[0] != '#' && !sessions.empty()) {
        sessions.back().steps.push_back({number, line});
      }
    }
  }
  return sessions;
}

void PrintTo(const Session& s, std::ostream* os) { *os << s.file << ": " << s.name; }

// The session's name as a test name: its words run together.
std::string TestName(const ::testing::TestParamInfo<Session>& info) {
  std::string name = info.param.file + "_";
  bool capital = true;
  for (char c : info.param.name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) {
      capital = true;
      continue;
    }
    name += capital ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
    capital = false;
  }
  return name;
}

// "{text N}" becomes language text N, "$NAME" the terminal of simulator NAME.
std::string Expand(std::string text, const std::map<std::string, SimProcess>& sims) {
  for (std::size_t at; (at = text.find("{text ")) != std::string::npos;) {
    const std::size_t end = text.find('}', at);
    text.replace(at, end + 1 - at, zmp::Texts().Text(zmp::TextNo{std::stoi(text.substr(at + 6))}));
  }
  for (const auto& [name, sim] : sims)
    for (std::size_t at; (at = text.find("$" + name)) != std::string::npos;) text.replace(at, name.size() + 1, sim.path());
  return text;
}

// What one command must do: its status, and lines of its output in order
// ("has"), texts it must not hold ("lacks"), or the whole of it ("is").
struct Expected {
  int status = 0;
  std::vector<std::string> has[2], lacks[2];
  std::optional<std::string> is[2];
};

class CliTranscript : public ::testing::TestWithParam<Session> {
 protected:
  void SetUp() override {
    ASSERT_EQ(zmp::Texts().LoadFile(ZMP_BIN_DIR "/zmp318t.lng", "English"), zmp::LanguageTexts::LoadResult::Loaded);
    fs::create_directories(work);
  }
  // Runs a command line in the session's folder.
  CliRun Run(const std::string& line) {
    std::string env = "PATH='" ZMP_BIN_DIR "':\"$PATH\"";
    for (const auto& [name, sim] : sims) env += " " + name + "='" + sim.path() + "'";
    return Sh("cd '" + work.string() + "' && export " + env + " && (" + line + ")", dir / "stderr.txt");
  }
  void Check(const CliRun& r, const Expected& e) {
    EXPECT_EQ(r.status, e.status) << r.err;
    for (int s = 0; s < 2; ++s) {
      const std::string& stream = s == 0 ? r.out : r.err;
      const char* name = s == 0 ? "standard output" : "standard error";
      std::size_t from = 0;
      for (const std::string& text : e.has[s]) {
        const std::size_t at = stream.find(text, from);
        EXPECT_NE(at, std::string::npos) << name << " lacks, in its order: " << text << "\n" << stream;
        from = at == std::string::npos ? from : at + text.size();
      }
      for (const std::string& text : e.lacks[s])
        EXPECT_EQ(stream.find(text), std::string::npos) << name << " holds: " << text << "\n" << stream;
      if (e.is[s]) {
        EXPECT_EQ(stream, *e.is[s]) << name;
      }
    }
  }
  // sim NAME ARGS: a simulator in the session's folder, its terminal $NAME
  // ("quoted" keeps an argument's spaces).
  void StartSimulator(const std::string& rest) {
    const std::size_t nameEnd = rest.find(' ');
    std::vector<std::string> args;
    std::istringstream words(rest.substr(nameEnd + 1));
    for (std::string a; words >> std::quoted(a);) args.push_back(a);
    const auto [it, added] = sims.try_emplace(rest.substr(0, nameEnd), args, work);
    ASSERT_TRUE(added && it->second.ok()) << rest;
  }

  TempDir dir{"cli-transcript"};
  fs::path work = dir / "work";
  std::map<std::string, SimProcess> sims;
};

TEST_P(CliTranscript, Runs) {
  const Session& session = GetParam();
  std::optional<std::string> command;
  int commandLine = 0;
  Expected expected;
  const auto runCommand = [&] {
    if (!command) return;
    SCOPED_TRACE(session.file + ".txt:" + std::to_string(commandLine) + ": " + *command);
    Check(Run(*command), expected);
    command.reset();
  };
  for (const Step& step : session.steps) {
    SCOPED_TRACE(session.file + ".txt:" + std::to_string(step.line));
    std::istringstream words(step.text);
    std::string word, kind;
    words >> word;
    if (word == "$" || word == "sim") {
      runCommand();
      const std::string rest = step.text.substr(word.size() + 1);
      if (word == "sim") {
        StartSimulator(rest);
      } else {
        command = rest;
        commandLine = step.line;
        expected = {};
      }
    } else if (word == "exit") {
      words >> expected.status;
    } else if ((word == "out" || word == "err") && (words >> kind) && (kind == "has" || kind == "lacks" || kind == "is")) {
      const std::size_t at = step.text.find(kind) + kind.size();
      const std::string text = Expand(at < step.text.size() ? step.text.substr(at + 1) : "", sims);
      const int s = word == "out" ? 0 : 1;
      if (kind == "has") expected.has[s].push_back(text);
      if (kind == "lacks") expected.lacks[s].push_back(text);
      if (kind == "is") expected.is[s] = expected.is[s].value_or("") + (text.empty() ? "" : text + "\n");
    } else {
      ADD_FAILURE() << "not a step: " << step.text;
    }
  }
  runCommand();
}

INSTANTIATE_TEST_SUITE_P(Transcripts, CliTranscript, ::testing::ValuesIn(ReadSessions()), TestName);

}  // namespace
