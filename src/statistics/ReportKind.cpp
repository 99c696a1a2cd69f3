#include "statistics/ReportKind.h"

#include "records/MeasurementRecord.h"

namespace pq {

namespace {

constexpr const char* kPhaseLetters[] = {"A", "B", "C"};

std::string quantityWord(ReportQuantity quantity) {
  return quantity == ReportQuantity::Voltage ? "电压" : "电流";
}

// "A相电压": the phase and quantity as the titles and captions name them.
std::string phaseQuantityText(const ReportKind& kind) {
  return kPhaseLetters[kind.phaseIndex()] + std::string("相") + quantityWord(kind.quantity);
}

}  // namespace

int ReportKind::channel() const { return (voltage() ? Ua : Ia) + phaseIndex(); }

std::string ReportKind::name() const { return kChannelNames[channel()]; }

std::string ReportKind::title() const { return "电能质量统计报表（" + phaseQuantityText(*this) + "）"; }

std::string ReportKind::buttonCaption() const { return phaseQuantityText(*this) + "报表   "; }

std::optional<ReportKind> reportKindNamed(std::string_view name) {
  for (const ReportKind& kind : kReportKinds) {
    if (kind.name() == name) return kind;
  }
  return std::nullopt;
}

}  // namespace pq
