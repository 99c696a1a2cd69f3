#pragma once

#include <vector>

#include "aggregation/IntervalAggregator.h"

namespace pq {

// Hands every finished interval to several sinks in turn, so that one pass over the records feeds,
// say, the series kept for the page and the 95 % values of the 3-second values. The sinks are not
// owned and must outlive it.
class SinkFanOut : public AggregationSink {
 public:
  explicit SinkFanOut(std::vector<AggregationSink*> sinks) : sinks_(std::move(sinks)) {}
  void intervalFinished(const AggregatedInterval& interval) override;

 private:
  std::vector<AggregationSink*> sinks_;
};

}  // namespace pq
