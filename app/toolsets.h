// Which tools a data set makes usable, as plain tables: activateTools and
// deactivateTools only apply them to the widgets and menu entries.
#ifndef OROLITH_APP_TOOLSETS_H
#define OROLITH_APP_TOOLSETS_H

#include <vector>

// The tool-panel widgets whose activity follows the data set, named after
// their globals.
enum class Tool {
    mag, slope, sun, unitSliderGUI, axes, light, colors, Cerr, graphCButton, prof,
    glyph, unitSliderldGUI, graphButton, graphDButton, col, cont, lerr, curverr
};

struct ToolSet {
    std::vector<Tool> widgets;
    std::vector<int> menuEntries; // positions in the main menu (menupos)
};

// What the files in use make usable (FILE_CONST, and fileType for the kind
// of comparison data): the DEM tools always (it is called only once a data
// set is chosen), the comparison tools too when fileConst is 2, and
// "Co-register..." with a comparison of kind DEM.
ToolSet toolsActivatedFor(int fileConst, int comparisonKind);

// Every tool that needs data: what activateTools may switch off and
// deactivateTools does.
ToolSet dataTools();

// What hiding the tool panel switches off: the data tools but for the menu
// entries that act on the data set as a whole (saving its picture or
// profile, co-registering it), so that the picture of the viewer widened
// over the hidden panel can be saved.
ToolSet panelTools();

#endif
