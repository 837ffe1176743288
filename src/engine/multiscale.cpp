#include "engine/multiscale.h"

#include "engine/network_shape.h"

namespace vantel {

std::vector<double> coarse_grained(std::span<const double> series, int scale)
{
    if (scale <= 1) return {series.begin(), series.end()};
    const std::size_t width = static_cast<std::size_t>(scale);
    std::vector<double> coarse(series.size() / width);
    for (std::size_t b = 0; b < coarse.size(); ++b) {
        double sum = 0;
        for (std::size_t i = b * width; i < (b + 1) * width; ++i) sum += series[i];
        coarse[b] = sum / scale;
    }
    return coarse;
}

std::string scale_problem(std::size_t length, long long scale)
{
    if (scale < 1 || scale > Max_scale)
        return "a scale must be a whole number from 1 to " + std::to_string(Max_scale) + ", got " +
               std::to_string(scale);
    const std::size_t coarse = length / static_cast<std::size_t>(scale);
    if (coarse < Min_series_length)
        return "scale " + std::to_string(scale) + " leaves " + std::to_string(coarse) + " values of the " +
               std::to_string(length) + " (a series needs at least " + std::to_string(Min_series_length) +
               "; at scale " + std::to_string(scale) + " that takes " +
               std::to_string(Min_series_length * static_cast<std::size_t>(scale)) + " values)";
    return {};
}

}  // namespace vantel
