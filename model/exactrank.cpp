#include "model/exactrank.h"

#include <algorithm>
#include <limits>

namespace orolith::model {

KeyHistogram::KeyHistogram()
    : count(KEY_BINS, 0), least(KEY_BINS, std::numeric_limits<std::uint64_t>::max()), greatest(KEY_BINS, 0)
{
}

void KeyHistogram::merge(const KeyHistogram& other)
{
    for (std::size_t b = 0; b < KEY_BINS; ++b) {
        count[b] += other.count[b];
        least[b] = std::min(least[b], other.least[b]);
        greatest[b] = std::max(greatest[b], other.greatest[b]);
    }
}

void RankSearch::narrow(const KeyHistogram& h)
{
    std::size_t bin = 0;
    while (bin + 1 < KEY_BINS && h.count[bin] <= rank_)
        rank_ -= h.count[bin++];
    // One distinct key in the bin, or the rank at its edge: that key.
    if (h.least[bin] == h.greatest[bin] || rank_ == 0) {
        key_ = h.least[bin];
        done_ = true;
        return;
    }
    if (rank_ + 1 == h.count[bin]) {
        key_ = h.greatest[bin];
        done_ = true;
        return;
    }
    // More than one key in the bin: the last level's bins hold one key
    // each, so the search ends by the level below at the latest.
    prefix_ = prefix_ << KEY_LEVEL_BITS | bin;
    ++level_;
}

} // namespace orolith::model
