// Input for the main window waits while the program is handling an event.
//
// A handler of the program (a command, a click, a double click, a key) runs
// to its end before the next input of the main window is handled: mouse and
// key events that arrive meanwhile (inside a modal window's loop, say) and
// the program's own queued calls (the click handler that a release queues,
// the activation handler) wait in one queue, and run from the event loop in
// the order they came once nothing runs. Modal windows opened by a handler
// get their input as usual; a modeless window of the program that is
// watched (the Find window) waits like the main window.
#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace qv {

class InputGate : public QObject {
 public:
  // Watches the input of the top-level window `top` (installs itself on the application).
  explicit InputGate(QWidget* top);
  ~InputGate() override;

  // The input of `window`, a modeless top-level window of the program, waits
  // like the main window's.
  void Watch(QWidget* window);

  // Marks a handler of the program as running for its lifetime.
  class Running {
   public:
    explicit Running(InputGate& g);
    ~Running();
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

   private:
    InputGate& g_;
  };

  // True when a handler starting now would run ahead of or inside another:
  // a handler runs, or input or calls wait that came before.
  bool MustWait() const;
  // Runs `call` from the event loop after everything that waits before it.
  // A call queued while a waiting event is being handled goes before the
  // events that wait after that one.
  void Queue(std::function<void()> call);
  // Waiting events and calls.
  size_t Waiting() const { return waiting_.size(); }
  bool Idle() const { return running_ == 0 && waiting_.empty() && !drainQueued_; }

 protected:
  bool eventFilter(QObject* obj, QEvent* e) override;

 private:
  struct Item {
    QPointer<QObject> to;
    std::unique_ptr<QEvent> event;
    std::function<void()> call;
  };
  // True for the widgets and windows of the main window and the watched ones.
  bool Ours(QObject* obj) const;
  void ScheduleDrain();
  void Drain();

  QPointer<QWidget> top_;
  std::vector<QPointer<QWidget>> watched_;
  int running_ = 0;          // handlers in progress (nested through modal windows)
  bool draining_ = false;    // Drain is handing out a waiting item
  bool drainQueued_ = false;
  size_t frontInserts_ = 0;  // calls queued while the present item is handled
  std::deque<Item> waiting_;
};

}  // namespace qv
