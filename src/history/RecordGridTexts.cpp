#include "history/RecordGridTexts.h"

#include "base/FieldText.h"
#include "base/PictureFormat.h"
#include "records/RecordStore.h"

namespace pq {

namespace {

constexpr const char* kHeader[RecordGridTexts::kColumns] = {"     数据名称", "     数值", "  谐波次数",
                                                            "       Ua",     "       Ub", "       Uc",
                                                            "       Ia",     "       Ib", "       Ic"};

constexpr const char* kValueNames[] = {
    " 接线方式",  " PT变比",   " CT变比",   " 额定电压", " 备用",       " Ua有效值",   " Ua_max",
    " Ua_min",    " Ub有效值", " Ub_max",   " Ub_min",   " Uc有效值",   " Uc_max",     " Uc_min",
    " Ia有效值",  " Ib有效值", " Ic有效值", " A相有功",  " B相有功",    " C相有功",    "总有功",
    "A相无功",    "B相无功",   "C相无功",   "总无功",    "A相功率因数", "B相功率因数", "C相功率因数",
    "总功率因数", "UaUb夹角",  "UaUc夹角",  "UaIa夹角",  "UaIb夹角",    "UaIc夹角",    "UbIb夹角",
    "UcIc夹角",   "频率",      "零序电压",  "正序电压",  "负序电压",    "电压不平衡",  "零序电流",
    "正序电流",   "负序电流",  "电流不平衡"};
static_assert(std::size(kValueNames) == 45);

constexpr int kLastOrderShown = 64;

}  // namespace

void RecordGridTexts::writeFixedTexts() {
  for (int column = 0; column < kColumns; ++column) cells_[0][column] = kHeader[column];
  for (int row = 1; row <= 45; ++row) cells_[row][0] = kValueNames[row - 1];
  cells_[1][2] = "总畸变率";
  cells_[2][2] = "基波";
  for (int order = 2; order <= kLastOrderShown; ++order)
    cells_[order + 1][2] = std::to_string(order) + "次谐波";
}

void RecordGridTexts::writeRecord(const RecordStore& store, int index) {
  const MeasurementRecord& record = store.record(index);
  const std::string voltageUnit = store.voltageUnit();
  const std::string activeUnit = store.activePowerUnit();
  const std::string reactiveUnit = store.reactivePowerUnit();
  auto value = [&](int row, double number, const char* picture, const std::string& unit = {}) {
    cells_[row][1] = formatPicture(number, picture) + unit;
  };

  if (record.integer(cells::wiringMode) == 1) cells_[1][1] = "三相四线";
  if (record.integer(cells::wiringMode) == 3) cells_[1][1] = "三相三线";
  cells_[2][1] = generalNumberText(store.ptRatio);
  cells_[3][1] = generalNumberText(store.ctRatio);
  value(4, store.nominalVoltage, "0.000  ", voltageUnit);
  value(5, record.value(cells::spare), "0.000  ");
  for (int i = 0; i < 9; ++i) value(6 + i, record.value(cells::uaRms + i), "0.000  ", voltageUnit);
  for (int i = 0; i < 3; ++i) value(15 + i, record.value(cells::iaRms + i), "0.000 A ");
  for (int i = 0; i < 3; ++i) value(18 + i, record.value(cells::pA + i), "0.00  ", activeUnit);
  value(21, store.totalActivePower(index), "0.00  ", activeUnit);
  for (int i = 0; i < 3; ++i) value(22 + i, record.value(cells::qA + i), "0.00  ", reactiveUnit);
  value(25, store.totalReactivePower(index), "0.00  ", reactiveUnit);
  for (int i = 0; i < 4; ++i) value(26 + i, record.value(cells::pfA + i), "0.000  ");
  for (int i = 0; i < 7; ++i) value(30 + i, record.value(cells::angleUaUb + i), "0.00°");
  value(37, record.value(cells::frequency), "0.00 Hz ");
  for (int i = 0; i < 3; ++i) value(38 + i, record.value(cells::uZero + i), "0.000  ", voltageUnit);
  value(41, record.value(cells::uUnbalance), "0.00 % ");
  for (int i = 0; i < 3; ++i) value(42 + i, record.value(cells::iZero + i), "0.000 A ");
  value(45, record.value(cells::iUnbalance), "0.00 % ");

  for (int channel = 0; channel < kChannelCount; ++channel) {
    const int column = 3 + channel;
    const bool voltage = isVoltageChannel(channel);
    cells_[1][column] = formatPicture(store.thd(index, channel), "  0.00%");
    cells_[2][column] = voltage ? formatPicture(record.harmonic(channel, 1), "0.000 ") + voltageUnit
                                : formatPicture(record.harmonic(channel, 1), "  0.000A ");
    for (int order = 2; order <= kLastOrderShown; ++order) {
      const double amplitude = record.harmonic(channel, order);
      cells_[order + 1][column] = (voltage ? formatPicture(amplitude, "0.000 ") + voltageUnit
                                           : formatPicture(amplitude, "0.000A  ")) +
                                  formatPicture(store.harmonicPercent(index, channel, order), "  0.00%");
    }
  }
}

void RecordGridTexts::clearValues() {
  // Every row below the header, the last harmonic row included, so that no value of a deleted record
  // stays on screen.
  for (int row = 1; row < kRows; ++row) {
    for (int column = 1; column < kColumns; ++column) cells_[row][column].clear();
  }
}

}  // namespace pq
