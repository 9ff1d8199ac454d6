// The status row as a terrain user reads it: the DEM's corner to the
// centimetre and its cell size to its own digits (a UTM northing must not
// lose its last digits on the way), both sizes of rectangular cells, the
// ground spacing of a geographic grid in metres; and its fields laid out
// so that no label or text runs into a neighbour at any window width.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "dialogs/names.h"
#include "dialogs/statusrow.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

namespace {

GridHeader header(double xll, double yll, double dx, double dy, int rows = 100, int cols = 100)
{
    GridHeader h;
    h.rows = rows;
    h.cols = cols;
    h.xllcorner = xll;
    h.yllcorner = yll;
    h.cellsizeX = dx;
    h.cellsizeY = dy;
    return h;
}

TEST(StatusRowTexts, CornerToTheCentimetreAndCellSizeToItsDigits)
{
    const struct {
        const char* what;
        GridHeader h;
        const char *x, *y, *cell;
    } rows[] = {
        {"UTM grid in the southern hemisphere", header(499980.5, 9120760.750, 30, 30), "499980.50", "9120760.75", "30"},
        {"a corner a million metres out", header(600000, 5100000, 30, 30), "600000.00", "5100000.00", "30"},
        {"a corner rounded to the centimetre", header(-0.004, 1234567.891, 30, 30), "0.00", "1234567.89", "30"},
        {"negative longitude, arc-second cells", header(-123.456789, 45.5, 1.0 / 3600, 1.0 / 3600), "-123.46", "45.50",
         "0.000277778"},
        {"a cell size with eight decimals as written", header(0, 0, 89.99406735, 89.99406735), "0.00", "0.00",
         "89.99406735"},
        {"a repeating fraction cut at nine decimals", header(6, 45, 1.0 / 120, 1.0 / 120), "6.00", "45.00",
         "0.008333333"},
        {"three arc-seconds written to twelve decimals", header(6, 45, 0.000833333333, 0.000833333333), "6.00", "45.00",
         "0.000833333"},
        {"a cell size of 0.1 read from text", header(0, 0, 0.1, 0.1), "0.00", "0.00", "0.1"},
        {"rectangular cells", header(600000, 5100000, 30, 20), "600000.00", "5100000.00", "30 x 20"},
        {"rectangular cells in degrees", header(6, 45, 1.0 / 120, 1.0 / 240), "6.00", "45.00",
         "0.008333333 x 0.004166667"},
    };
    for (const auto& r : rows) {
        const StatusTexts t = statusTexts(r.h);
        EXPECT_EQ(t.xCorner, r.x) << r.what << ": \"X-corner:\"";
        EXPECT_EQ(t.yCorner, r.y) << r.what << ": \"Y-corner:\"";
        EXPECT_EQ(t.cellSize, r.cell) << r.what << ": \"Cellsize:\"";
    }
}

TEST(StatusRowTexts, GeographicGridsSaySoWithTheirGroundSpacingInMetres)
{
    // Centred on the equator, where a degree of longitude spans a, and a
    // degree of latitude a (1 - e^2), radians times the semi-major axis
    // (WGS 84: a = 6378137 m, 1/f = 298.257223563).
    const double a = 6378137.0, f = 1 / 298.257223563, e2 = f * (2 - f), rad = std::acos(-1.0) / 180;
    GridHeader h = header(10, -0.5, 1.0 / 120, 1.0 / 120, 120, 120);
    h.crs.known = h.crs.geographic = true;
    char expected[128];
    std::snprintf(expected, sizeof expected, "0.008333333 (geographic: %.1f x %.1f m)", a * rad / 120,
                  a * (1 - e2) * rad / 120);
    EXPECT_EQ(statusTexts(h).cellSize, expected) << "spacing in metres at the equator";
    EXPECT_EQ(std::string(expected), "0.008333333 (geographic: 927.7 x 921.5 m)") << "the hand figure itself";

    GridHeader projected = h;
    projected.crs.geographic = false;
    EXPECT_EQ(statusTexts(projected).cellSize, "0.008333333") << "a projected grid called geographic";
}

// Every rectangle of a layout with its name, the load bar left out (it
// lies over the file names on purpose).
std::vector<std::pair<const char*, Rect>> parts(const StatusRowLayout& l)
{
    return {{"DEM file label", l.demLabel},
            {"DEM file", l.demField},
            {"comparison file label", l.compLabel},
            {"comparison file", l.compField},
            {"exaggeration label", l.exaggerationLabel},
            {"exaggeration counter", l.exaggeration},
            {"X-corner label", l.xLabel},
            {"X-corner", l.xField},
            {"Y-corner label", l.yLabel},
            {"Y-corner", l.yField},
            {"Cellsize label", l.cellLabel},
            {"Cellsize", l.cellField},
            {"Statistics button", l.statistics}};
}

bool apart(const Rect& a, const Rect& b)
{
    return a.x + a.w <= b.x || b.x + b.w <= a.x || a.y + a.h <= b.y || b.y + b.h <= a.y;
}

bool inside(const Rect& a, const Rect& outer)
{
    return a.x >= outer.x && a.y >= outer.y && a.x + a.w <= outer.x + outer.w && a.y + a.h <= outer.y + outer.h;
}

TEST(StatusRowLayout, NothingOverlapsAtAnyWidthFromTheMinimumUp)
{
    for (int width : {STATUS_ROW_MIN_W, STATUS_ROW_MIN_W + 1, 600, 650, 651, 850, 1080, 2400}) {
        SCOPED_TRACE("row " + std::to_string(width) + " wide");
        const StatusRowLayout l = statusRowLayout(width);
        const auto p = parts(l);
        for (std::size_t i = 0; i < p.size(); ++i) {
            EXPECT_TRUE(inside(p[i].second, {0, 0, width, STATUS_ROW_H})) << p[i].first << " runs out of the row";
            EXPECT_GT(p[i].second.w, 0) << p[i].first << " has no room";
            for (std::size_t j = i + 1; j < p.size(); ++j)
                EXPECT_TRUE(apart(p[i].second, p[j].second)) << p[i].first << " over " << p[j].first;
        }
        EXPECT_GE(l.demField.w, 100) << "the DEM's file name squeezed out of sight";
        EXPECT_GE(l.compField.w, 100) << "the comparison file's name squeezed out of sight";
        EXPECT_GE(l.xField.w, 75) << "\"-12345678.90\" would not fit the X corner";
        EXPECT_TRUE(inside(l.demField, l.loadBar) && inside(l.compField, l.loadBar) && inside(l.compLabel, l.loadBar))
            << "the load bar leaves file names showing through";
        EXPECT_TRUE(apart(l.loadBar, l.exaggeration) && apart(l.loadBar, l.exaggerationLabel))
            << "the load bar covers the exaggeration counter";
    }
}

TEST(StatusRowLayout, WiderRowsGiveTheRoomToTheNamesAndTheCellSize)
{
    const StatusRowLayout narrow = statusRowLayout(650), wide = statusRowLayout(1050);
    EXPECT_EQ(wide.demField.w + wide.compField.w, narrow.demField.w + narrow.compField.w + 400)
        << "the file names do not share the added width";
    EXPECT_EQ(wide.cellField.w, narrow.cellField.w + 400) << "the cell size does not take the added width";
    EXPECT_EQ(wide.statistics.x + wide.statistics.w, 1050 - 5) << "the button leaves the right edge";
    EXPECT_EQ(wide.xField.w, narrow.xField.w) << "the corner fields change size";
    // Narrower than the minimum is laid out as the minimum: the window
    // never gets there, and the fields must not go negative if it does.
    const StatusRowLayout tooNarrow = statusRowLayout(STATUS_ROW_MIN_W - 200),
                          least = statusRowLayout(STATUS_ROW_MIN_W);
    EXPECT_EQ(tooNarrow.cellField.w, least.cellField.w) << "below the minimum the row squeezes further";
}

} // namespace
