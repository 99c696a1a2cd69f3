#include "statistics/PhaseReportDataSet.h"

namespace pq {

const char* reportTitle(int reportPhase) {
  static constexpr const char* kTitles[kReportPhaseCount] = {
      "电能质量统计报表（A相电压）", "电能质量统计报表（B相电压）", "电能质量统计报表（C相电压）",
      "电能质量统计报表（A相电流）", "电能质量统计报表（B相电流）", "电能质量统计报表（C相电流）",
  };
  return kTitles[reportPhase];
}

}  // namespace pq
