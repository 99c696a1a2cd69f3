#include <gtest/gtest.h>

#include "report/ReportFixture.h"
#include "report/ReportPageBuilder.h"
#include "report/ReportPageLayout.h"

namespace pq {
namespace {

using test::handFilledReport;

TEST(ReportPageTest, VoltagePageCellsTakeTheirPictures) {
  ReportPage page = voltagePageForm();
  const ReportParameters p = handFilledReport({Phase::A, ReportQuantity::Voltage}, 100);
  setReportTitle(page, {Phase::A, ReportQuantity::Voltage});
  buildVoltagePage(page, p, 100.0f, "2026-12-10 08:00:00");
  EXPECT_EQ(page.text("title"), "电能质量统计报表（A相电压）");
  EXPECT_EQ(page.text("unit"), "(KV)");
  EXPECT_EQ(page.text("fundamental.max"), "1.123 KV");
  EXPECT_EQ(page.text("fundamental.avg"), "-1.500 KV");
  EXPECT_EQ(page.text("lineFundamental.p95"), "2.250 KV");
  EXPECT_EQ(page.text("harmonic.2.max"), "2.123%");
  EXPECT_EQ(page.text("harmonic.2.min"), "2.000%");  // 2 + 0.0005f is held as 2.000499...
  EXPECT_EQ(page.text("harmonic.25.pass"), "75.00000%");
  EXPECT_EQ(page.text("harmonic.2.permitted"), "1.60%");
  EXPECT_EQ(page.text("harmonic.24.permitted"), "1.60%");
  EXPECT_EQ(page.text("harmonic.3.permitted"), "3.20%");
  EXPECT_EQ(page.text("harmonic.25.permitted"), "3.20%");
  EXPECT_EQ(page.text("thd.permitted"), "4.00%");
  EXPECT_EQ(page.text("deviation.min"), "31.000%");
  EXPECT_EQ(page.text("deviation.permitted"), "±7.00%");
  EXPECT_EQ(page.text("frequency.max"), "33.123Hz");
  EXPECT_EQ(page.text("frequency.permitted"), "±0.2Hz");
  EXPECT_EQ(page.text("unbalance.pass"), "66.00000%");
  EXPECT_EQ(page.text("printDate"), "2026-12-10 08:00:00");
  EXPECT_EQ(page.text("station"), "城东变电站");
}

TEST(ReportPageTest, NumbersRoundHalvesAwayAndKeepTheirSign) {
  ReportPage page = voltagePageForm();
  ReportParameters p = handFilledReport({Phase::B, ReportQuantity::Voltage}, 100);
  p.data.deviation.min = -2.5f;
  p.data.harmonic[2].passRate = 100.0f;
  buildVoltagePage(page, p, 1.0f, "");
  EXPECT_EQ(page.text("deviation.min"), "-2.500%");
  EXPECT_EQ(page.text("harmonic.2.pass"), "100.00000%");
  EXPECT_EQ(page.text("unit"), "(V)");
  EXPECT_EQ(page.text("fundamental.min"), "1.000 V");

  ReportPage current = currentPageForm();
  p.data.kind = {Phase::A, ReportQuantity::Current};
  buildCurrentPage(current, p, "");
  EXPECT_EQ(current.text("harmonic.2.pass"), "100.0000%");
}

TEST(ReportPageTest, BelowTwentySamplesEveryNinetyFivePercentCellIsAStar) {
  for (float samples : {0.0f, 19.0f}) {
    ReportPage voltage = voltagePageForm();
    ReportParameters p = handFilledReport({Phase::A, ReportQuantity::Voltage}, samples);
    buildVoltagePage(voltage, p, 1.0f, "");
    for (const char* row :
         {"fundamental", "lineFundamental", "thd", "deviation", "fluctuation", "frequency", "unbalance"}) {
      EXPECT_EQ(voltage.text(cellKey(row, "p95")), "*") << row;
    }
    ReportPage current = currentPageForm();
    buildCurrentPage(current, p, "");
    EXPECT_EQ(current.text("fundamental.p95"), "*");
    EXPECT_EQ(current.text("thd.p95"), "*");
    for (int n = 2; n <= 25; ++n) {
      EXPECT_EQ(voltage.text(cellKey(harmonicRow(n), "p95")), "*") << n;
      EXPECT_EQ(current.text(cellKey(harmonicRow(n), "p95")), "*") << n;
    }
  }
  ReportPage page = voltagePageForm();
  buildVoltagePage(page, handFilledReport({Phase::A, ReportQuantity::Voltage}, 20.0f), 1.0f, "");
  EXPECT_EQ(page.text("fundamental.p95"), "1.250 V");
}

TEST(ReportPageTest, CurrentPageCellsTakeTheirPictures) {
  ReportPage page = currentPageForm();
  const ReportParameters p = handFilledReport({Phase::B, ReportQuantity::Current}, 100);
  setReportTitle(page, {Phase::B, ReportQuantity::Current});
  buildCurrentPage(page, p, "x");
  EXPECT_EQ(page.text("title"), "电能质量统计报表（B相电流）");
  EXPECT_EQ(page.text("fundamental.max"), "1.123 A");
  EXPECT_EQ(page.text("harmonic.5.p95"), "5.250 A");
  EXPECT_EQ(page.text("harmonic.5.permitted"), "25.00 A");
  EXPECT_EQ(page.text("harmonic.5.pass"), "95.0000%");
  EXPECT_EQ(page.text("thd.avg"), "-30.5%");
  EXPECT_EQ(page.text("minShortCircuit"), "182");
  EXPECT_EQ(page.text("agreed"), "150");
  EXPECT_FALSE(page.has("unit"));
  EXPECT_FALSE(page.has("thd.pass"));
}

TEST(ReportPageTest, FormsHaveTheirRulingAndStaticTexts) {
  const ReportPage voltage = voltagePageForm();
  const auto hasText = [](const ReportPage& page, int x, int y, const std::string& text) {
    for (const auto& t : page.texts()) {
      if (t.x == x && t.y == y && t.text == text) return true;
    }
    return false;
  };
  EXPECT_TRUE(hasText(voltage, 136, 250, "02"));
  EXPECT_TRUE(hasText(voltage, 136, 825, "25"));
  EXPECT_TRUE(hasText(voltage, 72, 312, "20"));
  EXPECT_TRUE(hasText(voltage, 60, 528, "（%）"));
  EXPECT_TRUE(hasText(voltage, 128, 206, "相电压"));
  // 4 frame + 7 columns + group divider + 7 full rows + 1 + 23 harmonic lines + the dash.
  EXPECT_EQ(voltage.lines().size(), 4u + 7 + 1 + 7 + 1 + 23 + 1);
  const ReportPage current = currentPageForm();
  EXPECT_TRUE(hasText(current, 128, 984, "25"));
  EXPECT_TRUE(hasText(current, 64, 352, "24"));
  EXPECT_TRUE(hasText(current, 52, 568, "（A）"));
  EXPECT_EQ(current.lines().size(), 4u + 7 + 1 + 3 + 23 + 1);
  for (const auto& line : current.lines()) {
    EXPECT_LE(line.x2, ReportPage::kWidth);
    EXPECT_LE(line.y2, ReportPage::kHeight);
  }
}

TEST(ReportPageTest, EmptyParametersLeaveValuesEmptyAndLabels) {
  ReportPage page = currentPageForm();
  ReportParameters p = handFilledReport({Phase::A, ReportQuantity::Current}, 100);
  p.stationName.clear();
  p.minShortCircuitText.clear();
  buildCurrentPage(page, p, "");
  EXPECT_EQ(page.text("station"), "");
  EXPECT_EQ(page.text("minShortCircuit"), "");
  EXPECT_THROW(page.text("no.such.cell"), std::out_of_range);
}

}  // namespace
}  // namespace pq
