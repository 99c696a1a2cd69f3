#include "records/RecordScaling.h"

#include "records/MeasurementRecord.h"

namespace pq {

RecordScaling RecordScaling::fromRatios(float ptRatio, float ctRatio) {
  RecordScaling s;
  s.voltage = ptRatio > 1.0f ? static_cast<float>(static_cast<double>(ptRatio) * 0.001) : ptRatio;
  s.current = ctRatio;
  s.power = s.voltage * s.current;
  return s;
}

float RecordScaling::ofCell(int cell) const {
  using namespace cells;
  if (cell >= uaRms && cell <= ucMin) return voltage;
  if (cell >= iaRms && cell <= icRms) return current;
  if (cell >= pA && cell <= pC) return power;
  if (cell >= uZero && cell <= uNegative) return voltage;
  if (cell >= iZero && cell <= iNegative) return current;
  if (cell >= qA && cell <= qC) return power;
  return 1.0f;  // spare, angles, frequency, unbalances, power factors, reserved cells
}

float RecordScaling::ofChannel(int channel) const { return isVoltageChannel(channel) ? voltage : current; }

}  // namespace pq
