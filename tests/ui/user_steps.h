// What a user does on the windows, for the window tests: text typed as key presses, one
// character each (Turkish letters included) as a keyboard sends it; a window brought to the
// front; the shown window of a class.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QTest>
#include <QWidget>

inline void Type(QWidget* widget, const QString& text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &release);
  }
}

// Activates `window` and returns the widget with the focus.
inline QWidget* Activate(QWidget* window) {
  window->activateWindow();
  // A dialog counts as active with the window it is transient for: wait for its own turn.
  EXPECT_TRUE(QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }));
  return QApplication::focusWidget();
}

// The visible top-level window of class W, windows closed for deletion gone first.
template <typename W>
W* Shown_Window() {
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* found = qobject_cast<W*>(w); found && found->isVisible()) return found;
  return nullptr;
}
