#include "model/align.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "model/madegrid.h"
#include "model/placement.h"

namespace orolith::model {

namespace {

bool isFoot(double metres) { return std::fabs(metres - 0.3048) < 1e-9 || std::fabs(metres - 1200.0 / 3937.0) < 1e-9; }

// Spot heights and contour cells: each present cell's centre moves to the
// DEM cell it falls in; two in one cell, the one nearer its centre stays.
bool nearestCells(const GridHeader& dem, const GridData& comp, const std::vector<std::uint8_t>& presence,
                  const GridIo& io, std::vector<float>& out, ModelError& err)
{
    const GridHeader& h = comp.header;
    std::vector<double> x, y;
    std::vector<float> v;
    for (int r = 0; r < h.rows; ++r)
        for (int c = 0; c < h.cols; ++c) {
            const std::size_t i = static_cast<std::size_t>(r) * h.cols + c;
            if (!presence.empty() && !presence[i])
                continue;
            x.push_back(h.xllcorner + (c + 0.5) * h.cellsizeX);
            y.push_back(h.yllcorner + (h.rows - r - 0.5) * h.cellsizeY);
            v.push_back(comp.heights[i]);
        }
    if (!x.empty() && !sameCoordinateSystem(dem, h, io.reader) &&
        !io.warper->transform(h.projection, dem.projection, x.data(), y.data(), x.size(), err))
        return false;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    out.assign(dem.cells(), static_cast<float>(nan));
    std::vector<double> distance(dem.cells(), std::numeric_limits<double>::infinity());
    const double top = dem.yllcorner + dem.rows * dem.cellsizeY;
    for (std::size_t k = 0; k < x.size(); ++k) {
        const double col = (x[k] - dem.xllcorner) / dem.cellsizeX, row = (top - y[k]) / dem.cellsizeY;
        if (!(col >= 0 && row >= 0 && col < dem.cols && row < dem.rows))
            continue;
        const int c = static_cast<int>(col), r = static_cast<int>(row);
        const double off = std::hypot((col - c - 0.5) * dem.cellsizeX, (row - r - 0.5) * dem.cellsizeY);
        const std::size_t i = static_cast<std::size_t>(r) * dem.cols + c;
        if (off < distance[i]) {
            distance[i] = off;
            out[i] = v[k];
        }
    }
    return true;
}

std::string percent(double share)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f %%", 100 * share);
    return buf;
}

} // namespace

bool alignMethodNamed(const std::string& name, AlignMethod& method)
{
    if (name == "nearest")
        method = AlignMethod::nearest;
    else if (name == "bilinear")
        method = AlignMethod::bilinear;
    else if (name == "cubic")
        method = AlignMethod::cubic;
    else
        return false;
    return true;
}

const char* alignMethodName(AlignMethod method)
{
    switch (method) {
    case AlignMethod::nearest: return "nearest";
    case AlignMethod::bilinear: return "bilinear";
    case AlignMethod::cubic: return "cubic";
    }
    return "bilinear";
}

std::string alignmentText(const Alignment& a)
{
    std::string text;
    if (a.aligned)
        text = std::string("aligned by ") +
               (a.method == AlignMethod::nearest ? "nearest-cell" : alignMethodName(a.method)) + " resampling from " +
               (a.sourceCrs.empty() ? "its own grid" : a.sourceCrs) + ", covering " + percent(a.coverage) +
               " of the DEM";
    if (!a.heightUnit.empty())
        text += (text.empty() ? "" : "; ") + std::string("heights converted from ") + a.heightUnit;
    if (!a.datumNote.empty())
        text += (text.empty() ? "" : "; ") + a.datumNote;
    return text;
}

double heightUnitFactor(const GridHeader& dem, const GridHeader& comp, std::string& note)
{
    const double demUnit = dem.crs.verticalUnitMetres, compUnit = comp.crs.verticalUnitMetres;
    note.clear();
    if (isFoot(compUnit) && (demUnit == 0 || demUnit == 1)) {
        note = comp.crs.verticalUnit + " to metres";
        return compUnit;
    }
    if (isFoot(demUnit) && compUnit == 1) {
        note = "metres to " + dem.crs.verticalUnit;
        return 1 / demUnit;
    }
    return 1;
}

bool alignComparison(const GridHeader& dem, const GridView& demView, const GridData& comp,
                     const std::vector<std::uint8_t>& presence, ComparisonKind kind, AlignMethod method,
                     const GridIo& io, GridData& out, Alignment& info, ModelError& err)
{
    if (!io.warper) {
        err = {GRIDFILE, "file \"" + comp.header.path +
                             "\": this build of Orolith cannot align grids: it needs its GDAL module (orolith-gdal.so "
                             "beside the executable, built with GDAL)"};
        return false;
    }
    std::vector<float> aligned;
    if (kind == ComparisonKind::dem) {
        // The warper takes NaN for absent: a copy only where some cell is.
        std::vector<float> marked;
        if (!presence.empty()) {
            marked = comp.heights;
            for (std::size_t i = 0; i < marked.size(); ++i)
                if (!presence[i])
                    marked[i] = std::numeric_limits<float>::quiet_NaN();
        }
        const float* source = presence.empty() ? comp.heights.data() : marked.data();
        if (!io.warper->warp(comp.header, source, dem, method, aligned, err))
            return false;
    } else {
        method = AlignMethod::nearest;
        if (!nearestCells(dem, comp, presence, io, aligned, err))
            return false;
    }
    std::vector<std::uint8_t> present(aligned.size());
    std::size_t covered = 0, demCells = 0;
    for (std::size_t i = 0; i < aligned.size(); ++i) {
        present[i] = !std::isnan(aligned[i]);
        if (demView.isPresent(i)) {
            ++demCells;
            covered += present[i];
        }
    }
    if (covered == 0) {
        err = {GRIDFILE, "The comparison grid does not overlap the DEM: the DEM \"" + dem.path + "\" has " +
                             placementText(dem) + "; the comparison grid \"" + comp.header.path + "\" has " +
                             placementText(comp.header) + "."};
        return false;
    }
    GridHeader onto = dem;
    onto.path = comp.header.path;
    onto.crs.verticalUnit = comp.header.crs.verticalUnit;
    onto.crs.verticalUnitMetres = comp.header.crs.verticalUnitMetres;
    onto.crs.verticalDatum = comp.header.crs.verticalDatum;
    out = madeComparisonGrid(onto, dem.rows, dem.cols, std::move(aligned), std::move(present));
    info.aligned = true;
    info.method = method;
    info.sourceCrs = comp.header.crs.name;
    info.sourceRows = comp.header.rows;
    info.sourceCols = comp.header.cols;
    info.sourceXll = comp.header.xllcorner;
    info.sourceYll = comp.header.yllcorner;
    info.sourceCellX = comp.header.cellsizeX;
    info.sourceCellY = comp.header.cellsizeY;
    info.coverage = demCells ? static_cast<double>(covered) / static_cast<double>(demCells) : 0;
    return true;
}

} // namespace orolith::model
