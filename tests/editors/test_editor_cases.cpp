// The edge cases of each editor, written as data: tests/editors/cases/<editor>.txt
// holds cases of steps (set bytes, type, tick, pick, spin, move, then what is
// shown and stored), each addressed by the field's key as zmp318t-cli names it.
// The format is described at the top of cases/feature.txt. Every commit is made
// as the program makes it (what it takes away is released in the same step),
// and a refusal must leave every byte as it was.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "EditorTestSupport.h"
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
    {"UHF480K", Uhf480K}, {"UHF400K", Uhf400K}, {"UHF440E", Uhf440E}, {"UHF400E", Uhf400E}};

class CaseRunner {
 public:
  explicit CaseRunner(std::string file) : file_(std::move(file)) {}

  void Run() {
    std::ifstream in(std::string(ZMP_SOURCE_DIR) + "/tests/editors/cases/" + file_);
    ASSERT_TRUE(in) << file_;
    int cases = 0;
    for (std::string line; std::getline(in, line);) {
      ++lineNo_;
      if (Trim(line).empty() || Trim(line)[0] == '#') continue;
      if (line.rfind("== ", 0) == 0) {
        name_ = Trim(line.substr(3));
        Reset("blank", "VHF146E");
        ++cases;
        continue;
      }
      SCOPED_TRACE(file_ + ":" + std::to_string(lineNo_) + " (" + name_ + "): " + line);
      Step(line);
    }
    EXPECT_GT(cases, 0) << file_;
  }

 private:
  void Reset(const std::string& how, const std::string& model) {
    const auto m = kModels.find(model);
    ASSERT_NE(m, kModels.end()) << model;
    if (how == "filled") {
      image_ = FilledImage(m->second());
      return;
    }
    image_ = ImageStore{};
    image_.MakeBlank();
    SetModel(image_, m->second());
    if (how == "new") {
      ApplyNewImageDefaults(image_, false, false);
    } else {
      ASSERT_EQ(how, "blank");
    }
  }

  FieldRef Ref(const std::string& key) {
    const auto f = FindField(EditorModules(), image_, key);
    EXPECT_TRUE(f) << key << " names no field";
    return f ? f->ref : FieldRef{};
  }

  // "<status> [message]" after "=>": ok, refused, not-editable, not-applicable.
  void Expect(const CommitResult& r, const std::string& expected, const std::vector<std::uint8_t>& before) {
    const auto w = Words(expected.empty() ? "ok" : expected);
    static const std::map<std::string, CommitStatus> kStatus{{"ok", CommitStatus::Ok},
                                                             {"refused", CommitStatus::Refused},
                                                             {"not-editable", CommitStatus::NotEditable},
                                                             {"not-applicable", CommitStatus::NotApplicable}};
    ASSERT_TRUE(kStatus.count(w[0])) << w[0];
    EXPECT_EQ(r.status, kStatus.at(w[0]));
    if (w.size() > 1) {
      EXPECT_EQ(r.message.n, std::stoi(w[1]));
    }
    if (!r.ok()) {
      EXPECT_EQ(AllBytes(image_), before) << "a refusal writes nothing";
    }
  }

  void Commit(const std::string& expected, const std::function<CommitResult()>& commit) {
    const auto before = AllBytes(image_);
    Expect(AsUserCommits(image_, commit), expected, before);
  }

  void Step(const std::string& line) {
    // op rest [= value] [=> status]
    std::string body = line, status;
    if (const auto at = body.find(" => "); at != std::string::npos) {
      status = Trim(body.substr(at + 4));
      body = body.substr(0, at);
    }
    std::string value;
    const auto eq = body.find(" = ");
    if (eq != std::string::npos) {
      value = body.substr(eq + 3);
      body = body.substr(0, eq);
    } else if (body.size() >= 2 && body.compare(body.size() - 2, 2, " =") == 0) {
      body = body.substr(0, body.size() - 2);  // "KEY =" : the empty text
    }
    const auto w = Words(body);
    ASSERT_FALSE(w.empty());
    const std::string& op = w[0];
    const std::string key = w.size() > 1 ? w[1] : "";
    auto main = image_.Main();
    if (op == "image") {
      Reset(w.at(1), w.at(2));
    } else if (op == "poke") {
      main.Write(static_cast<std::size_t>(Number(key)), HexBytes(value));
    } else if (op == "pokew") {
      main.SetWord(static_cast<std::size_t>(Number(key)), static_cast<std::uint16_t>(Number(value)));
    } else if (op == "fill") {
      const auto v = Words(value);
      main.Fill(static_cast<std::size_t>(Number(key)), static_cast<std::size_t>(Number(v.at(0))),
                static_cast<std::uint8_t>(std::stoul(v.at(1), nullptr, 16)));
    } else if (op == "text") {
      main.SetText(static_cast<std::size_t>(Number(key)), static_cast<std::size_t>(Number(w.at(2))), TextOf(value));
    } else if (op == "channels") {
      ChannelStore store(image_);
      for (std::size_t i = 1; i < w.size(); ++i) {
        const int n = std::stoi(w[i]);
        ASSERT_EQ(store.SetFieldText(n - 1, chfield::kRxFrequency, "146." + std::to_string(100 + 5 * n)),
                  StoreStatus::Ok);
      }
    } else if (op == "record") {  // record N OFFSET = HEX: bytes of channel N's record
      const auto at = ChannelStore::RecordOf(image_, std::stoi(key) - 1);
      ASSERT_TRUE(at) << "channel " << key << " does not exist";
      main.Write(*at + static_cast<std::size_t>(Number(w.at(2))), HexBytes(value));
    } else if (op == "inrecord") {  // inrecord N OFFSET = HEX: what channel N's record holds
      const auto at = ChannelStore::RecordOf(image_, std::stoi(key) - 1);
      ASSERT_TRUE(at) << "channel " << key << " does not exist";
      const auto expected = HexBytes(value);
      EXPECT_EQ(main.Read(*at + static_cast<std::size_t>(Number(w.at(2))), expected.size()), expected);
    } else if (op == "mark") {
      marked_ = AllBytes(image_);
    } else if (op == "unchanged") {  // no byte changed since the mark
      EXPECT_EQ(AllBytes(image_), marked_);
    } else if (op == "type") {
      const FieldRef f = Ref(key);
      const std::string text = TextOf(value);
      Commit(status, [&] { return CommitFieldText(f, image_, text); });
    } else if (op == "apply") {
      const FieldRef f = Ref(key);
      const auto before = AllBytes(image_);
      Expect(ApplyFieldText(f, image_, TextOf(value)), status, before);
    } else if (op == "tick") {
      const FieldRef f = Ref(key);
      const bool on = Trim(value) == "on";
      Commit(status, [&] { return CommitFieldCheck(f, image_, on); });
    } else if (op == "pick") {
      const FieldRef f = Ref(key);
      const long v = Number(value);
      Commit(status, [&] { return CommitFieldChoice(f, image_, v); });
    } else if (op == "spin") {
      const FieldRef f = Ref(key);
      const bool up = Trim(value) == "up";
      Commit(status, [&] { return SpinField(f, image_, up); });
    } else if (op == "move") {
      const FieldRef f = Ref(key);
      const auto v = Words(value);
      const int index = std::stoi(v.at(0));
      const bool front = v.at(1) == "front";
      Commit(status, [&] { return MoveFieldEntry(f, image_, index, front); });
    } else if (op == "warns") {  // warns KEY = TEXT | WARNING
      const FieldRef f = Ref(key);
      const auto bar = value.find(" |");
      ASSERT_NE(bar, std::string::npos);
      const std::string text = TextOf(value.substr(0, bar));
      std::string warning;
      Commit(status, [&] {
        const CommitResult r = CommitFieldText(f, image_, text);
        warning = r.warning;
        return r;
      });
      EXPECT_EQ(warning, TextOf(value.substr(bar + 2)));
    } else if (op == "shown") {
      EXPECT_EQ(ShowField(Ref(key), image_).text, TextOf(value));
    } else if (op == "checked") {
      EXPECT_EQ(ShowField(Ref(key), image_).checked, Trim(value) == "yes");
    } else if (op == "applicable") {
      EXPECT_EQ(ShowField(Ref(key), image_).applicable, Trim(value) == "yes");
    } else if (op == "choice") {
      EXPECT_EQ(ShowField(Ref(key), image_).choice, std::stoi(value));
    } else if (op == "exists") {
      EXPECT_EQ(FindField(EditorModules(), image_, key).has_value(), Trim(value) == "yes");
    } else if (op == "entries") {
      std::string joined;
      for (const std::string& e : FieldEntries(Ref(key), image_)) joined += (joined.empty() ? "" : "|") + e;
      EXPECT_EQ(joined, TextOf(value));
    } else if (op == "choices") {  // the texts offered, joined by |
      std::string joined;
      for (const ShownChoice& c : FieldChoices(Ref(key), image_)) joined += (joined.empty() ? "" : "|") + c.text;
      EXPECT_EQ(joined, TextOf(value));
    } else if (op == "values") {  // the values offered
      std::vector<long> values, expected;
      for (const ShownChoice& c : FieldChoices(Ref(key), image_)) values.push_back(c.value);
      for (const std::string& v : Words(value)) expected.push_back(Number(v));
      EXPECT_EQ(values, expected);
    } else if (op == "offers") {  // offers KEY = VALUE yes|no
      const auto v = Words(value);
      const long wanted = Number(v.at(0));
      bool found = false;
      for (const ShownChoice& c : FieldChoices(Ref(key), image_)) found = found || c.value == wanted;
      EXPECT_EQ(found, v.at(1) == "yes");
    } else if (op == "at") {
      const auto loc = LocateField(Ref(key), image_);
      ASSERT_TRUE(loc);
      EXPECT_EQ(loc->offset, static_cast<std::size_t>(Number(value)));
    } else if (op == "bytes") {
      const auto expected = HexBytes(value);
      EXPECT_EQ(main.Read(static_cast<std::size_t>(Number(key)), expected.size()), expected);
    } else if (op == "word") {
      EXPECT_EQ(main.Word(static_cast<std::size_t>(Number(key))), Number(value));
    } else if (op == "all") {  // all N bytes from an offset hold one value
      const auto v = Words(value);
      EXPECT_TRUE(main.IsAll(static_cast<std::size_t>(Number(key)), static_cast<std::size_t>(Number(v.at(0))),
                             static_cast<std::uint8_t>(std::stoul(v.at(1), nullptr, 16))));
    } else {
      ADD_FAILURE() << "unknown step " << op;
    }
  }

  std::string file_;
  std::string name_;
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
TEST_F(EditorCases, PortsRemote) { CaseRunner("ports_remote.txt").Run(); }
TEST_F(EditorCases, TestFrequency) { CaseRunner("test_frequency.txt").Run(); }
