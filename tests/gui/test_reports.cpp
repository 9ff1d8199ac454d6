// The windows that report on the data set, as a user opens them: the
// statistics with its accuracy table and "Save...", the class graphs (what
// they count, their axes, "Remove Big", a note when there is nothing to
// count), "Co-register..." (the shift, the moved-back grid put in use, and
// refusals with the reason), the curvature unit dialogs and their legend,
// the sparse file dialog and "Save Profile...".
#include <FL/Fl_Multiline_Output.H>
#include <FL/Fl_Progress.H>
#include <FL/Fl_Round_Button.H>
#include <FL/Fl_Value_Output.H>

#include <cmath>
#include <fstream>
#include <numeric>
#include <sstream>

#include "dialogs/coregwindow.h"
#include "dialogs/errorunits.h"
#include "dialogs/graph.h"
#include "dialogs/names.h"
#include "dialogs/sparsefile.h"
#include "dialogs/statsreport.h"
#include "model/errors.h"
#include "tests/gui/dialog_fixtures.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

namespace gui_test {
namespace {

TEST_F(DialogTest, StatisticsOfOneAndOfTwoFiles)
{
    ASSERT_TRUE(load(sampleData("alps_dem.grd")));
    showStatistics(*session);
    Fl_Window* one = statsWin;
    const std::string demOnly = fieldText(one);
    EXPECT_NE(demOnly.find("Gridsize: 200 x 240"), std::string::npos) << demOnly;
    EXPECT_EQ(demOnly.find("COMPARISON"), std::string::npos) << "comparison section with a DEM alone";
    EXPECT_EQ(demOnly.substr(demOnly.size() - 1), "\n") << "the report does not end with its last class line";
    EXPECT_EQ(childOf<Fl_Multiline_Output>(one)->textfont(), FL_COURIER_BOLD) << "columns would not line up";
    expectTextFits(one, "DEM report");

    ASSERT_TRUE(load(sampleData("alps_dem.grd"), sampleData("alps_dem2.grd"), DEM));
    setCounter(win().differenceUnitCounter, 2.5);
    showStatistics(*session);
    const std::string both = fieldText(statsWin);
    EXPECT_NE(both.find("COMPARISON STATISTCS"), std::string::npos) << "no comparison section:\n" << both;
    EXPECT_NE(both.find("   >   10.0"), std::string::npos) << "difference bounds not in units of 2.5:\n" << both;
    const std::size_t rmse = both.find("RMSE: ");
    ASSERT_NE(rmse, std::string::npos) << "no RMSE";
    EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(both[rmse + 6]))) << "RMSE not a number: " << both.substr(rmse);
    EXPECT_EQ(fieldText(one), demOnly) << "the older report changed";
    EXPECT_EQ(demOnly.find("Accuracy"), std::string::npos) << "an accuracy table with a DEM alone";
    // Under the report, the accuracy table; its RMSE over all points is the report's.
    const std::size_t heading = both.find("\n\nAccuracy against the comparison grid");
    ASSERT_NE(heading, std::string::npos) << "no accuracy table:\n" << both;
    EXPECT_LT(rmse, heading) << "the table is not below the report";
    std::istringstream all(both.substr(both.find("\nall ", heading)));
    std::string label;
    double count, mean, sd, tableRmse;
    all >> label >> count >> mean >> sd >> tableRmse;
    EXPECT_EQ(count, 48000) << "the table does not count every present point";
    EXPECT_EQ(tableRmse, std::stod(both.substr(rmse + 6))) << "the table's RMSE is not the report's";
    expectTextFits(statsWin, "comparison report");
    expectTidy(statsWin, "comparison report");
    saveShot(statsWin, "statistics");
}

TEST_F(DialogTest, StatisticsSaveWritesTheTextShown)
{
    openThroughDialog(sampleData("alps_dem.grd"), sampleData("alps_sparse.grd"), &OpenDialog::rawCheck);
    showStatistics(*session);
    const std::string path = tempPath("stats.txt");
    {
        SaveChooserAnswer chooser(path);
        click(childOf<Fl_Button>(statsWin, "Save..."));
        EXPECT_EQ(chooser.asked.proposed, sampleData("alps_dem_statistics.txt")) << "not offered next to the DEM";
        EXPECT_EQ(chooser.asked.pattern, "Text files (*.txt)");
    }
    std::stringstream saved;
    saved << std::ifstream(path).rdbuf();
    EXPECT_EQ(saved.str(), fieldText(statsWin)) << "the file holds another text than the window";
    EXPECT_NE(saved.str().find("Accuracy against"), std::string::npos);

    const std::string nowhere = tempPath("no_dir") + "/stats.txt";
    SaveChooserAnswer refused(nowhere);
    click(childOf<Fl_Button>(statsWin, "Save..."));
    EXPECT_EQ(shownError(), "Cannot write the report to \"" + nowhere + "\".");
}

TEST_F(DialogTest, StatisticsSaveReportWritesThePageAndItsNumbers)
{
    openThroughDialog(sampleData("alps_dem.grd"), sampleData("alps_dem2.grd"), &OpenDialog::demCheck);
    showStatistics(*session);
    const std::string path = tempPath("alps_report.html");
    std::remove(path.c_str());
    {
        SaveChooserAnswer chooser(path);
        click(childOf<Fl_Button>(statsWin, "Save Report..."));
        EXPECT_EQ(chooser.asked.proposed, sampleData("alps_dem_report.html")) << "not offered next to the DEM";
        EXPECT_EQ(chooser.asked.pattern, "HTML page (*.html)\tPDF document (*.pdf)");
    }
    EXPECT_EQ(shownError(), "");
    std::stringstream page;
    page << std::ifstream(path).rdbuf();
    EXPECT_NE(page.str().find("<h2>Per slope class</h2>"), std::string::npos) << "no report written";
    EXPECT_EQ(page.str().find("<h2>Co-registration fit</h2>"), std::string::npos) << "a fit without co-registration";
    EXPECT_NE(page.str().find("data:image/png;base64,"), std::string::npos) << "no pictures";
    EXPECT_TRUE(std::ifstream(tempPath("alps_report.json")).good()) << "no numbers beside the page";
    EXPECT_FALSE(session->busy() || win().loadBar()->visible()) << "the program stays busy";

    SaveChooserAnswer wrongKind(tempPath("alps_report.txt"));
    click(childOf<Fl_Button>(statsWin, "Save Report..."));
    EXPECT_NE(shownError().find("HTML page (.html) or a PDF document (.pdf)"), std::string::npos) << shownError();
    click(childOf<Fl_Button>(errorWin, "OK"));

    // A DEM alone has nothing to report on.
    openThroughDialog(sampleData("alps_dem.grd"));
    showStatistics(*session);
    EXPECT_EQ(childOf<Fl_Button>(statsWin, "Save Report..."), nullptr);
}

TEST_F(DialogTest, CurvatureUnitDialogsMoveTheLegend)
{
    ASSERT_TRUE(load(sampleData("alps_dem.grd")));
    setCounter(win().curvatureUnitCounter, 1.5);
    modCurve(*session);
    Fl_Window* first = shownWindow("Curvature Error");
    ASSERT_NE(first, nullptr) << "no \"Curvature Error\" dialog";
    Fl_Counter* older = unitSlider;
    EXPECT_EQ(older->value(), 1.5) << "the dialog does not start at the panel's unit";
    expectTidy(first, "curvature unit dialog");
    modCurve(*session);
    ASSERT_NE(unitSlider, older);
    setCounter(unitSlider, 2.5);
    auto legend = [this] {
        const auto& l = win().curvatureLegend;
        return std::vector<double>{l[0]->value(), l[1]->value(), l[2]->value()};
    };
    EXPECT_EQ(legend(), (std::vector<double>{2.5, 5, 7.5})) << "legend after 2.5";
    EXPECT_EQ(win().curvatureUnitCounter->value(), 2.5) << "the panel's counter did not follow";
    EXPECT_EQ(view().curveUnits, 2.5f) << "the viewer still classes in the old unit";
    EXPECT_EQ(data().curvatureClasses().unit, 2.5f) << "the data set still classes in the old unit";

    setCounter(older, 4.0); // the older dialog's counter fires
    EXPECT_EQ(legend(), (std::vector<double>{4, 8, 12})) << "the legend does not follow the counter that changed";
    EXPECT_EQ(view().curveUnits, 4.0f);

    setCounter(win().curvatureUnitCounter, 0.5);
    EXPECT_EQ(legend(), (std::vector<double>{0.5, 1, 1.5})) << "panel counter 0.5";
    saveShot(first, "curvature_error_dialog");
}

// Opens the sparse dialog for the sample DEM and asks for n heights in
// the file `out`; returns what was printed on standard output.
std::string makeSample(SessionPort& port, const std::string& n, const std::string& out)
{
    showSparseDialog(port);
    auto* d = dynamic_cast<SparseDialog*>(sparseIn->window());
    d->count->value(n.c_str());
    d->output->value(out.c_str());
    ::testing::internal::CaptureStdout();
    click(childOf<Fl_Button>(d, "Make"));
    return ::testing::internal::GetCapturedStdout();
}

TEST_F(DialogTest, SparseFileIsWrittenAndLoadsBack)
{
    ASSERT_TRUE(openThroughDialog(sampleData("alps_dem.grd")));
    settle();
    showSparseDialog(*session);
    auto* d = dynamic_cast<SparseDialog*>(sparseIn->window());
    ASSERT_NE(d, nullptr) << "no sparse dialog";
    EXPECT_STREQ(d->label(), "Sparse File");
    EXPECT_EQ(std::string(d->output->value()), sampleData("alps_dem_sparse.grd")) << "not offered next to the DEM";
    expectTidy(d, "sparse dialog");
    saveShot(d, "sparse_dialog");

    const std::string path = tempPath("sample.grd");
    const std::string printed = makeSample(*session, "500 heights", path);
    EXPECT_EQ(shownError(), "") << "the sample was refused";
    std::stringstream file;
    file << std::ifstream(path).rdbuf();
    const std::string& header = data().header().text;
    ASSERT_EQ(file.str().substr(0, header.size()), header) << "the file does not start with the DEM's header";
    const std::string raster = file.str().substr(header.size());
    ASSERT_FALSE(raster.empty()) << "no raster written";
    EXPECT_NE(printed.find(raster), std::string::npos) << "standard output shows another sample than the file";
    EXPECT_NE(std::string(sparseIn->window()->child(6)->label()).find(path), std::string::npos)
        << "the dialog does not say where the sample went";

    ASSERT_TRUE(session->changeComparison(path, DEM, false).ok() && data().hasComparison())
        << "the sample does not load back as a comparison file";
    EXPECT_EQ(rmseOf(data()), 0.0f) << "the sample holds other heights than the DEM's";
}

TEST_F(DialogTest, SparseFileRefusalsAreShown)
{
    ASSERT_TRUE(load(sampleData("alps_dem.grd")));
    const std::string out = tempPath("refused.grd");
    struct Row {
        std::string count, path;
        std::string says;
    };
    const Row rows[] = {
        {"99", out, errorText(SPARSE)},
        {"99999999999", out, "too large"},
        {"48001", out, "48000"},
        {"500", "", "Name the grid file"},
        {"500", tempPath("no_dir") + "/x.grd", "Cannot write"},
    };
    for (const Row& r : rows) {
        makeSample(*session, r.count, r.path);
        EXPECT_NE(shownError().find(r.says), std::string::npos)
            << "count \"" << r.count << "\" to \"" << r.path << "\" says: " << shownError();
        EXPECT_STREQ(errorWin->label(), "Sparse File");
        click(childOf<Fl_Button>(errorWin, "OK"));
    }
    EXPECT_FALSE(std::ifstream(out).is_open()) << "a refused sample left a file";
}

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
void expectSection(const DataSet& data, const std::vector<std::string>& lines, int count, Row row, Col col,
                   const char* which)
{
    const GridView dem = data.demView(), reference = viewOf(data.comparison().grid);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(count) + 1) << which;
    EXPECT_EQ(lines[0], "distance,dem,comparison") << which;
    int present = 0;
    for (int k = 0; k < count; ++k) {
        std::istringstream line(lines[k + 1]);
        std::string distance, height, comp;
        std::getline(line, distance, ',');
        std::getline(line, height, ',');
        std::getline(line, comp);
        const float ref = reference.at(row(k), col(k));
        ASSERT_TRUE(std::stod(distance) == 30.0 * k && std::stof(height) == dem.at(row(k), col(k)) &&
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

    setCounter(win().profileCounter, 150); // "Row/Column:" 150 of the Y-axis: grid row 200 - 150 - 1
    choose("&File/Save Profile...");
    EXPECT_EQ(chooser.asked.proposed, sampleData("alps_dem_profile.csv")) << "not offered next to the DEM";
    EXPECT_EQ(chooser.asked.pattern, "CSV files (*.csv)");
    expectSection(
        data(), linesOf(path), 239, [](int) { return 49; }, [](int k) { return k; }, "along a row");

    click(win().profileAlongColumnButton);
    setCounter(win().profileCounter, 10); // column 10 of the X-axis takes its heights from grid column 9
    choose("&File/Save Profile...");
    expectSection(
        data(), linesOf(path), 199, [](int k) { return k; }, [](int) { return 9; }, "down a column");

    const std::string nowhere = tempPath("no_such_dir") + "/p.csv";
    SaveChooserAnswer refused(nowhere);
    choose("&File/Save Profile...");
    EXPECT_EQ(shownError(), "Cannot write the profile to \"" + nowhere + "\".");
}

// Hills and valleys of every aspect, 10 m cells; the comparison DEM is the
// DEM moved 1 cell east and half a cell south (north -0.5):
// comparison(x, y) = DEM(x - east, y - north).
constexpr double EAST = 1.0, NORTH = -0.5;
float hills(double r, double c) { return static_cast<float>(1000 + 150 * std::sin(c / 5) * std::cos(r / 6) + 2 * r); }

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
        ASSERT_TRUE(entry("&Analysis/Co-register...").active())
            << "\"Co-register...\" not usable with a comparison DEM";
    }
};

TEST_F(CoregistrationTest, ShowsTheShiftAndAnalysesTheShiftedGrid)
{
    openPair([](int r, int c) { return hills(r, c); }, [](int r, int c) { return hills(r + NORTH, c - EAST); });
    choose("&Analysis/Co-register...");
    ASSERT_NE(coregWin, nullptr) << "no window; message: " << shownError();
    EXPECT_STREQ(coregWin->label(), "Co-registration");
    const std::string text = childOf<Fl_Multiline_Output>(coregWin)->value();
    EXPECT_NEAR(numberAfter(text, "Shift east:"), EAST, 0.05) << text;
    EXPECT_NEAR(numberAfter(text, "Shift north:"), NORTH, 0.05) << text;
    EXPECT_NEAR(numberAfter(text, "cells,"), 10 * numberAfter(text, "Shift east:"), 0.0051) << "map units";
    EXPECT_NE(text.find(", converged"), std::string::npos) << text;
    EXPECT_TRUE(text.find("Before") < text.find("After") &&
                text.find("\nall ", text.find("After")) != std::string::npos)
        << "no accuracy tables before and after:\n"
        << text;
    EXPECT_FALSE(session->busy() || win().active_r() == 0) << "the program stays busy";
    expectTidy(coregWin, "co-registration window");
    saveShot(coregWin, "coregistration");

    const float before = rmseOf(data());
    Fl_Button* analyse = childOf<Fl_Button>(coregWin, "Analyse the shifted grid");
    ASSERT_NE(analyse, nullptr);
    click(analyse);
    EXPECT_EQ(shownError(), "");
    EXPECT_LT(rmseOf(data()), before / 4) << "the comparison grid in use is not the moved-back one";
    EXPECT_TRUE(session->files().count == 2 && session->files().kind == DEM && data().hasComparison())
        << "the comparison DEM is no longer in use";
    const std::string label = win().comparisonField->value();
    EXPECT_EQ(label.substr(label.size() - 16), " (co-registered)") << label;
    EXPECT_FALSE(analyse->active()) << "the grid can be put in use twice";
    EXPECT_FALSE(win().loadBar()->visible() || session->busy()) << "the load did not end";
}

TEST_F(CoregistrationTest, SaveReportIncludesTheShiftUntilThePairChanges)
{
    openPair([](int r, int c) { return hills(r, c); }, [](int r, int c) { return hills(r + NORTH, c - EAST); });
    choose("&Analysis/Co-register...");
    ASSERT_NE(coregWin, nullptr) << shownError();
    const std::string path = tempPath("co_report.pdf");
    std::remove(path.c_str());
    {
        SaveChooserAnswer chooser(path);
        click(childOf<Fl_Button>(coregWin, "Save Report..."));
    }
    EXPECT_EQ(shownError(), "");
    std::stringstream numbers;
    numbers << std::ifstream(tempPath("co_report.json")).rdbuf();
    EXPECT_NE(numbers.str().find("\"fits\""), std::string::npos) << "the report has no co-registration";
    EXPECT_NEAR(numberAfter(numbers.str(), "\"shift_east\": "), EAST, 0.05) << numbers.str().substr(0, 400);
    std::stringstream pdf;
    pdf << std::ifstream(path).rdbuf();
    EXPECT_EQ(pdf.str().rfind("%PDF-", 0), 0u) << "no PDF written";

    click(childOf<Fl_Button>(coregWin, "Analyse the shifted grid"));
    SaveChooserAnswer again(tempPath("co_report2.html"));
    click(childOf<Fl_Button>(coregWin, "Save Report..."));
    EXPECT_EQ(shownError(), "The comparison grid has changed since this co-registration: choose Co-register... again.");
    EXPECT_FALSE(std::ifstream(tempPath("co_report2.html")).good()) << "a report of another pair";
}

TEST_F(CoregistrationTest, RefusalsAreExplained)
{
    // Flat ground: no slope to fit a shift to.
    openPair([](int, int) { return 500.0f; }, [](int, int) { return 501.0f; });
    choose("&Analysis/Co-register...");
    EXPECT_EQ(coregWin, nullptr) << "a window for grids that cannot be co-registered";
    EXPECT_EQ(shownError().rfind("Cannot co-register the grids: ", 0), 0u) << shownError();
    EXPECT_STREQ(errorWin->label(), "Co-registration");
    click(childOf<Fl_Button>(errorWin, "OK"));
    settle();

    // The comparison grid replaced after the window opened.
    openPair([](int r, int c) { return hills(r, c); }, [](int r, int c) { return hills(r + NORTH, c - EAST); });
    choose("&Analysis/Co-register...");
    ASSERT_NE(coregWin, nullptr);
    Fl_Window* older = coregWin;
    const std::string other = writeGrid("co_other.grd", 60, 70, 10, [](int r, int c) { return hills(r, c) + 3; });
    ASSERT_TRUE(session->changeComparison(other, DEM, false).ok());
    const float rmse = rmseOf(data());
    click(childOf<Fl_Button>(older, "Analyse the shifted grid"));
    EXPECT_NE(shownError().find("has changed"), std::string::npos) << shownError();
    EXPECT_EQ(rmseOf(data()), rmse) << "the older window's grid was put in use";
}

TEST_F(CoregistrationTest, ANewPairOpenedAfterwardsIsNotTheOneCoregistered)
{
    openPair([](int r, int c) { return hills(r, c); }, [](int r, int c) { return hills(r + NORTH, c - EAST); });
    choose("&Analysis/Co-register...");
    ASSERT_NE(coregWin, nullptr);
    Fl_Window* older = coregWin;
    // Other files of the same size, opened through the dialog: a new data
    // set, whose comparison is not the one the window moved back.
    openThroughDialog(writeGrid("co_dem_b.grd", 60, 70, 10, [](int r, int c) { return hills(r, c) - 7; }),
                      writeGrid("co_comp_b.grd", 60, 70, 10, [](int r, int c) { return hills(r, c) - 5; }),
                      &OpenDialog::demCheck);
    ASSERT_EQ(shownError(), "");
    const float rmse = rmseOf(data());
    click(childOf<Fl_Button>(older, "Analyse the shifted grid"));
    EXPECT_NE(shownError().find("has changed"), std::string::npos) << shownError();
    EXPECT_EQ(rmseOf(data()), rmse) << "the older window's grid was put in use with the new DEM";
}

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
void loadFourClasses(Session& session)
{
    const std::string dem = writeGrid("classes_dem.grd", 7, 10, 10, [](int r, int c) {
        const int k = r * 10 + c;
        return static_cast<float>(k < 30 ? 100 + k / 10 : 103);
    });
    const std::string contour = writeGrid("classes_contour.grd", 7, 10, 10,
                                          [](int r, int c) { return r == 0 && c < 2 ? 100.0f + 4 * c : 0.0f; });
    OpenChoice choice;
    choice.dem = dem;
    choice.comparison = contour;
    choice.kind = CONTF;
    ASSERT_TRUE(session.openFiles(choice).ok()) << "test data set refused";
    ASSERT_EQ(session.dataSet().contourInterval(), 4) << "contour interval of the test data";
}

TEST_F(DialogTest, DifferenceGraphCountsEveryCellWithAReference)
{
    const std::string dem = writeGrid("below_dem.grd", 6, 6, 10, [](int r, int c) { return 100.0f + r + c; });
    // Reference 5 above the DEM, absent (0 in a sparse file) in the first row.
    const std::string ref =
        writeGrid("below_ref.grd", 6, 6, 10, [](int r, int c) { return r == 0 ? 0.0f : 105.0f + r + c; });
    ASSERT_TRUE(load(dem, ref, SPARSEF));
    showGraph(*session, GraphKind::difference);
    ASSERT_NE(graphwin, nullptr) << "a DEM below its reference everywhere got no graph";
    EXPECT_STREQ(graphwin->label(), "Diff. Error");
    EXPECT_EQ(total(graphbox->counts), 4 * 5) << "not exactly the 4 x 5 cells with a reference value";
    EXPECT_EQ(graphbox->counts[24], 20) << "differences of 5, the largest, are not in the last bar";
    saveShot(graphwin, "graph_difference");
}

TEST_F(DialogTest, RemoveBigTakesOutTheLargeClassInANewWindow)
{
    loadFourClasses(*session);
    showGraph(*session, GraphKind::heightClasses);
    Fl_Window* full = graphwin;
    ASSERT_NE(full, nullptr);
    EXPECT_STREQ(full->label(), "Height Classes");
    EXPECT_EQ(graphbox->counts, std::vector<int>({10, 10, 10, 40})) << "height classes";
    Fl_Button* remove = childOf<Fl_Button>(full, "Remove Big");
    ASSERT_NE(remove, nullptr) << "no \"Remove Big\" with a class four times the others";
    saveShot(full, "graph_height_classes");

    // Another kind chosen meanwhile changes nothing for this window's button.
    ASSERT_TRUE(load(sampleData("alps_dem.grd"))); // the model's classes go
    showGraph(*session, GraphKind::curvature);
    click(remove);
    ASSERT_NE(graphwin, full) << "\"Remove Big\" opened no second window";
    EXPECT_STREQ(graphwin->label(), "Height Classes") << "\"Remove Big\" showed another kind of graph";
    EXPECT_EQ(graphbox->counts, std::vector<int>({10, 10, 10, 0})) << "the class of 40 is still shown";
    EXPECT_EQ(graphbox->maxCount, 10);
    EXPECT_EQ(yAxis(graphwin), std::vector<double>({0})) << "y labels of a graph reduced to 10";
    EXPECT_EQ(childOf<Fl_Button>(graphwin, "Remove Big"), nullptr) << "nothing left to remove";
    EXPECT_TRUE(full->shown()) << "the full graph closed";
    saveShot(graphwin, "graph_height_classes_reduced");

    loadFourClasses(*session);
    showGraph(*session, GraphKind::heightClasses);
    EXPECT_EQ(graphbox->counts, std::vector<int>({10, 10, 10, 40})) << "\"Remove Big\" leaked into the next graph";
}

TEST_F(DialogTest, GraphsKeepTheirCountsWhenTheDataChanges)
{
    loadFourClasses(*session);
    showGraph(*session, GraphKind::heightClasses);
    Graphb* box = graphbox;
    ASSERT_TRUE(load(sampleData("alps_dem.grd"), sampleData("alps_contour.grd"), CONTF));
    std::string why;
    ASSERT_TRUE(session->ensureHeightClasses(why)) << why; // the histogram is rebuilt for 20 classes
    EXPECT_EQ(box->counts, std::vector<int>({10, 10, 10, 40})) << "the older graph follows the model's arrays";
    box->redraw();
    settle(); // drawing it again must be safe

    // The menu entry repeats the kind chosen last.
    choose("&Analysis/Graph");
    EXPECT_EQ(graphbox->counts.size(), 20u) << "the sample's 20 height classes";
    EXPECT_EQ(total(graphbox->counts), 200 * 240) << "grid points missing from the classes";
    saveShot(graphwin, "graph_height_classes_sample");
}

TEST_F(DialogTest, NothingToGraphGivesANote)
{
    struct Row {
        GraphKind kind;
        const char* title;
        const char* says;
    };
    const Row rows[] = {
        {GraphKind::curvature, "Curve Error", "open a DEM"},
        {GraphKind::difference, "Diff. Error", "comparison"},
        {GraphKind::heightClasses, "Height Classes", "contour interval"},
    };
    // The curvature graph with no DEM at all (as the program starts), the
    // others with a DEM alone.
    for (const Row& r : rows) {
        showGraph(*session, r.kind);
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
