// Small helpers the dialog tests share: typing as the user does and walking
// the tab order.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

// Sends `text` as one key press, so the edit sees it as typed.
inline void Type(QLineEdit* edit, const QString& text) {
  QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, text);
  QApplication::sendEvent(edit, &key);
}

inline void PressKey(QWidget* widget, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
}

// The control Tab moves to from `widget`.
inline QWidget* NextTabStop(QWidget* widget) {
  for (QWidget* next = widget->nextInFocusChain(); next != widget;
       next = next->nextInFocusChain()) {
    if ((next->focusPolicy() & Qt::TabFocus) && !widget->isAncestorOf(next)) return next;
  }
  return nullptr;
}
