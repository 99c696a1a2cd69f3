#pragma once

#include <QApplication>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <stdexcept>

#include "support/ui/ScriptedPrompter.h"

namespace pq::test {

// The Prompter behind the test application's central error report.
ui::ScriptedPrompter& centralErrorReport();

// The child of `parent` with that object name; throws when there is none, so a test fails loudly.
template <class T>
T& child(const QObject& parent, const QString& name) {
  T* found = parent.findChild<T*>(name);
  if (found == nullptr) throw std::runtime_error("no child " + name.toStdString());
  return *found;
}

// Runs `step` on the modal window of type T once the event loop shows it, e.g. a window opened by a
// command; the test arranges this first and then does what opens the window. Gives up after about
// two seconds, and the test's own checks then fail.
template <class T>
void whenModalShown(std::function<void(T&)> step, int attemptsLeft = 200) {
  QTimer::singleShot(10, [step = std::move(step), attemptsLeft] {
    if (auto* window = qobject_cast<T*>(QApplication::activeModalWidget())) {
      step(*window);
    } else if (attemptsLeft > 0) {
      whenModalShown<T>(step, attemptsLeft - 1);
    }
  });
}

// Shows a window and makes it the active one, so that focus changes behave as on screen.
void showActive(QWidget& window);

}  // namespace pq::test
