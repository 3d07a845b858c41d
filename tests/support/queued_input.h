// Input queued as the window system queues it: mouse and key events posted
// to a top-level window's QWindow, so that the event loop routes them to the
// widget under the point (or the focus widget) as it routes real input, and
// several of them can wait in the queue before the first is handled.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextCursor>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdint>

#include "platform/qt/qtrichbox.h"

namespace qv {

// Shows `top` and makes it the active window, so that its QWindow exists
// and keys go to its focus widget.
inline void ShowActive(QWidget* top) {
  top->show();
  top->activateWindow();
  QApplication::setActiveWindow(top);
  QApplication::processEvents();
}

// The point of `top` over the character after caret position `caret` of the
// box `box` (a third into it, so that a click puts the caret before it).
// Boxes that can tell a character's rectangle themselves (CharRect) are
// asked; for a text edit the caret rectangles of the character's two ends
// are used.
template <class Box>
QPoint PointAtCaret(QWidget* top, Box* box, int32_t caret) {
  box->Flush();
  QPoint at;
  if constexpr (requires { box->CharRect(caret); }) {
    const QRect r = box->CharRect(caret);
    at = QPoint(r.x() + std::max(1, r.width() / 3), r.center().y());
  } else {
    QTextCursor a(box->document()), b(box->document());
    a.setPosition(box->QtPos(caret));
    b.setPosition(box->QtPos(caret + 1));
    const QRect ra = box->cursorRect(a), rb = box->cursorRect(b);
    const int x = rb.y() == ra.y() && rb.x() > ra.x() ? ra.x() + (rb.x() - ra.x()) / 3 : ra.x() + 2;
    at = QPoint(x, ra.center().y());
  }
  return box->viewport()->mapTo(top, at);
}

inline void PostMouse(QWidget* top, QEvent::Type type, QPoint at, Qt::MouseButton button,
                      Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QWindow* w = top->windowHandle();
  if (!w) return;
  const Qt::MouseButtons held =
      type == QEvent::MouseButtonRelease || type == QEvent::MouseMove ? Qt::NoButton
                                                                     : Qt::MouseButtons(button);
  QCoreApplication::postEvent(
      w, new QMouseEvent(type, QPointF(at), QPointF(top->mapToGlobal(at)), button, held, mods));
}

// Press and release queued together (a touchpad tap).
inline void PostClick(QWidget* top, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
  PostMouse(top, QEvent::MouseButtonPress, at, button);
  PostMouse(top, QEvent::MouseButtonRelease, at, button);
}

// A double click as the window system delivers it: press, release, press,
// double click, release (the second press gives the release its receiver).
inline void PostDoubleClick(QWidget* top, QPoint at) {
  PostClick(top, at);
  PostMouse(top, QEvent::MouseButtonPress, at, Qt::LeftButton);
  PostMouse(top, QEvent::MouseButtonDblClick, at, Qt::LeftButton);
  PostMouse(top, QEvent::MouseButtonRelease, at, Qt::LeftButton);
}

inline void PostKey(QWidget* top, int key, Qt::KeyboardModifiers mods = Qt::NoModifier,
                    const QString& text = QString()) {
  QWindow* w = top->windowHandle();
  if (!w) return;
  QCoreApplication::postEvent(w, new QKeyEvent(QEvent::KeyPress, key, mods, text));
  QCoreApplication::postEvent(w, new QKeyEvent(QEvent::KeyRelease, key, mods, text));
}

// Runs the event loop until nothing is left to do (modal windows that open
// meanwhile run their own loops inside).
inline void RunQueued(int rounds = 30) {
  for (int i = 0; i < rounds; ++i) {
    QApplication::sendPostedEvents();
    QApplication::processEvents(QEventLoop::AllEvents, 5);
  }
}

}  // namespace qv
