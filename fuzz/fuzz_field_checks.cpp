// The date-time and capacity fields on arbitrary texts, through the functions the report
// parameters window, the trend pages' time panels and the command line call: key filters, the
// check on leaving a field, the date-time of a range end, the range selection and the limits
// computed from the capacities. Input: up to ten texts separated by line feeds (five date fields
// of the start, five of the end), then the voltage level text and the three capacity texts.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/ConversionError.h"
#include "base/FieldText.h"
#include "records/RecordStore.h"
#include "statistics/ReportLimits.h"
#include "statistics/ReportParameters.h"
#include "statistics/ReportRun.h"
#include "timerange/CalendarDateTime.h"
#include "timerange/DateFieldRules.h"

namespace {

using namespace pq;

std::vector<std::string> splitLines(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> parts(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == '\n') {
      parts.emplace_back();
    } else {
      parts.back().push_back(static_cast<char>(data[i]));
    }
  }
  return parts;
}

// Three records a minute apart from 2010-03-19 16:40:00, as BCD time stamps.
RecordStore& sampleStore() {
  static RecordStore store;
  if (store.recordCount() == 0) {
    for (std::uint32_t minute : {0x40u, 0x41u, 0x42u}) {
      MeasurementRecord record{};
      const std::uint32_t stamp[6] = {0x10, 0x03, 0x19, 0x16, minute, 0x00};
      for (int i = 0; i < 6; ++i) record.cells[i] = stamp[i];
      store.append(record);
    }
    store.fileName = "sample.bin";
  }
  return store;
}

template <typename F>
void tolerateConversionError(F&& f) {
  try {
    f();
  } catch (const ConversionError&) {
  }
}

void typeInto(DateFieldKind kind, const std::string& text) {
  std::string field;
  for (unsigned char c : text) {
    if (filterKey(kind, field, c) != KeyAction::Drop) field.push_back(static_cast<char>(c));
  }
  (void)filterKey(kind, text, kEnterKey);
  tolerateConversionError([&] { (void)validateField(kind, text); });
}

void typeCapacity(ReportParameters& parameters, const std::string& text) {
  for (unsigned char c : text) (void)parameters.filterCapacityKey(text, c);
  parameters.capacityFieldLeft();
  tolerateConversionError([&] { (void)generalNumberText(fieldDecimal(text)); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> texts = splitLines(data, size);
  texts.resize(14);

  ReportParameters parameters;
  parameters.fileNameText = "sample.bin";
  for (std::size_t i = 0; i < 5; ++i) {
    parameters.start.texts[i] = texts[i];
    parameters.end.texts[i] = texts[5 + i];
    typeInto(DateFieldGroup::kKinds[i], texts[i]);
    typeInto(DateFieldGroup::kKinds[i], texts[5 + i]);
  }
  parameters.voltageLevelText = texts[10];
  for (std::size_t i = 11; i < 14; ++i) typeCapacity(parameters, texts[i]);

  RecordStore& store = sampleStore();
  tolerateConversionError([&] { (void)CalendarDateTime::parse(texts[0]); });
  tolerateConversionError([&] {
    if (!parameters.checkReportInputs(store)) (void)selectReportRange(store, parameters);
  });

  ReportLimits limits;
  limits.setVoltageLimits(texts[10]);
  tolerateConversionError([&] { limits.computeCurrentLimits(texts[10], texts[11], texts[12], texts[13]); });
  (void)trimmedField(texts[0]);
  tolerateConversionError([&] { (void)fieldInteger(texts[1]); });
  return 0;
}
