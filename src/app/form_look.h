// Placing and colouring the program's pages.
#pragma once

#include <QColor>

class QWidget;

namespace app {

// The system colour "button face" (index 15, written 0x8000000F where the
// program's colours are encoded): the application palette's button colour.
QColor ButtonFaceColor();

// Puts the form in the middle of its screen: left = (screen width − form
// width) / 2, top likewise, in whole pixels.
void CenterForm(QWidget& form);

// The form's background and that of every frame (QGroupBox), label, check
// box and option button on it become button face; other controls keep
// their own look.
void SetFormColors(QWidget& form);

}  // namespace app
