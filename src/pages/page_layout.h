// Building a page from its designer table: every control gets its
// designer name as object name, its twip rectangle converted to pixels
// and the page's fonts.
#pragma once

#include <QFont>
#include <QList>
#include <QString>
#include <QWidget>

#include "pages/twips.h"

class QPushButton;

namespace pages {

struct TwipRect {
  int left;
  int top;
  int width;
  int height;
};

// Fields, labels, frames and lists: Arial 9 pt bold; buttons: Arial 11.25 pt bold.
QFont ControlFont();
QFont ButtonFont();

template <typename Control>
Control* AddControl(QWidget& container, const char* designerName, const TwipScale& scale, TwipRect at) {
  auto* control = new Control(&container);
  control->setObjectName(QString::fromLatin1(designerName));
  control->setGeometry(scale.rect(at.left, at.top, at.width, at.height));
  control->setFont(ControlFont());
  return control;
}

QPushButton* AddButton(QWidget& container, const char* designerName, const QString& caption,
                       const TwipScale& scale, TwipRect at);

// Sizes the page's client area.
void SetClientSize(QWidget& page, const TwipScale& scale, int width, int height);

// Chains the keyboard focus through the controls in the order given.
void SetTabOrder(const QList<QWidget*>& chain);

// Paints the widget's own background in one colour.
void FillBackground(QWidget& widget, const QColor& colour);

}  // namespace pages
