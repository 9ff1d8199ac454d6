#include "dialogs/statusrow.h"

#include "dialogs/names.h"
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace orolith::ui {

namespace {

std::string formatted(const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// "30.000000000" -> "30", "0.008333333" stays.
std::string withoutTrailingZeros(std::string text)
{
    if (text.find('.') == std::string::npos || text.find('e') != std::string::npos)
        return text;
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.')
        text.pop_back();
    return text;
}

int decimalsOf(const std::string& text)
{
    const std::size_t point = text.find('.');
    if (point == std::string::npos || text.find('e') != std::string::npos)
        return 0;
    return static_cast<int>(text.size() - point - 1);
}

std::string cellSizes(const GridHeader& dem)
{
    const std::string x = cellSizeText(dem.cellsizeX);
    return dem.squareCells() ? x : x + " x " + cellSizeText(dem.cellsizeY);
}

} // namespace

std::string cornerText(double value)
{
    // A corner a hair west of 0 rounds to 0, not to "-0.00".
    const std::string text = formatted("%.2f", value);
    return text == "-0.00" ? "0.00" : text;
}

std::string cellSizeText(double value)
{
    // Fifteen significant digits give back the decimal the file wrote
    // (a double holds them exactly); more decimals than nine are a
    // repeating fraction, cut where a status row can show it.
    std::string shortest = formatted("%.15g", value);
    if (decimalsOf(shortest) <= 9)
        return shortest;
    return withoutTrailingZeros(formatted("%.9f", value));
}

StatusTexts statusTexts(const GridHeader& dem)
{
    StatusTexts t{cornerText(dem.xllcorner), cornerText(dem.yllcorner), cellSizes(dem)};
    if (dem.crs.geographic) {
        // Degrees mean little on the ground: the spacing in metres beside them.
        const GroundSpacing g = groundSpacing(dem);
        t.cellSize += " (geographic: " + formatted("%.1f", g.x) + " x " + formatted("%.1f", g.y) + " m)";
    }
    return t;
}

std::string progressLabel(const std::string& stage, double fraction)
{
    // Also a fraction that is not a number reads 0 %. The stages' sums of
    // tenths fall a hair short (0.6 + 0.3): they still count as whole.
    const double percent = fraction > 0 ? std::floor(std::min(fraction, 1.0) * 100 + 1e-9) : 0;
    return stage + " " + std::to_string(static_cast<int>(percent)) + " %";
}

StatusRowLayout statusRowLayout(int width)
{
    const int w = std::max(width, STATUS_ROW_MIN_W);
    // Label rooms hold the labels at STATUS_TEXT_SIZE with the toolkit's
    // 3 pixels before the field (the GUI tests measure them); the
    // exaggeration counter is a little lower and shorter than a field.
    constexpr int MARGIN = 5, GAP = 10, LINE_H = 20, LOWER = 25;
    constexpr int DEM_LABEL = 50, COMP_LABEL = 86, EXAG_LABEL = 110, EXAG_W = 70;
    constexpr int X_LABEL = 50, Y_LABEL = 50, CELL_LABEL = 46, CORNER_W = 80, STATS_W = 60;
    StatusRowLayout l;

    // Upper line: the counter at the right edge, the file names sharing
    // what is left.
    l.exaggeration = {w - MARGIN - EXAG_W, 3, EXAG_W, 15};
    l.exaggerationLabel = {l.exaggeration.x - EXAG_LABEL, 0, EXAG_LABEL, LINE_H};
    const int namesEnd = l.exaggerationLabel.x - GAP;
    const int fieldW = (namesEnd - MARGIN - DEM_LABEL - GAP - COMP_LABEL) / 2;
    l.demLabel = {MARGIN, 0, DEM_LABEL, LINE_H};
    l.demField = {MARGIN + DEM_LABEL, 0, fieldW, LINE_H};
    l.compLabel = {l.demField.x + fieldW + GAP, 0, COMP_LABEL, LINE_H};
    l.compField = {l.compLabel.x + COMP_LABEL, 0, namesEnd - (l.compLabel.x + COMP_LABEL), LINE_H};
    l.loadBar = {MARGIN, 0, namesEnd - MARGIN, LINE_H};

    // Lower line: the corner in fields wide enough for a northing to the
    // centimetre, the cell size taking the rest up to the button.
    l.statistics = {w - MARGIN - STATS_W, LOWER, STATS_W, LINE_H};
    l.xLabel = {MARGIN, LOWER, X_LABEL, LINE_H};
    l.xField = {MARGIN + X_LABEL, LOWER, CORNER_W, LINE_H};
    l.yLabel = {l.xField.x + CORNER_W + MARGIN, LOWER, Y_LABEL, LINE_H};
    l.yField = {l.yLabel.x + Y_LABEL, LOWER, CORNER_W, LINE_H};
    l.cellLabel = {l.yField.x + CORNER_W + MARGIN, LOWER, CELL_LABEL, LINE_H};
    l.cellField = {l.cellLabel.x + CELL_LABEL, LOWER, l.statistics.x - GAP - (l.cellLabel.x + CELL_LABEL), LINE_H};

    // The readout spans the row: its line is long.
    l.readout = {MARGIN, LOWER + LINE_H + 3, w - 2 * MARGIN, 2 * LINE_H - 4};
    return l;
}

} // namespace orolith::ui
