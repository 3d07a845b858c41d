// What an accessibility client hears: while one of these lives, Qt's
// accessibility is active (as when a screen reader runs) and every event
// the program sends is kept, in order.
#pragma once

#include <QAccessible>
#include <algorithm>
#include <initializer_list>
#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformintegration.h>
#include <vector>

namespace qv {

class AccessibilityListener {
 public:
  struct Heard {
    QAccessible::Event type = QAccessible::InvalidEvent;
    QObject* object = nullptr;
    int position = -1;           // text events: where; caret and selection: the caret
    QString removed, inserted;   // text events
    int selStart = -1, selEnd = -1;
  };

  AccessibilityListener() {
    Events().clear();
    QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
    QAccessible::installUpdateHandler(&Keep);
  }
  ~AccessibilityListener() {
    QAccessible::installUpdateHandler(nullptr);
    QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(false);
  }
  AccessibilityListener(const AccessibilityListener&) = delete;
  AccessibilityListener& operator=(const AccessibilityListener&) = delete;

  std::vector<Heard>& heard() { return Events(); }
  // The events of one object, of the given types.
  std::vector<Heard> Of(QObject* object, std::initializer_list<QAccessible::Event> types) const {
    std::vector<Heard> out;
    for (const Heard& h : Events())
      if (h.object == object && std::find(types.begin(), types.end(), h.type) != types.end()) out.push_back(h);
    return out;
  }

 private:
  static std::vector<Heard>& Events() {
    static std::vector<Heard> events;
    return events;
  }
  static void Keep(QAccessibleEvent* e) {
    Heard h;
    h.type = e->type();
    h.object = e->object();
    switch (e->type()) {
      case QAccessible::TextInserted: {
        auto* t = static_cast<QAccessibleTextInsertEvent*>(e);
        h.position = t->changePosition();
        h.inserted = t->textInserted();
        break;
      }
      case QAccessible::TextRemoved: {
        auto* t = static_cast<QAccessibleTextRemoveEvent*>(e);
        h.position = t->changePosition();
        h.removed = t->textRemoved();
        break;
      }
      case QAccessible::TextUpdated: {
        auto* t = static_cast<QAccessibleTextUpdateEvent*>(e);
        h.position = t->changePosition();
        h.removed = t->textRemoved();
        h.inserted = t->textInserted();
        break;
      }
      case QAccessible::TextCaretMoved:
        h.position = static_cast<QAccessibleTextCursorEvent*>(e)->cursorPosition();
        break;
      case QAccessible::TextSelectionChanged: {
        auto* s = static_cast<QAccessibleTextSelectionEvent*>(e);
        h.position = s->cursorPosition();
        h.selStart = s->selectionStart();
        h.selEnd = s->selectionEnd();
        break;
      }
      default: break;
    }
    Events().push_back(h);
  }
};

}  // namespace qv
