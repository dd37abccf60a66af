// The pages are laid out in twips (1/1440 inch), the unit their designer
// used. Converting at the screen's logical resolution keeps each control's
// size in step with the fonts, which scale by the same resolution.
#pragma once

#include <QRect>

class QWidget;

namespace pages {

class TwipScale {
 public:
  TwipScale(qreal dotsPerInchX, qreal dotsPerInchY) : dpiX_(dotsPerInchX), dpiY_(dotsPerInchY) {}
  // The logical resolution of the screen the widget is on (or the primary one).
  static TwipScale forWidget(const QWidget& widget);

  int x(int twips) const;
  int y(int twips) const;
  QRect rect(int left, int top, int width, int height) const;

 private:
  qreal dpiX_;
  qreal dpiY_;
};

}  // namespace pages
