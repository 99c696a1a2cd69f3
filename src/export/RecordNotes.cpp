#include "export/RecordNotes.h"

#include "aggregation/RecordTimeGate.h"
#include "base/TextCodec.h"
#include "records/RecordStore.h"
#include "records/RecordTimeText.h"

namespace pq {

WorkbookNotes recordNotes(const RecordStore& store, IndexRange range, std::vector<std::string> files) {
  range = recordsInUse(store, range);
  WorkbookNotes notes;
  notes.station = gbkToUtf8(store.substationName);
  notes.point = gbkToUtf8(store.measuringPointName);
  if (range.end > range.start) {
    notes.period = periodText(recordTimeText(store, range.start), recordTimeText(store, range.end - 1));
    notes.recordInterval = std::to_string(recordingIntervalOfFile(store.records())) + " s";
  }
  notes.files = std::move(files);
  return notes;
}

std::string recordSheetHolds() {
  return "每条记录一行：序号、时间、接线方式、仪器编号，各相电压（有效值、最大值、最小值）、电流、有功功率、夹角、"
         "频率、序分量与不平衡度、无功功率、功率因数，各通道1～65次谐波幅值，记录序号";
}

std::string aggregatedSheetHolds(const std::string& interval) {
  return "每" + interval + "一行：起始时间、记录条数、是否含电压事件（1 含，0 不含），各量的" + interval +
         "值（电压、电流、谐波与不平衡度为方均根值，频率、功率与功率因数为平均值）";
}

}  // namespace pq
