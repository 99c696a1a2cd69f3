#include "ui/ErrorReport.h"

#include <exception>

#include "ui/Prompter.h"

namespace pq::ui {

void runReportingErrors(Prompter& prompter, QWidget* parent, const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& error) {
    prompter.showError(parent, QString::fromStdString(error.what()));
  }
}

}  // namespace pq::ui
