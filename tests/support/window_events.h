// Keys as the desktop delivers them to a window: the window's shortcuts see
// a key first, then its focus widget gets it. Sending a QKeyEvent straight to
// a widget skips the shortcuts, so a test of a shortcut uses this instead.
#pragma once

#include <QApplication>
#include <QString>
#include <QWidget>
#include <QWindow>

// The entry point through which Qt's own test library types into a window.
Q_GUI_EXPORT void qt_handleKeyEvent(QWindow* window, QEvent::Type type, int key, Qt::KeyboardModifiers mods,
                                    const QString& text = QString(), bool autorep = false, ushort count = 1);

namespace qv {

// Shows w's window and makes it the active one, so that its shortcuts apply.
inline bool ActivateWindowOf(QWidget* w) {
  QWidget* top = w->window();
  top->show();
  top->activateWindow();
  for (int i = 0; i < 20 && QApplication::activeWindow() != top; ++i) QApplication::processEvents();
  return QApplication::activeWindow() == top;
}

// A key pressed and released in the window that holds w.
inline void WindowKey(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier,
                      const QString& text = QString()) {
  QWindow* win = w->window()->windowHandle();
  qt_handleKeyEvent(win, QEvent::KeyPress, key, mods, text);
  qt_handleKeyEvent(win, QEvent::KeyRelease, key, mods, text);
  QApplication::processEvents();
}

}  // namespace qv
