#include "pages/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace pages {

namespace {
constexpr qreal kTwipsPerInch = 1440.0;

int toPixels(int twips, qreal dotsPerInch) {
  return static_cast<int>(std::lround(twips * dotsPerInch / kTwipsPerInch));
}
}  // namespace

TwipScale TwipScale::forWidget(const QWidget& widget) {
  const QScreen* screen = widget.screen() ? widget.screen() : QGuiApplication::primaryScreen();
  if (!screen) return TwipScale(96, 96);
  return TwipScale(screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY());
}

int TwipScale::x(int twips) const {
  return toPixels(twips, dpiX_);
}

int TwipScale::y(int twips) const {
  return toPixels(twips, dpiY_);
}

QRect TwipScale::rect(int left, int top, int width, int height) const {
  return QRect(x(left), y(top), x(width), y(height));
}

}  // namespace pages
