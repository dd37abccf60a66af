#include "app/form_look.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QRadioButton>
#include <QScreen>
#include <QWidget>

namespace app {

namespace {

void paintBackground(QWidget& widget, const QColor& colour) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, colour);
  widget.setPalette(palette);
  widget.setBackgroundRole(QPalette::Window);
  widget.setAutoFillBackground(true);
}

bool takesFormColour(const QWidget* control) {
  return qobject_cast<const QRadioButton*>(control) || qobject_cast<const QCheckBox*>(control) ||
         qobject_cast<const QGroupBox*>(control) || qobject_cast<const QLabel*>(control);
}

}  // namespace

QColor ButtonFaceColor() {
  return QApplication::palette().color(QPalette::Active, QPalette::Button);
}

void CenterForm(QWidget& form) {
  const QRect screen = form.screen()->geometry();
  const QSize size = form.frameGeometry().size();
  form.move(screen.x() + (screen.width() - size.width()) / 2,
            screen.y() + (screen.height() - size.height()) / 2);
}

void SetFormColors(QWidget& form) {
  const QColor face = ButtonFaceColor();
  paintBackground(form, face);
  for (QWidget* control : form.findChildren<QWidget*>()) {
    if (takesFormColour(control)) paintBackground(*control, face);
  }
}

}  // namespace app
