#include "dialogs/helptexts.h"
#include "dialogs/names.h"

namespace orolith::ui {

const char* sectionTitle(PanelSection section)
{
    switch (section) {
    case PanelSection::display: return "Display";
    case PanelSection::curvatureError: return "Curvature Error";
    case PanelSection::localDifferenceError: return "Local Difference Error";
    case PanelSection::profileView: return "Profile View";
    case PanelSection::heightClasses: return "Height Classes";
    }
    return "";
}

// The control names below are the panel's labels, word for word, so that a
// user finds in the text what the panel shows.
std::string sectionHelp(PanelSection section)
{
    switch (section) {
    case PanelSection::display:
        return "Display: how the surface is seen and coloured.\n"
               "\n"
               "Zoom In / Out        move the eye closer to the terrain or away.\n"
               "Show Axes            draw the x (red), y and z axes over the terrain.\n"
               "Rotate 90 Degrees about\n"
               "  Horizontal axis + / -   tilt the surface by a quarter turn.\n"
               "  Vertical axis + / -     turn the surface by a quarter turn.\n"
               "View Top             look straight down.\n"
               "View Side            look from the side.\n"
               "Reset View           the first view: eye distance and rotations.\n"
               "Display Sun          show the sun where the light comes from;\n"
               "Move sun through ellipse: West / East move it along its path.\n"
               "Magnifier            a ring that enlarges the terrain under it\n"
               "                     (middle drag moves it).\n"
               "Contours/Ref. Data   show the comparison data over the surface\n"
               "                     (with comparison data).\n"
               "Shaded Relief        light the surface from the sun.\n"
               "Height Colors        colour the surface by height.\n"
               "Aspect Colors        colour the surface by slope and aspect.\n"
               "\n"
               "The colour schemes and the reference data take turns: ticking one\n"
               "clears the others.\n";
    case PanelSection::curvatureError:
        return "Curvature Error: where the DEM bends more than real terrain would,\n"
               "as interpolation artefacts do.\n"
               "\n"
               "Display                colour the surface by curvature class.\n"
               ">1 >2 >3               the classes' colours: curvature above 1, 2 and 3\n"
               "                       units (pale yellow to orange).\n"
               "Graph                  the number of grid points in each class.\n"
               "Curvature Error Units  the size of a unit (0.5 to 5); the classes and\n"
               "                       the legend follow it.\n";
    case PanelSection::localDifferenceError:
        return "Local Difference Error: how the DEM departs from the comparison data,\n"
               "point by point (with comparison data loaded).\n"
               "\n"
               "Elev.                  colour by the elevation difference, DEM minus\n"
               "                       comparison, where the comparison is above 0.\n"
               "Curv.                  colour by the difference in curvature.\n"
               "Slope                  slope differences are not analysed: always greyed.\n"
               ">1 >2 >3 >4            the classes' colours, in difference units\n"
               "                       (pale yellow to red).\n"
               "Graph                  the number of points in each class.\n"
               "Difference Error Units the size of a unit (0 to 10).\n"
               "\n"
               "Only one error display shows at a time.\n";
    case PanelSection::profileView:
        return "Profile View: a section through the terrain drawn over the surface.\n"
               "\n"
               "Display       show the profile.\n"
               "Glyphs        mark the comparison heights along it (with comparison\n"
               "              data).\n"
               "Y-Axis        the profile runs along a column (north to south).\n"
               "X-Axis        the profile runs along a row (west to east).\n"
               "Row/Column:   which row or column, counted from 0; the counter shows\n"
               "              where the profile really is.\n"
               "\n"
               "File > Save Profile... writes the section as CSV.\n";
    case PanelSection::heightClasses:
        return "Height Classes: terracing at contour levels, which contour-based\n"
               "interpolation leaves behind (with a contour file loaded).\n"
               "\n"
               "Color Height Classes   colour each grid point by its rounded height\n"
               "                       modulo the contour interval found in the\n"
               "                       contour file.\n"
               "Graph                  the number of points in each class; a DEM free\n"
               "                       of terracing has even bars.\n";
    }
    return "";
}

std::string helpText()
{
    return "Orolith shows a gridded digital elevation model (DEM) as a lit 3-D\n"
           "surface and measures how it departs from comparison data.\n"
           "\n"
           "OPENING FILES (File > Open...)\n"
           "  DEM File                  one terrain grid.\n"
           "  DEM and Comparison File   a DEM and the data to compare it with, of\n"
           "                            the DEM's rows and columns, of one kind:\n"
           "    DEM File       a second DEM;\n"
           "    Sparse File    spot heights, 0 wherever there is none;\n"
           "    Contour File   heights along contour lines, 0 elsewhere (the\n"
           "                   contour interval is found in the file).\n"
           "  Add/Change Comparison File...   other comparison data, same DEM.\n"
           "\n"
           "FILE FORMATS\n"
           "  ESRI ASCII grids (text: ncols, nrows, xllcorner, yllcorner,\n"
           "  cellsize, an optional NODATA_value, then the heights, northern row\n"
           "  first), with an optional .prj file beside them naming the\n"
           "  coordinate system; GeoTIFF and other single-band rasters through\n"
           "  GDAL; VRT mosaics of several rasters.\n"
           "  Absent (no-data) cells, those holding the no-data value, are left\n"
           "  out of every count, class, sum and picture. In comparison data a\n"
           "  cell counts only where it is above 0.\n"
           "\n"
           "THE MOUSE (click the viewer to give it the keys)\n"
           "  left drag: turn the surface     right drag: move it\n"
           "  middle drag: move the magnifier ring     wheel: eye nearer or away\n"
           "  left click (no drag): keep the terrain under the mouse in the Picks\n"
           "  window; the status row reads the terrain under the mouse as it moves\n"
           "\n"
           "THE KEYS (while the viewer has them)\n"
           "  8 k / 2 m ,   tilt by +1 / -1 degree\n"
           "  6 / 4 j       turn by +1 / -1 degree\n"
           "  X x / Z z     tilt / turn by +90 / -90 degrees\n"
           "  t, s, r       top view, side view, reset eye and rotations\n"
           "  i, o, e       eye away, closer, or typed in a dialog\n"
           "  = / -         vertical exaggeration up / down\n"
           "  7 / 9         sun east / west\n"
           "  a, l, p       axes, lighting, magnifier\n"
           "  c, n, R       curvature error, reference data, elevation\n"
           "                differences (with comparison data)\n"
           "  . , d         comparison points, surface on or off\n"
           "  g             the legend of the colours on or off\n"
           "  Space         pick the terrain under the cross-hair (the centre)\n"
           "  q, Escape     end the program (exit status 1)\n"
           "  Keys held with Ctrl, Alt or Meta go to the menu bar. Escape in any\n"
           "  other window closes that window; File > Exit ends the program.\n"
           "\n"
           "ANALYSES\n"
           "  The tool panel's sections (each \"?\" explains its own), and the\n"
           "  Analysis menu: Statistics (the report, and the accuracy table\n"
           "  against comparison data), Graph, Make Sparse file, Co-register...\n"
           "\n"
           "THE COMMAND LINE\n"
           "  The same analyses without a window: reports, exports, pictures,\n"
           "  accuracy metrics and co-registration. orolith --help lists them.\n";
}

std::string aboutText(const std::string& version)
{
    return "Orolith\n"
           "\n"
           "A viewer and error analyser for gridded digital elevation models.\n"
           "\n"
           "Version " +
           version + "\n";
}

} // namespace orolith::ui
