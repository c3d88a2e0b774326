// The menus as the window builds them from its command list.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <map>

#include "../support/AppFixture.h"
#include "app/Commands.h"
#include "data/ModelInfo.h"

using namespace zmp;

namespace {

// The mnemonic letter of an entry ("Save &As...\tCtrl+S" -> 'A'); 0 when it
// has none. "&&" is a literal ampersand.
QChar Mnemonic(const QString& text) {
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != QLatin1Char('&')) continue;
    if (text[i + 1] == QLatin1Char('&')) {
      ++i;
      continue;
    }
    return text[i + 1].toUpper();
  }
  return {};
}

// Every entry has a mnemonic and no two share one.
void ExpectDistinctMnemonics(const QString& where, const QList<QAction*>& entries) {
  std::map<QChar, QString> taken;
  for (QAction* a : entries) {
    if (a->isSeparator()) continue;
    const QChar m = Mnemonic(a->text());
    EXPECT_FALSE(m.isNull()) << where.toStdString() << ": \"" << a->text().toStdString() << "\" has no mnemonic";
    if (m.isNull()) continue;
    const auto [it, fresh] = taken.emplace(m, a->text());
    EXPECT_TRUE(fresh) << where.toStdString() << ": \"" << a->text().toStdString() << "\" and \""
                       << it->second.toStdString() << "\" share &" << QString(m).toStdString();
  }
}

std::vector<int> Commands(QMenu* menu) {
  std::vector<int> ids;
  for (QAction* a : menu->actions())
    if (!a->isSeparator()) ids.push_back(a->data().toInt());
  return ids;
}

}  // namespace

using MenusTest = zmp::testing::AppTest;

TEST_F(MenusTest, NoTwoEntriesOfOneMenuShareAMnemonicWithEitherOptionBoardAndEveryEntryShown) {
  // Every entry a menu can show: the support utility and the password recovery too.
  CMainFrame& f = Start({"SupportUtility"});
  Image().Main().SetByte(region::kMaintenance + 32, 0);
  ModelInfo model(Image());
  for (int board : {0, 1}) {
    model.SetOptionBoard(board);
    f.RebuildMenus();
    const QString suffix = QStringLiteral(" (option board %1)").arg(board);
    ExpectDistinctMnemonics(QStringLiteral("menu bar"), f.menuBar()->actions());
    for (QAction* m : f.menuBar()->actions()) ExpectDistinctMnemonics(m->text() + suffix, m->menu()->actions());
  }
  // The service dialogs live in the Tools menu.
  const auto tools = Commands(f.TopMenu(static_cast<int>(cmd::Menu::Tools)));
  const auto program = Commands(f.TopMenu(static_cast<int>(cmd::Menu::Program)));
  for (int service : {cmd::kNetworkInformation, cmd::kFactoryReset}) {
    EXPECT_NE(std::find(tools.begin(), tools.end(), service), tools.end());
    EXPECT_EQ(std::find(program.begin(), program.end(), service), program.end());
  }
  EXPECT_NE(std::find(tools.begin(), tools.end(), cmd::kSupportUtil), tools.end());
  EXPECT_NE(std::find(program.begin(), program.end(), cmd::kProgramPasswordRecovery), program.end());
}
