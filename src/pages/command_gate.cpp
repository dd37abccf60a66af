#include "pages/command_gate.h"

#include <QCoreApplication>
#include <QEvent>
#include <algorithm>
#include <utility>

namespace pages {

namespace {

bool isUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd: return true;
    default: return false;
  }
}

}  // namespace

CommandGate::Hold::Hold(CommandGate& gate) : gate_(gate) {
  gate_.enter();
}

CommandGate::Hold::~Hold() {
  gate_.leave();
}

void CommandGate::guard(QWidget& window) {
  windows_.emplace_back(&window);
}

void CommandGate::enter() {
  if (holds_++ == 0) QCoreApplication::instance()->installEventFilter(this);
}

void CommandGate::leave() {
  if (--holds_ > 0) return;
  QCoreApplication::instance()->removeEventFilter(this);
  if (endProgram_) std::exchange(endProgram_, nullptr)();
}

void CommandGate::endProgramWhenIdle(std::function<void()> endProgram) {
  if (busy()) {
    endProgram_ = std::move(endProgram);
  } else {
    endProgram();
  }
}

bool CommandGate::eventFilter(QObject* watched, QEvent* event) {
  if (!isUserInput(event->type()) || !watched->isWidgetType()) return false;
  const QWidget* window = static_cast<QWidget*>(watched)->window();
  return std::ranges::any_of(windows_,
                             [window](const QPointer<QWidget>& guarded) { return guarded == window; });
}

}  // namespace pages
