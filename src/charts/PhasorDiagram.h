#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace pq {
struct MeasurementRecord;
}

namespace pq::history {

// The phasor diagram as a display list in logical units: a 4480 x 4480 square, origin at its centre, y
// pointing up; angles in degrees clockwise from the positive y axis. PhasorDiagramPainter maps it onto
// the 273 x 273 pixel area of the "矢量" groups (16 units a pixel, origin at pixel (140, 140)).

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

struct LogicalPoint {
  double x = 0, y = 0;
  bool operator==(const LogicalPoint&) const = default;
};

struct FilledSquare {
  LogicalPoint topLeft, bottomRight;
  Rgb colour;
};
struct Circle {
  LogicalPoint centre;
  double radius = 0;
  Rgb colour;
  double penWidth = 0;
};
struct Line {
  LogicalPoint from, to;
  Rgb colour;
  double penWidth = 0;
};
// `position` is the text's top-left corner; the text runs right and down (towards smaller y).
struct Text {
  LogicalPoint position;
  std::string text;
  Rgb colour;
  double height = 0;  // of the characters, in logical units
  bool bold = false;
};

using PhasorShape = std::variant<FilledSquare, Circle, Line, Text>;
using PhasorDiagram = std::vector<PhasorShape>;

inline constexpr double kDiagramHalfSide = 2240;
inline constexpr double kVoltageLength = 1200;
inline constexpr double kCurrentLength = 800;
inline constexpr double kLabelHeight = 171;  // font size 128 at 96 dots per inch

inline constexpr Rgb kPhaseAColour{255, 255, 0};
inline constexpr Rgb kPhaseBColour{0, 128, 0};
inline constexpr Rgb kPhaseCColour{255, 0, 0};

// The phase angles of a measurement relative to Ua, in degrees (cells 30..34 of a record).
struct PhasorAngles {
  double uaUb = 0, uaUc = 0, uaIa = 0, uaIb = 0, uaIc = 0;
};

PhasorAngles phasorAnglesOf(const MeasurementRecord& record);

// The grid: grey square, three circles, axes with arrowheads, four diameters and the twelve angle texts.
PhasorDiagram phasorBackground();

// Appends the phasors of a measurement: six for wiring mode 1 (four-wire), four for mode 3
// (three-wire, line voltages and the currents shifted by 30 degrees), none for any other mode.
void addPhasors(PhasorDiagram& diagram, int wiringMode, const PhasorAngles& angles);

// Appends one phasor: a line from the origin, an arrowhead and the label beside the tip. A phasor
// whose angle is no finite number (a damaged record) is left out, as it has no direction to draw.
void addPhasor(PhasorDiagram& diagram, double length, const std::string& label, double angleDegrees,
               Rgb colour);

}  // namespace pq::history
