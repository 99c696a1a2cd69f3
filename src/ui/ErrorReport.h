#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace pq::ui {

class Prompter;

// Runs an operator's action; an error it throws (a database error, a text that does not convert)
// is shown through the central error report and the action stops there, the program goes on.
// Handlers connected to widget signals go through here, so no exception crosses Qt's own frames.
void runReportingErrors(Prompter& prompter, QWidget* parent, const std::function<void()>& action);

// Connects `signal` of `sender` to `action`, run through runReportingErrors.
template <class Sender, class Signal>
void connectReporting(Sender* sender, Signal signal, QWidget* receiver, Prompter& prompter,
                      std::function<void()> action) {
  QObject::connect(sender, signal, receiver, [&prompter, receiver, action = std::move(action)] {
    runReportingErrors(prompter, receiver, action);
  });
}

}  // namespace pq::ui
