#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace vellumix {

// Where one source pixel lands when `source` pixels are averaged down to
// `target` (at most `source`). Source pixel i covers [i * target, (i + 1) *
// target) and target pixel k covers [k * source, (k + 1) * source) on one
// integer scale, so the weights are exact and a target pixel's weights add up
// to `source`. A source pixel straddles at most one boundary, so it feeds
// `first` and possibly `first + 1`.
struct AreaSpan {
    int64_t first;
    uint64_t weightFirst;
    uint64_t weightSecond;
};

inline AreaSpan areaSpan(int64_t index, int64_t source, int64_t target) {
    const int64_t start = index * target;
    const int64_t end = start + target;
    const int64_t first = start / source;
    const int64_t boundary = std::min(end, (first + 1) * source);
    return {first, static_cast<uint64_t>(boundary - start), static_cast<uint64_t>(end - boundary)};
}

inline std::vector<AreaSpan> areaSpans(int64_t source, int64_t target) {
    std::vector<AreaSpan> spans(static_cast<size_t>(source));
    for (int64_t i = 0; i < source; ++i) {
        spans[static_cast<size_t>(i)] = areaSpan(i, source, target);
    }
    return spans;
}

} // namespace vellumix
