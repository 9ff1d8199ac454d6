// The terrain model: one gridded DEM (`mountain`) or comparison grid
// (`rawdata`) with the analyses derived from it.
//
// This header is the model library's public face. It includes nothing from
// FLTK or GL; the drawing members declared at the end of `mountain` are
// defined in render/ so that the model builds and tests without a display.
//
// Storage is lean: the heights in one block, the curvature and difference
// values in arrays of one float a point, and the class of every cell in one
// byte. The triangle mesh is not stored: its frame (scale and offsets) is
// kept, and a triangle's vertices, normal and class colours are derived
// from the grid when something draws or asks for it.
#ifndef OROLITH_MODEL_MOUNTAIN_H
#define OROLITH_MODEL_MOUNTAIN_H

#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/align.h"
#include "model/colors.h"
#include "model/errors.h"
#include "model/gridfile.h"
#include "model/gridview.h"

// Comparison file kinds (the open dialogs also use 0 for "none chosen").
constexpr int DEM = 1;
constexpr int SPARSEF = 2;
constexpr int CONTF = 3;

// The comparison kind of a file kind of the open dialogs; DEM for 0.
inline ComparisonKind comparisonKindOfFile(int fileKind)
{
    return fileKind == SPARSEF ? ComparisonKind::sparse
                               : fileKind == CONTF ? ComparisonKind::contour : ComparisonKind::dem;
}

// Smallest accepted number of spot heights in a sparse sample, and the
// largest number of peaks it takes.
constexpr int LOCALNUM = 100;

// Largest contour interval that height classes accept: a comparison grid
// whose first value is a no-data sentinel gives a meaningless interval of
// that size, and one class per unit would exhaust memory.
constexpr int MAX_HEIGHT_CLASSES = 1000000;

// One spot height of a sparse sample.
struct randomHeight {
    int row;
    int column;
    float height;
};

class mountain {
public:
    // One mesh triangle: its vertices, unit normal and the class colours of
    // its cell.
    struct triangleinfo {
        float x0, y0, z0;
        float x1, y1, z1;
        float x2, y2, z2;
        float nx, ny, nz;
        int curveColor;
        int diffColor;      // elevation-difference class
        int curveDiffColor; // curvature-difference class
    };

    mountain();
    virtual ~mountain();
    mountain(const mountain&) = delete;
    mountain& operator=(const mountain&) = delete;

    virtual void setContourInt(int) {}
    virtual int getContourInt() { return 0; }

    // Grid input: reads names[index-1]; index 1 reads a DEM, any other
    // index comparison data. A file that cannot be read is fatal (the
    // viewer's loads go through loadDataSet instead, which reports it).
    void readgridfile(const std::string names[], int index);
    // Take a grid that was read (see gridfile.h) as this model's DEM or
    // comparison data: the progress line, then adopt.
    void readgrid(GridData&& data);
    void readrawdata(GridData&& data);
    // Replace the heights with those of a grid that was read and drop
    // everything derived from the old ones (counts, classes, extremes,
    // mesh frame, height classes; for comparison data the contour interval
    // becomes the one detected). An empty GridData releases the grid.
    // `kind` says which comparison cells hold a height (gridview.h).
    void adopt(GridData&& data, ComparisonKind kind = ComparisonKind::dem);

    // Mesh (vertical exaggeration e): computes the mesh's frame.
    void convert_to_triangles(int exaggeration);
    void vertExagPlus() { vertExag += 1.0f; }
    void vertExagMinus() { if (vertExag > 0) vertExag -= 1.0f; }
    void vertExagReset() { vertExag = 1.0f; }

    // Analyses.
    void compute_normals();
    void compute_curve_color();
    void compute_elev_diff_color();
    void compute_curve_diff_color();
    // Returns false (with a message) when there is no contour interval to
    // class by; the histogram is then left as it was.
    bool computeHeightClasses();

    // Sparse sample. makeSparseFile prints the sample raster on standard
    // output; the DEM itself is left untouched.
    void makeSparseFile(int n);
    // The sample as its own rows x cols raster (row-major, 0 where no spot
    // height falls); empty (after a message) when nothing is loaded, or n is
    // below LOCALNUM or above the number of grid points.
    std::vector<float> sparseRaster(int n);
    // The sample as a whole grid file: the DEM's header, then the raster
    // (empty when the sample is refused); `heights`, when given, receives
    // the number of spot heights it holds (spotHeightCount).
    std::string sparseFileText(int n, std::size_t* heights = nullptr);
    int localMaximums(randomHeight* out);

    // Accessors.
    int getRows() const { return rows; }
    int getCols() const { return cols; }
    int gridsize() const { return rows * cols; }
    float getZmin() const { return zmin; }
    float getZmax() const { return zmax; }
    float getVertExag() const { return vertExag; }
    float getNodata() const { return nodata; }
    float getElev(int r, int c) const { return grid[r][c]; }
    const float* heights() const { return heights_.data(); } // row-major
    void reset() { zmin = 35000.0f; zmax = -1000.0f; }
    void resetCounts() { curveCount = diffCount = curveDiffCount = 0; }
    float* getCurveInfo(float& max, float& min, int& count) const { max = maxCurve; min = minCurve; count = curveCount; return cArray.get(); }
    float* getDiffInfo(float& max, float& min, int& count) const { max = maxDiff; min = minDiff; count = diffCount; return dArray.get(); }
    int* getClasses() const { return classes.get(); }
    bool heightClasses() const { return classes != nullptr; }
    int getNumClasses() const { return numClasses; } // entries of getClasses()
    int getMinClassCount() const { return minClassCount; }
    int getMaxClassCount() const { return maxClassCount; }
    int getNumTriangles() const { return numTriangles; }
    int getCurveDiffCount() const { return curveDiffCount; }
    const float* getCurveDiffArray() const { return cdArray.get(); }
    float getScalefactor() const { return scalefactor; }
    float getZscale() const { return zscale; }
    float getZmid() const { return zmid; }
    float getMovex() const { return movex; }
    float getMovey() const { return movey; }
    // Distances between neighbouring points, in metres for a geographic grid.
    const GroundSpacing& spacing() const { return spacing_; }
    // Which points hold a height: for comparison data by the kind it was
    // loaded as. Heights, presence and size as the analyses read them.
    bool isPresent(std::size_t cell) const { return present_.empty() || present_[cell] != 0; }
    bool isPresent(int r, int c) const { return isPresent(static_cast<std::size_t>(r) * cols + c); }
    bool hasAbsentCells() const { return !present_.empty(); }
    GridView view() const { return {heights_.data(), present_.empty() ? nullptr : present_.data(), rows, cols}; }
    ComparisonKind kind() const { return kind_; }
    // The header text exactly as it stood in the file (up to the first
    // height), so that a derived raster can be written back as a grid file.
    const std::string& getHeaderText() const { return headerText; }
    // The header as read, with the file's path and coordinate system: the
    // georeference of rasters derived from this grid.
    const GridHeader& header() const { return header_; }

    // Grows whenever something a picture of this grid depends on changes:
    // the heights, the mesh frame, a classification, the height classes.
    // The viewer rebuilds its buffers when it differs from theirs.
    unsigned long long version() const { return version_; }

    // Triangle k of the mesh (see convert_to_triangles for the numbering),
    // with the vertices, normal and class colours the mesh gives it.
    triangleinfo triangle(int k) const;
    // The mesh's frame was computed for the grid now held.
    bool hasMesh() const;
    // Class colours of cell (r, c) for drawing: the curvature class and the
    // two difference classes (TERRAIN where the cell has none: not computed
    // yet, or a point it needs is absent).
    int curveColorOfCell(std::size_t cell) const { return curveClassColor(cell); }
    int diffColorOfCell(std::size_t cell) const { return classColor(elevDiffClass_, cell); }
    int curveDiffColorOfCell(std::size_t cell) const { return classColor(curveDiffClass_, cell); }
    // The elevation differences of the cells where both grids have a
    // height, as |DEM - reference|, in cell order.
    std::vector<float> presentDiffs() const;
    // The curvature magnitudes of the interior points whose four
    // neighbours are present, in point order.
    std::vector<float> definedCurvatures() const;
    // Class counts of the stored values in unit u, without touching the
    // colours or the published statistics; false while that analysis has not
    // run since the last load.
    bool curveClassCountsFor(float u, int counts[4]) const;
    bool elevDiffClassCountsFor(float u, int counts[5]) const;
    bool curveDiffClassCountsFor(float u, int counts[5]) const;

    // Drawing, defined in render/ (GL); see render/glviewer.h.
    void drawgrid();
    void drawDiffSurf(int i, int j, int t);
    void drawcoordsystem();
    void drawMagnifier();
    void profilePlot();
    void drawMarkX(int row, float yval);
    void drawMarkY(int column, float xval);
    bool findSlope(int i, int j);

protected:
    int rows = 0;
    int cols = 0;
    float nodata = 0;
    float** grid = nullptr; // row pointers into heights_
    std::unique_ptr<float[]> cArray;
    float maxCurve = 0, minCurve = 0;
    int curveCount = 0;
    std::unique_ptr<float[]> dArray;
    float maxDiff = 0, minDiff = 0;
    int diffCount = 0;
    std::unique_ptr<float[]> cdArray;
    int curveDiffCount = 0;
    float scalefactor = 0, movex = 0, movey = 0, zmid = 0, zscale = 0;
    float zmin, zmax;
    int numTriangles = 0;
    float vertExag;
    std::unique_ptr<int[]> classes;
    int numClasses = 0;
    int minClassCount = 0, maxClassCount = 0;
    int curveClassCounts[4] = {0, 0, 0, 0};
    float sumSqCurve = 0;
    float peakCurve = 0;
    int diffClassCounts[5] = {0, 0, 0, 0, 0};
    int curveDiffClassCounts[5] = {0, 0, 0, 0, 0};
    std::string headerText;

private:
    GridHeader header_;
    GroundSpacing spacing_;
    std::vector<float> heights_;
    std::vector<std::uint8_t> present_; // empty: every point present
    ComparisonKind kind_ = ComparisonKind::dem;
    std::vector<float*> rowStarts_;
    // Class of every cell (rows-1 x cols-1, row-major): curvature class 0 to
    // 3 and difference classes 0 to 4, as indices of CURVE_CLASS_COLORS and
    // DIFF_CLASS_COLORS; empty until classified.
    std::vector<std::uint8_t> curveClass_;
    std::vector<std::uint8_t> elevDiffClass_;
    std::vector<std::uint8_t> curveDiffClass_;
    // The report counts a cell as the stored heights say (absent DEM points
    // as height 0, a reference value only above 0); the picture leaves out
    // what is absent. Set where the two differ for elevation differences.
    bool elevDiffPresenceDiffers_ = false;
    // The mesh frame belongs to a grid of this size.
    int meshRows_ = -1, meshCols_ = -1;
    unsigned long long version_ = 0;
    // Units of the class counts kept (NaN while none are kept): a report in
    // the same unit takes them as they are.
    float curveCountsUnit_ = NAN, elevCountsUnit_ = NAN, curveDiffCountsUnit_ = NAN;

    void curveClasses(float u, std::uint8_t* classesOut, int counts[4]) const;
    int curveClassColor(std::size_t cell) const;
    static int classColor(const std::vector<std::uint8_t>& classes, std::size_t cell);
    // The picture's classes where the report's rule would show what is absent.
    void leaveOutAbsentCurvature();
    void elevDiffClassesOfPresent(float u);
    void leaveOutAbsentCurveDiff();
};

class rawdata : public mountain {
public:
    void setContourInt(int v) override { contourInt = v; }
    int getContourInt() override { return contourInt; }
    // How this comparison grid came onto the DEM's grid (model/align.h).
    void setAlignment(const Alignment& a) { alignment_ = a; }
    const Alignment& alignment() const { return alignment_; }
    float getGrid(int r, int c) const { return grid[r][c]; }
    // Root-mean-square error of the DEM `mt` against this grid over the
    // present reference points (value > 0). Fatal (DIV0) when none is present.
    float rmse();
    // The same without the fatal path: empty when no point is present.
    std::optional<float> rmseIfPresent() const;

private:
    int contourInt = 0;
    Alignment alignment_;
};

// A new array of rows row arrays of cols floats, and its release.
float** allocate(int rows, int cols);
void release(float** array, int rows);

// Load pipeline: read the DEM (and with numFiles 2 the comparison grid),
// check their sizes match, then compute the mesh frame and run every
// analysis. A file that cannot be read is fatal here; see loading.h for the
// viewer's load, which reports it instead.
int start(const std::string& demPath, int vertExag, const std::string& compPath,
          int fileKind, bool& ok, int numFiles);
// Replace the comparison grid against the DEM already loaded.
void addFile(const std::string& compPath, int vertExag, bool& ok);

// The two model objects of the run.
extern mountain mt;
extern rawdata rd;

// Flags shared with the viewer.
extern bool allocated;   // the mesh frame of mt belongs to its grid
extern bool sparseData;  // comparison data has been read
extern bool multFiles;   // a comparison grid is loaded
extern float curveUnits; // curvature class unit
extern float diffUnits;  // difference class unit

// Statistics published by the analyses for the report and the graph.
extern float MAX_CURVE, TOTAL_SQ;
extern int C15, C10, C5, C;
extern int D20, D15, D10, D5, D;
extern int CD20, CD15, CD10, CD5, CD;
void setStats(float maxCurve, float totalSq, int c15, int c10, int c5, int c);
void setElevDiff(int a, int b, int c, int d, int e);
void setCurveDiff(int a, int b, int c, int d, int e);

#endif
