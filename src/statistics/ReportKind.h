#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pq {

enum class Phase : std::uint8_t { A, B, C };
enum class ReportQuantity : std::uint8_t { Voltage, Current };

// What a report is about: one phase's voltage or current. Everything that differs between the six
// reports but not between their page forms (channel, names, title, button caption) follows from it
// here.
struct ReportKind {
  Phase phase = Phase::A;
  ReportQuantity quantity = ReportQuantity::Voltage;

  bool operator==(const ReportKind&) const = default;

  bool voltage() const { return quantity == ReportQuantity::Voltage; }
  int phaseIndex() const { return static_cast<int>(phase); }
  // The record channel whose values the report reads (records/MeasurementRecord.h).
  int channel() const;
  // "Ua" .. "Ic": the report window's phase buttons, `report --phase` and the JSON object.
  std::string name() const;
  // The page title, such as "电能质量统计报表（A相电压）".
  std::string title() const;
  // The report parameters window's button, such as "A相电压报表   ".
  std::string buttonCaption() const;
};

// Every report kind, in the order of the report window's phase buttons.
inline constexpr std::array<ReportKind, 6> kReportKinds{{
    {Phase::A, ReportQuantity::Voltage},
    {Phase::B, ReportQuantity::Voltage},
    {Phase::C, ReportQuantity::Voltage},
    {Phase::A, ReportQuantity::Current},
    {Phase::B, ReportQuantity::Current},
    {Phase::C, ReportQuantity::Current},
}};

// The kind whose name() is `name`; nullopt for any other text.
std::optional<ReportKind> reportKindNamed(std::string_view name);

}  // namespace pq
