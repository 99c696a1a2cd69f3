#pragma once

#include <QPointer>

#include "statistics/ReportKind.h"

class QWidget;

namespace pq {

class RecordStore;
class ReportParameters;
class ReportRunListener;
class TForm14;
namespace ui {
class Prompter;
}

// The way from a report request to the report window: runs the report into the parameters' data
// set, builds its page, and shows it in the report window that is open (refreshed in place) or in
// a new one run modally over `owner` and discarded when it closes. Conversion errors of a run
// propagate to the caller's error report.
class ReportFlow {
 public:
  ReportFlow(RecordStore& store, ReportParameters& parameters, ReportRunListener& listener,
             ui::Prompter& prompter, QWidget* owner)
      : store_(store), parameters_(parameters), listener_(listener), prompter_(prompter), owner_(owner) {}

  // A report button of the report parameters window: its checks, then the run.
  void requestReport(ReportKind kind);
  // A phase button of the report window: the run of that kind, without the button checks.
  void runPhase(ReportKind kind);

  // The report window while it is open, for the windows' tests.
  TForm14* reportWindow() const;

 private:
  void showReport();

  RecordStore& store_;
  ReportParameters& parameters_;
  ReportRunListener& listener_;
  ui::Prompter& prompter_;
  QWidget* owner_;
  QPointer<TForm14> window_;
};

}  // namespace pq
