#pragma once

#include <algorithm>
#include <vector>

// The middle of the times measured (the mean of the two middle ones for an even count):
// what the figures report, since one slow run under load says little.
inline double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}
