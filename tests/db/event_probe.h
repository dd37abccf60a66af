// Tells whether code under test let the event loop run: a posted event is
// delivered only when someone processes events.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

namespace fake {

class EventProbe : public QObject {
 public:
  EventProbe() { QCoreApplication::postEvent(this, new QEvent(QEvent::User)); }
  bool delivered() const { return delivered_; }

 protected:
  void customEvent(QEvent*) override { delivered_ = true; }

 private:
  bool delivered_ = false;
};

}  // namespace fake
