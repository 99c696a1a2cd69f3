#include "statistics/ReportParameters.h"

#include "base/FieldText.h"
#include "base/PictureFormat.h"
#include "base/TextCodec.h"
#include "records/RecordFileImport.h"
#include "records/RecordFileMessages.h"
#include "records/RecordStore.h"
#include "statistics/HarmonicLimitTables.h"
#include "statistics/StatisticsMessages.h"
#include "timerange/CalendarDateTime.h"
#include "timerange/TimeRangeMessages.h"

namespace pq {

namespace {

std::string capacityText(float capacity) { return formatPicture(capacity, "0.000  "); }

// Passes the import's messages on, except the one about an empty file, which the reload gives
// itself once the scan is over.
class ReloadListener : public ImportListener {
 public:
  explicit ReloadListener(std::vector<std::string>& messages) : messages_(messages) {}
  void importStarted(const std::string&, int) override {}
  void importProgress(int, const std::string&) override {}
  bool showsProgress() const override { return false; }
  void importMessage(const std::string& text) override {
    if (text != messages::kFileTooShort) messages_.push_back(text);
  }
  void importFinished(const std::string&) override {}

 private:
  std::vector<std::string>& messages_;
};

}  // namespace

void ReportParameters::showNames(const RecordStore& store) {
  stationName = gbkToUtf8(store.substationName) + "变电所";
  pointName = gbkToUtf8(store.measuringPointName) + "线路";
}

void ReportParameters::showRatiosAndCapacities(const RecordStore& store) {
  ptRatioText = generalNumberText(store.ptRatio);
  ctRatioText = generalNumberText(store.ctRatio);
  minShortCircuitText = capacityText(store.minShortCircuitCapacity);
  supplyCapacityText = capacityText(store.supplyEquipmentCapacity);
  agreedCapacityText = capacityText(store.agreedCapacity);
}

void ReportParameters::fillFromStore(const RecordStore& store) {
  showNames(store);
  // Code 0 selects the first entry here, but leaves the field empty after a reload.
  voltageLevelText =
      std::string(voltageLevelTextOfCode(store.voltageLevelCode == 0 ? 1 : store.voltageLevelCode));
  showRatiosAndCapacities(store);
  fileNameText = store.fileName;
  showStoreSpan(store, start, end);
  data.reportWindowOpen = false;
}

std::vector<std::string> ReportParameters::reopenRecordFile(RecordStore& store,
                                                            const std::optional<std::string>& chosenPath) {
  std::vector<std::string> shown;
  store.substationName.clear();
  store.measuringPointName.clear();
  if (chosenPath) {
    if (!canOpenRecordFile(*chosenPath)) {
      shown.push_back(messages::kFileEmpty);
    } else {
      ReloadListener listener(shown);
      importRecordFile(store, *chosenPath, listener, kReloadRecordCap);
      showNames(store);
      voltageLevelText = std::string(voltageLevelTextOfCode(store.voltageLevelCode));
      showRatiosAndCapacities(store);
    }
  }
  store.rangeStart = 0;
  store.rangeEnd = store.recordCount() - 1;
  fileNameText = store.fileName;
  showStoreSpan(store, start, end);
  if (store.recordCount() == 0) shown.push_back(messages::kFileTooShort);
  return shown;
}

KeyAction ReportParameters::filterCapacityKey(std::string_view text, char32_t key) {
  if (key == kEnterKey) return trimmedField(text).empty() ? KeyAction::Drop : KeyAction::Accept;
  if (key == kBackspaceKey || (key >= U'0' && key <= U'9')) return KeyAction::Accept;
  if (key == U'.') return ++dotCount == 1 ? KeyAction::Accept : KeyAction::Drop;
  return KeyAction::Drop;
}

std::optional<std::string> ReportParameters::requestReport(ReportKind kind) {
  data.kind = kind;
  if (kind.voltage()) {
    if (voltageLevelText.empty()) return messages::kChooseVoltageLevel;
  } else if (minShortCircuitText.empty() || supplyCapacityText.empty() || agreedCapacityText.empty() ||
             voltageLevelText.empty()) {
    return messages::kEnterParameters;
  }
  return std::nullopt;
}

std::optional<std::string> ReportParameters::checkReportInputs(RecordStore& store) {
  if (fileNameText.empty()) return messages::kNoRecordFile;
  if (start.anyEmpty() || end.anyEmpty()) return messages::kQueryTimeWrong;
  data.startTimeText = start.dateTimeText(":00");
  data.endTimeText = end.dateTimeText(":59");
  if (CalendarDateTime::parse(data.startTimeText) > CalendarDateTime::parse(data.endTimeText)) {
    store.rangeStart = store.rangeEnd = 0;
    return messages::kEndBeforeStart;
  }
  return std::nullopt;
}

}  // namespace pq
