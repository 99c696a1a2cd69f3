#include "assessment/AssessmentIndices.h"

namespace pq {

namespace {

// Pointers rather than copies: the entries live in other files, whose initialisation order is not
// known, while their addresses are constants.
constexpr const AssessmentIndexSection* kSections[] = {&kDeviationSection, &kUnbalanceSection, &kFrequencySection,
                                                       &kHarmonicSection,  &kEventSection,     &kEnergySection};

}  // namespace

std::span<const AssessmentIndexSection* const> assessmentIndexSections() { return kSections; }

}  // namespace pq
