// The streamed analyses: exact ranks from key histograms, and the accuracy
// figures of a pair read in strips and split between processes, which
// must equal those of the grids read whole to the last bit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <limits>
#include <mutex>
#include <random>
#include <thread>

#include "model/exactrank.h"
#include "model/export.h"
#include "model/metrics.h"
#include "model/rowblocks.h"
#include "model/streamedcoregister.h"
#include "model/streamedmetrics.h"
#include "tests/model/fractal_surface.h"

using namespace orolith::model;

namespace {

// The k-th smallest of v found as a streamed run finds it: the values
// split into `parts` whose histograms are merged, a pass per level.
double rankByHistograms(const std::vector<double>& v, std::uint64_t k, int parts, int& passes)
{
    RankSearch search(k);
    passes = 0;
    while (!search.done()) {
        KeyHistogram all;
        for (int p = 0; p < parts; ++p) {
            KeyHistogram part;
            for (std::size_t i = v.size() * p / parts; i < v.size() * (p + 1) / parts; ++i) {
                const std::uint64_t key = orderKey(v[i]);
                if (search.wants(key))
                    part.add(search.binOf(key), key);
            }
            all.merge(part);
        }
        search.narrow(all);
        ++passes;
    }
    return search.value();
}

std::uint64_t bitsOf(double v)
{
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

} // namespace

TEST(OrderKey, SortsAsTheValuesAndReadsBack)
{
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<double> ascending = {-inf,
                                           -1e300,
                                           -2.5,
                                           -1.0,
                                           -std::numeric_limits<double>::denorm_min(),
                                           0.0,
                                           std::numeric_limits<double>::denorm_min(),
                                           1e-300,
                                           0.1,
                                           1.0,
                                           1.0000000000000002,
                                           3e8,
                                           inf};
    for (std::size_t i = 0; i < ascending.size(); ++i) {
        EXPECT_EQ(keyValue(orderKey(ascending[i])), ascending[i]) << i;
        if (i > 0) {
            EXPECT_LT(orderKey(ascending[i - 1]), orderKey(ascending[i])) << i;
        }
    }
    // -0 is 0: one key, read back as +0.
    EXPECT_EQ(orderKey(-0.0), orderKey(0.0));
    EXPECT_EQ(bitsOf(keyValue(orderKey(-0.0))), bitsOf(0.0));
}

// Against a sort, on data of many ties and of none, whole or split in
// three parts: every rank asked for is the sorted value's, bit for bit.
TEST(RankSearch, AgreesWithASortOnRandomDataWithTies)
{
    struct Case {
        const char* name;
        std::function<double(std::mt19937&)> draw;
        int maxPasses;
    };
    const std::vector<Case> cases = {
        {"normal, no ties", [](std::mt19937& g) { return std::normal_distribution<double>(0.3, 2.0)(g); }, 4},
        {"heights to 0.1 m",
         [](std::mt19937& g) { return std::round(std::normal_distribution<double>(0, 5)(g) * 10) / 10; }, 4},
        {"a few values", [](std::mt19937& g) { return double(std::uniform_int_distribution<int>(-2, 2)(g)); }, 1},
        {"all equal", [](std::mt19937&) { return 7.25; }, 1},
        {"signed zeros", [](std::mt19937& g) { return g() % 2 ? -0.0 : 0.0; }, 1},
        {"float differences",
         [](std::mt19937& g) {
             const float a = static_cast<float>(std::uniform_real_distribution<double>(500, 900)(g));
             const float b = a + static_cast<float>(std::normal_distribution<double>(0, 1.5)(g));
             return static_cast<double>(a) - static_cast<double>(b);
         },
         4},
        // Keys alike in their top 32 bits: the search goes to the last
        // levels.
        {"ulps apart", [](std::mt19937& g) { return 1.0 + std::ldexp(double(g() % 5000), -52); }, 4},
        {"wide magnitudes", [](std::mt19937& g) { return std::ldexp(1.0 + (g() % 1000), int(g() % 200) - 100); }, 4},
    };
    for (const Case& c : cases)
        for (std::size_t n : {1u, 2u, 3u, 2000u, 30000u}) {
            std::mt19937 random(static_cast<std::uint32_t>(n * 31 + std::strlen(c.name)));
            std::vector<double> v(n);
            for (double& x : v)
                x = c.draw(random);
            std::vector<double> sorted = v;
            std::sort(sorted.begin(), sorted.end());
            for (std::uint64_t k : {std::uint64_t{0}, std::uint64_t(n / 2), std::uint64_t(n - 1),
                                    std::uint64_t((n * 9 + 9) / 10 - 1), std::uint64_t(n * 37 / 100)}) {
                for (int parts : {1, 3}) {
                    int passes = 0;
                    const double got = rankByHistograms(v, k, parts, passes);
                    EXPECT_EQ(bitsOf(got), bitsOf(sorted[k] + 0.0))
                        << c.name << ", n " << n << ", rank " << k << ", " << parts << " parts";
                    EXPECT_LE(passes, c.maxPasses) << c.name << ", n " << n << ", rank " << k;
                }
            }
        }
}

namespace {

// The processes of an MPI run played by threads: each call waits for all,
// combines their arrays, and hands every one the result.
class ThreadRanks {
public:
    explicit ThreadRanks(int n) : n_(n) {}

    class Rank : public Reduction {
    public:
        Rank(ThreadRanks& all, int rank) : all_(all), rank_(rank) {}
        int rank() const override { return rank_; }
        int ranks() const override { return all_.n_; }
        void sum(std::uint64_t* v, std::size_t n) override
        {
            all_.combine(v, n, [](std::uint64_t a, std::uint64_t b) { return a + b; });
        }
        void sum(double* v, std::size_t n) override
        {
            all_.combine(v, n, [](double a, double b) { return a + b; });
        }
        void least(std::uint64_t* v, std::size_t n) override
        {
            all_.combine(v, n, [](std::uint64_t a, std::uint64_t b) { return std::min(a, b); });
        }
        void greatest(std::uint64_t* v, std::size_t n) override
        {
            all_.combine(v, n, [](std::uint64_t a, std::uint64_t b) { return std::max(a, b); });
        }
        bool allSucceeded(bool ok, std::string& error) override
        {
            {
                std::lock_guard<std::mutex> lock(all_.mutex_);
                all_.errors_.resize(all_.n_);
                all_.errors_[rank_] = error;
            }
            std::uint64_t firstFailed = ok ? all_.n_ : rank_;
            least(&firstFailed, 1);
            if (firstFailed == static_cast<std::uint64_t>(all_.n_))
                return true;
            std::lock_guard<std::mutex> lock(all_.mutex_);
            error = all_.errors_[firstFailed];
            return false;
        }

    private:
        ThreadRanks& all_;
        int rank_;
    };

private:
    template <class T, class Op>
    void combine(T* v, std::size_t n, Op op)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        const long long round = round_;
        std::vector<T>& acc = *reinterpret_cast<std::vector<T>*>(accumulator<T>());
        if (arrived_ == 0)
            acc.assign(v, v + n);
        else
            for (std::size_t i = 0; i < n; ++i)
                acc[i] = op(acc[i], v[i]);
        if (++arrived_ == n_) {
            arrived_ = 0;
            ++round_;
            done_.notify_all();
        } else {
            done_.wait(lock, [&] { return round_ != round; });
        }
        std::copy(acc.begin(), acc.end(), v);
        // The last to copy lets the next round start.
        if (++copied_ == n_) {
            copied_ = 0;
            copiedAll_.notify_all();
        } else {
            const long long r = round_;
            copiedAll_.wait(lock, [&] { return copied_ == 0 || round_ != r; });
        }
    }
    template <class T>
    void* accumulator()
    {
        if constexpr (std::is_same_v<T, double>)
            return &doubles_;
        else
            return &keys_;
    }

    int n_;
    std::mutex mutex_;
    std::condition_variable done_, copiedAll_;
    int arrived_ = 0, copied_ = 0;
    long long round_ = 0;
    std::vector<double> doubles_;
    std::vector<std::uint64_t> keys_;
    std::vector<std::string> errors_;
};

// The rows of grids in memory as a file reader gives them: a copy of the
// rows asked for, with a row of absent, NaN cells on either side, so that
// an analysis reading beyond its strip sees no heights there rather than
// the grid's own rows.
class StrictRows : public PairRows {
public:
    StrictRows(const GridView& dem, const GridView& comp) : dem_(dem), comp_(comp) {}
    int rows() const override { return dem_.rows; }
    int cols() const override { return dem_.cols; }
    bool read(int first, int last, PairStrip& strip, std::string&) override
    {
        copy(dem_, first, last, demHeights_, demPresent_);
        copy(comp_, first, last, compHeights_, compPresent_);
        const std::size_t past = static_cast<std::size_t>(cols());
        strip.first = first;
        strip.dem = {demHeights_.data() + past, demPresent_.data() + past, last - first, cols()};
        strip.comp = {compHeights_.data() + past, compPresent_.data() + past, last - first, cols()};
        return true;
    }

private:
    static void copy(const GridView& g, int first, int last, std::vector<float>& heights,
                     std::vector<std::uint8_t>& present)
    {
        const std::size_t cols = static_cast<std::size_t>(g.cols);
        heights.assign((last - first + 2) * cols, std::nanf(""));
        present.assign(heights.size(), 0);
        for (int r = first; r < last; ++r)
            for (std::size_t c = 0; c < cols; ++c) {
                heights[(r - first + 1) * cols + c] = g.heights[g.index(r, static_cast<int>(c))];
                present[(r - first + 1) * cols + c] = g.isPresent(r, static_cast<int>(c));
            }
    }
    GridView dem_, comp_;
    std::vector<float> demHeights_, compHeights_;
    std::vector<std::uint8_t> demPresent_, compPresent_;
};

// A DEM and a comparison with holes in both, the comparison moved and
// noisy, heights to 0.01 m so that differences tie.
struct Pair {
    int rows, cols;
    std::vector<float> dem, comp;
    std::vector<std::uint8_t> demPresent, compPresent;

    Pair(int r, int c) : rows(r), cols(c)
    {
        FractalSurface surface(5);
        dem = surface.grid(rows, cols);
        comp = surface.grid(rows, cols, 0.3, -0.2, 0.5);
        std::mt19937 random(9);
        demPresent.assign(dem.size(), 1);
        compPresent.assign(dem.size(), 1);
        for (std::size_t i = 0; i < dem.size(); ++i) {
            comp[i] = std::round(comp[i] * 100) / 100;
            demPresent[i] = random() % 50 != 0;
            compPresent[i] = (i / cols) % 97 != 13 && random() % 30 != 0;
        }
    }
    GridView demView() const { return {dem.data(), demPresent.data(), rows, cols}; }
    GridView compView() const { return {comp.data(), compPresent.data(), rows, cols}; }
};

void expectSameBits(const AccuracyFigures& a, const AccuracyFigures& b, const std::string& what)
{
    EXPECT_EQ(a.count, b.count) << what;
    const double x[] = {a.mean, a.std, a.rmse, a.min, a.max, a.median, a.nmad, a.le90, a.le95};
    const double y[] = {b.mean, b.std, b.rmse, b.min, b.max, b.median, b.nmad, b.le90, b.le95};
    const char* names[] = {"mean", "std", "rmse", "min", "max", "median", "nmad", "le90", "le95"};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(bitsOf(x[i]), bitsOf(y[i])) << what << ": " << names[i] << " " << x[i] << " against " << y[i];
}

void expectSameReport(const AccuracyReport& a, const AccuracyReport& b, const std::string& what)
{
    expectSameBits(a.all, b.all, what + ", all");
    ASSERT_EQ(a.classes.size(), b.classes.size());
    for (std::size_t k = 0; k < a.classes.size(); ++k)
        expectSameBits(a.classes[k].figures, b.classes[k].figures, what + ", class " + std::to_string(k));
}

} // namespace

// Strips of one block, of several, the grid at once; one to four
// processes: the same figures, bit for bit, as the grids read whole.
TEST(StreamedMetrics, EveryStripAndProcessSplitGivesTheFiguresOfTheWholeGrid)
{
    const Pair p(7 * BLOCK_ROWS + 9, 230);
    const GroundSpacing spacing{2.0, 2.0, false};
    const AccuracyReport whole = accuracyReport(p.demView(), p.compView(), spacing, defaultSlopeBounds());
    ASSERT_GT(whole.all.count, 50000u);
    for (const auto& k : whole.classes)
        ASSERT_GT(k.figures.count, 0u) << "every class has points";
    for (int ranks : {1, 2, 3, 4})
        for (int stripBlocks : {0, 1, 3}) {
            ThreadRanks all(ranks);
            std::vector<AccuracyReport> got(ranks);
            std::vector<std::thread> threads;
            for (int r = 0; r < ranks; ++r)
                threads.emplace_back([&, r] {
                    StrictRows rows(p.demView(), p.compView());
                    ThreadRanks::Rank me(all, r);
                    std::string error;
                    EXPECT_TRUE(streamedAccuracyReport(rows, spacing, defaultSlopeBounds(), {stripBlocks, 0}, me,
                                                       got[r], error));
                });
            for (std::thread& t : threads)
                t.join();
            for (int r = 0; r < ranks; ++r)
                expectSameReport(got[r], whole,
                                 std::to_string(ranks) + " ranks, strips of " + std::to_string(stripBlocks) +
                                     " blocks, rank " + std::to_string(r));
        }
}

// The figures of the strips are those of a sort of the differences.
TEST(StreamedMetrics, OrderStatisticsAreThoseOfASort)
{
    const Pair p(3 * BLOCK_ROWS + 1, 101);
    const AccuracyReport got = accuracyReport(p.demView(), p.compView(), {1.0, 1.0, false}, {});
    std::vector<double> d, a;
    for (std::size_t i = 0; i < p.dem.size(); ++i)
        if (p.demPresent[i] && p.compPresent[i]) {
            d.push_back(static_cast<double>(p.dem[i]) - static_cast<double>(p.comp[i]));
            a.push_back(std::fabs(d.back()));
        }
    std::sort(d.begin(), d.end());
    std::sort(a.begin(), a.end());
    const std::size_t n = d.size();
    ASSERT_EQ(got.all.count, n);
    EXPECT_EQ(got.all.median, (d[(n - 1) / 2] + d[n / 2]) / 2);
    EXPECT_EQ(got.all.min, d.front());
    EXPECT_EQ(got.all.max, d.back());
    EXPECT_EQ(got.all.le90, a[nearestRank(n, 90) - 1]);
    EXPECT_EQ(got.all.le95, a[nearestRank(n, 95) - 1]);
    std::vector<double> dev;
    for (double x : d)
        dev.push_back(std::fabs(x - got.all.median));
    std::sort(dev.begin(), dev.end());
    EXPECT_EQ(got.all.nmad, NMAD_FACTOR * ((dev[(n - 1) / 2] + dev[n / 2]) / 2));
}

// A process that cannot read its strip ends the run in every process,
// with its message.
TEST(StreamedMetrics, AStripThatCannotBeReadEndsEveryProcessWithItsMessage)
{
    class Failing : public GridPairRows {
    public:
        using GridPairRows::GridPairRows;
        bool read(int first, int last, PairStrip& strip, std::string& error) override
        {
            if (first <= 200 && 200 < last) {
                error = "rows " + std::to_string(first) + " to " + std::to_string(last - 1) + " could not be read";
                return false;
            }
            return GridPairRows::read(first, last, strip, error);
        }
    };
    const Pair p(4 * BLOCK_ROWS, 40);
    ThreadRanks all(2);
    std::vector<std::string> errors(2);
    std::vector<int> results(2);
    std::vector<std::thread> threads;
    for (int r = 0; r < 2; ++r)
        threads.emplace_back([&, r] {
            Failing rows(p.demView(), p.compView());
            ThreadRanks::Rank me(all, r);
            AccuracyReport report;
            results[r] =
                streamedAccuracyReport(rows, {1, 1, false}, defaultSlopeBounds(), {1, 0}, me, report, errors[r]);
        });
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(results, std::vector<int>({0, 0}));
    for (int r = 0; r < 2; ++r)
        EXPECT_EQ(errors[r], "rows 191 to 255 could not be read") << "rank " << r;
}

// The co-registration of strips split between one to three processes:
// the shift, the bias and the NMADs of the grids read whole, bit for bit,
// and the comparison moved back as shiftBack moves it.
TEST(StreamedCoregister, EveryProcessSplitGivesTheShiftOfTheWholeGrid)
{
    const int rows = 5 * BLOCK_ROWS + 17, cols = 150;
    FractalSurface surface(8);
    std::vector<float> dem = surface.grid(rows, cols), comp = surface.grid(rows, cols, 0.4, -0.7, 1.5);
    std::vector<std::uint8_t> demPresent(dem.size(), 1), compPresent(dem.size(), 1);
    std::mt19937 random(3);
    for (std::size_t i = 0; i < dem.size(); ++i) {
        comp[i] += static_cast<float>(std::normal_distribution<double>(0, 0.2)(random));
        demPresent[i] = random() % 60 != 0;
        compPresent[i] = random() % 45 != 0;
    }
    const GridView demView{dem.data(), demPresent.data(), rows, cols},
        compView{comp.data(), compPresent.data(), rows, cols};
    const GroundSpacing spacing{10.0, 10.0, false};
    const Coregistration whole = coregister(demView, compView, spacing);
    ASSERT_TRUE(whole.ok) << whole.why;
    EXPECT_NEAR(whole.shiftEast, 0.4, 0.05);
    EXPECT_NEAR(whole.shiftNorth, -0.7, 0.05);
    ASSERT_GT(whole.iterations, 1) << "more than one pass of the iterations";
    for (int ranks : {1, 2, 3})
        for (int stripBlocks : {0, 1}) {
            ThreadRanks all(ranks);
            std::vector<Coregistration> got(ranks);
            std::vector<std::thread> threads;
            for (int r = 0; r < ranks; ++r)
                threads.emplace_back([&, r] {
                    StrictRows pair(demView, compView);
                    ThreadRanks::Rank me(all, r);
                    std::string error;
                    EXPECT_TRUE(streamedCoregister(pair, spacing, {stripBlocks, 1 + r % 2}, me, got[r], error));
                });
            for (std::thread& t : threads)
                t.join();
            for (int r = 0; r < ranks; ++r) {
                const std::string what = std::to_string(ranks) + " processes, strips of " +
                                         std::to_string(stripBlocks) + ", rank " + std::to_string(r);
                ASSERT_TRUE(got[r].ok) << got[r].why << what;
                const double a[] = {whole.shiftEast, whole.shiftNorth, whole.shiftEastMetres, whole.shiftNorthMetres,
                                    whole.bias,      whole.nmadBefore, whole.nmadAfter};
                const double b[] = {got[r].shiftEast,        got[r].shiftNorth, got[r].shiftEastMetres,
                                    got[r].shiftNorthMetres, got[r].bias,       got[r].nmadBefore,
                                    got[r].nmadAfter};
                for (int k = 0; k < 7; ++k)
                    EXPECT_EQ(bitsOf(a[k]), bitsOf(b[k])) << what << ", figure " << k << ": " << a[k] << " " << b[k];
                EXPECT_EQ(got[r].iterations, whole.iterations) << what;
                EXPECT_EQ(got[r].converged, whole.converged) << what;
                EXPECT_EQ(got[r].improved, whole.improved) << what;
            }
        }
    // The moved comparison's strips hold the moved grid.
    StrictRows pair(demView, compView);
    ShiftedPairRows moved(pair, whole.shiftEast, whole.shiftNorth);
    PairStrip strip;
    std::string error;
    ASSERT_TRUE(moved.read(100, 180, strip, error));
    for (int row = 100; row < 180; ++row)
        for (int c = 0; c < cols; ++c) {
            const std::size_t i = static_cast<std::size_t>(row) * cols + c, j = strip.comp.index(row - 100, c);
            ASSERT_EQ(strip.comp.isPresent(j), whole.shifted.present[i] != 0) << row << ", " << c;
            if (strip.comp.isPresent(j)) {
                ASSERT_EQ(strip.comp.heights[j], whole.shifted.heights[i]) << row << ", " << c;
            }
            ASSERT_EQ(strip.dem.heights[j], dem[i]);
        }
}

// Too few steep points: the message of the grids read whole.
TEST(StreamedCoregister, AFlatGridGivesCoregistersMessage)
{
    const int rows = 80, cols = 60;
    std::vector<float> flat(rows * cols, 100.0f);
    const GridView view{flat.data(), nullptr, rows, cols};
    GridPairRows pair(view, view);
    Reduction alone;
    Coregistration got;
    std::string error;
    ASSERT_TRUE(streamedCoregister(pair, {1, 1, false}, {}, alone, got, error));
    EXPECT_FALSE(got.ok);
    EXPECT_EQ(got.why, coregister(view, view, {1, 1, false}).why);
}

// The exported values beside holes: a curvature needs the point and its
// four neighbours in the DEM, a curvature difference in both grids, a
// difference the point in both; strips of a few rows give the grid's.
TEST(ExportRows, ValuesBesideHolesAndOnTheBorderAndStripByStrip)
{
    const int rows = 9, cols = 8;
    std::vector<float> dem(rows * cols), comp(rows * cols);
    for (int i = 0; i < rows * cols; ++i) {
        dem[i] = static_cast<float>((i % cols) * (i % cols) + 3 * (i / cols));
        comp[i] = dem[i] + 1.0f + static_cast<float>(i % 3);
    }
    std::vector<std::uint8_t> demPresent(dem.size(), 1), compPresent(dem.size(), 1);
    demPresent[2 * cols + 2] = 0;  // (2, 2)
    compPresent[6 * cols + 5] = 0; // (6, 5)
    const GridView d{dem.data(), demPresent.data(), rows, cols}, c{comp.data(), compPresent.data(), rows, cols};
    struct Case {
        ExportKind kind;
        int row, col;
        bool defined;
    };
    const std::vector<Case> cases = {
        {ExportKind::curvature, 4, 4, true},  {ExportKind::curvature, 2, 3, false}, // beside the DEM's hole
        {ExportKind::curvature, 2, 1, false}, {ExportKind::curvature, 3, 3, true},  // diagonal to it
        {ExportKind::curvature, 0, 4, false}, {ExportKind::curvature, 6, 4, true},  // border; beside the other's hole
        {ExportKind::curvediff, 4, 4, true},  {ExportKind::curvediff, 6, 4, false}, // beside the comparison's hole
        {ExportKind::curvediff, 5, 5, false}, {ExportKind::curvediff, 2, 3, false}, // and the DEM's
        {ExportKind::curvediff, 5, 4, true},  {ExportKind::elevdiff, 2, 2, false},
        {ExportKind::elevdiff, 6, 5, false},  {ExportKind::elevdiff, 0, 0, true}, // border too
        {ExportKind::aligned, 6, 5, false},   {ExportKind::aligned, 2, 2, true},  // the comparison's own
    };
    for (ExportKind kind : {ExportKind::curvature, ExportKind::curvediff, ExportKind::elevdiff, ExportKind::aligned}) {
        const std::vector<float> whole = exportValues(kind, d, c);
        // Strips of two rows with a row around them, as a streamed export reads.
        std::vector<float> strips(whole.size());
        GridPairRows pair(d, c);
        for (int first = 0; first < rows; first += 2) {
            const int last = std::min(rows, first + 2);
            PairStrip s;
            std::string error;
            ASSERT_TRUE(pair.read(std::max(0, first - 1), std::min(rows, last + 1), s, error));
            exportRows(kind, s, first, last, strips.data() + first * cols);
        }
        EXPECT_EQ(strips, whole) << static_cast<int>(kind);
        for (const Case& k : cases) {
            if (k.kind != kind)
                continue;
            const float v = whole[k.row * cols + k.col];
            EXPECT_EQ(v != EXPORT_NODATA, k.defined) << static_cast<int>(kind) << " at " << k.row << ", " << k.col;
        }
    }
}
