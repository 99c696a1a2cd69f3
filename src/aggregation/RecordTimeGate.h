#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "timerange/CalendarDateTime.h"

namespace pq {

class RecordStore;

// Seconds since 1970-01-01 00:00:00 of a calendar date-time, and back; record times carry no time
// zone, so this is a count on the recording's own clock, aligned to its midnight.
std::int64_t epochSeconds(const CalendarDateTime& t);
CalendarDateTime calendarOfEpochSeconds(std::int64_t seconds);
// "YYYY-MM-DD HH:MM:SS" of epoch seconds, as record times print.
std::string epochTimeText(std::int64_t seconds);

// Lets through the records whose time stamps rise strictly, in the order they are offered; the
// others are counted and left out rather than mixed into an interval that already went by. Kept
// across several stores, it also leaves out the records of a later file that overlap an earlier one.
class RecordTimeGate {
 public:
  // The record's time when it is later than every record let through so far; nothing otherwise.
  std::optional<std::int64_t> admit(const RecordStore& store, int index);

  int duplicates() const { return duplicates_; }  // same time as the record let through before
  int outOfOrder() const { return outOfOrder_; }  // earlier than it
  int undatable() const { return undatable_; }    // a time stamp that is no valid date-time
  int skipped() const { return duplicates_ + outOfOrder_ + undatable_; }

 private:
  std::optional<std::int64_t> last_;
  int duplicates_ = 0;
  int outOfOrder_ = 0;
  int undatable_ = 0;
};

}  // namespace pq
