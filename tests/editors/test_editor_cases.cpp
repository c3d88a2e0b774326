// The edge cases of each editor, written as data: tests/editors/cases/<editor>.txt
// holds cases of steps (set bytes, type, tick, pick, spin, move, then what is
// shown and stored), each addressed by the field's key as zmp318t-cli names it.
// The format is described at the top of cases/feature.txt. Every commit is made
// as the program makes it (what it takes away is released in the same step),
// and a refusal must leave every byte as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>

#include "EditorTestSupport.h"
#include "editors/ChannelFields.h"
#include "editors/EditorModules.h"
#include "editors/FunctionCodes.h"
#include "fields/FieldWalk.h"

using namespace zmp;
using namespace zmp::testing;

namespace {

std::string Trim(std::string s) {
  const auto a = s.find_first_not_of(" \t");
  const auto b = s.find_last_not_of(" \t");
  return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

// A text as written in a case: "quoted" keeps its spaces and reads \t as a tab.
std::string TextOf(std::string s) {
  s = Trim(s);
  if (s.size() < 2 || s.front() != '"' || s.back() != '"') return s;
  s = s.substr(1, s.size() - 2);
  for (std::size_t at; (at = s.find("\\t")) != std::string::npos;) s.replace(at, 2, "\t");
  return s;
}

long Number(const std::string& s) {
  const std::string t = Trim(s);
  if (t.size() == 4 && t.front() == '\'' && t.back() == '\'') return MakeFunctionCode(t[1], t[2]);
  return std::stol(t, nullptr, 0);
}

std::vector<std::string> Words(const std::string& s) {
  std::istringstream in(s);
  std::vector<std::string> out;
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

std::vector<std::uint8_t> HexBytes(const std::string& s) {
  std::vector<std::uint8_t> out;
  for (const std::string& w : Words(s)) out.push_back(static_cast<std::uint8_t>(std::stoul(w, nullptr, 16)));
  return out;
}

const std::map<std::string, ModelRecord (*)()> kModels{
    {"VHF146E", Vhf146E}, {"VHF146K", Vhf146K}, {"VHF136K", Vhf136K}, {"UHF450K", Uhf450K},
    {"UHF480K", Uhf480K}, {"UHF400K", Uhf400K}, {"UHF440E", Uhf440E}, {"UHF400E", Uhf400E},
    {"VHF146E_BOARD", [] { return MakeRecord("RWAV0300", 2, 1, 0xFB); }}};  // bit 2 clear: the option board

std::string Join(const std::vector<std::string>& parts) {
  std::string out;
  for (const std::string& p : parts) out += (out.empty() ? "" : "|") + p;
  return out;
}

std::size_t At(const std::string& s) { return static_cast<std::size_t>(Number(s)); }

class CaseRunner {
 public:
  explicit CaseRunner(std::string file) : file_(std::move(file)) {}

  void Run() {
    std::ifstream in(std::string(ZMP_SOURCE_DIR) + "/tests/editors/cases/" + file_);
    ASSERT_TRUE(in) << file_;
    int cases = 0;
    std::string name;
    for (std::string line; std::getline(in, line);) {
      ++lineNo_;
      if (Trim(line).empty() || Trim(line)[0] == '#') continue;
      if (line.rfind("== ", 0) == 0) {
        name = Trim(line.substr(3));
        Reset("blank", "VHF146E");
        ++cases;
        continue;
      }
      SCOPED_TRACE(file_ + ":" + std::to_string(lineNo_) + " (" + name + "): " + line);
      Step(line);
    }
    EXPECT_GT(cases, 0) << file_;
  }

 private:
  void Reset(const std::string& how, const std::string& model) {
    const auto m = kModels.find(model);
    ASSERT_NE(m, kModels.end()) << model;
    ASSERT_TRUE(how == "blank" || how == "new") << how;
    image_ = ImageStore{};
    image_.MakeBlank();
    SetModel(image_, m->second());
    if (how == "new") ApplyNewImageDefaults(image_, false, false);
  }

  FieldRef Ref(const std::string& key) {
    const auto f = FindField(EditorModules(), image_, key);
    if (!f) throw std::runtime_error(key + " names no field");  // ends the file's cases, failed
    return f->ref;
  }

  std::size_t Record(const std::string& channel, const std::string& offset) {
    const auto at = ChannelStore::RecordOf(image_, std::stoi(channel) - 1);
    EXPECT_TRUE(at) << "channel " << channel << " does not exist";
    return at.value_or(0) + At(offset);
  }

  // A commit as the program makes it; "=> ok|refused|not-editable|not-applicable
  // [message]" after it (ok when left out). A refusal must leave every byte as it was.
  void Commit(const std::string& expected, const std::function<CommitResult()>& commit) {
    static const std::map<std::string, CommitStatus> kStatus{
        {"ok", CommitStatus::Ok}, {"refused", CommitStatus::Refused},
        {"not-editable", CommitStatus::NotEditable}, {"not-applicable", CommitStatus::NotApplicable}};
    const auto before = AllBytes(image_);
    const CommitResult r = AsUserCommits(image_, commit);
    const auto w = Words(expected.empty() ? "ok" : expected);
    ASSERT_TRUE(kStatus.count(w[0])) << w[0];
    EXPECT_EQ(r.status, kStatus.at(w[0]));
    EXPECT_EQ(r.message.n, w.size() > 1 ? std::stoi(w[1]) : r.message.n);
    EXPECT_TRUE(r.ok() || AllBytes(image_) == before) << "a refusal writes nothing";
  }

  // op KEY|ADDR [more] [= value] [=> status]
  void Step(const std::string& line) {
    std::string body = line, status, value;
    if (const auto at = body.find(" => "); at != std::string::npos) {
      status = Trim(body.substr(at + 4));
      body = body.substr(0, at);
    }
    if (const auto eq = body.find(" = "); eq != std::string::npos) {
      value = body.substr(eq + 3);
      body = body.substr(0, eq);
    } else if (body.size() >= 2 && body.compare(body.size() - 2, 2, " =") == 0) {
      body = body.substr(0, body.size() - 2);  // "KEY =": the empty text
    }
    const auto w = Words(body);
    const std::string op = w.at(0), key = w.size() > 1 ? w[1] : "";
    const auto v = Words(value);
    auto main = image_.Main();
    const std::map<std::string, std::function<CommitResult(const FieldRef&)>> commits{
        {"type", [&](const FieldRef& f) { return CommitFieldText(f, image_, TextOf(value)); }},
        {"apply", [&](const FieldRef& f) { return ApplyFieldText(f, image_, TextOf(value)); }},
        {"tick", [&](const FieldRef& f) { return CommitFieldCheck(f, image_, v.at(0) == "on"); }},
        {"pick", [&](const FieldRef& f) { return CommitFieldChoice(f, image_, Number(value)); }},
        {"spin", [&](const FieldRef& f) { return SpinField(f, image_, v.at(0) == "up"); }},
        {"move", [&](const FieldRef& f) { return MoveFieldEntry(f, image_, std::stoi(v.at(0)), v.at(1) == "front"); }},
        {"warns", [&](const FieldRef& f) {  // warns KEY = TEXT | WARNING
           const auto bar = value.find(" |");
           const CommitResult r = CommitFieldText(f, image_, TextOf(value.substr(0, bar)));
           EXPECT_EQ(r.warning, bar == std::string::npos ? "?" : TextOf(value.substr(bar + 2)));
           return r;
         }}};
    if (const auto c = commits.find(op); c != commits.end()) {
      const FieldRef f = Ref(key);
      Commit(status, [&] { return c->second(f); });
    } else if (op == "image") {
      Reset(w.at(1), w.at(2));
    } else if (op == "poke") {
      main.Write(At(key), HexBytes(value));
    } else if (op == "pokew") {
      main.SetWord(At(key), static_cast<std::uint16_t>(Number(value)));
    } else if (op == "fill") {
      main.Fill(At(key), At(v.at(0)), static_cast<std::uint8_t>(std::stoul(v.at(1), nullptr, 16)));
    } else if (op == "channels") {
      for (std::size_t i = 1; i < w.size(); ++i) {
        const int n = std::stoi(w[i]);
        EXPECT_TRUE(CommitFieldText(ChannelField(n - 1, "rx_frequency"), image_, "146." + std::to_string(100 + 5 * n)).ok());
      }
    } else if (op == "record") {  // record N OFFSET = HEX: bytes of channel N's record
      main.Write(Record(key, w.at(2)), HexBytes(value));
    } else if (op == "inrecord") {  // inrecord N OFFSET = HEX: what channel N's record holds
      EXPECT_EQ(main.Read(Record(key, w.at(2)), HexBytes(value).size()), HexBytes(value));
    } else if (op == "mark") {
      marked_ = AllBytes(image_);
    } else if (op == "unchanged") {  // no byte changed since the mark
      EXPECT_EQ(AllBytes(image_), marked_);
    } else if (op == "shown") {
      EXPECT_EQ(ShowField(Ref(key), image_).text, TextOf(value));
    } else if (op == "checked") {
      EXPECT_EQ(ShowField(Ref(key), image_).checked, v.at(0) == "yes");
    } else if (op == "applicable") {
      EXPECT_EQ(ShowField(Ref(key), image_).applicable, v.at(0) == "yes");
    } else if (op == "choice") {
      EXPECT_EQ(ShowField(Ref(key), image_).choice, std::stoi(value));
    } else if (op == "exists") {
      EXPECT_EQ(FindField(EditorModules(), image_, key).has_value(), v.at(0) == "yes");
    } else if (op == "entries") {
      EXPECT_EQ(Join(FieldEntries(Ref(key), image_)), TextOf(value));
    } else if (op == "choices" || op == "values" || op == "offers") {
      std::vector<std::string> texts, values;
      for (const ShownChoice& c : FieldChoices(Ref(key), image_)) {
        texts.push_back(c.text);
        values.push_back(std::to_string(c.value));
      }
      std::vector<std::string> expected;
      for (std::size_t i = 0; op != "choices" && i < v.size() && v[i] != "yes" && v[i] != "no"; ++i)
        expected.push_back(std::to_string(Number(v[i])));
      EXPECT_TRUE(op != "choices" || Join(texts) == TextOf(value)) << Join(texts);
      EXPECT_TRUE(op != "values" || values == expected) << Join(values);
      EXPECT_TRUE(op != "offers" ||  // offers KEY = VALUE yes|no
                  (std::count(values.begin(), values.end(), expected.at(0)) > 0) == (v.at(1) == "yes"));
    } else if (op == "at") {
      const auto loc = LocateField(Ref(key), image_);
      EXPECT_EQ(loc ? loc->offset : 0, At(value));
    } else if (op == "bytes") {
      EXPECT_EQ(main.Read(At(key), HexBytes(value).size()), HexBytes(value));
    } else if (op == "word") {
      EXPECT_EQ(main.Word(At(key)), Number(value));
    } else if (op == "all") {  // all ADDR = N HH: N bytes of one value
      EXPECT_TRUE(main.IsAll(At(key), At(v.at(0)), static_cast<std::uint8_t>(std::stoul(v.at(1), nullptr, 16))));
    } else {
      ADD_FAILURE() << "unknown step " << op;
    }
  }

  std::string file_;
  int lineNo_ = 0;
  ImageStore image_;
  std::vector<std::uint8_t> marked_;
};

class EditorCases : public ::testing::Test {
 protected:
  void SetUp() override {
    UseProgramTexts();
    InstallEditorModules();
    SetDecimalSeparator('.');
  }
};

}  // namespace

TEST_F(EditorCases, Features) { CaseRunner("feature.txt").Run(); }
TEST_F(EditorCases, Signalling) { CaseRunner("signalling.txt").Run(); }
TEST_F(EditorCases, FiveTone) { CaseRunner("five_tone.txt").Run(); }
TEST_F(EditorCases, MultiTable) { CaseRunner("multi_table.txt").Run(); }
TEST_F(EditorCases, FunctionCodes) { CaseRunner("function_codes.txt").Run(); }
TEST_F(EditorCases, PortsRemote) { CaseRunner("ports_remote.txt").Run(); }
TEST_F(EditorCases, TestFrequency) { CaseRunner("test_frequency.txt").Run(); }
TEST_F(EditorCases, Channels) { CaseRunner("channels.txt").Run(); }
