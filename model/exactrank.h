// Exact order statistics of values that never sit in memory together: a
// grid read a strip at a time, or spread over the processes of an MPI
// run. Each value becomes an unsigned 64-bit key that sorts as the value
// does; a pass over the values counts the keys' top 16 bits in a
// histogram, the bin that holds the wanted rank is chosen, and the next
// pass counts the following 16 bits of the keys inside that bin, until
// the rank's key is known. Histograms of separate parts (threads, strips,
// processes) merge by adding counts, so the answer does not depend on how
// the values were split. Each bin also keeps its least and greatest key:
// a bin of one distinct key (ties), or a rank at a bin's edge, ends the
// search early, and data of few distinct values need one or two passes.
#ifndef OROLITH_MODEL_EXACTRANK_H
#define OROLITH_MODEL_EXACTRANK_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace orolith::model {

// The key of a value: keys compare as the values do (-0 is taken as +0;
// no NaN is ever keyed).
inline std::uint64_t orderKey(double v)
{
    v += 0.0; // -0 becomes +0
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits >> 63 ? ~bits : bits | (std::uint64_t{1} << 63);
}

inline double keyValue(std::uint64_t key)
{
    const std::uint64_t bits = key >> 63 ? key & ~(std::uint64_t{1} << 63) : ~key;
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

constexpr int KEY_LEVEL_BITS = 16;
constexpr int KEY_LEVELS = 64 / KEY_LEVEL_BITS;
constexpr std::size_t KEY_BINS = std::size_t{1} << KEY_LEVEL_BITS;

// Counts of keys by 16 bits of a level, with each bin's least and
// greatest key. Laid out as three arrays so that a process can reduce
// them with one call each (sum, minimum, maximum).
struct KeyHistogram {
    std::vector<std::uint64_t> count, least, greatest;

    KeyHistogram();
    void add(std::size_t bin, std::uint64_t key)
    {
        ++count[bin];
        if (key < least[bin])
            least[bin] = key;
        if (key > greatest[bin])
            greatest[bin] = key;
    }
    void merge(const KeyHistogram& other);
};

// The search for the key of one rank (0-based, ascending) among a
// multiset of keys, narrowed a level per pass.
class RankSearch {
public:
    explicit RankSearch(std::uint64_t rank) : rank_(rank) {}

    bool done() const { return done_; }
    std::uint64_t key() const { return key_; }
    double value() const { return keyValue(key_); }

    // Whether the search's next histogram counts `key`, and into which bin.
    bool wants(std::uint64_t key) const { return level_ == 0 || key >> (64 - KEY_LEVEL_BITS * level_) == prefix_; }
    std::size_t binOf(std::uint64_t key) const
    {
        return static_cast<std::size_t>(key >> (64 - KEY_LEVEL_BITS * (level_ + 1))) & (KEY_BINS - 1);
    }
    // Searches that would count the same keys into the same bins share a
    // histogram.
    bool sameBins(const RankSearch& o) const { return level_ == o.level_ && prefix_ == o.prefix_; }

    // Narrows the search by the histogram of the keys it wanted, over all
    // of them. The rank must lie among them.
    void narrow(const KeyHistogram& h);

private:
    std::uint64_t rank_;
    int level_ = 0;
    std::uint64_t prefix_ = 0;
    bool done_ = false;
    std::uint64_t key_ = 0;
};

} // namespace orolith::model

#endif
