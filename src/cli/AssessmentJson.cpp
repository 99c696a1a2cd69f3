#include "cli/AssessmentJson.h"

#include <string>

#include "assessment/AssessmentIndices.h"
#include "cli/AssessedRecording.h"
#include "export/JsonWriter.h"
#include "records/RecordStore.h"
#include "timerange/EpochSeconds.h"

namespace pq::cli {

namespace {

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

}  // namespace

std::string assessmentJson(const AssessmentResult& result) {
  JsonWriter json;
  json.beginObject();
  json.key("limitSet").string(result.setup.limitSetName);
  span(json, result);
  json.key("spanMethod").string(result.spanMethod);
  for (const AssessmentIndexSection* section : assessmentIndexSections()) section->addJsonMembers(result, json);
  json.endObject();
  return json.text() + "\n";
}

}  // namespace pq::cli
