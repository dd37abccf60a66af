// Answers the next modal dialog from inside its own event loop: polls for
// the active modal widget and hands it to `respond`, once.
#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

namespace test_support {

class DialogResponder {
 public:
  explicit DialogResponder(std::function<void(QWidget&)> respond) : respond_(std::move(respond)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      QWidget* dialog = QApplication::activeModalWidget();
      if (!dialog) return;
      timer_.stop();
      respond_(*dialog);
    });
    timer_.start(5);
  }

 private:
  std::function<void(QWidget&)> respond_;
  QTimer timer_;
};

}  // namespace test_support
