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

// What activateTools switches on for the files in use (FILE_CONST): the DEM
// tools always (it is called only once a data set is chosen), the
// comparison tools too when FILE_CONST is 2.
ToolSet toolsActivatedFor(int fileConst);

// Everything deactivateTools switches off: every tool that needs data.
ToolSet dataTools();

#endif
