#pragma once

#include <optional>
#include <string>
#include <vector>

#include "statistics/PhaseReportDataSet.h"
#include "timerange/DateFieldGroup.h"
#include "timerange/DateFieldRules.h"

namespace pq {

class RecordStore;

// What the report parameters window holds and decides: the field texts (UTF-8), the report asked
// for, and the phase report data set of the runs. The window copies its edits into these fields and
// back, and shows the messages the calls return; nothing here shows anything itself.
class ReportParameters {
 public:
  // Fills the fields from the store, every time the window becomes active.
  void fillFromStore(const RecordStore& store);

  // Loads another record file, at most 43 200 records. `chosenPath` is the file dialog's answer,
  // nullopt when it was cancelled (the records then stay). Returns the messages to show, in order.
  std::vector<std::string> reopenRecordFile(RecordStore& store, const std::optional<std::string>& chosenPath);

  // A key typed into a capacity field holding `text`. One "." is accepted per visit of the capacity
  // fields; capacityFieldLeft() starts the next visit.
  KeyAction filterCapacityKey(std::string_view text, char32_t key);
  void capacityFieldLeft() { dotCount = 0; }

  // The refusal of a report button for this kind, if any; the kind is remembered either way.
  std::optional<std::string> requestReport(ReportKind kind);

  // Builds the start and end texts and checks that a run may go on; the refusal to show otherwise.
  // A start or end that is no valid date-time throws ConversionError.
  std::optional<std::string> checkReportInputs(RecordStore& store);

  static constexpr int kReloadRecordCap = 43200;

  std::string fileNameText;
  DateFieldGroup start{{"2010", "03", "19", "16", "40"}};
  DateFieldGroup end{{"2010", "03", "19", "16", "55"}};
  std::string stationName = "XXX 变电所";
  std::string pointName = "XXX 线路";
  std::string voltageLevelText;
  std::string ptRatioText;
  std::string ctRatioText;
  std::string minShortCircuitText = "182";
  std::string supplyCapacityText = "120";
  std::string agreedCapacityText = "150";
  std::string testUnit = "XXX 电力局";
  std::string tester = "XXX";
  int dotCount = 0;
  PhaseReportDataSet data;

 private:
  void showNames(const RecordStore& store);
  void showRatiosAndCapacities(const RecordStore& store);
};

}  // namespace pq
