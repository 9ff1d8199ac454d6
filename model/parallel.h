// Splits a loop over rows between the machine's cores. Used only where the
// result cannot depend on the split: each row is computed on its own, and
// integer counts are summed afterwards. Float sums stay in one thread, in
// their given order.
#ifndef OROLITH_MODEL_PARALLEL_H
#define OROLITH_MODEL_PARALLEL_H

#include <algorithm>
#include <thread>
#include <vector>

namespace orolith::model {

// Threads worth starting for `work` items: one below a few hundred
// thousand, else one a core (at most 8).
inline int threadsFor(long long work)
{
    if (work < 300000)
        return 1;
    unsigned cores = std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp(cores, 1u, 8u));
}

// Calls fn(part, first, last) for contiguous parts [first, last) of
// [begin, end), part 0 on the calling thread.
template <class Fn>
void forEachPart(int begin, int end, int parts, Fn fn)
{
    if (end <= begin)
        return;
    parts = std::max(1, std::min(parts, end - begin));
    std::vector<std::thread> helpers;
    for (int p = 1; p < parts; ++p) {
        int first = begin + static_cast<int>(static_cast<long long>(end - begin) * p / parts);
        int last = begin + static_cast<int>(static_cast<long long>(end - begin) * (p + 1) / parts);
        helpers.emplace_back([=] { fn(p, first, last); });
    }
    fn(0, begin, begin + static_cast<int>(static_cast<long long>(end - begin) / parts));
    for (std::thread& t : helpers)
        t.join();
}

} // namespace orolith::model

#endif
