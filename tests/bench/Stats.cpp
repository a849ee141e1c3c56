#include "tests/bench/Stats.h"

#include <algorithm>
#include <cmath>

double Stats::Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double Stats::Percentile(std::vector<double> values, double dFraction)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const double dRank = dFraction * (values.size() - 1);
    const size_t lo = static_cast<size_t>(std::floor(dRank));
    const size_t hi = std::min(lo + 1, values.size() - 1);
    return values[lo] + (values[hi] - values[lo]) * (dRank - lo);
}
