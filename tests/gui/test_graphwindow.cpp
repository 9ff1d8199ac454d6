// The class graph windows as a user opens them from the panel and the
// menu: what they count, their axes, "Remove Big", and a note instead of a
// graph when there is nothing to count.
#include <FL/Fl_Value_Output.H>

#include <numeric>

#include "dialogs/graph.h"
#include "tests/gui/dialog_fixtures.h"

namespace gui_test {
namespace {

int total(const std::vector<int>& v) { return std::accumulate(v.begin(), v.end(), 0); }

// The numbers a user reads on the y axis (the column at x = 25), bottom up.
std::vector<double> yAxis(Fl_Window* w)
{
    std::vector<double> values;
    for (int i = 0; i < w->children(); ++i)
        if (auto* v = dynamic_cast<Fl_Value_Output*>(w->child(i)); v && v->x() == 25)
            values.push_back(v->value());
    return values;
}

// 70 points in height classes 0 to 3 of a contour interval of 4: ten
// points each in classes 0, 1 and 2, forty in class 3.
void loadFourClasses()
{
    const std::string dem = writeGrid("classes_dem.grd", 7, 10, 10, [](int r, int c) {
        const int k = r * 10 + c;
        return static_cast<float>(k < 30 ? 100 + k / 10 : 103);
    });
    const std::string contour =
        writeGrid("classes_contour.grd", 7, 10, 10, [](int r, int c) { return r == 0 && c < 2 ? 100.0f + 4 * c : 0.0f; });
    ASSERT_TRUE(load(dem, contour, CONTF)) << "test data set refused";
    ASSERT_EQ(MyWindow::getCont(), 4) << "contour interval of the test data";
}

TEST_F(DialogTest, CurvatureAndDifferenceGraphsCountEveryValue)
{
    const std::string dem = writeGrid("below_dem.grd", 6, 6, 10, [](int r, int c) { return 100.0f + r + c; });
    // Reference 5 above the DEM, absent (0) in the first row.
    const std::string ref =
        writeGrid("below_ref.grd", 6, 6, 10, [](int r, int c) { return r == 0 ? 0.0f : 105.0f + r + c; });
    ASSERT_TRUE(load(dem, ref, DEM));
    graphCurve(nullptr, nullptr);
    ASSERT_NE(graphwin, nullptr) << "no graph window";
    EXPECT_STREQ(graphwin->label(), "Curve Error");
    EXPECT_EQ(total(graphbox->counts), 4 * 4) << "curvature values of the 4 x 4 interior points missing";
    const std::vector<double> y = yAxis(graphwin);
    EXPECT_TRUE(!y.empty() && y.back() < graphbox->maxCount) << "no y label, or one above the tallest bar";
    saveShot(graphwin, "graph_curvature");
    graphDiff(nullptr, nullptr);
    ASSERT_NE(graphwin, nullptr) << "a DEM below its reference everywhere got no graph";
    EXPECT_STREQ(graphwin->label(), "Diff. Error");
    EXPECT_EQ(total(graphbox->counts), 4 * 5) << "not exactly the 4 x 5 cells with a reference value";
    EXPECT_EQ(graphbox->counts[24], 20) << "differences of 5, the largest, are not in the last bar";
    saveShot(graphwin, "graph_difference");
}

TEST_F(DialogTest, RemoveBigTakesOutTheLargeClassInANewWindow)
{
    loadFourClasses();
    graphClass(nullptr, nullptr);
    Fl_Window* full = graphwin;
    ASSERT_NE(full, nullptr);
    EXPECT_STREQ(full->label(), "Height Classes");
    EXPECT_EQ(graphbox->counts, std::vector<int>({10, 10, 10, 40})) << "height classes";
    Fl_Button* remove = childOf<Fl_Button>(full, "Remove Big");
    ASSERT_NE(remove, nullptr) << "no \"Remove Big\" with a class four times the others";
    saveShot(full, "graph_height_classes");

    // Another kind chosen meanwhile changes nothing for this window's button.
    ASSERT_TRUE(load(sampleData("alps_dem.grd"))); // the model's classes go
    graphCurve(nullptr, nullptr);
    click(remove);
    ASSERT_NE(graphwin, full) << "\"Remove Big\" opened no second window";
    EXPECT_STREQ(graphwin->label(), "Height Classes") << "\"Remove Big\" showed another kind of graph";
    EXPECT_EQ(graphbox->counts, std::vector<int>({10, 10, 10, 0})) << "the class of 40 is still shown";
    EXPECT_EQ(graphbox->maxCount, 10);
    EXPECT_EQ(yAxis(graphwin), std::vector<double>({0})) << "y labels of a graph reduced to 10";
    EXPECT_EQ(childOf<Fl_Button>(graphwin, "Remove Big"), nullptr) << "nothing left to remove";
    EXPECT_TRUE(full->shown()) << "the full graph closed";
    saveShot(graphwin, "graph_height_classes_reduced");

    loadFourClasses();
    graphClass(nullptr, nullptr);
    EXPECT_EQ(graphbox->counts, std::vector<int>({10, 10, 10, 40})) << "\"Remove Big\" leaked into the next graph";
}

TEST_F(DialogTest, GraphsKeepTheirCountsWhenTheDataChanges)
{
    loadFourClasses();
    graphClass(nullptr, nullptr);
    Graphb* box = graphbox;
    ASSERT_TRUE(load(sampleData("alps_dem.grd"), sampleData("alps_contour.grd"), CONTF));
    MyWindow::graphHeights(); // the model's histogram is rebuilt for 20 classes
    EXPECT_EQ(box->counts, std::vector<int>({10, 10, 10, 40})) << "the older graph follows the model's arrays";
    box->redraw();
    settle(); // drawing it again must be safe

    // The menu entry repeats the kind chosen last.
    graph(nullptr, nullptr);
    EXPECT_EQ(graphbox->counts.size(), 20u) << "the sample's 20 height classes";
    EXPECT_EQ(total(graphbox->counts), 200 * 240) << "grid points missing from the classes";
    saveShot(graphwin, "graph_height_classes_sample");
}

TEST_F(DialogTest, NothingToGraphGivesANote)
{
    struct Row {
        void (*button)(Fl_Widget*, void*);
        const char* title;
        const char* says;
    };
    const Row rows[] = {
        {graphCurve, "Curve Error", "open a DEM"},
        {graphDiff, "Diff. Error", "comparison"},
        {graphClass, "Height Classes", "contour interval"},
    };
    ASSERT_TRUE(load(sampleData("alps_dem.grd")));
    for (const Row& r : rows) {
        if (r.button == graphCurve)
            mt.adopt({}); // no DEM at all
        r.button(nullptr, nullptr);
        settle();
        EXPECT_EQ(graphwin, nullptr) << r.title << ": a graph of nothing";
        Fl_Window* note = shownWindow(r.title);
        ASSERT_NE(note, nullptr) << r.title << ": no note instead of the graph";
        EXPECT_NE(shownError().find(r.says), std::string::npos) << r.title << " note says: " << shownError();
        ASSERT_TRUE(load(sampleData("alps_dem.grd")));
    }
    saveShot(errorWin, "graph_note");
}

} // namespace
} // namespace gui_test
