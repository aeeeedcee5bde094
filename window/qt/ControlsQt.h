#pragma once
// Builds the window's controls from the control table.

#include <QFont>
#include <QString>

#include "window/ControlTable.h"

class QWidget;

namespace qadrill {

// The table's name; array members add their index: "txt_parameter_0".
[[nodiscard]] QString controlObjectName(const ControlRow& row);

// The program's interface font, for every control without a font of its own.
[[nodiscard]] QFont interfaceFont();
// The same for the prompts and message boxes: set once on the application
// before the window is built.
void setInterfaceFont();

// Every control of the table on the form: named, placed, captioned, in the
// table's tab order, labels beneath whatever overlaps them.  The timer is
// created stopped.
void buildControls(QWidget& form);

}  // namespace qadrill
