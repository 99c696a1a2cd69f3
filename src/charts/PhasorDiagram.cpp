#include "charts/PhasorDiagram.h"

#include <cmath>

#include "records/MeasurementRecord.h"

namespace pq::history {

namespace {

constexpr Rgb kGrey{128, 128, 128};
constexpr Rgb kWhite{255, 255, 255};
constexpr double kGridPen = 16;
constexpr double kPhasorPen = 32;
constexpr double kOuterRadius = 1600;
constexpr double kAxisEnd = 2000;
// The grid's diameters use this value of pi; the phasors turn degrees into radians by dividing by
// 57.3. Both are kept so the picture matches the instrument's own drawing to the unit.
constexpr double kGridPi = 3.1415926;
constexpr double kDegreesPerRadian = 57.3;
constexpr double kArrowLength = 200;
constexpr double kArrowSpread = 10;

void line(PhasorDiagram& diagram, LogicalPoint from, LogicalPoint to, Rgb colour, double pen) {
  diagram.push_back(Line{from, to, colour, pen});
}

}  // namespace

PhasorAngles phasorAnglesOf(const MeasurementRecord& record) {
  return {record.value(cells::angleUaUb), record.value(cells::angleUaUc), record.value(cells::angleUaIa),
          record.value(cells::angleUaIb), record.value(cells::angleUaIc)};
}

PhasorDiagram phasorBackground() {
  PhasorDiagram diagram;
  diagram.push_back(
      FilledSquare{{-kDiagramHalfSide, kDiagramHalfSide}, {kDiagramHalfSide, -kDiagramHalfSide}, kGrey});
  for (double radius : {1600.0, 1200.0, 800.0}) diagram.push_back(Circle{{0, 0}, radius, kWhite, kGridPen});

  line(diagram, {-kAxisEnd, 0}, {kAxisEnd, 0}, kWhite, kGridPen);
  line(diagram, {0, -kAxisEnd}, {0, kAxisEnd}, kWhite, kGridPen);
  for (double side : {25.0, -25.0}) {
    line(diagram, {1820, side}, {kAxisEnd, 0}, kWhite, kGridPen);
    line(diagram, {side, 1820}, {0, kAxisEnd}, kWhite, kGridPen);
  }

  for (double degrees : {30.0, 60.0, 120.0, 150.0}) {
    const double radians = degrees * kGridPi / 180;
    const double x = kOuterRadius * std::sin(radians);
    const double y = kOuterRadius * std::cos(radians);
    line(diagram, {x, y}, {-x, -y}, kWhite, kGridPen);
  }

  const double r = kOuterRadius;
  const double c30 = std::cos(30 * kGridPi / 180);
  const double s30 = std::sin(30 * kGridPi / 180);
  const struct {
    const char* text;
    double x, y;
  } labels[] = {
      {"0°", 100, r + 230},
      {"30°", r * s30 + 20, r * c30 + 200},
      {"60°", r * c30 + 50, r * s30 + 100},
      {"90°", r + 50, 230},
      {"120°", r * c30 + 50, -r * s30},
      {"150°", r * s30 + 20, -r * c30},
      {"180°", -450, -r - 50},
      {"210°", -r * s30 - 350, -r * c30 - 100},
      {"240°", -r * c30 - 400, -r * s30 - 100},
      {"270°", -r - 450, 230},
      {"300°", -r * c30 - 400, r * s30 + 250},
      {"330°", -r * s30 - 400, r * c30 + 250},
  };
  for (const auto& label : labels) {
    diagram.push_back(Text{{label.x, label.y}, label.text, kWhite, kLabelHeight, true});
  }
  return diagram;
}

void addPhasors(PhasorDiagram& diagram, int wiringMode, const PhasorAngles& angles) {
  if (wiringMode == 1) {
    addPhasor(diagram, kVoltageLength, "Ua", 0, kPhaseAColour);
    addPhasor(diagram, kVoltageLength, "Ub", angles.uaUb, kPhaseBColour);
    addPhasor(diagram, kVoltageLength, "Uc", angles.uaUc, kPhaseCColour);
    addPhasor(diagram, kCurrentLength, "Ia", angles.uaIa, kPhaseAColour);
    addPhasor(diagram, kCurrentLength, "Ib", angles.uaIb, kPhaseBColour);
    addPhasor(diagram, kCurrentLength, "Ic", angles.uaIc, kPhaseCColour);
  } else if (wiringMode == 3) {
    // A three-wire measurement relates line voltages: Uab leads Ua by 30 degrees.
    addPhasor(diagram, kVoltageLength, "Uab", 330, kPhaseAColour);
    addPhasor(diagram, kVoltageLength, "Ucb", angles.uaUc - 30, kPhaseCColour);
    addPhasor(diagram, kCurrentLength, "Ia", angles.uaIa - 30, kPhaseAColour);
    addPhasor(diagram, kCurrentLength, "Ic", angles.uaIc - 30, kPhaseCColour);
  }
}

void addPhasor(PhasorDiagram& diagram, double length, const std::string& label, double angleDegrees,
               Rgb colour) {
  if (!std::isfinite(angleDegrees)) return;
  auto direction = [](double degrees) {
    const double radians = degrees / kDegreesPerRadian;
    return LogicalPoint{std::sin(radians), std::cos(radians)};
  };
  const LogicalPoint unit = direction(angleDegrees);
  const LogicalPoint tip{length * unit.x, length * unit.y};
  line(diagram, {0, 0}, tip, colour, kPhasorPen);
  for (double spread : {kArrowSpread, -kArrowSpread}) {
    const LogicalPoint side = direction(angleDegrees + spread);
    line(diagram, {tip.x - kArrowLength * side.x, tip.y - kArrowLength * side.y}, tip, colour, kPhasorPen);
  }

  const double k = std::cos(45 * kGridPi / 180);
  const double theta = angleDegrees;
  LogicalPoint offset{-350 * k, 100 * k};
  if (theta >= 0 && theta < 90) {
    offset = {100 * k, 100 * k};
  } else if (theta > 90 && theta < 180) {
    offset = {50 * k, -100 * k};
  } else if (theta > 180 && theta < 270) {
    offset = {-200 * k, -100 * k};
  }
  diagram.push_back(Text{{tip.x + offset.x, tip.y + offset.y}, label, colour, kLabelHeight, true});
}

}  // namespace pq::history
