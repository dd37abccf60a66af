// Commands run one after the other. A command that yields to the event
// loop (a list filling, a transfer) would otherwise let the user start a
// second one, or refill the lists under it, or type new connection values
// into it. While any command holds the gate, every mouse click, key and
// wheel turn aimed at a page's window is dropped; the modal boxes the
// command itself shows are windows of their own and take input as usual.
//
// Closing a page's window is not input and is never dropped: when no
// command runs the program ends at once; while one runs, its statement in
// flight finishes, its remaining statements are skipped (see
// ErrorTrap::stopWhen) and the program ends when the gate is released.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

namespace pages {

class CommandGate : public QObject {
  Q_OBJECT

 public:
  // Held for the run of one command; holds nest.
  class Hold {
   public:
    explicit Hold(CommandGate& gate);
    ~Hold();
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

   private:
    CommandGate& gate_;
  };

  // A window whose input waits for the running command.
  void guard(QWidget& window);

  bool busy() const { return holds_ > 0; }
  // True once the program was asked to end while a command ran.
  bool ending() const { return endProgram_ != nullptr; }

  // What closing a window does: `endProgram` now, or when the running
  // command releases the gate.
  void endProgramWhenIdle(std::function<void()> endProgram);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void enter();
  void leave();

  int holds_ = 0;
  std::vector<QPointer<QWidget>> windows_;
  std::function<void()> endProgram_;
};

}  // namespace pages
