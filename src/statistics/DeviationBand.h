#pragma once

namespace pq {

// The permitted voltage deviation, chosen from the nominal voltage UN (kV, or V without a voltage
// transformer; 0 at the 0.38 kV level).
class DeviationBand {
 public:
  enum class Kind {
    Within5,            // UN >= 35: |u| <= 5
    Within7,            // 0.22 < UN <= 10: |u| <= 7
    PlusSevenMinusTen,  // UN <= 0.22: below nominal |u| <= 10, above nominal u <= 7, at nominal never
    None,               // 10 < UN < 35: no text, no record passes
  };

  explicit DeviationBand(float nominalVoltage);

  Kind kind() const { return kind_; }
  // The permitted text of the report; nullptr for Kind::None.
  const char* text() const;
  // A record's deviation passes: `difference` is U - UN, `percent` the deviation in %.
  bool passes(double difference, float percent) const;

 private:
  Kind kind_;
};

inline DeviationBand deviationBand(float nominalVoltage) { return DeviationBand(nominalVoltage); }

}  // namespace pq
