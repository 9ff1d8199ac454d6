// The statistics report with its accuracy table and "Save...", the
// curvature unit dialogs and their legend, the sparse file dialog, "Save
// Profile..." and the about and help windows, as a user opens them.
#include <FL/Fl_Multiline_Output.H>
#include <FL/Fl_Round_Button.H>

#include <fstream>
#include <sstream>

#include "app/callbacks.h"
#include "app/menupositions.h"
#include "dialogs/errorunits.h"
#include "dialogs/helpabout.h"
#include "dialogs/sparsefile.h"
#include "dialogs/statsreport.h"
#include "model/errors.h"
#include "render/modelaccess.h"
#include "tests/gui/dialog_fixtures.h"

namespace gui_test {
namespace {

std::string fieldText(Fl_Window* w)
{
    auto* field = childOf<Fl_Multiline_Output>(w);
    return field ? field->value() : "";
}

// Tabs as the text field draws them: to the next multiple of 8 characters.
std::string expandTabs(const std::string& text)
{
    std::string out;
    int column = 0;
    for (char ch : text) {
        if (ch == '\t') {
            do
                out += ' ';
            while (++column % 8);
        } else {
            out += ch;
            column = ch == '\n' ? 0 : column + 1;
        }
    }
    return out;
}

// The whole text is inside the field and the field inside its window.
void expectTextFits(Fl_Window* w, const char* what)
{
    auto* field = childOf<Fl_Multiline_Output>(w);
    ASSERT_NE(field, nullptr) << what << ": no text field";
    EXPECT_TRUE(field->x() >= 0 && field->y() >= 0 && field->x() + field->w() <= w->w() &&
                field->y() + field->h() <= w->h())
        << what << ": the field runs out of its window";
    int tw = 0, th = 0;
    measureText(expandTabs(field->value()), field->textfont(), field->textsize(), tw, th);
    EXPECT_LE(tw, field->w() - 6) << what << ": text cut at the right";
    EXPECT_LE(th, field->h() - 6) << what << ": text cut at the bottom";
}

TEST_F(DialogTest, StatisticsOfOneAndOfTwoFiles)
{
    ASSERT_TRUE(load(sampleData("alps_dem.grd")));
    stats(nullptr, nullptr);
    Fl_Window* one = statsWin;
    const std::string demOnly = fieldText(one);
    EXPECT_NE(demOnly.find("Gridsize: 200 x 240"), std::string::npos) << demOnly;
    EXPECT_EQ(demOnly.find("COMPARISON"), std::string::npos) << "comparison section with a DEM alone";
    EXPECT_EQ(demOnly.substr(demOnly.size() - 1), "\n") << "the report does not end with its last class line";
    EXPECT_EQ(childOf<Fl_Multiline_Output>(one)->textfont(), FL_COURIER_BOLD) << "columns would not line up";
    expectTextFits(one, "DEM report");

    ASSERT_TRUE(load(sampleData("alps_dem.grd"), sampleData("alps_dem2.grd"), DEM));
    setCounter(unitSliderldGUI, 2.5);
    stats(nullptr, nullptr);
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
    stats(nullptr, nullptr);
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

TEST_F(DialogTest, CurvatureUnitDialogsMoveTheLegend)
{
    ASSERT_TRUE(load(sampleData("alps_dem.grd")));
    setCounter(unitSliderGUI, 1.5);
    modCurve(nullptr, nullptr);
    Fl_Window* first = shownWindow("Curvature Error");
    ASSERT_NE(first, nullptr) << "no \"Curvature Error\" dialog";
    Fl_Counter* older = unitSlider;
    EXPECT_EQ(older->value(), 1.5) << "the dialog does not start at the panel's unit";
    expectTidy(first, "curvature unit dialog");
    modCurve(nullptr, nullptr);
    ASSERT_NE(unitSlider, older);
    setCounter(unitSlider, 2.5);
    auto legend = [] { return std::vector<double>{cerrLabel->value(), cerr2Label->value(), cerr3Label->value()}; };
    EXPECT_EQ(legend(), (std::vector<double>{2.5, 5, 7.5})) << "legend after 2.5";
    EXPECT_EQ(unitSliderGUI->value(), 2.5) << "the panel's counter did not follow";
    EXPECT_EQ(curveUnits, 2.5f) << "the viewer still classes in the old unit";

    setCounter(older, 4.0); // the older dialog's counter fires
    EXPECT_EQ(legend(), (std::vector<double>{4, 8, 12})) << "the legend does not follow the counter that changed";
    EXPECT_EQ(curveUnits, 4.0f);

    setCounter(unitSliderGUI, 0.5);
    EXPECT_EQ(legend(), (std::vector<double>{0.5, 1, 1.5})) << "panel counter 0.5";
    saveShot(first, "curvature_error_dialog");
}

// Opens the sparse dialog for the sample DEM and asks for n heights in
// the file `out`; returns what was printed on standard output.
std::string makeSample(const std::string& n, const std::string& out)
{
    sparse(nullptr, nullptr);
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
    sparse(nullptr, nullptr);
    auto* d = dynamic_cast<SparseDialog*>(sparseIn->window());
    ASSERT_NE(d, nullptr) << "no sparse dialog";
    EXPECT_STREQ(d->label(), "Sparse File");
    EXPECT_EQ(std::string(d->output->value()), sampleData("alps_dem_sparse.grd")) << "not offered next to the DEM";
    expectTidy(d, "sparse dialog");
    saveShot(d, "sparse_dialog");

    const std::string path = tempPath("sample.grd");
    const std::string printed = makeSample("500 heights", path);
    EXPECT_EQ(shownError(), "") << "the sample was refused";
    std::stringstream file;
    file << std::ifstream(path).rdbuf();
    const std::string& header = mt.getHeaderText();
    ASSERT_EQ(file.str().substr(0, header.size()), header) << "the file does not start with the DEM's header";
    const std::string raster = file.str().substr(header.size());
    ASSERT_FALSE(raster.empty()) << "no raster written";
    EXPECT_NE(printed.find(raster), std::string::npos) << "standard output shows another sample than the file";
    EXPECT_NE(std::string(sparseIn->window()->child(6)->label()).find(path), std::string::npos)
        << "the dialog does not say where the sample went";

    bool ok = false;
    gl->changeFile(path.c_str(), 1, 2, ok);
    ASSERT_TRUE(ok && haveComparison()) << "the sample does not load back as a comparison file";
    EXPECT_EQ(gl->getRMSE(), 0.0f) << "the sample holds other heights than the DEM's";
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
        {"abc", out, errorText(SPARSE)},
        {"99", out, errorText(SPARSE)},
        {"99999999999", out, "too large"},
        {"48001", out, "48000"},
        {"500", "", "Name the grid file"},
        {"500", tempPath("no_dir") + "/x.grd", "Cannot write"},
    };
    for (const Row& r : rows) {
        makeSample(r.count, r.path);
        EXPECT_NE(shownError().find(r.says), std::string::npos)
            << "count \"" << r.count << "\" to \"" << r.path << "\" says: " << shownError();
        EXPECT_STREQ(errorWin->label(), "Sparse File");
        click(childOf<Fl_Button>(errorWin, "OK"));
    }
    EXPECT_FALSE(std::ifstream(out).is_open()) << "a refused sample left a file";
}

TEST_F(DialogTest, AboutAndHelpTextsFitTheirWindows)
{
    for (auto [open, name] : {std::pair{about, "about"}, {help, "help"}}) {
        open(nullptr, nullptr);
        Fl_Window* w = shownWindow("About");
        ASSERT_NE(w, nullptr) << "no " << name << " window";
        expectTextFits(w, name);
        saveShot(w, name);
        w->hide();
    }
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
