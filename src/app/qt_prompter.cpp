#include "app/qt_prompter.h"

#include <QInputDialog>
#include <QMessageBox>

namespace app {

namespace {

QString captionOrTitle(const QString& caption) {
  return caption.isEmpty() ? QString::fromLatin1(kApplicationTitle) : caption;
}

// The program writes line breaks as Windows message boxes take them,
// including lone carriage returns; Qt breaks lines at line feeds only.
QString displayed(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

QMessageBox::Icon iconFor(int style) {
  switch (style & 0xF0) {
    case 16: return QMessageBox::Critical;
    case 32: return QMessageBox::Question;
    case 48: return QMessageBox::Warning;
    case 64: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

QMessageBox::StandardButtons buttonsFor(int style) {
  switch (style & 0x0F) {
    case 1: return QMessageBox::Ok | QMessageBox::Cancel;
    case 3: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case 4: return QMessageBox::Yes | QMessageBox::No;
    default: return QMessageBox::Ok;
  }
}

int answerFor(QMessageBox::StandardButton button) {
  switch (button) {
    case QMessageBox::Ok: return kIdOk;
    case QMessageBox::Yes: return kIdYes;
    case QMessageBox::No: return kIdNo;
    default: return kIdCancel;
  }
}

}  // namespace

int QtPrompter::messageBox(const QString& text, int style, const QString& caption) {
  QMessageBox box(iconFor(style), captionOrTitle(caption), displayed(text), buttonsFor(style), parent_);
  // SQL text in a report must never be taken for markup.
  box.setTextFormat(Qt::PlainText);
  box.exec();
  return answerFor(box.standardButton(box.clickedButton()));
}

QString QtPrompter::inputBox(const QString& prompt, const QString& defaultText, const QString& caption) {
  QInputDialog dialog(parent_);
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(captionOrTitle(caption));
  dialog.setLabelText(displayed(prompt));
  dialog.setTextValue(defaultText);
  return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

}  // namespace app
