// Fuzz target of the grid reader (libFuzzer). Each input is read as a DEM
// and as comparison data, once with the reader's usual buffer and once with
// a buffer of a few bytes and the two-thread split on, so that buffer
// refills, tokens across refills and the split run on small inputs; both
// readings must agree to the bit, in the heights and in the error. The
// first token also goes through both number parsers, the fast one for short
// decimals and the general one, which must agree.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "model/gridfile.h"
#include "model/tokens.h"

using namespace orolith::model;

namespace {

struct Reading {
    bool ok;
    GridData data;
    std::string message;
};

Reading readWith(const std::string& path, GridRole role, const ReadTuning& tuning, int threads)
{
    GridIo io;
    io.tuning = tuning;
    Reading r;
    ModelError err;
    r.ok = readGridData(path, role, r.data, err, io, threads);
    r.message = err.text();
    return r;
}

bool same(const Reading& a, const Reading& b)
{
    if (a.ok != b.ok || a.message != b.message)
        return false;
    if (!a.ok)
        return true;
    const GridData &x = a.data, &y = b.data;
    return x.header.rows == y.header.rows && x.header.cols == y.header.cols && x.header.text == y.header.text &&
           x.contourInt == y.contourInt && std::memcmp(&x.zmin, &y.zmin, sizeof x.zmin) == 0 &&
           std::memcmp(&x.zmax, &y.zmax, sizeof x.zmax) == 0 && x.heights.size() == y.heights.size() &&
           std::memcmp(x.heights.data(), y.heights.data(), x.heights.size() * sizeof(float)) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static int fd = memfd_create("grid", 0);
    static const std::string path = "/proc/self/fd/" + std::to_string(fd);
    if (fd < 0 || ftruncate(fd, 0) != 0 || (size > 0 && pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)))
        std::abort();

    const ReadTuning usual;
    ReadTuning tiny;
    tiny.bufferBytes = 1 + size % 7;
    tiny.splitBytes = 1;
    for (GridRole role : {GridRole::dem, GridRole::comparison}) {
        Reading a = readWith(path, role, usual, 1);
        Reading b = readWith(path, role, tiny, 2);
        if (!same(a, b)) {
            std::fprintf(stderr, "readings differ: \"%s\" / \"%s\"\n", a.message.c_str(), b.message.c_str());
            std::abort();
        }
    }

    // The first token of the input through both number parsers.
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::size_t pos = 0;
    std::string_view token = nextToken(text, pos);
    float fast = 0, general = 0;
    bool fastOk = parseFloat(token, fast), generalOk = parseFloatGeneral(token, general);
    if (fastOk != generalOk || (fastOk && std::memcmp(&fast, &general, sizeof fast) != 0)) {
        std::fprintf(stderr, "\"%.*s\" parses to %a, not %a\n", static_cast<int>(token.size()), token.data(),
                     static_cast<double>(fast), static_cast<double>(general));
        std::abort();
    }
    return 0;
}
