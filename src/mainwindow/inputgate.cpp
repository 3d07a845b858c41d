// Holds the mouse and key input of the main window and of the watched windows, and the
// program's queued calls, while a handler runs; hands them out afterwards in the order they came.
#include "mainwindow/inputgate.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QWindow>

namespace qv {

namespace {

bool IsInput(QEvent::Type t) {
  switch (t) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
      return true;
    default:
      return false;
  }
}

}  // namespace

InputGate::InputGate(QWidget* top) : top_(top) { QCoreApplication::instance()->installEventFilter(this); }

InputGate::~InputGate() {
  if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

InputGate::Running::Running(InputGate& g) : g_(g) { ++g_.running_; }

InputGate::Running::~Running() {
  if (--g_.running_ == 0 && !g_.waiting_.empty()) g_.ScheduleDrain();
}

bool InputGate::MustWait() const { return running_ > 0 || (!draining_ && !waiting_.empty()); }

void InputGate::Queue(std::function<void()> call) {
  Item item;
  item.call = std::move(call);
  if (draining_ && frontInserts_ <= waiting_.size()) {
    waiting_.insert(waiting_.begin() + static_cast<std::ptrdiff_t>(frontInserts_++), std::move(item));
  } else {
    waiting_.push_back(std::move(item));
  }
  ScheduleDrain();
}

void InputGate::Watch(QWidget* window) {
  for (const QPointer<QWidget>& w : watched_)
    if (w == window) return;
  watched_.emplace_back(window);
}

bool InputGate::Ours(QObject* obj) const {
  if (!obj) return false;
  const bool isWindow = obj->isWindowType();
  if (!isWindow && !obj->isWidgetType()) return false;
  const QWidget* top = isWindow ? nullptr : static_cast<QWidget*>(obj)->window();
  auto matches = [&](const QWidget* w) { return w && (isWindow ? obj == w->windowHandle() : top == w); };
  if (matches(top_)) return true;
  for (const QPointer<QWidget>& w : watched_)
    if (matches(w)) return true;
  return false;
}

bool InputGate::eventFilter(QObject* obj, QEvent* e) {
  if (!IsInput(e->type()) || !MustWait() || !Ours(obj)) return false;
  // The event waits as it is, for the object it was sent to: a window's
  // event is routed to the widget under the pointer when it is handed out.
  Item item;
  item.to = obj;
  item.event.reset(e->clone());
  waiting_.push_back(std::move(item));
  ScheduleDrain();
  return true;
}

void InputGate::ScheduleDrain() {
  if (drainQueued_) return;
  drainQueued_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        drainQueued_ = false;
        Drain();
      },
      Qt::QueuedConnection);
}

void InputGate::Drain() {
  // Inside a handler (a modal window's loop) nothing is handed out: the end
  // of the handler schedules the drain again.
  if (draining_ || running_ > 0) return;
  draining_ = true;
  try {
    while (!waiting_.empty() && running_ == 0) {
      Item item = std::move(waiting_.front());
      waiting_.pop_front();
      frontInserts_ = 0;
      if (item.call) {
        item.call();
      } else if (item.to && item.event) {
        QCoreApplication::sendEvent(item.to, item.event.get());
      }
    }
  } catch (...) {
    frontInserts_ = 0;
    draining_ = false;
    throw;
  }
  frontInserts_ = 0;
  draining_ = false;
}

}  // namespace qv
