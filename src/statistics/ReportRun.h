#pragma once

#include "statistics/ReportKind.h"

namespace pq {

class RecordStore;
class ReportParameters;

// What a report run shows while it works. The window puts up its message boxes and busy
// indicator; the command line prints the messages.
class ReportRunListener {
 public:
  virtual ~ReportRunListener() = default;
  virtual void showMessage(const char* text) = 0;
  // The busy text and animation, shown before the first statistics pass and hidden after the last
  // (also when a conversion error stops the run).
  virtual void busyStarted() = 0;
  virtual void busyFinished() = 0;
};

// The number of records of the span of the start and end texts, after setting the store's range
// to them. A start, end or record time that is no valid date-time throws ConversionError.
int selectReportRange(RecordStore& store, const ReportParameters& parameters);

// Runs the report of a report button or of the report window's phase buttons: checks, range,
// limits, statistics into the parameters' data set. True when the data set holds the new report and
// the page can be built; false after a refusal that went to the listener. Conversion errors
// (capacity texts, date-times) propagate as ConversionError.
class ReportRun {
 public:
  ReportRun(RecordStore& store, ReportParameters& parameters, ReportRunListener& listener)
      : store_(store), parameters_(parameters), listener_(listener) {}

  // A report button: the button's own checks, then the run of the kind.
  bool requestReport(ReportKind kind);
  // The run for the kind already set in the data set (the report window's phase buttons).
  bool runReport();

 private:
  bool runVoltageReport();
  bool runCurrentReport();
  // Steps shared by both kinds before the limits; the sample count N, or 0 when the run stops.
  int prepare();

  RecordStore& store_;
  ReportParameters& parameters_;
  ReportRunListener& listener_;
};

}  // namespace pq
