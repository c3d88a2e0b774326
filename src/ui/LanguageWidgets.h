// Language texts onto Qt controls: caption tables. A form
// names each control by its identifier (ControlName), so one constant table
// both describes the form and gives its texts.
#pragma once

#include <QString>
#include <span>

#include "ui/ControlTable.h"

class QWidget;

namespace zmp {

// The object name of control id within its form: "ctl<id>".
QString ControlName(int id);
// Names widget as control id of its form.
void NameControl(QWidget* widget, int id);
// The control of form named for id; nullptr when the form has none.
QWidget* FindControl(const QWidget* form, int id);

// Every record whose label control exists and whose text number is not 0
// gives that text to the label (a label, button, check box or group box).
// Returns the number of labels set.
int ApplyCaptions(QWidget* form, std::span<const ControlRecord> rows);

}  // namespace zmp
