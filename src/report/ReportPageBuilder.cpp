#include "report/ReportPageBuilder.h"

#include "base/PictureFormat.h"
#include "report/ReportPageLayout.h"
#include "statistics/ReportParameters.h"

namespace pq {

namespace {

constexpr char kP1[] = "0.0%";
constexpr char kP2[] = "0.00%";
constexpr char kP3[] = "0.000%";
constexpr char kP4[] = "0.0000%";
constexpr char kP5[] = "0.00000%";
constexpr char kHz[] = "0.000Hz";
constexpr char kA2[] = "0.00 A";
constexpr char kA3[] = "0.000 A";

// Maximum, minimum, average and 95 % value of a row in one picture.
void statistics(ReportPage& page, const std::string& row, const StatisticRecord& record,
                const std::string& picture, bool starred) {
  page.set(cellKey(row, "max"), formatPicture(record.max, picture));
  page.set(cellKey(row, "min"), formatPicture(record.min, picture));
  page.set(cellKey(row, "avg"), formatPicture(record.avg, picture));
  page.set(cellKey(row, "p95"), starred ? "*" : formatPicture(record.p95, picture));
}

void parameterCells(ReportPage& page, const ReportParameters& p, const std::string& printDate) {
  page.set("station", p.stationName);
  page.set("point", p.pointName);
  page.set("level", p.voltageLevelText);
  page.set("start", p.data.startTimeText);
  page.set("end", p.data.endTimeText);
  page.set("testUnit", p.testUnit);
  page.set("tester", p.tester);
  page.set("printDate", printDate);
}

bool starred(const PhaseReportDataSet& data) { return data.sampleCount < 20.0f; }

}  // namespace

void setReportTitle(ReportPage& page, ReportKind kind) { page.set("title", kind.title()); }

void buildVoltagePage(ReportPage& page, const ReportParameters& parameters, float ptRatio,
                      const std::string& printDate) {
  const PhaseReportDataSet& d = parameters.data;
  const bool star = starred(d);
  parameterCells(page, parameters, printDate);
  const std::string unit = ptRatio > 1.0f ? "KV" : "V";
  page.set("unit", "(" + unit + ")");
  statistics(page, "fundamental", d.fundamental, "0.000 " + unit, star);
  statistics(page, "lineFundamental", d.lineFundamental, "0.000 " + unit, star);
  for (int order = 2; order <= 25; ++order) {
    const std::string row = harmonicRow(order);
    statistics(page, row, d.harmonic[order], kP3, star);
    page.set(cellKey(row, "permitted"), formatPicture(d.limits.harmonicVoltageLimit(order), kP2));
    page.set(cellKey(row, "pass"), formatPicture(d.harmonic[order].passRate, kP5));
  }
  statistics(page, "thd", d.thd, kP3, star);
  page.set("thd.permitted", formatPicture(d.limits.thdLimit, kP2));
  page.set("thd.pass", formatPicture(d.thd.passRate, kP5));
  statistics(page, "deviation", d.deviation, kP3, star);
  page.set("deviation.permitted", d.limits.deviationLimitText);
  page.set("deviation.pass", formatPicture(d.deviation.passRate, kP5));
  statistics(page, "fluctuation", d.fluctuation, kP3, star);
  statistics(page, "frequency", d.frequencyDeviation, kHz, star);
  page.set("frequency.pass", formatPicture(d.frequencyDeviation.passRate, kP5));
  statistics(page, "unbalance", d.unbalance, kP3, star);
  page.set("unbalance.pass", formatPicture(d.unbalance.passRate, kP5));
}

void buildCurrentPage(ReportPage& page, const ReportParameters& parameters, const std::string& printDate) {
  const PhaseReportDataSet& d = parameters.data;
  const bool star = starred(d);
  parameterCells(page, parameters, printDate);
  page.set("minShortCircuit", parameters.minShortCircuitText);
  page.set("supply", parameters.supplyCapacityText);
  page.set("agreed", parameters.agreedCapacityText);
  statistics(page, "fundamental", d.fundamental, kA3, star);
  for (int order = 2; order <= 25; ++order) {
    const std::string row = harmonicRow(order);
    statistics(page, row, d.harmonic[order], kA3, star);
    page.set(cellKey(row, "permitted"), formatPicture(d.limits.harmonicCurrentLimit[order], kA2));
    page.set(cellKey(row, "pass"), formatPicture(d.harmonic[order].passRate, kP4));
  }
  statistics(page, "thd", d.thd, kP1, star);
}

ReportPage buildReportPage(const ReportParameters& parameters, float ptRatio, const std::string& printDate) {
  const ReportKind kind = parameters.data.kind;
  ReportPage page = kind.voltage() ? voltagePageForm() : currentPageForm();
  setReportTitle(page, kind);
  if (kind.voltage()) {
    buildVoltagePage(page, parameters, ptRatio, printDate);
  } else {
    buildCurrentPage(page, parameters, printDate);
  }
  return page;
}

}  // namespace pq
