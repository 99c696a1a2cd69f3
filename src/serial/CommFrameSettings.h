#pragma once

#include <cstdint>

#include "serial/CommPackage.h"

namespace pq::OstrelComm32 {

// The three frame bytes of a TCommPackage as one property object of the device component; reads and
// writes go straight to the package and leave packaging as it is.
class TCommFrameSettings {
 public:
  explicit TCommFrameSettings(TCommPackage* package) : package_(package) {}
  virtual ~TCommFrameSettings() = default;

  std::uint8_t FrameHead() const { return package_->fGetFrameHead(); }
  void SetFrameHead(std::uint8_t value) { package_->fSetFrameHead(value); }
  std::uint8_t FrameTail() const { return package_->fGetFrameTail(); }
  void SetFrameTail(std::uint8_t value) { package_->fSetFrameTail(value); }
  std::uint8_t FrameCtrl() const { return package_->fGetFrameCtrl(); }
  void SetFrameCtrl(std::uint8_t value) { package_->fSetFrameCtrl(value); }

  // Copies the three bytes of another settings object.
  void Assign(const TCommFrameSettings& other) {
    SetFrameHead(other.FrameHead());
    SetFrameTail(other.FrameTail());
    SetFrameCtrl(other.FrameCtrl());
  }

 private:
  TCommPackage* package_;
};

}  // namespace pq::OstrelComm32
