#include "app/ErrorReportingApplication.h"

#include "ui/ErrorReport.h"

namespace pq::app {

ErrorReportingApplication::ErrorReportingApplication(int& argc, char** argv, ui::Prompter& prompter)
    : QApplication(argc, argv), prompter_(prompter) {}

bool ErrorReportingApplication::notify(QObject* receiver, QEvent* event) {
  bool handled = true;
  ui::runReportingErrors(prompter_, activeWindow(), [&] { handled = QApplication::notify(receiver, event); });
  return handled;
}

}  // namespace pq::app
