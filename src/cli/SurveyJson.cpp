#include "cli/SurveyJson.h"

#include "timerange/EpochSeconds.h"

namespace pq::cli {

void timeOrNull(JsonWriter& json, const std::optional<std::int64_t>& seconds) {
  if (seconds) {
    json.string(epochTimeText(*seconds));
  } else {
    json.null();
  }
}

std::string surveyJson(const Survey& survey, const std::vector<std::string>& mismatches,
                       const std::vector<std::string>& planNotes, std::optional<std::int64_t> id) {
  JsonWriter json;
  json.beginObject();
  if (id) json.key("id").integer(*id);
  json.key("files").beginArray();
  for (const auto& file : survey.files) {
    json.beginObject().key("path").string(file.path).key("first");
    timeOrNull(json, file.first);
    json.key("last");
    timeOrNull(json, file.last);
    json.key("records").integer(file.records).key("skipped").integer(file.skipped).endObject();
  }
  json.endArray().key("gaps").beginArray();
  for (const auto& gap : survey.gaps) {
    json.beginObject()
        .key("from")
        .string(epochTimeText(gap.from))
        .key("to")
        .string(epochTimeText(gap.to))
        .endObject();
  }
  json.endArray().key("mismatches").beginArray();
  for (const auto& text : mismatches) json.string(text);
  json.endArray().key("overlaps").beginArray();
  for (const auto& file : survey.files) {
    if (file.overlapping > 0)
      json.beginObject().key("path").string(file.path).key("records").integer(file.overlapping).endObject();
  }
  // What the survey left out or could read only in part, in the words stderr shows them.
  json.endArray().key("notes").beginArray();
  for (const auto& text : planNotes) json.string(text);
  for (const auto& text : survey.leftOut) json.string(text);
  for (const auto& file : survey.files) {
    for (const auto& text : file.damage) json.string(text);
  }
  json.endArray().endObject();
  return json.text() + '\n';
}

}  // namespace pq::cli
