#include "support/scripted_prompter.h"

#include <gtest/gtest.h>

#include <utility>

namespace test_support {

int ScriptedPrompter::messageBox(const QString& text, int style, const QString& caption) {
  calls_.push_back({Call::Kind::Message, text, style, caption, {}});
  if (whileNextBoxIsOpen) std::exchange(whileNextBoxIsOpen, nullptr)();
  if (!answers_.empty()) {
    const int answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  const bool okOnly = (style & 0x0F) == 0;
  if (!okOnly) ADD_FAILURE() << "unscripted message box: " << text.toStdString();
  return okOnly ? app::kIdOk : app::kIdCancel;
}

QString ScriptedPrompter::inputBox(const QString& prompt, const QString& defaultText,
                                   const QString& caption) {
  calls_.push_back({Call::Kind::Input, prompt, 0, caption, defaultText});
  if (whileNextBoxIsOpen) std::exchange(whileNextBoxIsOpen, nullptr)();
  if (inputs_.empty()) {
    ADD_FAILURE() << "unscripted input box: " << prompt.toStdString();
    return {};
  }
  QString text = inputs_.front();
  inputs_.pop_front();
  return text;
}

std::vector<QString> ScriptedPrompter::messages() const {
  std::vector<QString> texts;
  for (const Call& call : calls_) {
    if (call.kind == Call::Kind::Message) texts.push_back(call.text);
  }
  return texts;
}

}  // namespace test_support
