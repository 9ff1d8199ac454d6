// Notes after an open, as a user meets them: a DEM in degrees without its
// .prj, and a comparison "DEM" that is mostly zeros, load as asked and a
// small "Note" window over the main window says what may be wrong, while
// the main window stays usable; an ordinary open shows none.
#include <fstream>

#include "dialogs/loadnotetext.h"
#include "dialogs/names.h"
#include "model/load.h"
#include "tests/gui/dialog_fixtures.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

namespace gui_test {
namespace {

// A grid with the corner and cell size given, heights h(row, col).
std::string gridFile(const std::string& name, double xll, double yll, double cell, float (*h)(int, int))
{
    std::ofstream out(tempPath(name));
    out.precision(12);
    out << "ncols 20\nnrows 20\nxllcorner " << xll << "\nyllcorner " << yll << "\ncellsize " << cell << "\n";
    for (int r = 0; r < 20; ++r) {
        for (int c = 0; c < 20; ++c)
            out << h(r, c) << ' ';
        out << '\n';
    }
    return tempPath(name);
}

// The notes the model gives a load of the DEM alone.
std::vector<std::string> notesOfLoading(const std::string& dem)
{
    LoadRequest request;
    request.demPath = dem;
    SilentMessages silent;
    return loadDataSet(request, testGridIo(), silent).status.notes;
}

float slope(int r, int c) { return 500.0f + 3.0f * r + 2.0f * c; }
float spots(int r, int c) { return r % 5 == 0 && c % 5 == 0 ? slope(r, c) : 0.0f; }

TEST_F(DialogTest, AnOpenThatMayNotBeWhatWasMeantLoadsAndSaysSoInANote)
{
    win().show();
    settle();
    const std::string utm = gridFile("utm.asc", 499980, 9120760.75, 30, slope);
    openThroughDialog(utm);
    settle();
    EXPECT_EQ(shownWindow("Note"), nullptr) << "a note after an ordinary open";
    EXPECT_EQ(std::string(win().yCornerField->value()), "9120760.75") << "the northing lost its last digits";

    const std::string degrees = gridFile("degrees.asc", 6, 45, 0.0083333333, slope);
    openThroughDialog(degrees);
    settle();
    // A dialog that opened its files is deleted: openwin forgets it.
    EXPECT_TRUE(session->files().count == 1 && data().rows() == 20 && openwin == nullptr)
        << "the grid in degrees was not loaded";
    EXPECT_EQ(std::string(win().cellSizeField->value()), "0.008333333") << "the cell size in degrees";
    Fl_Window* note = shownWindow("Note");
    ASSERT_NE(note, nullptr) << "no note on a grid in degrees without its .prj";
    const std::string text = childOf<Fl_Box>(note)->label();
    EXPECT_EQ(text, loadNotesMessage(notesOfLoading(degrees))) << "the note shown is not the load's";
    EXPECT_NE(text.find(degrees), std::string::npos) << "the note does not name the file";
    EXPECT_NE(text.find(".prj"), std::string::npos) << "the note does not say what to do";
    EXPECT_EQ(text.find("--"), std::string::npos) << "the note gives command-line advice: " << text;
    EXPECT_EQ(Fl::modal(), nullptr) << "the note blocks the main window";
    const int cx = note->x() + note->w() / 2, cy = note->y() + note->h() / 2;
    EXPECT_TRUE(cx > win().x() && cx < win().x() + win().w() && cy > win().y() && cy < win().y() + win().h())
        << "the note is not over the main window";
    auto* box = childOf<Fl_Box>(note);
    int tw = box->w(), th = 0; // wrapped as the box wraps it
    measureText(text, box->labelfont(), box->labelsize(), tw, th);
    EXPECT_TRUE(tw <= box->w() && th <= box->h() && box->x() + box->w() <= note->w() &&
                box->y() + box->h() <= note->h())
        << "the note's text is cut by its window";
    saveShot(note, "load_note");
    click(childOf<Fl_Button>(note, "OK"));
    settle();
    EXPECT_EQ(shownWindow("Note"), nullptr) << "OK left the note open";

    // A "DEM" comparison file holding spot heights among zeros.
    openThroughDialog(utm, gridFile("spots.asc", 499980, 9120760.75, 30, spots), &OpenDialog::demCheck);
    settle();
    EXPECT_EQ(session->files().count, 2) << "the comparison was not loaded as asked";
    note = shownWindow("Note");
    ASSERT_NE(note, nullptr) << "no note on a comparison DEM of mostly zeros";
    EXPECT_NE(std::string(childOf<Fl_Box>(note)->label()).find("Sparse File"), std::string::npos)
        << "the note does not point at the Sparse File box";
}

} // namespace
} // namespace gui_test
