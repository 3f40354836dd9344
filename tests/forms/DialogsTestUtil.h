// Small helpers the dialog tests share: typing as the user does, walking
// the tab order and looking at a shown list.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTreeView>
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

// Every column of the shown `list` within its width, with room for its
// caption, and no horizontal scroll bar; `last` is the last column's caption.
inline void ExpectColumnsFit(const QTreeView* list, const QString& last) {
  QCoreApplication::processEvents();
  const QHeaderView* header = list->header();
  EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
  const int end = header->count() - 1;
  EXPECT_EQ(header->model()->headerData(end, Qt::Horizontal).toString(), last);
  EXPECT_LE(header->sectionPosition(end) + header->sectionSize(end), list->viewport()->width());
  for (int c = 0; c <= end; ++c) {
    const QString caption = header->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_GE(header->sectionSize(c), header->fontMetrics().horizontalAdvance(caption))
        << caption.toStdString();
  }
}
