#pragma once
// Summaries of repeated measurements.
#include <vector>

namespace Stats
{
    // The middle value (the mean of the two middle ones for an even count); 0 when empty.
    double Median(std::vector<double> values);
    // The value below which the given fraction (0..1) of the samples lie.
    double Percentile(std::vector<double> values, double dFraction);
}
