// Prompter with Qt's modal dialogs: QMessageBox for message boxes,
// QInputDialog for the input box.
#pragma once

#include <QPointer>
#include <QWidget>

#include "app/prompter.h"

namespace app {

class QtPrompter : public Prompter {
 public:
  // The dialogs are modal to `parent` (application-modal when null).
  explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}

  // Buttons from the low four bits of `style` (0 OK, 1 OK/Cancel,
  // 3 Yes/No/Cancel, 4 Yes/No; others OK), icon from the next four
  // (16 critical, 32 question, 48 exclamation, 64 information).
  int messageBox(const QString& text, int style, const QString& caption = {}) override;
  QString inputBox(const QString& prompt, const QString& defaultText, const QString& caption = {}) override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace app
