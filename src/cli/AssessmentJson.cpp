#include "cli/AssessmentJson.h"

#include <cmath>
#include <string>

#include "cli/AssessedRecording.h"
#include "export/JsonWriter.h"
#include "records/RecordStore.h"

namespace pq::cli {

namespace {

void number(JsonWriter& json, const char* key, double value) {
  json.key(key);
  if (std::isnan(value)) {
    json.null();
  } else {
    json.number(static_cast<float>(value));
  }
}

void verdict(JsonWriter& json, const IndexAssessment& index) {
  json.key("verdict");
  if (index.judged()) {
    json.string(verdictText(index.verdict));
  } else {
    json.null().key("reason").string(index.reason);
  }
}

void span(JsonWriter& json, const AssessmentResult& result) {
  json.key("span").beginObject();
  json.key("first").string(epochTimeText(result.span.first));
  json.key("last").string(epochTimeText(result.span.last));
  json.key("records").integer(result.span.records);
  json.key("recordSeconds").integer(result.setup.recordSeconds);
  json.key("recordIntervals").beginArray();
  for (const int interval : result.recordIntervals) json.integer(interval);
  json.endArray();
  json.key("outageSeconds").integer(result.outageSeconds);
  json.key("gaps").beginArray();
  for (const RecordGap& gap : result.span.gaps) {
    json.beginObject();
    json.key("from").string(epochTimeText(gap.from)).key("to").string(epochTimeText(gap.to));
    json.endObject();
  }
  json.endArray().endObject();
  json.key("skipped").beginObject();
  json.key("duplicates").integer(result.duplicates);
  json.key("outOfOrder").integer(result.outOfOrder);
  json.key("undatable").integer(result.undatable);
  json.endObject();
}

void deviation(JsonWriter& json, const AssessmentResult& result) {
  static constexpr const char* kPhases[] = {"A", "B", "C"};
  static constexpr const char* kLines[] = {"AB", "BC", "CA"};
  json.key("deviation").beginObject();
  const IndexAssessment& first = result.deviation[0].index;
  number(json, "upperLimit", first.upperLimit);
  number(json, "lowerLimit", first.lowerLimit);
  json.key("declaredVoltage").number(static_cast<float>(result.setup.supply.declared));
  json.key("phases").beginObject();
  for (int phase = 0; phase < 3; ++phase) {
    const VoltageDeviationAssessment& d = result.deviation[phase];
    json.key(result.setup.supply.lineVoltages ? kLines[phase] : kPhases[phase]).beginObject();
    json.key("monitoredMinutes").integer(d.monitoredMinutes);
    json.key("overMinutes").integer(d.minutesOver);
    json.key("underMinutes").integer(d.minutesUnder);
    json.key("flaggedMinutes").integer(d.flaggedMinutes);
    json.key("outageMinutes").integer(d.outageMinutes);
    json.key("minutesWithoutValue").integer(d.minutesWithoutValue);
    number(json, "qualificationRate", d.index.passRate);
    number(json, "max", d.index.max);
    number(json, "min", d.index.min);
    number(json, "mean", d.index.mean);
    number(json, "p95", d.index.p95);
    verdict(json, d.index);
    json.endObject();
  }
  json.endObject().key("method").string(first.method).endObject();
}

void unbalance(JsonWriter& json, const UnbalanceAssessment& u) {
  json.key("unbalance").beginObject();
  number(json, "p95", u.voltage.p95);
  number(json, "max", u.voltage.max);
  number(json, "limit", u.voltage.upperLimit);
  number(json, "shortTermLimit", u.voltage.largestLimit);
  number(json, "passRate", u.voltage.passRate);
  verdict(json, u.voltage);
  json.key("flaggedIntervals").integer(u.flaggedIntervals);
  json.key("outageIntervals").integer(u.outageIntervals);
  json.key("method").string(u.voltage.method);
  json.key("current").beginObject();
  number(json, "p95", u.current.p95);
  number(json, "max", u.current.max);
  number(json, "min", u.current.min);
  json.key("method").string(u.current.method).endObject();
  json.endObject();
}

void frequency(JsonWriter& json, const FrequencyDeviationAssessment& f) {
  json.key("frequency").beginObject();
  number(json, "max", f.index.max);
  number(json, "min", f.index.min);
  number(json, "p95", f.index.p95);
  number(json, "limit", f.index.upperLimit);
  number(json, "passRate", f.index.passRate);
  verdict(json, f.index);
  json.key("flaggedIntervals").integer(f.flaggedIntervals);
  json.key("outageIntervals").integer(f.outageIntervals);
  json.key("invalidRecords").integer(f.invalidRecords);
  json.key("method").string(f.index.method).endObject();
}

void harmonics(JsonWriter& json, const std::vector<HarmonicIndex>& indices) {
  json.key("harmonics").beginObject();
  int channel = -1;
  for (const HarmonicIndex& h : indices) {
    if (h.channel != channel) {
      if (channel >= 0) json.endObject();
      channel = h.channel;
      json.key(kChannelNames[channel]).beginObject();
    }
    json.key(h.order == 0 ? std::string("thd") : std::to_string(h.order)).beginObject();
    number(json, "max", h.index.max);
    number(json, "min", h.index.min);
    number(json, "avg", h.index.mean);
    number(json, "p95", h.index.p95);
    number(json, "limit", h.index.upperLimit);
    number(json, "passRate", h.index.passRate);
    verdict(json, h.index);
    json.endObject();
  }
  if (channel >= 0) json.endObject();
  if (!indices.empty()) json.key("method").string(indices.front().index.method);
  json.endObject();
}

void eventList(JsonWriter& json, const char* key, const std::vector<VoltageEvent>& list, bool lineVoltages) {
  json.key(key).beginArray();
  for (const VoltageEvent& e : list) {
    json.beginObject();
    json.key("kind").string(eventKindText(e.kind));
    json.key("start").string(epochTimeText(e.start));
    json.key("durationSeconds").integer(e.durationSeconds);
    json.key("uncertaintySeconds").integer(e.intervalSeconds);
    json.key("phases").string(eventPhasesText(e, lineVoltages));
    number(json, "residual", e.extremePercent);
    json.key("unfinished").boolean(e.unfinished);
    json.endObject();
  }
  json.endArray();
}

void events(JsonWriter& json, const AssessmentResult& result) {
  eventList(json, "events", result.events, result.setup.supply.lineVoltages);
  eventList(json, "sustained", result.sustained, result.setup.supply.lineVoltages);
  json.key("sarfi").beginObject();
  json.key("90").integer(result.sarfi.sarfi90);
  json.key("70").integer(result.sarfi.sarfi70);
  json.key("50").integer(result.sarfi.sarfi50);
  json.key("10").integer(result.sarfi.sarfi10);
  json.endObject();
  json.key("eventsMethod").string(result.eventsMethod);
}

void energy(JsonWriter& json, const AssessmentResult& result) {
  const EnergySummary& e = result.energy;
  json.key("energy").beginObject();
  number(json, "activeKWh", e.activeKwh);
  number(json, "reactiveKvarh", e.reactiveKvarh);
  number(json, "laggingKvarh", e.laggingKvarh);
  number(json, "leadingKvarh", e.leadingKvarh);
  number(json, "powerFactor", e.powerFactor);
  number(json, "maxDemandKW", e.largestDemandKw);
  json.key("maxDemandAt");
  if (std::isnan(e.largestDemandKw)) {
    json.null();
  } else {
    json.string(epochTimeText(e.largestDemandStart));
  }
  json.key("method").string(result.energyMethod).endObject();
}

}  // namespace

std::string assessmentJson(const AssessmentResult& result) {
  JsonWriter json;
  json.beginObject();
  json.key("limitSet").string(result.setup.limitSetName);
  span(json, result);
  json.key("spanMethod").string(result.spanMethod);
  deviation(json, result);
  unbalance(json, result.unbalance);
  frequency(json, result.frequency);
  harmonics(json, result.harmonics);
  events(json, result);
  energy(json, result);
  json.endObject();
  return json.text() + "\n";
}

}  // namespace pq::cli
