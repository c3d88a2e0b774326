// Renders the pictures of the README and the user guide: the main window,
// every editor (each page of those with tabs) and the main dialogs, on the
// offscreen platform, over the demonstration repeater with the settings a
// technician would make (pictures/settings.txt).
//
//   zmp_pictures DIR        (scripts/pictures.sh runs it into docs/)
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QMdiArea>
#include <QPainter>
#include <QProcess>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>
#include <fstream>
#include <string>

#include "../tests/support/FakeSystem.h"
#include "../tests/tools/SimProcess.h"
#include "app/Application.h"
#include "app/CheckDataWindow.h"
#include "app/CompareWindow.h"
#include "app/Commands.h"
#include "app/FPUDoc.h"
#include "app/Frames.h"
#include "app/HelpWindow.h"
#include "app/MainFrame.h"
#include "app/MemoryMapWindow.h"
#include "ui/Messages.h"
#include "app/ModelInfoDialog.h"
#include "app/Prompts.h"
#include "app/Settings.h"
#include "comm/PortMap.h"
#include "data/ModelInfo.h"
#include "editors/EditorModules.h"
#include "editors/FunctionCodes.h"
#include "fields/DecimalSeparator.h"
#include "fields/FieldCodec.h"
#include "fields/FieldWalk.h"
#include "print/Listing.h"
#include "print/ui/ListingRenderer.h"
#include "print/ui/PrintListDialog.h"
#include "service/CommPortDialog.h"
#include "ImageText.h"

using namespace zmp;
using namespace zmp::print;

namespace {

QString outDir;
int failures = 0;

void Save(const QPixmap& picture, const char* name) {
  const QString path = outDir + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png");
  if (!picture.save(path)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    ++failures;
    return;
  }
  std::printf("%s\n", qPrintable(path));
}

void Save(QWidget& w, const char* name) {
  QApplication::processEvents();
  Save(w.grab(), name);
}

// A dialog drawn over the main window, framed, as a user sees it.
void SaveOver(QWidget& main, QWidget& dialog, const char* name) {
  QApplication::processEvents();
  QPixmap shot = main.grab();
  QPainter p(&shot);
  const QPixmap d = dialog.grab();
  const QPoint at((shot.width() - d.width()) / 2, (shot.height() - d.height()) / 2);
  p.drawPixmap(at, d);
  p.setPen(Qt::darkGray);
  p.drawRect(QRect(at, d.size()).adjusted(0, 0, -1, -1));
  p.end();
  Save(shot, name);
}

// Dialogs run by the pictures themselves.
class PicturePrompts : public Prompts {
 public:
  std::function<int(QDialog&)> dialog;
  int RunDialog(QDialog& d) override { return dialog ? dialog(d) : QDialog::Rejected; }
};

// "key=text" lines, applied as the command-line tool's set applies them.
bool ApplySettingLines(ImageStore& image, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    const auto assignment = cli::ParseAssignment(line);
    if (!assignment || cli::ApplyAssignment(EditorModules(), image, *assignment).status != cli::ApplyStatus::Ok) {
      std::fprintf(stderr, "setting refused: %s\n", line.c_str());
      return false;
    }
  }
  return true;
}

// The lines of a settings file; # starts a comment.
bool ApplySettings(ImageStore& image, const QString& file) {
  std::ifstream in(file.toStdString());
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", qPrintable(file));
    return false;
  }
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    if (!line.empty() && line[0] != '#') lines.push_back(line);
  return ApplySettingLines(image, lines);
}

// Each editor as the main frame opens it; of one with tabs, its first pages
// as "NAME-0", "NAME-1"...
struct EditorPicture {
  EditorKind kind;
  const char* name;
  int pages = 0;
};
constexpr EditorPicture kEditors[] = {
    {EditorKind::ChInfo, "channel-grid"},   {EditorKind::ChEdit, "channel-edit"},
    {EditorKind::Feature, "optional-features", 5}, {EditorKind::Key, "key-assignment"},
    {EditorKind::FiveTone, "five-tone", 2},     {EditorKind::Velmora, "vendor-tone"},
    {EditorKind::Multi, "multi-table"},     {EditorKind::TestFreq, "test-frequency"},
    {EditorKind::FuncPort, "function-port"}, {EditorKind::Remote, "remote-control"},
    {EditorKind::Dtmf, "dtmf"},             {EditorKind::ScanInfo, "scan-information"},
    {EditorKind::CWID, "cw-id"},            {EditorKind::CWMes, "cw-message"},
    {EditorKind::BeatShift, "beat-shift"},  {EditorKind::Emb, "embedded-message"},
};

void EditorPictures(CMainFrame& f) {
  for (const EditorPicture& e : kEditors) {
    f.Doc().OpenEditor(e.kind);
    QApplication::processEvents();
    CEditorFrame* frame = f.EditorFrame(e.kind);
    if (!frame) {
      std::fprintf(stderr, "editor %s did not open\n", e.name);
      ++failures;
      continue;
    }
    QWidget* view = frame->View();
    QTabWidget* tabs = view->findChild<QTabWidget*>();
    if (e.kind == EditorKind::FuncPort && tabs) {
      Save(*view, "function-port");
      tabs->setCurrentIndex(tabs->count() - 1);
      Save(*view, "function-port-ports");
    } else if (e.kind == EditorKind::Remote && tabs) {
      tabs->setCurrentIndex(tabs->count() - 1);
      Save(*view, e.name);
    } else if (e.pages && tabs) {
      for (int t = 0; t < std::min(e.pages, tabs->count()); ++t) {
        tabs->setCurrentIndex(t);
        Save(*view, (std::string(e.name) + "-" + std::to_string(t)).c_str());
      }
    } else {
      Save(*view, e.name);
    }
  }
}

void HelpPicture(CMainFrame& f) {
  f.ShowHelp(78081);  // the receive frequency of the channel grid
  CHelpWindow* help = f.HelpWindow();
  if (!help) return;
  help->resize(960, 640);
  help->Search(QStringLiteral("frequency"));
  f.ShowHelp(78081);
  help->Browser()->scrollToAnchor(QStringLiteral("rx_frequency"));
  help->Results()->setMinimumWidth(200);
  Save(*help, "help-window");
  help->close();
}

void WindowPictures(CMainFrame& f, PicturePrompts& prompts) {
  CModelInfoDlg model(ModelInfo(f.Doc().Image()), &f);
  model.show();
  SaveOver(f, model, "model-information");
  model.close();

  f.Command(cmd::kDataMemoryMap);
  if (CMemoryMapWnd* map = f.MemoryMapWindow()) {
    map->resize(map->sizeHint().width(), 640);
    Save(*map, "memory-map");
    map->close();
  }
  // Check Data with what a file from elsewhere may hold: a key naming an
  // empty CW message and a remote code that does not fit its key.
  const ImageCopy kept = f.Doc().Image().working();
  auto main = f.Doc().Image().Main();
  main.SetWord(KeyGroupOffset(3), MakeFunctionCode('2', '3'));
  main.SetByte(0x6190 + 3 * 4, 0x85);
  f.Command(cmd::kCheckData);
  if (CCheckDataWnd* check = f.CheckDataWindow()) {
    check->Refresh();
    check->resize(820, 300);
    Save(*check, "check-data");
    check->close();
  }
  f.Doc().Image().working() = kept;
  ListingChoice channels;
  channels.sections = {"channel"};
  channels.channels = {1, 30};
  CPrintListDlg print(EditorModules(), f.Doc().Image(), channels);
  Save(print, "print-out-list");

  // The first page of a listing, through the PDF a user would print.
  QTemporaryDir tmp;
  const std::string pdf = tmp.filePath(QStringLiteral("listing.pdf")).toStdString();
  ListingChoice all;
  for (const auto& s : ListSections(EditorModules())) all.sections.push_back(s.key);
  if (WriteListingPdf(BuildListing(EditorModules(), f.Doc().Image(), all), HeaderOf(f.Doc().Image(), "site.dat", 0),
                      pdf)
          .empty()) {
    const QString prefix = tmp.filePath(QStringLiteral("page"));
    QProcess::execute(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("60"),
                                                    QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                                    QStringLiteral("1"), QString::fromStdString(pdf), prefix});
    const QStringList pages = QDir(tmp.path()).entryList({QStringLiteral("page*.png")});
    if (!pages.isEmpty()) Save(QPixmap(tmp.filePath(pages.first())), "print-listing");
    else std::fprintf(stderr, "print-listing: pdftoppm made no page\n");
  }

  // The Communication Port dialog with the adapters of a test system.
  {
    zmp::testing::FakeSystem sys;
    ::setenv("ZMP_SYSTEM_ROOT", sys.Root().c_str(), 1);
    prompts.dialog = [](QDialog& d) {
      d.adjustSize();
      d.show();
      Save(d, "communication-port");
      return QDialog::Rejected;
    };
    f.Command(cmd::kCommunicationPort);
    ::unsetenv("ZMP_SYSTEM_ROOT");
    prompts.dialog = nullptr;
  }
}

// The read dialog in progress over the main window, against the paced
// demonstration repeater; then Compare with Repeater after two edits.
void ReadPicture(CMainFrame& f, CFPUApp& app, PicturePrompts& prompts) {
  zmp::testing::SimProcess sim({});
  if (!sim.ok()) {
    std::fprintf(stderr, "read-dialog: the simulator did not start\n");
    ++failures;
    return;
  }
  f.CloseAllEditors();
  f.Doc().Image().TakeSnapshot();  // nothing to save first
  ProgramPortMap().SetOverride(1, sim.path());
  app.SetComPort(1);
  app.SetBaudrate(115200);
  prompts.dialog = [&](QDialog& d) {
    QTimer::singleShot(2500, &d, [&] { SaveOver(f, d, "read-dialog"); });
    return d.exec();
  };
  f.Command(cmd::kReadData);

  // Compare with Repeater after two edits.
  prompts.dialog = [](QDialog& d) { return d.exec(); };
  ApplySettingLines(f.Doc().Image(), {"channel[2].rx_frequency=146.55", "optional_features.repeater.squelch_level=12"});
  f.Command(cmd::kCompareWithRepeater);
  if (CCompareWnd* compare = f.CompareWindow()) {
    compare->resize(900, 360);
    Save(*compare, "compare");
  }
  prompts.dialog = nullptr;
  ProgramPortMap().ClearOverride(1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication qt(argc, argv);
  outDir = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(outDir);
  QTemporaryDir home;
  SetSettingsFileForTesting(home.filePath(QStringLiteral("settings.ini")));
  SetMessageHook([](const MessageRequest& r) {
    std::fprintf(stderr, "message: %s\n", qPrintable(r.text));
    return Answer::Ok;  // a question the pictures meet is answered Ok or Yes
  });
  PicturePrompts prompts;
  SetPrompts(&prompts);

  CFPUApp app;
  StartOptions o;
  o.programDir = QStringLiteral(ZMP_BIN_DIR);
  o.splash = false;
  o.showWindow = true;
  if (!app.InitInstance({}, o)) return 1;
  SetDecimalSeparator('.');
  CMainFrame& f = *app.MainFrame();
  f.showNormal();
  f.resize(1100, 700);
  if (!ApplySettings(app.Image(), QStringLiteral(ZMP_SOURCE_DIR "/pictures/settings.txt"))) return 1;
  Save(f, "main-window");
  HelpPicture(f);
  WindowPictures(f, prompts);
  EditorPictures(f);
  ReadPicture(f, app, prompts);
  SetPrompts(nullptr);
  SetMessageHook({});
  SetSettingsFileForTesting({});
  return failures ? 1 : 0;
}
