// Files saved from the main window: the profile the viewer shows as CSV,
// offered next to the DEM, and refused paths reported.
#include <FL/Fl_Round_Button.H>

#include <fstream>
#include <sstream>

#include "app/callbacks.h"
#include "app/menupositions.h"
#include "tests/gui/dialog_fixtures.h"

namespace gui_test {
namespace {

std::vector<std::string> linesOf(const std::string& path)
{
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The CSV's lines against the grids' cells (row(k), col(k)) of the section.
template <class Row, class Col>
void expectSection(const std::vector<std::string>& lines, int count, Row row, Col col, const char* which)
{
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(count) + 1) << which;
    EXPECT_EQ(lines[0], "distance,dem,comparison") << which;
    int present = 0;
    for (int k = 0; k < count; ++k) {
        std::istringstream line(lines[k + 1]);
        std::string distance, dem, comp;
        std::getline(line, distance, ',');
        std::getline(line, dem, ',');
        std::getline(line, comp);
        const float ref = rd.getGrid(row(k), col(k));
        ASSERT_TRUE(std::stod(distance) == 30.0 * k && std::stof(dem) == mt.getElev(row(k), col(k)) &&
                    (ref > 0 ? std::stof(comp) == ref : comp.empty()))
            << which << ", point " << k << ": " << lines[k + 1];
        present += ref > 0;
    }
    EXPECT_GT(present, 0) << which << ": no comparison height on the section";
}

TEST_F(DialogTest, SaveProfileWritesTheSectionTheViewerShows)
{
    openThroughDialog(sampleData("alps_dem.grd"), sampleData("alps_contour.grd"), &OpenDialog::contCheck);
    ASSERT_EQ(shownError(), "");
    const std::string path = tempPath("profile.csv");
    SaveChooserAnswer chooser(path);

    setCounter(pdisplay, 150); // "Row/Column:" 150 of the Y-axis: grid row 200 - 150 - 1
    entry(menupos::SAVE_PROFILE).do_callback(menubar);
    EXPECT_EQ(chooser.asked.proposed, sampleData("alps_dem_profile.csv")) << "not offered next to the DEM";
    EXPECT_EQ(chooser.asked.pattern, "CSV files (*.csv)");
    expectSection(linesOf(path), 239, [](int) { return 49; }, [](int k) { return k; }, "along a row");

    click(profHoriz);
    setCounter(pdisplay, 10); // column 10 of the X-axis takes its heights from grid column 9
    entry(menupos::SAVE_PROFILE).do_callback(menubar);
    expectSection(linesOf(path), 199, [](int k) { return k; }, [](int) { return 9; }, "down a column");

    const std::string nowhere = tempPath("no_such_dir") + "/p.csv";
    SaveChooserAnswer refused(nowhere);
    entry(menupos::SAVE_PROFILE).do_callback(menubar);
    EXPECT_EQ(shownError(), "Cannot write the profile to \"" + nowhere + "\".");
}

} // namespace
} // namespace gui_test
