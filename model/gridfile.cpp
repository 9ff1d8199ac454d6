// Grid-file input. The header is read from the start of the file; the
// heights are streamed through a buffer of a few megabytes (a DEM of a
// hundred million points is several gigabytes of text, which need not be in
// memory at once) and parsed with std::from_chars. A large file's heights
// can be parsed by two threads, one for each half; the first cell at fault
// is still the one reported.
#include "model/gridfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <thread>

#include "model/cellmath.h"
#include "model/constants.h"
#include "model/memory.h"
#include "model/tokens.h"

namespace orolith::model {

namespace {

// --- files ---------------------------------------------------------------

// Opens a path of any length: one longer than the system's limit is
// opened one folder at a time.
int openForReading(const std::string& path)
{
    if (path.empty())
        return -1;
    if (path.size() < PATH_MAX)
        return ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    int dir = ::open(path[0] == '/' ? "/" : ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    std::size_t begin = 0;
    while (dir >= 0) {
        std::size_t slash = path.find('/', begin);
        bool last = slash == std::string::npos;
        std::string part = path.substr(begin, last ? std::string::npos : slash - begin);
        int next = part.empty() ? ::dup(dir)
                                : ::openat(dir, part.c_str(), (last ? O_RDONLY : O_RDONLY | O_DIRECTORY) | O_CLOEXEC);
        ::close(dir);
        if (last)
            return next;
        dir = next;
        begin = slash + 1;
    }
    return -1;
}

struct FileHandle {
    int fd = -1;
    explicit FileHandle(int descriptor) : fd(descriptor) {}
    ~FileHandle()
    {
        if (fd >= 0)
            ::close(fd);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
};

// Reads up to n bytes at offset; fewer only at the end of the file.
// Negative on a read error.
long long readAt(int fd, char* to, std::size_t n, std::size_t offset)
{
    std::size_t got = 0;
    while (got < n) {
        ssize_t r = ::pread(fd, to + got, n - got, static_cast<off_t>(offset + got));
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0)
            return -1;
        if (r == 0)
            break;
        got += static_cast<std::size_t>(r);
    }
    return static_cast<long long>(got);
}

std::string inFile(const std::string& path) { return "file \"" + path + "\": "; }

ModelError gridError(const std::string& path, const std::string& what) { return {GRIDFILE, inFile(path) + what}; }

std::string cellName(std::size_t index, int cols)
{
    return "row " + std::to_string(index / static_cast<std::size_t>(cols)) + ", column " +
           std::to_string(index % static_cast<std::size_t>(cols));
}

// --- the tokens of a byte range, through a buffer ----------------------------

// Returns the tokens that start in [begin, end) of the file; the last one
// may run on past end.
class TokenStream {
public:
    // `fileSize` bounds the buffer: a small file needs no large one.
    TokenStream(int fd, std::size_t begin, std::size_t end, std::size_t fileSize, std::size_t bufferBytes,
                std::atomic<std::size_t>* bytesRead)
        : fd_(fd), next_(begin), base_(begin), end_(end), bytesRead_(bytesRead),
          capacity_(std::max<std::size_t>(1, std::min(bufferBytes, fileSize - std::min(fileSize, begin) + 1)))
    {
        buf_.reset(new char[capacity_]);
    }

    bool next(std::string_view& token)
    {
        if (!atToken())
            return false;
        std::size_t begin = pos_;
        for (;;) {
            while (pos_ < len_ && !isBlank(buf_[pos_]))
                ++pos_;
            if (pos_ < len_)
                break;
            // The token runs to the buffer's end: keep it, read on.
            bool more = refill(begin);
            begin = 0;
            if (!more) // the file ends with this token
                break;
        }
        token = std::string_view(buf_.get() + begin, pos_ - begin);
        return true;
    }

    // The next token read as a height, false at the end. A short decimal
    // is parsed as it is scanned; any other token goes through parseFloat,
    // and when that fails `ok` is false and `token` holds it.
    bool nextHeight(float& value, std::string_view& token, bool& ok)
    {
        if (!atToken())
            return false;
        // Only a blank inside the buffer proves the token ends there.
        const char* stop = buf_.get() + len_;
        const char* after = readShortDecimal(buf_.get() + pos_, stop, value);
        if (after && after < stop) {
            pos_ = static_cast<std::size_t>(after - buf_.get());
            ok = true;
            return true;
        }
        if (!next(token))
            return false;
        ok = parseFloat(token, value);
        return true;
    }

    bool failed() const { return failed_; }

private:
    // Steps over blanks to the next token that starts before the end of
    // this reader's range; false when there is none.
    bool atToken()
    {
        for (;;) {
            while (pos_ < len_ && isBlank(buf_[pos_]))
                ++pos_;
            if (pos_ < len_)
                break;
            if (!refill(len_))
                return false;
        }
        return base_ + pos_ < end_;
    }

    // Drops the buffer's bytes before `keep`, then reads more behind the
    // rest. False at the end of the file (or on a read error).
    bool refill(std::size_t keep)
    {
        std::size_t kept = len_ - keep;
        if (kept > 0)
            std::copy(buf_.get() + keep, buf_.get() + len_, buf_.get());
        base_ += keep;
        pos_ -= keep;
        len_ = kept;
        if (len_ == capacity_) { // one token as long as the buffer
            std::unique_ptr<char[]> bigger(new char[capacity_ * 2]);
            std::copy(buf_.get(), buf_.get() + len_, bigger.get());
            buf_ = std::move(bigger);
            capacity_ *= 2;
        }
        long long got = readAt(fd_, buf_.get() + len_, capacity_ - len_, next_);
        if (got < 0)
            failed_ = true;
        if (got <= 0)
            return false;
        len_ += static_cast<std::size_t>(got);
        next_ += static_cast<std::size_t>(got);
        if (bytesRead_)
            bytesRead_->fetch_add(static_cast<std::size_t>(got), std::memory_order_relaxed);
        return true;
    }

    int fd_;
    std::size_t next_; // file offset of the next byte to read
    std::size_t base_; // file offset of buf_[0]
    std::size_t end_;
    std::atomic<std::size_t>* bytesRead_;
    std::size_t capacity_;
    std::unique_ptr<char[]> buf_;
    std::size_t pos_ = 0, len_ = 0;
    bool failed_ = false;
};

// --- header ------------------------------------------------------------------

struct HeaderParser {
    std::string_view text;
    std::size_t pos = 0;
    const std::string& path;
    ModelError err;

    // A keyword that must match exactly; its value's token.
    bool keyword(const char* word, int code, std::string_view& value)
    {
        std::string_view t = nextToken(text, pos);
        if (t != word) {
            err = {code, inFile(path) + "expected the keyword " + word + ", found " +
                             (t.empty() ? std::string("the end of the file") : quoted(t))};
            return false;
        }
        value = nextToken(text, pos);
        return true;
    }

    bool number(std::string_view token, const std::string& keyword, double& v)
    {
        if (parseDouble(token, v))
            return true;
        err = gridError(path, "the value of '" + keyword + "' is not a number: " + quoted(token));
        return false;
    }

    // The no-data value is compared with heights, which are floats.
    bool number(std::string_view token, const std::string& keyword, float& v)
    {
        if (parseFloat(token, v))
            return true;
        err = gridError(path, "the value of '" + keyword + "' is not a number: " + quoted(token));
        return false;
    }

    // `cellsize v`, or `dx v dy v` for cells that are not square (as GDAL
    // writes them).
    bool cellSizes(std::string_view& token, double& x, double& y)
    {
        std::size_t at = pos;
        std::string_view word = nextToken(text, at);
        if (word == "dx") {
            pos = at;
            token = nextToken(text, pos);
            std::string_view dyToken;
            if (!number(token, "dx", x) || !keyword("dy", HEADER, dyToken) || !number(dyToken, "dy", y))
                return false;
            if (!(x > 0) || !(y > 0)) {
                err = {CELLSIZE,
                       inFile(path) + "'dx' and 'dy' must be above 0, not " + quoted(x > 0 ? dyToken : token)};
                return false;
            }
            return true;
        }
        if (!keyword("cellsize", HEADER, token) || !number(token, "cellsize", x))
            return false;
        y = x;
        return true;
    }

    // Rows and columns are positive whole numbers.
    bool count(std::string_view token, const char* keyword, int& v)
    {
        if (parseInt(token, v) && v > 0)
            return true;
        err = gridError(path, std::string("'") + keyword + "' must be a positive whole number, not " + quoted(token));
        return false;
    }
};

// The mesh counts its triangles (two a cell) in an int.
bool checkedSize(const GridHeader& h, ModelError& err)
{
    if (static_cast<long long>(h.rows) * h.cols <= INT_MAX / 2)
        return true;
    err = gridError(h.path, "a grid of " + std::to_string(h.rows) + " rows and " + std::to_string(h.cols) +
                                " columns is too large");
    return false;
}

// A file whose first kilobytes hold a NUL byte is no text grid.
// A file for GDAL rather than the text grid reader: one whose first
// kilobytes hold a NUL byte (binary), or text whose first non-blank
// character is '<' (XML: a VRT mosaic, say).
bool forRasterReader(int fd, std::size_t size)
{
    char start[1024];
    long long got = readAt(fd, start, std::min(sizeof start, size), 0);
    if (got <= 0)
        return false;
    const std::size_t n = static_cast<std::size_t>(got);
    if (std::memchr(start, '\0', n) != nullptr)
        return true;
    std::size_t i = 0;
    while (i < n && isBlank(start[i]))
        ++i;
    return i < n && start[i] == '<';
}

// The .prj file that names an ESRI ASCII grid's coordinate system: the
// grid's path with .prj for its extension.
std::string prjPathOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path + ".prj";
    return path.substr(0, dot) + ".prj";
}

// The coordinate system of a .prj beside a text grid, read by the raster
// reader (GDAL knows the many ways of writing one). Without a reader, or a
// .prj, the grid has no known system.
void readPrj(GridHeader& h, const RasterReader* rasterReader)
{
    if (!rasterReader || !rasterReader->describeCrs)
        return;
    const std::string prj = prjPathOf(h.path);
    FileHandle file(openForReading(prj));
    struct stat st {};
    if (file.fd < 0 || ::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > (1 << 20))
        return;
    std::string text(static_cast<std::size_t>(st.st_size), '\0');
    long long got = readAt(file.fd, text.data(), text.size(), 0);
    if (got <= 0)
        return;
    text.resize(static_cast<std::size_t>(got));
    CrsInfo crs;
    std::string wkt;
    if (rasterReader->describeCrs(text, crs, wkt)) {
        h.crs = crs;
        h.projection = wkt;
    }
}

// Parses the header in `text`; `complete` is false when the text ended
// before the header did, so that a longer prefix must be read.
bool parseHeader(std::string_view text, bool wholeFile, GridHeader& h, ModelError& err, bool& complete)
{
    HeaderParser p{text, 0, h.path, {}};
    complete = true;
    auto fail = [&] {
        // A token cut off by the end of a prefix is not yet an error.
        if (!wholeFile && p.pos >= text.size()) {
            complete = false;
            return false;
        }
        err = p.err;
        return false;
    };
    std::string_view t, cellsizeToken;
    double xll = 0, yll = 0, csx = 0, csy = 0;
    float nd = 0;
    bool hasNodata = false;
    if (!p.keyword("ncols", NCOLS, t) || !p.count(t, "ncols", h.cols))
        return fail();
    if (!p.keyword("nrows", NROWS, t) || !p.count(t, "nrows", h.rows))
        return fail();
    if (!p.keyword("xllcorner", HEADER, t) || !p.number(t, "xllcorner", xll))
        return fail();
    if (!p.keyword("yllcorner", HEADER, t) || !p.number(t, "yllcorner", yll))
        return fail();
    if (!p.cellSizes(cellsizeToken, csx, csy)) {
        if (p.err.code == CELLSIZE) {
            err = p.err;
            return false;
        }
        return fail();
    }

    // The optional no-data line is recognised by its first character.
    p.pos = skipBlanks(text, p.pos);
    if (p.pos < text.size() && (text[p.pos] == 'n' || text[p.pos] == 'N')) {
        std::string_view word = nextToken(text, p.pos);
        if (!p.number(nextToken(text, p.pos), std::string(word), nd))
            return fail();
        hasNodata = true;
        p.pos = skipBlanks(text, p.pos);
    }
    if (!wholeFile && p.pos >= text.size()) {
        complete = false;
        return false;
    }

    // Geometry needs a positive spacing: 0 or less gives infinite or
    // undefined coordinates.
    if (!(csx > 0)) {
        err = {CELLSIZE, inFile(h.path) + "'cellsize' must be above 0, not " + quoted(cellsizeToken)};
        return false;
    }
    if (!checkedSize(h, err))
        return false;
    h.xllcorner = xll;
    h.yllcorner = yll;
    h.cellsizeX = csx;
    h.cellsizeY = csy;
    h.nodata = nd;
    h.hasNodata = hasNodata;
    h.heightsAt = p.pos;
    h.text = std::string(text.substr(0, p.pos));
    if (h.text.empty() || h.text.back() != '\n')
        h.text += '\n';
    return true;
}

// --- heights -------------------------------------------------------------------

struct RangeResult {
    std::size_t count = 0;
    float zmin = ZMIN_START, zmax = ZMAX_START; // of the present heights parsed
    // Cells holding the declared no-data value, counted from the range's
    // first cell: few in most files, so a list costs less than a mask.
    std::vector<std::size_t> absent;
    bool bad = false; // stopped at a token that is not a number
    std::string badToken;
    bool readFailed = false;
};

// How a height that was read is stored: a DEM's absent cells hold 0; and
// the size of the reading buffer.
struct Absence {
    bool declared = false;
    float nodata = 0;
    bool dem = false;
    std::size_t bufferBytes = 1;
};

// Parses up to `limit` heights from the tokens starting in [begin, end)
// into `out` (or only checks them when out is null).
RangeResult parseRange(int fd, std::size_t begin, std::size_t end, std::size_t fileSize, float* out, std::size_t limit,
                       const Absence& rule, std::atomic<std::size_t>* bytesRead = nullptr)
{
    RangeResult r;
    TokenStream tokens(fd, begin, end, fileSize, rule.bufferBytes, bytesRead);
    std::string_view token;
    float v;
    bool ok;
    while (r.count < limit && tokens.nextHeight(v, token, ok)) {
        if (!ok) {
            r.bad = true;
            r.badToken = quoted(token);
            break;
        }
        if (rule.declared && v == rule.nodata) {
            r.absent.push_back(r.count);
            if (rule.dem)
                v = 0.0f;
        } else {
            widenExtremes(v, r.zmin, r.zmax);
        }
        if (out)
            out[r.count] = v;
        ++r.count;
    }
    r.readFailed = tokens.failed();
    return r;
}

// The first offset at or after `from` that holds a blank (or the end).
std::size_t nextBlank(int fd, std::size_t from, std::size_t size)
{
    char window[4096];
    while (from < size) {
        long long got = readAt(fd, window, sizeof window, from);
        if (got <= 0)
            return size;
        for (long long i = 0; i < got; ++i)
            if (isBlank(window[i]))
                return from + static_cast<std::size_t>(i);
        from += static_cast<std::size_t>(got);
    }
    return size;
}

} // namespace

bool readGridHeader(const std::string& path, GridHeader& h, ModelError& err, const GridIo& io)
{
    const RasterReader* rasterReader = io.reader;
    h = GridHeader{};
    h.path = path;
    FileHandle file(openForReading(path));
    struct stat st {};
    if (file.fd < 0 || ::fstat(file.fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        err = {GRIDFILE, "file \"" + path + "\" not found"};
        return false;
    }
    h.fileSize = static_cast<std::size_t>(st.st_size);
    if (forRasterReader(file.fd, h.fileSize)) {
        if (!rasterReader) {
            err = gridError(path, "not an ESRI ASCII grid, and this build of Orolith reads no other raster format "
                                  "(it was built without GDAL, or its GDAL module is missing)");
            return false;
        }
        h.format = GridFormat::raster;
        if (!rasterReader->readHeader(path, h, err))
            return false;
        h.path = path;
        h.format = GridFormat::raster;
        // A raster too large to hold is still read a strip at a time by the
        // streamed analyses; reading it whole checks its size.
        return true;
    }
    std::string prefix;
    for (std::size_t want = 64u << 10;; want *= 2) {
        std::size_t n = std::min(want, h.fileSize);
        prefix.resize(n);
        long long got = readAt(file.fd, prefix.data(), n, 0);
        if (got < 0) {
            err = gridError(path, "the file could not be read");
            return false;
        }
        prefix.resize(static_cast<std::size_t>(got));
        // A header longer than this is no header: judge what was read.
        bool whole = prefix.size() >= h.fileSize || want >= (16u << 20);
        bool complete = true;
        if (parseHeader(prefix, whole, h, err, complete)) {
            readPrj(h, rasterReader);
            return true;
        }
        if (complete || whole)
            return false;
    }
}

namespace {
constexpr double DEG = RADIANS_PER_DEGREE;
}

GroundSpacing groundSpacing(const GridHeader& h)
{
    if (!h.crs.geographic)
        return {h.cellsizeX, h.cellsizeY, false};
    // The meridian's and the prime vertical's radii of curvature at the
    // grid's central latitude: a degree of latitude spans M of them, a
    // degree of longitude N cos(latitude).
    const double a = h.crs.semiMajor;
    const double f = h.crs.inverseFlattening > 0 ? 1.0 / h.crs.inverseFlattening : 0.0;
    const double e2 = f * (2 - f);
    const double lat = (h.yllcorner + 0.5 * h.rows * h.cellsizeY) * DEG;
    const double s = std::sin(lat);
    const double w = 1 - e2 * s * s;
    const double n = a / std::sqrt(w);
    const double m = a * (1 - e2) / (w * std::sqrt(w));
    return {h.cellsizeX * DEG * n * std::cos(lat), h.cellsizeY * DEG * m, true};
}

bool looksGeographic(const GridHeader& h)
{
    if (h.crs.known || h.rows < 1 || h.cols < 1 || !(h.cellsizeX > 0) || !(h.cellsizeY > 0))
        return false;
    const double east = h.xllcorner + h.cols * h.cellsizeX, north = h.yllcorner + h.rows * h.cellsizeY;
    return h.cellsizeX < 0.1 && h.cellsizeY < 0.1 && h.xllcorner >= -180 && east <= 360 && h.yllcorner >= -90 &&
           north <= 90;
}

void declareGeographic(GridHeader& h)
{
    h.crs = CrsInfo{};
    h.crs.known = true;
    h.crs.geographic = true;
    h.crs.name = "WGS 84";
    h.projection = "GEOGCS[\"WGS 84\",DATUM[\"WGS_1984\",SPHEROID[\"WGS 84\",6378137,298.257223563]],"
                   "PRIMEM[\"Greenwich\",0],UNIT[\"degree\",0.0174532925199433],AUTHORITY[\"EPSG\",\"4326\"]]";
}

namespace {
void findContourInterval(GridData& out, GridRole role)
{
    if (role == GridRole::comparison)
        out.contourInt = detectContourInterval(out.heights.data(), out.heights.size());
}

void markAbsent(GridData& out, const std::vector<std::size_t>& absent)
{
    if (absent.empty())
        return;
    out.present.assign(out.heights.size(), 1);
    for (std::size_t i : absent)
        out.present[i] = 0;
}
} // namespace

void finishGrid(GridData& out, GridRole role)
{
    out.zmin = ZMIN_START;
    out.zmax = ZMAX_START;
    for (std::size_t i = 0; i < out.heights.size(); ++i)
        if (out.isPresent(i))
            widenExtremes(out.heights[i], out.zmin, out.zmax);
    findContourInterval(out, role);
}

namespace {

// A raster's absent cells are NaN or hold its no-data value. Stored as a
// text grid would store them: a DEM's as 0, comparison data's as the
// no-data value (0 without one).
bool readRasterHeights(const GridHeader& h, GridRole role, GridData& out, ModelError& err,
                       std::atomic<std::size_t>* bytesRead, const RasterReader* rasterReader)
{
    if (!checkedSize(h, err))
        return false;
    std::string shortfall = memoryShortfall(h.cells() * sizeof(float));
    if (!shortfall.empty()) {
        err = {ARRAY1, inFile(h.path) + "a grid of " + std::to_string(h.rows) + " rows and " + std::to_string(h.cols) +
                           " columns " + shortfall};
        return false;
    }
    if (!rasterReader || !rasterReader->readHeights(h, out.heights, err, bytesRead))
        return false;
    const float stored = role == GridRole::dem || !h.hasNodata ? 0.0f : h.nodata;
    std::vector<std::size_t> absent;
    for (std::size_t i = 0; i < out.heights.size(); ++i) {
        float& v = out.heights[i];
        if (std::isnan(v) || (h.hasNodata && v == h.nodata)) {
            absent.push_back(i);
            v = stored;
        }
    }
    markAbsent(out, absent);
    finishGrid(out, role);
    return true;
}

} // namespace

bool readGridHeights(const GridHeader& h, GridRole role, GridData& out, ModelError& err, const GridIo& io, int threads,
                     std::atomic<std::size_t>* bytesRead)
{
    out = GridData{};
    out.header = h;
    const Absence rule{h.hasNodata, h.nodata, role == GridRole::dem, std::max<std::size_t>(1, io.tuning.bufferBytes)};
    if (h.format == GridFormat::raster)
        return readRasterHeights(h, role, out, err, bytesRead, io.reader);
    FileHandle file(openForReading(h.path));
    if (file.fd < 0) {
        err = {GRIDFILE, "file \"" + h.path + "\" not found"};
        return false;
    }
    const std::size_t cells = h.cells();
    const std::size_t bytes = h.fileSize > h.heightsAt ? h.fileSize - h.heightsAt : 0;

    auto endsBefore = [&](std::size_t index) {
        err = gridError(h.path, "the file ends before the height of " + cellName(index, h.cols) +
                                    " (rows and columns count from 0)");
        return false;
    };
    auto notANumber = [&](std::size_t index, const std::string& token) {
        err = gridError(h.path, "the height of " + cellName(index, h.cols) + " is not a number: " + token +
                                    " (rows and columns count from 0)");
        return false;
    };
    auto unreadable = [&] {
        err = gridError(h.path, "the file could not be read");
        return false;
    };

    // Every height takes at least one character and one blank, so a file too
    // short for its header's size is known before anything is allocated:
    // find the first cell it cannot fill and say so.
    if (bytes + 1 < 2 * cells) {
        RangeResult r = parseRange(file.fd, h.heightsAt, h.fileSize, h.fileSize, nullptr, cells, rule);
        if (r.readFailed)
            return unreadable();
        return r.bad ? notANumber(r.count, r.badToken) : endsBefore(r.count);
    }

    // Two threads split the text at a blank near its middle: the first
    // parses the tokens before it straight into the grid, the second those
    // after it into a buffer that is copied behind the first's.
    const bool split = threads > 1 && bytes >= io.tuning.splitBytes;
    const std::size_t middle = split ? nextBlank(file.fd, h.heightsAt + bytes / 2, h.fileSize) : h.fileSize;
    const std::size_t secondMost = split ? std::min(cells, (h.fileSize - middle + 1) / 2) : 0;

    const std::size_t need = (cells + secondMost) * sizeof(float);
    std::string shortfall = memoryShortfall(need);
    auto noMemory = [&](const std::string& why) {
        err = {ARRAY1, inFile(h.path) + "a grid of " + std::to_string(h.rows) + " rows and " + std::to_string(h.cols) +
                           " columns " + why};
        return false;
    };
    if (!shortfall.empty())
        return noMemory(shortfall);
    std::vector<float> second;
    try {
        out.heights.resize(cells);
        second.resize(secondMost);
    } catch (const std::bad_alloc&) {
        out.heights = {};
        return noMemory("needs " + std::to_string(megabytes(need)) + " MB of memory, more than could be allocated");
    }

    RangeResult first, rest;
    if (split) {
        std::thread helper([&] {
            rest = parseRange(file.fd, middle, h.fileSize, h.fileSize, second.data(), secondMost, rule, bytesRead);
        });
        first = parseRange(file.fd, h.heightsAt, middle, h.fileSize, out.heights.data(), cells, rule, bytesRead);
        helper.join();
    } else {
        first = parseRange(file.fd, h.heightsAt, h.fileSize, h.fileSize, out.heights.data(), cells, rule, bytesRead);
    }
    if (first.readFailed || rest.readFailed)
        return unreadable();
    std::size_t n = first.count;
    if (first.bad)
        return notANumber(n, first.badToken);
    // The extremes were taken while parsing, each part in its order: the
    // second part's count only where they beat the first's, as if read on.
    float zmin = first.zmin, zmax = first.zmax;
    std::vector<std::size_t>& absent = first.absent;
    if (n < cells && split) {
        std::size_t take = std::min(rest.count, cells - n);
        std::copy(second.begin(), second.begin() + static_cast<std::ptrdiff_t>(take),
                  out.heights.begin() + static_cast<std::ptrdiff_t>(n));
        // Heights past the grid's last cell are no part of it.
        while (!rest.absent.empty() && rest.absent.back() >= take)
            rest.absent.pop_back();
        if (take < rest.count) {
            rest.zmin = ZMIN_START;
            rest.zmax = ZMAX_START;
            std::size_t next = 0;
            for (std::size_t i = 0; i < take; ++i) {
                if (next < rest.absent.size() && rest.absent[next] == i) {
                    ++next;
                    continue;
                }
                widenExtremes(second[i], rest.zmin, rest.zmax);
            }
        }
        if (rest.zmax > zmax)
            zmax = rest.zmax;
        if (rest.zmin < zmin)
            zmin = rest.zmin;
        for (std::size_t i : rest.absent)
            absent.push_back(n + i);
        n += take;
        if (n < cells && rest.bad)
            return notANumber(n, rest.badToken);
    }
    if (n < cells)
        return endsBefore(n);

    out.zmin = zmin;
    out.zmax = zmax;
    markAbsent(out, absent);
    findContourInterval(out, role);
    return true;
}

bool readGridData(const std::string& path, GridRole role, GridData& out, ModelError& err, const GridIo& io, int threads)
{
    GridHeader h;
    return readGridHeader(path, h, err, io) && readGridHeights(h, role, out, err, io, threads);
}

int detectContourInterval(const float* heights, std::size_t count)
{
    int interval = 0;
    for (std::size_t i = 0; i < count; ++i) {
        float v = heights[i];
        int level = truncToInt(v);
        if (interval == 0 && v != 0) {
            interval = level; // the first contour level
        } else if (level > interval) {
            long long rise = static_cast<long long>(level) - interval;
            return rise > INT_MAX ? INT_MAX : static_cast<int>(rise);
        }
    }
    return interval;
}

std::string readingLine(const GridHeader& header, GridRole role)
{
    return (role == GridRole::dem ? "Reading DEM data, " : "Reading comparison data, ") + std::to_string(header.rows) +
           " rows and " + std::to_string(header.cols) + " columns...";
}

} // namespace orolith::model
