// A Prompter for tests: answers from queues the test fills beforehand and
// records every message box and input box in the order they were shown.
#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <vector>

#include "app/prompter.h"

namespace test_support {

class ScriptedPrompter : public app::Prompter {
 public:
  struct Call {
    enum class Kind { Message, Input };
    Kind kind;
    QString text;         // message text or input prompt
    int style = 0;        // message boxes only
    QString caption;      // as passed: empty means the application title
    QString defaultText;  // input boxes only
  };

  // Answers for the coming message boxes (app::kIdYes, ...), in order.
  void queueAnswer(int answer) { answers_.push_back(answer); }
  // Texts for the coming input boxes; "" stands for Cancel.
  void queueInput(const QString& text) { inputs_.push_back(text); }

  // A message box without a queued answer is answered OK when OK is its
  // only button; any other unscripted box fails the running test.
  int messageBox(const QString& text, int style, const QString& caption = {}) override;
  QString inputBox(const QString& prompt, const QString& defaultText, const QString& caption = {}) override;

  const std::vector<Call>& calls() const { return calls_; }
  // The message texts alone, in order.
  std::vector<QString> messages() const;
  bool answersUsedUp() const { return answers_.empty() && inputs_.empty(); }

  // Runs while the next box is open, as the user's doings behind a modal
  // box would; used once.
  std::function<void()> whileNextBoxIsOpen;

 private:
  std::deque<int> answers_;
  std::deque<QString> inputs_;
  std::vector<Call> calls_;
};

}  // namespace test_support
