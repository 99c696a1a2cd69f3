#include "app/ErrorReportingApplication.h"

#include <exception>

#include "ui/Prompter.h"

namespace pq::app {

ErrorReportingApplication::ErrorReportingApplication(int& argc, char** argv, ui::Prompter& prompter)
    : QApplication(argc, argv), prompter_(prompter) {}

bool ErrorReportingApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    prompter_.showError(activeWindow(), QString::fromStdString(error.what()));
  }
  return true;
}

}  // namespace pq::app
