// One mouse-pointer setting per page: the arrow (0), the hourglass while
// a command runs (11), or the custom hand (99). The setting shows over
// the page and every control that keeps no pointer of its own.
//
// The hover rules make the page feel alive: over a button the hand, over
// the background, a frame, a field or a list the arrow. While the page is
// busy they change nothing, so the hourglass stays until the running
// command puts the arrow back.
#pragma once

#include <QCursor>
#include <QHash>
#include <QObject>
#include <optional>

class QWidget;

namespace pages {

enum class Pointer : int { kDefault = 0, kBusy = 11, kCustom = 99 };

class PagePointer : public QObject {
  Q_OBJECT

 public:
  explicit PagePointer(QWidget& page);

  Pointer value() const { return value_; }
  void set(Pointer value);

  // Loads the custom pointer's picture from a Windows cursor file; raises
  // when the file cannot be read as one. Until a picture is loaded the
  // custom pointer looks like the arrow.
  void loadCustomCursor(const QString& path);
  bool hasCustomPicture() const { return custom_.has_value(); }

  // Moving over `control` shows the hand (or the arrow) unless busy.
  void showHandOver(QWidget& control);
  void showArrowOver(QWidget& control);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void watch(QWidget& control, Pointer shown);
  QCursor cursorFor(Pointer value) const;

  QWidget& page_;
  Pointer value_ = Pointer::kDefault;
  std::optional<QCursor> custom_;
  QHash<const QObject*, Pointer> hoverRules_;
};

}  // namespace pages
