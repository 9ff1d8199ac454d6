// A comparison grid on another grid opened in the viewer: with "Align to
// the DEM's grid" ticked (as the dialog opens) it is resampled, and the
// status row and the Statistics window say so; unticked, the refusal
// offers to align, and accepting opens it aligned.
#include <gtest/gtest.h>

#include <FL/Fl_Multiline_Output.H>

#include <fstream>
#include <iterator>

#include "dialogs/names.h"
#include "dialogs/statsreport.h"
#include "tests/gui/dialog_fixtures.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

namespace gui_test {
namespace {

#ifdef OROLITH_TESTS_HAVE_GDAL

const std::string DEM_PATH = sampleData("alps_dem.grd");
const std::string DEM2_PATH = sampleData("alps_dem2.grd");

// The sample DEM's second grid moved 20 m east and 10 m south: a
// comparison that lies 0.67 and 0.33 cell off the DEM's grid.
std::string movedComparison()
{
    std::ifstream in(DEM2_PATH);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    text.replace(text.find("xllcorner 600000.0"), 18, "xllcorner 600020.0");
    text.replace(text.find("yllcorner 5100000.0"), 19, "yllcorner 5099990.0");
    std::ofstream(tempPath("alps_dem2_moved.grd"), std::ios::binary) << text;
    return tempPath("alps_dem2_moved.grd");
}

TEST_F(DialogTest, AComparisonOnAnotherGridIsAlignedAndSaysSo)
{
    const std::string moved = movedComparison();
    openThroughDialog(DEM_PATH, moved, &OpenDialog::demCheck, false);
    ASSERT_NE(errorWin, nullptr) << "a comparison two thirds of a cell off was opened unaligned";
    ASSERT_NE(childOf<Fl_Button>(errorWin, "Align and Open"), nullptr) << "the refusal offers no alignment";
    EXPECT_FALSE(data().hasComparison()) << "a comparison on another grid was compared cell by cell";
    click(childOf<Fl_Button>(errorWin, "Align and Open"));
    settle();
    EXPECT_EQ(shownWindow("File Error"), nullptr) << "the aligned open failed: " << shownError();
    ASSERT_NE(shownWindow("Note"), nullptr) << "the open does not say the comparison was aligned";
    EXPECT_NE(shownError().find("aligned by bilinear resampling"), std::string::npos) << shownError();
    EXPECT_EQ(openwin, nullptr) << "the dialog stayed open"; // deleted, it forgot itself
    ASSERT_TRUE(data().hasComparison());
    EXPECT_TRUE(data().comparison().alignment.aligned);
    Fl_Output* field = win().comparisonField;
    EXPECT_EQ(std::string(field->value()), moved + " (aligned)") << "the status row does not say it was aligned";
    ASSERT_NE(field->tooltip(), nullptr);
    EXPECT_NE(std::string(field->tooltip()).find("aligned by bilinear resampling"), std::string::npos)
        << field->tooltip();
    EXPECT_FALSE(data().comparisonView().isPresent(0, 0))
        << "the DEM's western column lies outside the moved comparison";
    EXPECT_TRUE(data().comparisonView().isPresent(100, 100));

    showStatistics(*session);
    ASSERT_NE(statsWin, nullptr);
    const std::string text = childOf<Fl_Multiline_Output>(statsWin)->value();
    EXPECT_NE(text.find("\nThe comparison grid: aligned by bilinear resampling from its own grid, covering 99."),
              std::string::npos)
        << text;
}

TEST_F(DialogTest, TheBoxTickedAlignsAtOnceAndChangesNothingOnTheSameGrid)
{
    openThroughDialog(DEM_PATH, DEM2_PATH, &OpenDialog::demCheck);
    ASSERT_TRUE(data().hasComparison());
    EXPECT_FALSE(data().comparison().alignment.aligned) << "a comparison on the DEM's grid was resampled";
    EXPECT_EQ(std::string(win().comparisonField->value()), DEM2_PATH);
    openThroughDialog(DEM_PATH, movedComparison(), &OpenDialog::demCheck);
    EXPECT_EQ(shownWindow("File Error"), nullptr) << shownError();
    EXPECT_TRUE(data().hasComparison() && data().comparison().alignment.aligned) << "ticked, the box did not align";
}

#endif

} // namespace
} // namespace gui_test
