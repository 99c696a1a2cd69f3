#include "history/RecordGridTexts.h"

#include <gtest/gtest.h>

#include "records/RecordStore.h"
#include "support/StoreBuilder.h"

namespace pq {
namespace {

// One hand-made three-wire record on a 100:1 voltage transformer; every expected text below is worked
// out by hand from the grid's formats, not taken from a run.
class RecordGridTextsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    store.resetDefaults();
    store.ptRatio = 100;
    store.ctRatio = 1.1f;
    store.nominalVoltage = 10;
    MeasurementRecord& r = test::appendRecord(store, 2010, 4, 19, 15, 40, 0, 3);
    r.setValue(cells::spare, 2.0f);
    r.setValue(cells::uaRms, 10.5f);
    r.setValue(cells::ucMin, 9.875f);
    r.setValue(cells::ibRms, 12.25f);
    r.setValue(cells::pA, 1.25f);
    r.setValue(cells::pB, 2.5f);
    r.setValue(cells::pC, -0.75f);
    r.setValue(cells::qC, -4.5f);
    r.setValue(cells::pfTotal, -0.5f);
    r.setValue(cells::angleUaUc, 120.0f);
    r.setValue(cells::frequency, 49.98f);
    r.setValue(cells::uNegative, 0.0625f);
    r.setValue(cells::uUnbalance, 1.5f);
    r.setValue(cells::iUnbalance, 0.125f);
    r.setValue(cells::harmonic(Ua, 1), 100.0f);
    r.setValue(cells::harmonic(Ua, 5), 3.0f);
    r.setValue(cells::harmonic(Ub, 5), 3.0f);  // Ub's fundamental is 0
    r.setValue(cells::harmonic(Ia, 1), 2.0f);
    r.setValue(cells::harmonic(Ia, 3), 0.5f);
    r.setValue(cells::harmonic(Ic, 64), 0.25f);
    r.setValue(cells::harmonic(Ic, 65), 9.0f);  // order 65 is never shown
    grid.writeFixedTexts();
    grid.writeRecord(store, 0);
  }

  RecordStore store;
  RecordGridTexts grid;
};

struct CellText {
  int row, column;
  const char* text;
};

TEST_F(RecordGridTextsTest, FixedTexts) {
  const CellText cases[] = {
      {0, 0, "     数据名称"}, {0, 1, "     数值"}, {0, 2, "  谐波次数"},  {0, 3, "       Ua"},
      {0, 8, "       Ic"},     {1, 0, " 接线方式"}, {5, 0, " 备用"},       {14, 0, " Uc_min"},
      {20, 0, " C相有功"},     {21, 0, "总有功"},   {29, 0, "总功率因数"}, {36, 0, "UcIc夹角"},
      {45, 0, "电流不平衡"},   {46, 0, ""},         {1, 2, "总畸变率"},    {2, 2, "基波"},
      {3, 2, "2次谐波"},       {65, 2, "64次谐波"},
  };
  for (const auto& c : cases) EXPECT_EQ(grid.text(c.row, c.column), c.text) << c.row << "," << c.column;
}

TEST_F(RecordGridTextsTest, ValuesOfOneRecord) {
  const CellText cases[] = {
      {1, 1, "三相三线"},
      {2, 1, "100"},
      {3, 1, "1.10000002384186"},  // the single-precision 1.1 widened
      {4, 1, "10.000  KV"},
      {5, 1, "2.000  "},
      {6, 1, "10.500  KV"},
      {14, 1, "9.875  KV"},
      {16, 1, "12.250 A "},
      {18, 1, "1.25  KW"},
      {20, 1, "-0.75  KW"},
      {21, 1, "3.00  KW"},
      {24, 1, "-4.50  KVar"},
      {25, 1, "-4.50  KVar"},
      {29, 1, "-0.500  "},
      {31, 1, "120.00°"},
      {37, 1, "49.98 Hz "},
      {40, 1, "0.063  KV"},  // 0.0625 is exact in binary: the half rounds away from zero
      {41, 1, "1.50 % "},
      {45, 1, "0.13 % "},
      {46, 1, ""},
      // Ua: fundamental 100, order 5 at 3.
      {1, 3, "  3.00%"},
      {2, 3, "100.000 KV"},
      {3, 3, "0.000 KV  0.00%"},
      {6, 3, "3.000 KV  3.00%"},
      // Ub: a fundamental of 0 gives 0 % everywhere.
      {1, 4, "  0.00%"},
      {2, 4, "0.000 KV"},
      {6, 4, "3.000 KV  0.00%"},
      // Ia: fundamental 2 A, order 3 at 0.5 A.
      {1, 6, "  25.00%"},
      {2, 6, "  2.000A "},
      {4, 6, "0.500A    25.00%"},
      {5, 6, "0.000A    0.00%"},
      // Ic: order 64 in the last row; its fundamental of 0 gives no percent.
      {65, 8, "0.250A    0.00%"},
  };
  for (const auto& c : cases) EXPECT_EQ(grid.text(c.row, c.column), c.text) << c.row << "," << c.column;
}

TEST_F(RecordGridTextsTest, WiringModeTextsAndUnknownModeKeepsCell) {
  test::appendRecord(store, 2010, 4, 19, 15, 41, 0, 1);
  test::appendRecord(store, 2010, 4, 19, 15, 42, 0, 7);
  grid.writeRecord(store, 1);
  EXPECT_EQ(grid.text(1, 1), "三相四线");
  grid.writeRecord(store, 2);
  EXPECT_EQ(grid.text(1, 1), "三相四线");
}

TEST_F(RecordGridTextsTest, VoltUnitsWithoutTransformer) {
  store.ptRatio = 1;
  grid.writeRecord(store, 0);
  EXPECT_EQ(grid.text(6, 1), "10.500  V");
  EXPECT_EQ(grid.text(21, 1), "3.00  W");
  EXPECT_EQ(grid.text(25, 1), "-4.50  Var");
  EXPECT_EQ(grid.text(6, 3), "3.000 V  3.00%");
}

TEST_F(RecordGridTextsTest, NonFiniteValuesPrintWithoutFailing) {
  store.record(0).setValue(cells::uaRms, std::numeric_limits<float>::quiet_NaN());
  store.record(0).setValue(cells::harmonic(Ua, 1), std::numeric_limits<float>::infinity());
  grid.writeRecord(store, 0);
  EXPECT_EQ(grid.text(6, 1), "NAN  KV");
  EXPECT_EQ(grid.text(2, 3), "INF KV");
}

TEST_F(RecordGridTextsTest, ClearingLeavesHeaderAndNamesOnly) {
  grid.clearValues();
  EXPECT_EQ(grid.text(0, 1), "     数值");
  EXPECT_EQ(grid.text(6, 0), " Ua有效值");
  for (int row = 1; row < RecordGridTexts::kRows; ++row) {
    for (int column = 1; column < RecordGridTexts::kColumns; ++column) EXPECT_EQ(grid.text(row, column), "");
  }
}

}  // namespace
}  // namespace pq
