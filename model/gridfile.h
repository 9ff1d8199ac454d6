// Reading grid files (the ESRI ASCII grid layout) into plain data, apart
// from the model objects: a load can read both of its files, check that
// they belong together and only then replace what the models hold, and a
// file that cannot be read is reported without ending the program.
#ifndef OROLITH_MODEL_GRIDFILE_H
#define OROLITH_MODEL_GRIDFILE_H

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/asciiheader.h"
#include "model/errors.h"

namespace orolith::model {

// A DEM stores its no-data cells as 0; comparison data keeps every value as
// read and has its contour interval detected.
enum class GridRole { dem, comparison };

// ESRI ASCII grids are read here; other rasters (GeoTIFF and the many
// formats GDAL reads) by the raster reader the application registers.
enum class GridFormat { esriAscii, raster };

// What a grid's coordinate system says about distances. A geographic
// system (longitude and latitude in degrees) has its cells measured on its
// ellipsoid; any other is taken to be in the heights' own unit.
struct CrsInfo {
    bool known = false;                                              // the file (or a .prj beside it) names a system
    bool geographic = false;                                         // longitude and latitude
    std::string name;                                                // as the system names itself, for messages
    double semiMajor = 6378137.0, inverseFlattening = 298.257223563; // its ellipsoid (WGS 84 when unnamed)
    // The heights' unit when the file says it (a vertical coordinate
    // system, or a raster's unit type): its name and its length in metres;
    // empty and 0 when it says nothing.
    std::string verticalUnit;
    double verticalUnitMetres = 0;
    std::string verticalDatum; // a compound system's vertical datum, when named
};

// The header of a grid file and where its heights begin. Coordinates and
// cell sizes are kept as read, in double precision: a float would move a
// UTM northing by tenths of a metre.
struct GridHeader {
    std::string path;
    GridFormat format = GridFormat::esriAscii;
    int rows = 0, cols = 0;
    double xllcorner = 0, yllcorner = 0;
    // Width of a column and height of a row in map units; equal for the
    // square cells of `cellsize`, apart for `dx` and `dy` or a raster's
    // rectangular pixels.
    double cellsizeX = 0, cellsizeY = 0;
    // The declared no-data value (a NODATA line, or a raster's no-data tag);
    // cells holding it are absent. No declaration, no such cells.
    bool hasNodata = false;
    float nodata = 0;
    // The header as it stood in the file, up to the first height, ending
    // with a newline: a derived raster is written back under it.
    std::string text;
    std::size_t heightsAt = 0; // byte offset of the first height
    std::size_t fileSize = 0;
    std::string projection; // the coordinate system as WKT, when the file names one
    CrsInfo crs;

    std::size_t cells() const { return static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols); }
    bool squareCells() const { return cellsizeX == cellsizeY; }
};

// Distances between neighbouring grid points: along a row (from one column
// to the next) and along a column (from one row to the next). In metres on
// the ellipsoid at the grid's central latitude for a geographic grid, in
// map units otherwise.
struct GroundSpacing {
    double x = 0, y = 0;
    bool geographic = false;
};
GroundSpacing groundSpacing(const GridHeader& header);

// A grid of no declared coordinate system whose corner and extent lie
// within longitude and latitude ranges and whose cells are smaller than
// 0.1: probably in degrees. The command line and the viewer then suggest
// a .prj file (or --geographic).
bool looksGeographic(const GridHeader& header);

// Declares a grid geographic on WGS 84 (--geographic).
void declareGeographic(GridHeader& header);

constexpr float ZMIN_START = 35000.0f, ZMAX_START = -1000.0f;

// One more height toward the extremes: only a height beyond one moves it.
inline void widenExtremes(float v, float& zmin, float& zmax)
{
    if (v > zmax)
        zmax = v;
    if (v < zmin)
        zmin = v;
}

// A grid file read whole.
struct GridData {
    GridHeader header;
    std::vector<float> heights; // row-major, row 0 (the file's first row) first
    // Which cells hold a value: 0 where the file has NaN or the declared
    // no-data value. Empty when every cell does. A DEM stores 0 in its
    // absent cells; comparison data keeps what the file holds there.
    std::vector<std::uint8_t> present;
    // Extremes as the model keeps them: they start at 35000 and -1000 and
    // move only for present heights beyond them.
    float zmin = ZMIN_START, zmax = ZMAX_START;
    int contourInt = 0; // comparison data only

    bool isPresent(std::size_t cell) const { return present.empty() || present[cell] != 0; }
};

struct GridIo;

// Reads and checks the header. False, with the error, when the file cannot
// be opened or its header is not one of a grid file.
bool readGridHeader(const std::string& path, GridHeader& out, ModelError& err, const GridIo& io);

// Reads the heights after a header read by readGridHeader. The memory the
// heights need is checked before it is allocated. `threads` (1 or more)
// splits a large file's parsing. False, with the error naming the file and
// the first cell at fault, when a height is missing or not a number.
// `bytesRead`, when given, grows with the bytes read, for a progress bar
// shown by another thread.
bool readGridHeights(const GridHeader& header, GridRole role, GridData& out, ModelError& err, const GridIo& io,
                     int threads = 1, std::atomic<std::size_t>* bytesRead = nullptr);

// Both steps.
bool readGridData(const std::string& path, GridRole role, GridData& out, ModelError& err, const GridIo& io,
                  int threads = 1);

// The model's progress line for a file about to be read: "Reading DEM
// data, ..." or "Reading comparison data, ...".
std::string readingLine(const GridHeader& header, GridRole role);

// A reader of rasters that are not ESRI ASCII grids. readHeader fills the
// header (text as an ESRI ASCII header would read) and checks the raster
// can be loaded; readHeights fills `heights` with the values as stored,
// row 0 the northern row, and may add the bytes it has read to bytesRead.
// The grid reader then applies the DEM's no-data rule, the extremes and the
// contour interval exactly as for a text grid.
//
// describeCrs reads a coordinate system written as text (a .prj file beside
// an ESRI ASCII grid: ESRI's WKT, OGC WKT, PROJ or EPSG:n) into `crs` and
// its OGC WKT; false when the text names none. sameCrs tells whether two
// WKT texts name the same system, however written.
struct RasterReader {
    bool (*readHeader)(const std::string& path, GridHeader& out, ModelError& err);
    bool (*readHeights)(const GridHeader& header, std::vector<float>& heights, ModelError& err,
                        std::atomic<std::size_t>* bytesRead);
    bool (*describeCrs)(const std::string& text, CrsInfo& crs, std::string& wkt);
    bool (*sameCrs)(const std::string& wktA, const std::string& wktB);
};
// Rows of a raster read a strip at a time, for the analyses that stream
// a grid too large to hold (model/rasterpairrows.h): open after
// readHeader, then read grid rows [first, first + count) (row 0 the
// northern row) into `heights`, values as stored.
struct RasterRows;
struct RasterRowReader {
    RasterRows* (*open)(const GridHeader& header, ModelError& err);
    bool (*read)(RasterRows* rows, int first, int count, float* heights, ModelError& err);
    void (*close)(RasterRows* rows);
};
// A float GeoTIFF written a strip of rows at a time under the
// georeference of `georef` (its rows, corner, cells and system), `nodata`
// its no-data value; close says whether all of it was written.
struct RasterOut;
struct RasterRowWriter {
    RasterOut* (*create)(const std::string& path, const GridHeader& georef, float nodata, ModelError& err);
    bool (*write)(RasterOut* out, int first, int count, const float* values, ModelError& err);
    bool (*close)(RasterOut* out, ModelError& err);
};
// Buffer and split sizes of the height reader. Only tests and the fuzzer
// change them, to run the buffer refills and the two-thread split on small
// files.
struct ReadTuning {
    std::size_t bufferBytes = 4u << 20;
    // A file's heights are parsed by two threads from this size on; below
    // it, starting the second thread and copying its part behind the first
    // cost about what the split saves, and the time swings with the load.
    std::size_t splitBytes = 8u << 20;
};

struct GridWarper;

// What reading and pairing grids may use beyond the text grid reader: the
// raster reader and the grid warper the application brings (GDAL; none
// means text grids only, and no alignment), and the reader's tuning.
struct GridIo {
    const RasterReader* reader = nullptr;
    const GridWarper* warper = nullptr;
    ReadTuning tuning;
    const RasterRowReader* rows = nullptr;
    const RasterRowWriter* tiffRows = nullptr; // results streamed out
};

// What every reading ends with: the extremes and, for comparison data, the
// contour interval. Grids made in memory end with it too.
void finishGrid(GridData& data, GridRole role);

// The contour interval of comparison heights in reading order: the first
// rise in integer part above the first non-zero height.
int detectContourInterval(const float* heights, std::size_t count);

} // namespace orolith::model

#endif
