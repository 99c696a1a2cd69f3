#pragma once

namespace pq {

// Factors between the secondary values in a record file and the primary values in the store,
// computed from the head's transformer ratios. Every factor is a four-byte float, and so is every
// product taken with it.
struct RecordScaling {
  float voltage = 1.0f;  // ptRatio * 0.001 when ptRatio > 1 (kV), else ptRatio (V)
  float current = 1.0f;  // ctRatio
  float power = 1.0f;    // voltage * current

  static RecordScaling fromRatios(float ptRatio, float ctRatio);
  static RecordScaling identity() { return {}; }

  // The factor of a value cell (11..75) or of a harmonic channel.
  float ofCell(int cell) const;
  float ofChannel(int channel) const;
};

}  // namespace pq
