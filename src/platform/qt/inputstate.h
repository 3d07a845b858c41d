// The input bookkeeping that the two Qt boxes share: a key is offered to
// the program's slots first; a release ends its press and, unless it ends a
// double click, makes a click; a double click is left to the program (no
// word is selected).
#pragma once

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPoint>

namespace qv {

// Ends the press that e releases. A release that the box itself drops (it is
// disabled) still ends it, so the next click is a click; MayClick is false
// for that one, as nothing was clicked.
template <class Box>
void EndPress(Box& box, bool& inDoubleClick, const QMouseEvent& e, bool MayClick) {
  const QPoint p = e.position().toPoint();
  const bool endsDouble = inDoubleClick;
  inDoubleClick = false;
  emit box.mouseReleased(static_cast<int>(e.button()), static_cast<int>(e.modifiers()), p.x(), p.y());
  if (MayClick && e.button() == Qt::LeftButton && !endsDouble) emit box.clicked();
}

// The second press of a double click: the caret stays where the first click
// put it and the program decides what a double click does.
template <class Box>
void StartDoubleClick(Box& box, bool& inDoubleClick, QMouseEvent& e) {
  e.accept();
  if (e.button() != Qt::LeftButton) return;
  inDoubleClick = true;
  emit box.doubleClicked();
}

// Offers the key to the box's keyPressed slots; true (the key accepted) when
// a slot kept it from the box with SuppressKey.
template <class Box>
bool KeyTakenBySlots(Box& box, bool& suppressKey, QKeyEvent& e) {
  suppressKey = false;
  emit box.keyPressed(e.key(), static_cast<int>(e.modifiers()), e.text());
  if (!suppressKey) return false;
  suppressKey = false;
  e.accept();
  return true;
}

}  // namespace qv
