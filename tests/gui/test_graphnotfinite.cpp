// The class graphs of a grid with heights at the float limit, opened as a
// user opens them: each section's "Graph" button and the Analysis menu's
// "Graph" after it. Such heights give infinite curvatures and differences
// (and, where two infinities meet, values that are not a number); the
// graph bins the finite ones, keeps its axis finite and says how many it
// leaves out. Run under the sanitizer build too: a value that is not
// finite once picked a bin before the first.
#include <FL/Fl_Box.H>
#include <FL/Fl_Value_Output.H>

#include <cmath>
#include <functional>
#include <numeric>

#include "dialogs/graph.h"
#include "dialogs/names.h"
#include "tests/gui/dialog_fixtures.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

namespace gui_test {
namespace {

constexpr float TOP = 3.4e38f, BOTTOM = -3.4e38f;

// A gentle slope with three neighbouring points at the top of the float
// range and one at its bottom.
float extremeDem(int r, int c)
{
    if (r == 4 && c >= 4 && c <= 6)
        return TOP;
    if (r == 7 && c == 8)
        return BOTTOM;
    return 100 + r + 0.5f * c;
}

// The DEM 1 higher, starting with contour levels 100 and 104 (so that the
// height classes have an interval of 4), and the opposite extreme under
// two of the DEM's extremes: their differences overflow.
float extremeComparison(int r, int c)
{
    if (r == 0 && c < 2)
        return 100.0f + 4 * c;
    if (r == 4 && c == 5)
        return BOTTOM;
    if (r == 7 && c == 8)
        return TOP;
    return extremeDem(r, c) + 1;
}

int notFinite(const std::vector<float>& values)
{
    int n = 0;
    for (float v : values)
        n += !std::isfinite(v);
    return n;
}

// The note the graph window shows under its axis ("" when it has none).
std::string noteOf(Fl_Window* w)
{
    for (int i = 0; i < w->children(); ++i)
        if (auto* b = dynamic_cast<Fl_Box*>(w->child(i)); b && b->label() && std::strstr(b->label(), "not finite"))
            return b->label();
    return "";
}

class GraphNotFiniteTest : public DialogTest {};

TEST_F(GraphNotFiniteTest, EveryGraphLeavesOutAndCountsTheValuesThatAreNotFinite)
{
    openThroughDialog(writeGrid("nf_dem.grd", 10, 12, 10, extremeDem),
                      writeGrid("nf_comparison.grd", 10, 12, 10, extremeComparison), &OpenDialog::demCheck);
    ASSERT_EQ(shownError(), "") << "the grids at the float limit were refused";
    const std::vector<float> curvatures = definedCurvatures(data().curvature(), data().demView());
    const std::vector<float> diffs = presentDifferences(data().demView(), data().comparisonView());
    ASSERT_GT(notFinite(curvatures), 0) << "test data: every curvature finite";
    ASSERT_GT(notFinite(diffs), 0) << "test data: every difference finite";
    ASSERT_GT(data().contourInterval(), 0) << "test data: no contour interval for the height classes";
    int pointsAtOrAbove0 = 0;
    for (int r = 0; r < 10; ++r)
        for (int c = 0; c < 12; ++c)
            pointsAtOrAbove0 += extremeDem(r, c) >= 0;

    auto menuGraph = [this] { choose("&Analysis/Graph"); };
    auto button = [](Fl_Button* b) { return [b] { click(b); }; };
    struct Row {
        const char* how;
        std::function<void()> open;
        const char* title;
        const std::vector<float>* values; // null: height classes, counts of points
    };
    const Row rows[] = {
        {"Curvature Error's Graph button", button(win().curvatureGraphButton), "Curve Error", &curvatures},
        {"the menu's Graph after it", menuGraph, "Curve Error", &curvatures},
        {"Local Difference Error's Graph button", button(win().differenceGraphButton), "Diff. Error", &diffs},
        {"the menu's Graph after it", menuGraph, "Diff. Error", &diffs},
        {"Height Classes' Graph button", button(win().heightClassGraphButton), "Height Classes", nullptr},
        {"the menu's Graph after it", menuGraph, "Height Classes", nullptr},
    };
    for (const Row& r : rows) {
        graphwin = nullptr;
        r.open();
        settle(); // the bars drawn
        ASSERT_NE(graphwin, nullptr) << r.how << ": no graph; message: " << shownError();
        EXPECT_STREQ(graphwin->label(), r.title) << r.how;
        const int shown = std::accumulate(graphbox->counts.begin(), graphbox->counts.end(), 0);
        for (int i = 0; i < graphwin->children(); ++i) {
            if (auto* v = dynamic_cast<Fl_Value_Output*>(graphwin->child(i))) {
                EXPECT_TRUE(std::isfinite(v->value())) << r.how << ": an axis number reads " << v->value();
            }
        }
        if (!r.values) {
            EXPECT_EQ(shown, pointsAtOrAbove0) << r.how << ": points missing from the height classes";
            EXPECT_EQ(noteOf(graphwin), "") << r.how << ": a note on counts that are all finite";
            continue;
        }
        const int left = notFinite(*r.values);
        EXPECT_EQ(shown, static_cast<int>(r.values->size()) - left)
            << r.how << ": the bars do not count exactly the finite values";
        const std::string note = noteOf(graphwin);
        EXPECT_EQ(note, std::to_string(left) + (left == 1 ? " value that is not finite is not shown"
                                                          : " values that are not finite are not shown"))
            << r.how;
        for (int i = 0; i < graphwin->children(); ++i) {
            auto* b = dynamic_cast<Fl_Box*>(graphwin->child(i));
            if (!b || !b->label() || note != b->label())
                continue;
            int tw = 0, th = 0;
            measureText(note, b->labelfont(), b->labelsize(), tw, th);
            EXPECT_TRUE(tw <= b->w() && b->x() >= 0 && b->x() + b->w() <= graphwin->w() &&
                        b->y() + b->h() <= graphwin->h())
                << r.how << ": the note is cut";
            EXPECT_GE(b->y(), 180) << r.how << ": the note runs into the axis numbers";
        }
        saveShot(graphwin, std::string("graph_not_finite_") + (r.values == &curvatures ? "curvature" : "difference"));
    }

    // "Remove Big" on the height classes opens a graph of its own.
    if (Fl_Button* remove = childOf<Fl_Button>(graphwin, "Remove Big")) {
        click(remove);
        settle();
        EXPECT_STREQ(graphwin->label(), "Height Classes");
    }
}

} // namespace
} // namespace gui_test
