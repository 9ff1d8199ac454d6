// How the status row shows the numbers an open writes into it, where its
// fields go for a given width, and the progress of a load.
#ifndef OROLITH_DIALOGS_STATUSROW_H
#define OROLITH_DIALOGS_STATUSROW_H

#include <string>

#include "dialogs/messagelayout.h"
#include "dialogs/names.h"
#include "model/gridfile.h"

namespace orolith::ui {

// --- texts --------------------------------------------------------------

// The status row's "X-corner:", "Y-corner:" and "Cellsize:" for the DEM in
// use, from its header as read (doubles all the way: a UTM northing keeps
// its last digits).
struct StatusTexts {
    std::string xCorner, yCorner, cellSize;
};
StatusTexts statusTexts(const GridHeader& dem);

// A corner coordinate to the centimetre of a projected grid: "9120760.75".
std::string cornerText(double value);

// A cell size to its significant digits and no further: "30",
// "89.99406735", "0.008333333" (at most nine decimals, so that a third of
// an arc-second does not run on to binary noise).
std::string cellSizeText(double value);

// The label of the status row's bar while a data set loads: the stage and
// the share of the load done, in whole percent rounded down, so that 100 %
// appears only when the load is complete: "Reading 40 %".
std::string progressLabel(const std::string& stage, double fraction);

// --- geometry -----------------------------------------------------------

// The row's height under the viewer, and the narrowest it may be: the main
// window's minimum width leaves it this much, so that no label or field
// runs into its neighbour.
constexpr int STATUS_ROW_H = 86;
constexpr int STATUS_ROW_MIN_W = 560;

// Size of the labels' and fields' text (the labels are drawn left of their
// fields, right-aligned against them, 3 pixels apart).
constexpr int STATUS_TEXT_SIZE = 10;

// Where each part of the row goes, relative to the row's top-left corner.
// Each *Label is the room left free for the label of the field beside it.
// Upper line: the two file names and the exaggeration counter; middle line:
// corner, cell size and the "Statistics" button; below them two lines of
// the readout of the terrain under the mouse. The load bar lies over the file names and
// their labels while a load runs.
struct StatusRowLayout {
    Rect demLabel, demField, compLabel, compField, exaggerationLabel, exaggeration;
    Rect xLabel, xField, yLabel, yField, cellLabel, cellField, statistics;
    Rect loadBar;
    Rect readout;
};
// `width` below STATUS_ROW_MIN_W is laid out as that minimum.
StatusRowLayout statusRowLayout(int width);

} // namespace orolith::ui

#endif
