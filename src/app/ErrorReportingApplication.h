#pragma once

#include <QApplication>

namespace pq::ui {
class Prompter;
}

namespace pq::app {

// The application object with the central error report at the event dispatch: an exception that
// escapes an event handler (a database error, a text that does not convert) is shown in a message
// box with its text, the action that raised it is abandoned, and the program goes on. Handlers of
// widget signals report their errors themselves (ui/ErrorReport.h) before they reach Qt's frames;
// this is the net under everything else.
class ErrorReportingApplication : public QApplication {
 public:
  ErrorReportingApplication(int& argc, char** argv, ui::Prompter& prompter);

  bool notify(QObject* receiver, QEvent* event) override;

 private:
  ui::Prompter& prompter_;
};

}  // namespace pq::app
