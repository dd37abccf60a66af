#include "pages/page_pointer.h"

#include <QMouseEvent>
#include <QPixmap>
#include <QWidget>
#include <stdexcept>

#include "app/cursor_file.h"

namespace pages {

PagePointer::PagePointer(QWidget& page) : QObject(&page), page_(page) {
  page_.setCursor(cursorFor(value_));
}

void PagePointer::set(Pointer value) {
  value_ = value;
  page_.setCursor(cursorFor(value));
}

void PagePointer::loadCustomCursor(const QString& path) {
  const std::optional<app::CursorImage> cursor = app::ReadCursorFile(path);
  if (!cursor) throw std::runtime_error("Invalid picture");
  custom_ = QCursor(QPixmap::fromImage(cursor->image), cursor->hotspot.x(), cursor->hotspot.y());
  page_.setCursor(cursorFor(value_));
}

void PagePointer::showHandOver(QWidget& control) {
  watch(control, Pointer::kCustom);
}

void PagePointer::showArrowOver(QWidget& control) {
  watch(control, Pointer::kDefault);
}

void PagePointer::watch(QWidget& control, Pointer shown) {
  hoverRules_.insert(&control, shown);
  control.setMouseTracking(true);
  control.installEventFilter(this);
}

bool PagePointer::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::MouseMove) return false;
  auto* control = static_cast<QWidget*>(watched);
  // A move that Qt passes on from a child to its parent belongs to the
  // innermost watched control under the mouse, not to the parent.
  const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
  for (QWidget* w = control->childAt(at) ? control->childAt(at) : control; w != control;
       w = w->parentWidget()) {
    if (hoverRules_.contains(w)) return false;
  }
  if (value_ != Pointer::kBusy) set(hoverRules_.value(control));
  return false;
}

QCursor PagePointer::cursorFor(Pointer value) const {
  switch (value) {
    case Pointer::kBusy: return QCursor(Qt::WaitCursor);
    case Pointer::kCustom: return custom_.value_or(QCursor(Qt::ArrowCursor));
    case Pointer::kDefault: break;
  }
  return QCursor(Qt::ArrowCursor);
}

}  // namespace pages
