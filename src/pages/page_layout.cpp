#include "pages/page_layout.h"

#include <QPalette>
#include <QPushButton>

namespace pages {

namespace {
QFont arial(qreal points) {
  QFont font(QStringLiteral("Arial"));
  font.setPointSizeF(points);
  font.setBold(true);
  return font;
}
}  // namespace

QFont ControlFont() {
  return arial(9);
}

QFont ButtonFont() {
  return arial(11.25);
}

QPushButton* AddButton(QWidget& container, const char* designerName, const QString& caption,
                       const TwipScale& scale, TwipRect at) {
  auto* button = AddControl<QPushButton>(container, designerName, scale, at);
  button->setText(caption);
  button->setFont(ButtonFont());
  button->setAutoDefault(false);
  return button;
}

void SetClientSize(QWidget& page, const TwipScale& scale, int width, int height) {
  page.resize(scale.x(width), scale.y(height));
}

void SetTabOrder(const QList<QWidget*>& chain) {
  QWidget* previous = nullptr;
  for (QWidget* control : chain) {
    if (previous) QWidget::setTabOrder(previous, control);
    previous = control;
  }
}

void FillBackground(QWidget& widget, const QColor& colour) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, colour);
  widget.setPalette(palette);
  widget.setAutoFillBackground(true);
}

}  // namespace pages
