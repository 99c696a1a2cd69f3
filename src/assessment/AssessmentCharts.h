#pragma once

#include <cstdint>
#include <vector>

#include "assessment/AssessmentRun.h"
#include "assessment/EventClasses.h"
#include "pages/PageChart.h"
#include "pages/PageDrawing.h"

namespace pq {

// The charts of the assessment report, as drawings the width of a page's text. Each is empty (no
// elements) when there is nothing to draw: an index without values, no events.

// Ticks of a time axis from `first` to `last` (epoch seconds) at a round step (10 minutes to a
// week) giving no more than `most`, placed in seconds after `origin` and labelled "04-19 12:00"
// ("04-19" for steps of days).
std::vector<AxisTick> timeTicks(std::int64_t first, std::int64_t last, std::int64_t origin, int most);

// The 1-minute deviations of each phase against time with the band's limits; minutes with a voltage
// event and outages shaded, gaps left open.
PageDrawing deviationTimeChart(const AssessmentResult& result);
// The share of the judged 1-minute deviations at or below each value, per phase, with the band's
// limits and each phase's 95 % value marked on its curve.
PageDrawing deviationDistributionChart(const AssessmentResult& result);
// The 10-minute negative-sequence voltage unbalance with the limits of the 95 % and largest value.
PageDrawing unbalanceChart(const AssessmentResult& result);
// The 10-second frequency deviations with the ± limit.
PageDrawing frequencyChart(const AssessmentResult& result);
// The 95 % values of a channel's orders 2 to 25 (and its distortion, for a voltage) as bars against
// each order's limit; a bar over its limit in another colour.
PageDrawing harmonicChart(const AssessmentResult& result, int channel);
// The short events by duration and residual voltage over the classes of `classes`.
PageDrawing eventChart(const AssessmentResult& result, const EventClassTable& classes);

// The width of the charts: the text width of a page.
int assessmentChartWidth();

}  // namespace pq
