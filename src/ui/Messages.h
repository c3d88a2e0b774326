// The program's message boxes: notice, confirmation, error and by number.
// Every box goes through one place, which sets the message-open flag while it
// is shown (grid editors end an open cell edit when they see it) and lets tests
// answer boxes through a hook instead of by hand.
#pragma once

#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "lang/TextNo.h"

class QWidget;

namespace zmp {

enum class Buttons { Ok, OkCancel, OkCancelDefaultCancel, YesNo, YesNoCancel };
enum class Icon { Exclamation, Stop, Information, Question };
enum class Answer { Ok, Cancel, Yes, No };

struct MessageRequest {
  QString caption;
  QString text;
  Buttons buttons;
  Icon icon;
};

// With a hook set, every message box is answered by it and nothing is shown.
using MessageHook = std::function<Answer(const MessageRequest&)>;
void SetMessageHook(MessageHook hook);

bool IsMessageOpen();

// Caption 640, exclamation.
Answer Notice(QWidget* owner, TextNo text, Buttons buttons = Buttons::Ok);
Answer Notice(QWidget* owner, const QString& text, Buttons buttons = Buttons::Ok);
// Caption 639, exclamation.
Answer Confirm(QWidget* owner, TextNo text, Buttons buttons = Buttons::OkCancelDefaultCancel);
Answer Confirm(QWidget* owner, const QString& text,
               Buttons buttons = Buttons::OkCancelDefaultCancel);
// Caption 638, stop.
Answer Error(QWidget* owner, TextNo text, Buttons buttons = Buttons::Ok);
Answer Error(QWidget* owner, const QString& text, Buttons buttons = Buttons::Ok);
// The given caption text, or "ZMP-318T" for caption 0.
Answer MessageByNumber(QWidget* owner, const QString& text, TextNo caption, Icon icon,
                       Buttons buttons = Buttons::Ok);

// Language text as a QString (UTF-8 from the file's 8-bit text is read as Latin-1).
QString QTx(TextNo t);

// File names between the program and the file system, in the file system's
// own encoding (so "Müller.dat" stays "Müller.dat").
std::string FileSystemName(const QString& name);
QString DisplayName(const std::string& fileSystemName);
// A language text filled with arguments that come from the system (file
// names, paths, the system's error texts), each decoded as DisplayName does.
QString QTxFormat(TextNo t, const std::vector<std::string>& systemArgs);

}  // namespace zmp
