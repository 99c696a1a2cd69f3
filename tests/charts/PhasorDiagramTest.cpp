#include "charts/PhasorDiagram.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace pq::history {
namespace {

constexpr double kK = 0.70710678;  // cos 45°

const Text* findText(const PhasorDiagram& diagram, const std::string& text) {
  for (const PhasorShape& shape : diagram) {
    if (const auto* found = std::get_if<Text>(&shape); found != nullptr && found->text == text) return found;
  }
  return nullptr;
}

// The phasor lines drawn after the background: the shaft from the origin first, then two arrow strokes.
std::vector<Line> linesAfterBackground(const PhasorDiagram& diagram) {
  std::vector<Line> lines;
  for (std::size_t i = phasorBackground().size(); i < diagram.size(); ++i) {
    if (const auto* line = std::get_if<Line>(&diagram[i])) lines.push_back(*line);
  }
  return lines;
}

void expectPoint(LogicalPoint actual, double x, double y) {
  EXPECT_NEAR(actual.x, x, 0.01);
  EXPECT_NEAR(actual.y, y, 0.01);
}

TEST(PhasorBackgroundTest, GridFromTheFixedGeometry) {
  const PhasorDiagram grid = phasorBackground();
  ASSERT_FALSE(grid.empty());
  const auto* square = std::get_if<FilledSquare>(&grid.front());
  ASSERT_NE(square, nullptr);
  EXPECT_EQ(square->colour, (Rgb{128, 128, 128}));
  expectPoint(square->topLeft, -2240, 2240);
  expectPoint(square->bottomRight, 2240, -2240);

  std::vector<double> radii;
  std::vector<Line> lines;
  int texts = 0;
  for (const PhasorShape& shape : grid) {
    if (const auto* circle = std::get_if<Circle>(&shape)) {
      radii.push_back(circle->radius);
      EXPECT_EQ(circle->penWidth, 16);
    }
    if (const auto* line = std::get_if<Line>(&shape)) lines.push_back(*line);
    if (std::holds_alternative<Text>(shape)) ++texts;
  }
  EXPECT_EQ(radii, (std::vector<double>{1600, 1200, 800}));
  EXPECT_EQ(texts, 12);
  // Two axes, four arrow strokes, four diameters.
  ASSERT_EQ(lines.size(), 10u);
  expectPoint(lines[0].from, -2000, 0);
  expectPoint(lines[0].to, 2000, 0);
  expectPoint(lines[2].from, 1820, 25);
  expectPoint(lines[2].to, 2000, 0);
  // The 30° diameter, with pi taken as 3.1415926: 1600 sin 30° is 799.99996.
  expectPoint(lines[6].from, 799.99996, 1385.64066);
  expectPoint(lines[6].to, -799.99996, -1385.64066);
  expectPoint(lines[9].from, 799.99996, -1385.64066);

  const struct {
    const char* text;
    double x, y;
  } labels[] = {{"0°", 100, 1830},          {"30°", 819.99996, 1585.64066}, {"90°", 1650, 230},
                {"180°", -450, -1650},      {"240°", -1785.64066, -900},    {"270°", -2050, 230},
                {"300°", -1785.64066, 1050}};
  for (const auto& label : labels) {
    SCOPED_TRACE(label.text);
    const Text* text = findText(grid, label.text);
    ASSERT_NE(text, nullptr);
    expectPoint(text->position, label.x, label.y);
    EXPECT_TRUE(text->bold);
    EXPECT_EQ(text->height, 171);
  }
}

TEST(PhasorDiagramTest, FourWireRecord) {
  PhasorDiagram diagram = phasorBackground();
  addPhasors(diagram, 1, {240, 120, 30, 0, 0});
  const std::vector<Line> lines = linesAfterBackground(diagram);
  ASSERT_EQ(lines.size(), 18u);  // six phasors of three strokes

  // Degrees become radians by dividing by 57.3: 240° is 4.188482 rad.
  const Line& ub = lines[3];
  expectPoint(ub.from, 0, 0);
  expectPoint(ub.to, 1200 * std::sin(240 / 57.3), 1200 * std::cos(240 / 57.3));
  EXPECT_LT(ub.to.x, 0);  // down-left
  EXPECT_LT(ub.to.y, 0);
  EXPECT_EQ(ub.colour, kPhaseBColour);
  EXPECT_EQ(ub.penWidth, 32);
  const Line& uc = lines[6];
  EXPECT_GT(uc.to.x, 0);  // down-right
  EXPECT_LT(uc.to.y, 0);
  EXPECT_EQ(uc.colour, kPhaseCColour);

  const Line& ia = lines[9];
  const double tipX = 800 * std::sin(30 / 57.3), tipY = 800 * std::cos(30 / 57.3);
  expectPoint(ia.to, tipX, tipY);
  // Arrow strokes end at the tip and start 200 units back along the shaft turned by ±10°.
  expectPoint(lines[10].from, tipX - 200 * std::sin(40 / 57.3), tipY - 200 * std::cos(40 / 57.3));
  expectPoint(lines[10].to, tipX, tipY);
  expectPoint(lines[11].from, tipX - 200 * std::sin(20 / 57.3), tipY - 200 * std::cos(20 / 57.3));
  // Ia's label sits to the upper right of its tip.
  const Text* label = findText(diagram, "Ia");
  ASSERT_NE(label, nullptr);
  expectPoint(label->position, tipX + 100 * kK, tipY + 100 * kK);
  EXPECT_EQ(label->colour, kPhaseAColour);

  expectPoint(lines[0].to, 0, 1200);  // Ua straight up
}

TEST(PhasorDiagramTest, ThreeWireRecordShiftsByThirtyDegrees) {
  PhasorDiagram diagram = phasorBackground();
  addPhasors(diagram, 3, {0, 250, 20, 0, 130});
  const std::vector<Line> lines = linesAfterBackground(diagram);
  ASSERT_EQ(lines.size(), 12u);  // Uab, Ucb, Ia, Ic
  expectPoint(lines[0].to, 1200 * std::sin(330 / 57.3), 1200 * std::cos(330 / 57.3));
  expectPoint(lines[3].to, 1200 * std::sin(220 / 57.3), 1200 * std::cos(220 / 57.3));
  // Ia at 20 - 30 = -10°: the label goes to the left of the tip.
  const double tipX = 800 * std::sin(-10 / 57.3), tipY = 800 * std::cos(-10 / 57.3);
  expectPoint(lines[6].to, tipX, tipY);
  const Text* ia = findText(diagram, "Ia");
  ASSERT_NE(ia, nullptr);
  expectPoint(ia->position, tipX - 350 * kK, tipY + 100 * kK);
  EXPECT_NE(findText(diagram, "Uab"), nullptr);
  EXPECT_NE(findText(diagram, "Ucb"), nullptr);
  EXPECT_EQ(findText(diagram, "Ub"), nullptr);
}

TEST(PhasorDiagramTest, OtherWiringModesDrawOnlyTheGrid) {
  for (int mode : {0, 2, 4, -1}) {
    PhasorDiagram diagram = phasorBackground();
    addPhasors(diagram, mode, {240, 120, 30, 270, 150});
    EXPECT_EQ(diagram.size(), phasorBackground().size()) << mode;
  }
}

TEST(PhasorDiagramTest, LabelPlacementByAngle) {
  const struct {
    double degrees;
    double dx, dy;
  } cases[] = {
      {0, 100, 100},    {45, 100, 100},   {89.9, 100, 100},  {90, -350, 100},
      {135, 50, -100},  {180, -350, 100}, {200, -200, -100}, {270, -350, 100},
      {300, -350, 100}, {-10, -350, 100}, {400, -350, 100},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.degrees);
    PhasorDiagram diagram;
    addPhasor(diagram, 1000, "X", c.degrees, kPhaseAColour);
    ASSERT_EQ(diagram.size(), 4u);
    const LogicalPoint tip = std::get<Line>(diagram[0]).to;
    expectPoint(std::get<Text>(diagram[3]).position, tip.x + c.dx * kK, tip.y + c.dy * kK);
  }
}

TEST(PhasorDiagramTest, AnAngleThatIsNoNumberIsLeftOut) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  PhasorDiagram diagram = phasorBackground();
  addPhasors(diagram, 1, {nan, inf, -inf, 30, nan});
  // Ua (always 0°) and Ib remain.
  EXPECT_EQ(linesAfterBackground(diagram).size(), 6u);
  EXPECT_NE(findText(diagram, "Ua"), nullptr);
  EXPECT_NE(findText(diagram, "Ib"), nullptr);
  EXPECT_EQ(findText(diagram, "Ub"), nullptr);
  for (const PhasorShape& shape : diagram) {
    if (const auto* line = std::get_if<Line>(&shape)) {
      EXPECT_TRUE(std::isfinite(line->to.x) && std::isfinite(line->to.y) && std::isfinite(line->from.x));
    }
  }
}

}  // namespace
}  // namespace pq::history
