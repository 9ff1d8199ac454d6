#include "dialogs/sparsefile.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Input.H>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include "app/glviewerGUI.h"
#include "dialogs/errorwindow.h"
#include "dialogs/filechooser.h"
#include "dialogs/openfile.h"
#include "dialogs/paths.h"
#include "dialogs/sparsecount.h"
#include "model/errors.h"
#include "model/mountain.h"
#include "render/glviewer.h"

Fl_Input* sparseIn = nullptr;

namespace {

SparseDialog* dialogOf(Fl_Widget* w) { return dynamic_cast<SparseDialog*>(w->window()); }

void closeDialog(Fl_Widget* w, void*)
{
    w->hide();
    Fl::delete_widget(w);
}

void problem(SparseDialog* d, const std::string& text) { messageWindow("Sparse File", text, d); }

// The sample as a grid file with the number of spot heights it holds, or
// why there is none.
std::string sampleText(int n, std::size_t& heights, std::string& why)
{
    clearNotice();
    std::string text = mt.sparseFileText(n, &heights);
    if (text.empty())
        why = !lastNotice().empty() ? lastNotice() : errorText(SPARSE);
    return text;
}

} // namespace

SparseDialog::SparseDialog() : Fl_Window(400, 160, "Sparse File")
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
    output->value(sparseOutputPath(demInUse()).c_str());
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

void sparse(Fl_Widget*, void*)
{
    auto* d = new SparseDialog;
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

    // The file and standard output get the same sample: both draws start
    // from one seed, itself the next number of the unseeded sequence.
    const unsigned seed = static_cast<unsigned>(std::rand());
    std::srand(seed);
    std::string why;
    std::size_t heights = 0;
    const std::string text = sampleText(*n, heights, why);
    if (text.empty())
        return problem(d, why);
    std::srand(seed);
    gl->Sparse(*n);

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
        chooseFile(d->output, "Save Sparse File", chooserDirectory(proposed, demInUse()), proposed);
    }
}
