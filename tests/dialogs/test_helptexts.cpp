// What the help windows say, as a user looking for a control or a key
// would check it: each section's "?" names every control its section
// shows, Help covers the keys, the file formats, the comparison kinds,
// absent cells and the command line, and About names the version given.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "dialogs/helptexts.h"
#include "dialogs/names.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

namespace {

TEST(HelpTexts, EachSectionsHelpNamesItsControls)
{
    // The panel's labels (app/glviewerGUI.cpp), word for word.
    const struct {
        PanelSection section;
        const char* title;
        std::vector<const char*> controls;
    } sections[] = {
        {PanelSection::display,
         "Display",
         {"Zoom",
          "In",
          "Out",
          "Show Axes",
          "Rotate 90 Degrees about",
          "Horizontal axis",
          "Vertical axis",
          "View",
          "Top",
          "Side",
          "Reset View",
          "Display Sun",
          "Move sun through ellipse",
          "West",
          "East",
          "Magnifier",
          "Contours/Ref. Data",
          "Shaded Relief",
          "Height Colors",
          "Aspect Colors"}},
        {PanelSection::curvatureError, "Curvature Error", {"Display", "Graph", "Curvature Error Units", ">1", ">3"}},
        {PanelSection::localDifferenceError,
         "Local Difference Error",
         {"Elev.", "Curv.", "Slope", "Graph", "Difference Error Units", ">1", ">4"}},
        {PanelSection::profileView, "Profile View", {"Display", "Glyphs", "Y-Axis", "X-Axis", "Row/Column:"}},
        {PanelSection::heightClasses, "Height Classes", {"Color Height Classes", "Graph"}},
    };
    for (const auto& s : sections) {
        EXPECT_STREQ(sectionTitle(s.section), s.title) << "the \"?\" window would be titled after another section";
        const std::string text = sectionHelp(s.section);
        EXPECT_EQ(text.rfind(std::string(s.title) + ":", 0), 0u)
            << s.title << ": the help does not start with its section";
        for (const char* control : s.controls)
            EXPECT_NE(text.find(control), std::string::npos)
                << s.title << "'s \"?\" does not explain \"" << control << '"';
    }
}

TEST(HelpTexts, HelpCoversKeysFilesComparisonsAbsentCellsAndTheCommandLine)
{
    const std::string text = helpText();
    const char* topics[] = {
        // the README's key table, row by row
        "8 k / 2 m ,",
        "6 / 4 j",
        "X x / Z z",
        "t, s, r",
        "i, o, e",
        "= / -",
        "7 / 9",
        "a, l, p",
        "c, n, R",
        ". , d",
        "g ",
        "Space",
        "q, Escape",
        "exit status 1",
        "Ctrl, Alt or Meta",
        // the mouse
        "left drag",
        "right drag",
        "middle drag",
        "wheel",
        "left click (no drag)",
        // files
        "ESRI ASCII",
        ".prj",
        "GeoTIFF",
        "GDAL",
        "VRT",
        "NODATA_value",
        // comparisons and absent cells
        "DEM File",
        "Sparse File",
        "Contour File",
        "contour interval",
        "no-data",
        "above 0",
        // closing and the command line
        "Escape in any\n  other window closes that window",
        "File > Exit",
        "orolith --help",
    };
    for (const char* topic : topics)
        EXPECT_NE(text.find(topic), std::string::npos) << "Help says nothing of \"" << topic << '"';
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        EXPECT_LE(line.size(), 80u) << "a line wider than the help window is meant for: " << line;
}

TEST(HelpTexts, AboutNamesTheProgramItsPurposeAndTheVersionGiven)
{
    const std::string text = aboutText("9.8");
    EXPECT_NE(text.find("Orolith"), std::string::npos) << "About does not name the program";
    EXPECT_NE(text.find("digital elevation models"), std::string::npos) << "About does not say what it is for";
    EXPECT_NE(text.find("Version 9.8\n"), std::string::npos) << "About shows another version than given";
}

} // namespace
