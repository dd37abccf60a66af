#include "cli/terminal_prompter.h"

namespace cli {

namespace {
constexpr int kButtonsMask = 0x0F;
}

TerminalPrompter::TerminalPrompter(std::ostream& err, bool answerYes, QString inputAnswer)
    : err_(err), answerYes_(answerYes), inputAnswer_(std::move(inputAnswer)) {}

void TerminalPrompter::write(const QString& text) {
  QString lines = text;
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  err_ << lines.toStdString() << '\n' << std::flush;
}

int TerminalPrompter::messageBox(const QString& text, int style, const QString& caption) {
  if ((style & kButtonsMask) == app::kYesNo) {
    const bool yes = answerYes_;
    write(text + QStringLiteral(" -> ") +
          (yes ? QStringLiteral("yes (--yes)") : QStringLiteral("no (--no)")));
    return yes ? app::kIdYes : app::kIdNo;
  }
  told_ = true;
  write(caption.isEmpty() ? text : caption + QStringLiteral(": ") + text);
  return app::kIdOk;
}

QString TerminalPrompter::inputBox(const QString& prompt, const QString&, const QString&) {
  write(prompt + QStringLiteral(" -> ") + inputAnswer_);
  return inputAnswer_;
}

}  // namespace cli
