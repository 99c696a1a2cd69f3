#include "cli/ReportJson.h"

#include "export/JsonWriter.h"

namespace pq::cli {

namespace {

void writeStatistic(JsonWriter& json, const StatisticRecord& s, bool hasP95, bool hasTest) {
  json.beginObject();
  json.key("max").number(s.max);
  json.key("min").number(s.min);
  json.key("avg").number(s.avg);
  json.key("p95");
  if (hasP95) {
    json.number(s.p95);
  } else {
    json.null();
  }
  json.key("passRate");
  if (hasTest) {
    json.number(s.passRate);
  } else {
    json.null();
  }
  json.endObject();
}

}  // namespace

std::string reportJson(const PhaseReportDataSet& data, int rangeStart, int rangeEnd) {
  const bool voltage = data.kind.voltage();
  const bool hasP95 = data.sampleCount >= 20;
  const ReportLimits& limits = data.limits;
  JsonWriter json;
  json.beginObject();
  json.key("phase").string(data.kind.name());
  json.key("title").string(data.kind.title());
  json.key("sampleCount").number(data.sampleCount);
  json.key("startTimeText").string(data.startTimeText);
  json.key("endTimeText").string(data.endTimeText);
  json.key("rangeStart").integer(rangeStart);
  json.key("rangeEnd").integer(rangeEnd);
  json.key("oddHarmonicLimit").number(limits.oddHarmonicLimit);
  json.key("evenHarmonicLimit").number(limits.evenHarmonicLimit);
  json.key("thdLimit").number(limits.thdLimit);
  json.key("deviationLimitText").string(limits.deviationLimitText);
  json.key("harmonicCurrentLimit").beginObject();
  for (int order = kFirstLimitedOrder; order <= kLastLimitedOrder; ++order) {
    json.key(std::to_string(order)).number(limits.harmonicCurrentLimit[order]);
  }
  json.endObject();
  json.key("fundamental");
  writeStatistic(json, data.fundamental, hasP95, false);
  json.key("harmonic").beginObject();
  for (int order = kFirstLimitedOrder; order <= kLastLimitedOrder; ++order) {
    json.key(std::to_string(order));
    writeStatistic(json, data.harmonic[order], hasP95, true);
  }
  json.endObject();
  json.key("thd");
  writeStatistic(json, data.thd, hasP95, voltage);
  if (voltage) {
    json.key("lineFundamental");
    writeStatistic(json, data.lineFundamental, hasP95, false);
    json.key("deviation");
    writeStatistic(json, data.deviation, hasP95, true);
    json.key("unbalance");
    writeStatistic(json, data.unbalance, hasP95, true);
    json.key("fluctuation");
    writeStatistic(json, data.fluctuation, hasP95, false);
    json.key("frequencyDeviation");
    writeStatistic(json, data.frequencyDeviation, hasP95, true);
  }
  json.endObject();
  return json.text() + '\n';
}

}  // namespace pq::cli
