#include "app/home_page.h"

#include <QDesktopServices>
#include <QRandomGenerator>
#include <QTime>
#include <stdexcept>

namespace app {

namespace {
constexpr int kLuckyDraw = 7;
}

RandomFraction ClockSeededRandom() {
  const auto secondsSinceMidnight = static_cast<quint32>(QTime::currentTime().msecsSinceStartOfDay() / 1000);
  return
      [generator = QRandomGenerator(secondsSinceMidnight)]() mutable { return generator.generateDouble(); };
}

bool OpenWithDesktop(const QUrl& address) {
  return QDesktopServices::openUrl(address);
}

void VisitHomePage(const RandomFraction& random, const UrlOpener& openUrl) {
  const int draw = static_cast<int>(random() * 100) + 1;
  if (draw != kLuckyDraw) return;
  if (!openUrl(QUrl(QString::fromLatin1(kHomePageAddress)))) {
    throw std::runtime_error("The web browser could not be started.");
  }
}

}  // namespace app
