// The message boxes and the input box of a command run without a window.
// Nothing is asked on the terminal: the overwrite question is answered by
// --yes or --no, the input box by the command's NEW operand. Every text,
// question and answer goes to standard error, with the carriage returns
// of the program's texts written as line breaks.
#pragma once

#include <QString>
#include <ostream>

#include "app/prompter.h"

namespace cli {

class TerminalPrompter final : public app::Prompter {
 public:
  TerminalPrompter(std::ostream& err, bool answerYes, QString inputAnswer);

  int messageBox(const QString& text, int style, const QString& caption = {}) override;
  QString inputBox(const QString& prompt, const QString& defaultText, const QString& caption = {}) override;

  // True once a message or an error report was shown; questions do not
  // count.
  bool toldSomething() const { return told_; }

 private:
  void write(const QString& text);

  std::ostream& err_;
  bool answerYes_;
  QString inputAnswer_;
  bool told_ = false;
};

}  // namespace cli
