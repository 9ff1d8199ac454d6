// "Co-register...": on a comparison DEM that is the DEM moved by a known
// shift, the window shows the shift, and its button puts the moved-back
// grid in use; grids without slopes, and a window whose comparison grid
// has been replaced since, are refused with the reason.
#include <FL/Fl_Multiline_Output.H>
#include <FL/Fl_Progress.H>

#include <cmath>

#include "app/busy.h"
#include "app/menupositions.h"
#include "dialogs/coregwindow.h"
#include "render/modelaccess.h"
#include "tests/gui/dialog_fixtures.h"

namespace gui_test {
namespace {

// Hills and valleys of every aspect, 10 m cells; the comparison DEM is the
// DEM moved 1 cell east and half a cell south (north -0.5):
// comparison(x, y) = DEM(x - east, y - north).
constexpr double EAST = 1.0, NORTH = -0.5;
float hills(double r, double c)
{
    return static_cast<float>(1000 + 150 * std::sin(c / 5) * std::cos(r / 6) + 2 * r);
}

// The number after `label` in the window's text.
double numberAfter(const std::string& text, const std::string& label)
{
    const std::size_t at = text.find(label);
    return at == std::string::npos ? NAN : std::atof(text.c_str() + at + label.size());
}

class CoregistrationTest : public DialogTest {
protected:
    void openPair(const std::function<float(int, int)>& dem, const std::function<float(int, int)>& comp)
    {
        openThroughDialog(writeGrid("co_dem.grd", 60, 70, 10, dem), writeGrid("co_comp.grd", 60, 70, 10, comp),
                          &OpenDialog::demCheck);
        ASSERT_EQ(shownError(), "");
        ASSERT_TRUE(entry(menupos::COREGISTER).active()) << "\"Co-register...\" not usable with a comparison DEM";
    }
};

TEST_F(CoregistrationTest, ShowsTheShiftAndAnalysesTheShiftedGrid)
{
    openPair([](int r, int c) { return hills(r, c); }, [](int r, int c) { return hills(r + NORTH, c - EAST); });
    entry(menupos::COREGISTER).do_callback(menubar);
    ASSERT_NE(coregWin, nullptr) << "no window; message: " << shownError();
    EXPECT_STREQ(coregWin->label(), "Co-registration");
    const std::string text = childOf<Fl_Multiline_Output>(coregWin)->value();
    EXPECT_NEAR(numberAfter(text, "Shift east:"), EAST, 0.05) << text;
    EXPECT_NEAR(numberAfter(text, "Shift north:"), NORTH, 0.05) << text;
    EXPECT_NEAR(numberAfter(text, "cells,"), 10 * numberAfter(text, "Shift east:"), 0.0051) << "map units";
    EXPECT_NE(text.find(", converged"), std::string::npos) << text;
    EXPECT_TRUE(text.find("Before") < text.find("After") && text.find("\nall ", text.find("After")) != std::string::npos)
        << "no accuracy tables before and after:\n" << text;
    EXPECT_FALSE(busy() || win->active_r() == 0) << "the program stays busy";
    expectTidy(coregWin, "co-registration window");
    saveShot(coregWin, "coregistration");

    const float before = gl->getRMSE();
    Fl_Button* analyse = childOf<Fl_Button>(coregWin, "Analyse the shifted grid");
    ASSERT_NE(analyse, nullptr);
    click(analyse);
    EXPECT_EQ(shownError(), "");
    EXPECT_LT(gl->getRMSE(), before / 4) << "the comparison grid in use is not the moved-back one";
    EXPECT_TRUE(FILE_CONST == 2 && fileType == DEM && haveComparison()) << "the comparison DEM is no longer in use";
    const std::string label = file2Label->value();
    EXPECT_EQ(label.substr(label.size() - 16), " (co-registered)") << label;
    EXPECT_FALSE(analyse->active()) << "the grid can be put in use twice";
    EXPECT_FALSE(loadBar->visible() || busy()) << "the load did not end";
}

TEST_F(CoregistrationTest, RefusalsAreExplained)
{
    // Flat ground: no slope to fit a shift to.
    openPair([](int, int) { return 500.0f; }, [](int, int) { return 501.0f; });
    entry(menupos::COREGISTER).do_callback(menubar);
    EXPECT_EQ(coregWin, nullptr) << "a window for grids that cannot be co-registered";
    EXPECT_EQ(shownError().rfind("Cannot co-register the grids: ", 0), 0u) << shownError();
    EXPECT_STREQ(errorWin->label(), "Co-registration");
    click(childOf<Fl_Button>(errorWin, "OK"));
    settle();

    // The comparison grid replaced after the window opened.
    openPair([](int r, int c) { return hills(r, c); }, [](int r, int c) { return hills(r + NORTH, c - EAST); });
    entry(menupos::COREGISTER).do_callback(menubar);
    ASSERT_NE(coregWin, nullptr);
    Fl_Window* older = coregWin;
    bool ok = false;
    gl->changeFile(writeGrid("co_other.grd", 60, 70, 10, [](int r, int c) { return hills(r, c) + 3; }).c_str(), 1, 2,
                   ok);
    ASSERT_TRUE(ok);
    const float rmse = gl->getRMSE();
    click(childOf<Fl_Button>(older, "Analyse the shifted grid"));
    EXPECT_NE(shownError().find("has changed"), std::string::npos) << shownError();
    EXPECT_EQ(gl->getRMSE(), rmse) << "the older window's grid was put in use";
}

} // namespace
} // namespace gui_test
