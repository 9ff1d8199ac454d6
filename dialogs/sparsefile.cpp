#include "dialogs/sparsefile.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Input.H>

#include <fstream>
#include <iostream>
#include <optional>
#include <random>
#include <string>

#include "dialogs/errorwindow.h"
#include "dialogs/filechooser.h"
#include "dialogs/names.h"
#include "dialogs/paths.h"
#include "dialogs/sparsecount.h"
#include "model/errors.h"
#include "model/sparseformat.h"
#include "model/sparsesample.h"

namespace orolith::ui {

Fl_Input* sparseIn = nullptr;

namespace {

SparseDialog* dialogOf(Fl_Widget* w) { return dynamic_cast<SparseDialog*>(w->window()); }

void closeDialog(Fl_Widget* w, void*)
{
    w->hide();
    Fl::delete_widget(w);
}

void problem(SparseDialog* d, const std::string& text) { messageWindow("Sparse File", text, d); }

// A sample of n spot heights of the DEM in use, drawn by `random`, or
// why there is none.
std::vector<float> sample(SessionPort& port, int n, std::mt19937& random, std::string& why)
{
    const DataSet& d = port.dataSet();
    RandomDraw draw = [&random](int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random); };
    std::vector<float> raster = sparseRaster(d.loaded() ? d.demView() : GridView{}, n, draw, port.messages(), why);
    if (raster.empty() && why.empty())
        why = errorText(SPARSE);
    return raster;
}

} // namespace

SparseDialog::SparseDialog(SessionPort& p) : Fl_Window(400, 160, "Sparse File"), port(p), random(std::random_device{}())
{
    // The title is wider than its box: it starts at the box's left edge.
    (new Fl_Box(5, 10, 142, 20, "Make Sparse Data file "))->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
    (new Fl_Box(5, 30, 142, 30, "Enter number of random \nspot heights"))->labelsize(10);
    count = new Fl_Input(5, 70, 100, 20);
    (new Fl_Button(20, 100, 80, 20, "Make"))->callback(fileSparse);
    // A desktop user does not see standard output: the sample goes to a
    // file, offered next to the DEM.
    output = new Fl_Input(160, 70, 230, 20, "Save as:");
    output->align(FL_ALIGN_TOP_LEFT);
    output->value(sparseOutputPath(port.files().dem).c_str());
    (new Fl_Button(315, 100, 75, 20, "Search..."))->callback(searchSparse);
    result = new Fl_Box(5, 130, 390, 20);
    result->labelsize(10);
    result->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);
    end();
    callback(closeDialog);
}

SparseDialog::~SparseDialog()
{
    if (sparseIn == count)
        sparseIn = nullptr;
}

void showSparseDialog(SessionPort& port)
{
    auto* d = new SparseDialog(port);
    d->show();
    sparseIn = d->count;
}

void fileSparse(Fl_Widget* w, void*)
{
    SparseDialog* d = dialogOf(w);
    if (!d)
        return;
    const std::optional<int> n = parseSparseCount(d->count->value());
    if (!n)
        return problem(d, "That number of spot heights is too large.");
    const std::string path = d->output->value();
    if (path.empty())
        return problem(d, "Name the grid file to save the sample in.");

    d->port.messages().line("Creating sparse data file");
    std::string why;
    const std::vector<float> raster = sample(d->port, *n, d->random, why);
    if (raster.empty())
        return problem(d, why);
    const DataSet& data = d->port.dataSet();
    const std::string heightLines = formatRaster(raster, data.rows(), data.cols());
    const std::string text = data.header().text + heightLines;
    const std::size_t heights = spotHeightCount(raster);
    // The sample's heights on standard output too, for a terminal's pipe.
    std::cout << heightLines;
    std::cout.flush();

    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    if (!out)
        return problem(d, "Cannot write the sample to \"" + path + "\".");
    d->result->copy_label(("Saved a sample of " + std::to_string(heights) + " spot heights in " + path).c_str());
}

void searchSparse(Fl_Widget* w, void*)
{
    if (SparseDialog* d = dialogOf(w)) {
        const std::string proposed = d->output->value();
        chooseFile(d->output, "Save Sparse File", chooserDirectory(proposed, d->port.files().dem),
                   d->port.readsRasters(), proposed);
    }
}

} // namespace orolith::ui
