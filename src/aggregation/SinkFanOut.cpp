#include "aggregation/SinkFanOut.h"

namespace pq {

void SinkFanOut::intervalFinished(const AggregatedInterval& interval) {
  for (AggregationSink* sink : sinks_) sink->intervalFinished(interval);
}

}  // namespace pq
