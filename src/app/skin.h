// The optional window skin: a Qt style sheet in the program folder's
// "x/o.cjs". Without that file the program keeps its unskinned look.
#pragma once

#include <QString>

#include "app/program_folder.h"

class QWidget;

namespace app {

// When the skin file is a normal file under `programFolder`: gives the
// form the button-face colours of SetFormColors, then applies the style
// sheet to it. Raises std::runtime_error when the file cannot be read.
void ApplySkin(QWidget& form, const QString& programFolder = ProgramFolder());

}  // namespace app
