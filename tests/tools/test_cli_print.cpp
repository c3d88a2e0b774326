// zmp318t-cli print of a full image: every channel and every label the
// editors declare, the PDF read back as text with poppler's pdftotext (its
// choices and wrong use: transcripts/print.txt).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "../support/Files.h"
#include "CliRun.h"
#include "lang/LanguageTexts.h"
#include "data/ModelInfo.h"
#include "editors/EditorModules.h"

namespace fs = std::filesystem;
using namespace zmp::testing;
using zmp::operator""_txt;

namespace {

// The text of a PDF, each run of blanks as one space.
std::string PdfText(const fs::path& pdf) {
  const std::string cmd = "pdftotext -layout '" + pdf.string() + "' - 2>/dev/null";
  FILE* p = ::popen(cmd.c_str(), "r");
  std::string text;
  char buf[4096];
  std::size_t n;
  while (p && (n = std::fread(buf, 1, sizeof buf, p)) > 0) text.append(buf, n);
  if (p) ::pclose(p);
  std::string squeezed;
  for (char c : text) {
    const bool blank = c == ' ' || c == '\n' || c == '\f';
    if (blank && !squeezed.empty() && squeezed.back() == ' ') continue;
    squeezed += blank ? ' ' : c;
  }
  return squeezed;
}

std::string Printed(zmp::TextNo t) {
  std::string s;
  for (char c : zmp::Tx(t))
    if (c != '&') s += c;
  return s;
}

class CliPrint : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(zmp::Texts().LoadFile(ZMP_BIN_DIR "/zmp318t.lng", "English"), zmp::LanguageTexts::LoadResult::Loaded);
    ASSERT_EQ(Cli(dir, "new --model 1 --band 258 -o blank.dat").status, 0);
  }
  std::string Rx(int ch) { return "146." + std::to_string(100 + 5 * ch) + "000"; }
  std::string TxF(int ch) { return "150." + std::to_string(100 + 5 * ch) + "000"; }

  // 30 channels with both frequencies and a name.
  void MakeFull() {
    std::string args;
    for (int ch = 1; ch <= 30; ++ch) {
      const std::string row = " 'channel[" + std::to_string(ch) + "].";
      args += row + "rx_frequency=" + Rx(ch) + "'" + row + "tx_frequency=" + TxF(ch) + "'";
      args += row + "name=C" + std::to_string(ch % 10) + "'";
    }
    args += " 'multi_table[1].table_2.tone_1=88.5'";
    const CliRun r = Cli(dir, "set blank.dat" + args + " -o full.dat");
    ASSERT_EQ(r.status, 0) << r.err;
  }

  TempDir dir{"cli-print"};
};

TEST_F(CliPrint, FullImageListsEveryChannelAndEveryLabel) {
  MakeFull();
  const std::string before = ReadText(dir / "full.dat");
  const CliRun r = Cli(dir, "print full.dat -o full.pdf");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(ReadText(dir / "full.dat"), before);  // printing writes nothing back
  const std::string text = PdfText(dir / "full.pdf");
  for (int ch = 1; ch <= 30; ++ch) {
    EXPECT_NE(text.find(Rx(ch)), std::string::npos) << ch;
    EXPECT_NE(text.find(TxF(ch)), std::string::npos) << ch;
  }
  // Every section title and every label or column title of a value the
  // editors declare for this model (WAV-300 E, no option board).
  zmp::ImageStore image;
  image.MakeBlank();
  zmp::ModelInfo(image).SetRecord(zmp::ModelRecord::Default());
  for (zmp::TextNo t : {429_txt, 430_txt, 431_txt, 432_txt, 433_txt}) EXPECT_NE(text.find(Printed(t)), std::string::npos) << t.n;
  for (const zmp::EditorModule* m : zmp::EditorModules()) {
    EXPECT_NE(text.find(Printed(m->title)), std::string::npos) << m->key;
    for (const zmp::FieldTable& table : m->tables) {
      if (!zmp::TableShown(table, image)) continue;
      for (std::size_t i = 0; i < table.fields.size(); ++i) {
        if (!table.fields[i].HasValue()) continue;
        const zmp::TextNo label =
            i < table.columns.size() && table.kind == zmp::TableKind::Grid ? table.columns[i].title : table.fields[i].label;
        EXPECT_NE(text.find(Printed(label)), std::string::npos) << m->key << "." << table.fields[i].key;
      }
    }
  }
  // The multi tables by number; those that hold nothing in one line.
  EXPECT_NE(text.find("Multi Table 2 No. QT/DQT 1"), std::string::npos);
  EXPECT_NE(text.find("Multi Table 1, 3-15: no entries."), std::string::npos);
  EXPECT_NE(text.find("Page 1 of"), std::string::npos);
  EXPECT_NE(text.find("File: full.dat"), std::string::npos);
  EXPECT_NE(text.find("WAV-300: E VHF: 146-174 MHz"), std::string::npos);
}

}  // namespace
