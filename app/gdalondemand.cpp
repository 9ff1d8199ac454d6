#include "app/gdalondemand.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

#include "dialogs/names.h"
#include "model/gdal/gdalmodule.h"

namespace orolith::ui {

namespace {

// Beside the executable, wherever it was installed or copied to; empty
// when the executable cannot be found.
std::string modulePath()
{
    char exe[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe);
    if (n <= 0 || n >= static_cast<ssize_t>(sizeof exe))
        return std::string();
    const std::string self(exe, static_cast<std::size_t>(n));
    return self.substr(0, self.rfind('/') + 1) + GDAL_MODULE_FILE;
}

bool modulePresent(const std::string& path) { return !path.empty() && access(path.c_str(), F_OK) == 0; }

struct Loaded {
    const GdalModule* module = nullptr;
    std::string failure; // why not, when module is null
};

Loaded load()
{
    Loaded l;
    const std::string path = modulePath();
    void* lib = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!lib) {
        const char* why = dlerror();
        l.failure = "GDAL could not be loaded through " + path + " (" + (why ? why : "no reason given") +
                    "; is GDAL's Debian package, libgdal32, installed?)";
        return l;
    }
    auto entry = reinterpret_cast<GdalModuleEntry>(dlsym(lib, GDAL_MODULE_ENTRY));
    const GdalModule* m = entry ? entry() : nullptr;
    if (!m)
        l.failure = path + " is not Orolith's GDAL module (it has no " + GDAL_MODULE_ENTRY + ")";
    else if (m->version != GDAL_MODULE_VERSION)
        l.failure = path + " belongs to another version of Orolith (module version " + std::to_string(m->version) +
                    ", this program needs " + std::to_string(GDAL_MODULE_VERSION) + ")";
    else
        l.module = m;
    return l;
}

// Loaded once, the first time a file needs it, though the DEM's and the
// comparison grid's headers may be read on two threads at once. Never
// closed: the process may read another raster at any time.
const Loaded& loaded()
{
    static const Loaded l = load();
    return l;
}

std::string inFile(const std::string& path) { return "file \"" + path + "\": "; }

bool readHeader(const std::string& path, GridHeader& h, ModelError& err)
{
    const Loaded& l = loaded();
    if (!l.module) {
        err = {GRIDFILE, inFile(path) + "not an ESRI ASCII grid, and " + l.failure};
        return false;
    }
    return l.module->reader.readHeader(path, h, err);
}

bool readHeights(const GridHeader& h, std::vector<float>& heights, ModelError& err, std::atomic<std::size_t>* bytesRead)
{
    const Loaded& l = loaded();
    if (!l.module) {
        err = {GRIDFILE, inFile(h.path) + l.failure};
        return false;
    }
    return l.module->reader.readHeights(h, heights, err, bytesRead);
}

bool describeCrs(const std::string& text, CrsInfo& crs, std::string& wkt)
{
    const Loaded& l = loaded();
    return l.module && l.module->reader.describeCrs && l.module->reader.describeCrs(text, crs, wkt);
}

bool sameCrs(const std::string& a, const std::string& b)
{
    const Loaded& l = loaded();
    return l.module ? l.module->reader.sameCrs(a, b) : a == b;
}

const RasterReader ON_DEMAND_READER{readHeader, readHeights, describeCrs, sameCrs};

bool warp(const GridHeader& from, const float* source, const GridHeader& onto, AlignMethod method,
          std::vector<float>& out, ModelError& err)
{
    const Loaded& l = loaded();
    if (!l.module) {
        err = {GRIDFILE, "file \"" + from.path + "\": cannot be aligned: " + l.failure};
        return false;
    }
    return l.module->warper.warp(from, source, onto, method, out, err);
}

bool transform(const std::string& fromWkt, const std::string& toWkt, double* x, double* y, std::size_t n,
               ModelError& err)
{
    const Loaded& l = loaded();
    if (!l.module) {
        err = {GRIDFILE, "points cannot be transformed: " + l.failure};
        return false;
    }
    return l.module->warper.transform(fromWkt, toWkt, x, y, n, err);
}

const GridWarper ON_DEMAND_WARPER{warp, transform};

// The row reader is asked for only after a header was read, so the module
// is loaded by then.
RasterRows* openRows(const GridHeader& h, ModelError& err)
{
    const Loaded& l = loaded();
    if (!l.module) {
        err = {GRIDFILE, inFile(h.path) + l.failure};
        return nullptr;
    }
    return l.module->rows.open(h, err);
}
bool readRows(RasterRows* r, int first, int count, float* heights, ModelError& err)
{
    return loaded().module->rows.read(r, first, count, heights, err);
}
void closeRows(RasterRows* r) { loaded().module->rows.close(r); }

const RasterRowReader ON_DEMAND_ROWS{openRows, readRows, closeRows};

RasterOut* createTiff(const std::string& path, const GridHeader& georef, float nodata, ModelError& err)
{
    const Loaded& l = loaded();
    if (!l.module) {
        err = {GRIDFILE, inFile(path) + l.failure};
        return nullptr;
    }
    return l.module->tiffRows.create(path, georef, nodata, err);
}
bool writeTiffRows(RasterOut* out, int first, int count, const float* values, ModelError& err)
{
    return loaded().module->tiffRows.write(out, first, count, values, err);
}
bool closeTiff(RasterOut* out, ModelError& err) { return loaded().module->tiffRows.close(out, err); }

const RasterRowWriter ON_DEMAND_TIFF_ROWS{createTiff, writeTiffRows, closeTiff};

} // namespace

GridIo gdalOnDemandGridIo()
{
    if (!modulePresent(modulePath()))
        return GridIo{};
    return GridIo{&ON_DEMAND_READER, &ON_DEMAND_WARPER, {}, &ON_DEMAND_ROWS, &ON_DEMAND_TIFF_ROWS};
}

bool writeGeoTiffOnDemand(const std::string& path, const GridHeader& georef, const std::vector<float>& values,
                          float nodata, ModelError& err)
{
    const std::string module = modulePath();
    if (!modulePresent(module)) {
        err = {GRIDFILE, "this build of Orolith writes no GeoTIFF (its GDAL module " + module +
                             " is missing): write .asc instead"};
        return false;
    }
    const Loaded& l = loaded();
    if (!l.module) {
        err = {GRIDFILE, inFile(path) + "no GeoTIFF written: " + l.failure + "; write .asc instead"};
        return false;
    }
    return l.module->writeGeoTiff(path, georef, values, nodata, err);
}

namespace {

// The loaded module, or null with why not: what reading points or a mask
// and writing residuals need, as `what` says.
const GdalModule* moduleFor(const std::string& path, const char* what, std::string& error)
{
    const std::string module = modulePath();
    if (!modulePresent(module)) {
        error = inFile(path) + what + " needs Orolith's GDAL module, and " + module + " is missing";
        return nullptr;
    }
    const Loaded& l = loaded();
    if (!l.module)
        error = inFile(path) + what + " needs GDAL: " + l.failure;
    return l.module;
}

} // namespace

bool readPointsOnDemand(const PointSource& source, std::vector<Checkpoint>& points, std::string& error)
{
    const GdalModule* m = moduleFor(source.path, "reading checkpoints", error);
    return m && m->readPoints(source, points, error);
}

bool readMaskOnDemand(const MaskSource& source, const GridHeader& dem, std::vector<std::uint8_t>& mask,
                      std::string& error)
{
    const GdalModule* m = moduleFor(source.path, "reading a mask", error);
    return m && m->readMask(source, dem, mask, error);
}

bool writeResidualsOnDemand(const std::string& path, const std::vector<ResidualRow>& rows, const std::string& demWkt,
                            std::string& error)
{
    const GdalModule* m = moduleFor(path, "writing residuals", error);
    return m && m->writeResiduals(path, rows, demWkt, error);
}

std::optional<LonLat> LonLatTransform::operator()(double x, double y) const
{
    LonLat p;
    if (!handle_ || !toLonLat_(handle_.get(), x, y, p.lon, p.lat))
        return std::nullopt;
    return p;
}

LonLatTransform lonLatThrough(const GdalModule* module, const GridHeader& header)
{
    LonLatTransform t;
    if (!module || !header.crs.known || header.projection.empty())
        return t;
    GdalLonLat* h = module->openLonLat(header.projection);
    if (!h)
        return t;
    t.handle_ = std::shared_ptr<GdalLonLat>(h, module->closeLonLat);
    t.toLonLat_ = module->toLonLat;
    return t;
}

LonLatTransform lonLatOnDemand(const GridHeader& header)
{
    // A grid of no known system never loads the module.
    if (!header.crs.known || header.projection.empty() || !modulePresent(modulePath()))
        return LonLatTransform{};
    return lonLatThrough(loaded().module, header);
}

} // namespace orolith::ui
