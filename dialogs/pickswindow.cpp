#include "dialogs/pickswindow.h"

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Hold_Browser.H>

#include <algorithm>
#include <cctype>

#include "dialogs/errorwindow.h"
#include "dialogs/filechooser.h"
#include "dialogs/saveoutputs.h"

namespace orolith::ui {

namespace {

constexpr const char* TITLE = "Picks";
constexpr int WIN_W = 900, WIN_H = 240, MARGIN = 10, BUTTON_H = 25;

// One width a column, pixels, in the order of pickColumns(); 0 ends.
constexpr int COLUMN_WIDTHS[] = {55, 95, 105, 95, 85, 45, 45, 70, 80, 75, 50, 55, 75, 100, 105, 150, 0};

PicksWindow* windowOf(Fl_Widget* w) { return dynamic_cast<PicksWindow*>(w->window()); }

Fl_Button* button(int x, int w, const char* label, Fl_Callback* cb, const char* tip)
{
    auto* b = new Fl_Button(x, WIN_H - MARGIN - BUTTON_H, w, BUTTON_H, label);
    b->box(FL_PLASTIC_UP_BOX);
    b->callback(cb);
    b->tooltip(tip);
    return b;
}

void deletePressed(Fl_Widget* w, void*)
{
    PicksWindow* win = windowOf(w);
    if (!win || win->selected() < 0)
        return;
    const int at = win->selected();
    win->port.removePick(static_cast<std::size_t>(at));
    win->showPicks(false);
    // The next pick takes the deleted one's place in the selection.
    const int left = static_cast<int>(win->port.picks().size());
    win->select(left == 0 ? -1 : std::min(at, left - 1));
}

void clearPressed(Fl_Widget* w, void*)
{
    if (PicksWindow* win = windowOf(w)) {
        win->port.clearPicks();
        win->showPicks(false);
    }
}

void savePressed(Fl_Widget* w, void*)
{
    PicksWindow* win = windowOf(w);
    if (!win || win->port.picks().empty())
        return;
    Fl_Widget_Tracker alive(win);
    const std::string path =
        chooseSavePath("Save Picks", "CSV files (*.csv)\tGeoJSON files (*.geojson)", win->port.proposedPicksPath());
    if (!path.empty() && alive.exists())
        win->savePicks(path);
}

void profilePressed(Fl_Widget* w, void* alongRow)
{
    PicksWindow* win = windowOf(w);
    if (win && win->selected() >= 0)
        win->port.profileThroughPick(static_cast<std::size_t>(win->selected()), alongRow != nullptr);
}

void closePressed(Fl_Widget* w, void*)
{
    if (PicksWindow* win = windowOf(w))
        win->hide();
}

void closeByFrame(Fl_Widget* w, void*) { static_cast<PicksWindow*>(w)->hide(); }

void tableChanged(Fl_Widget* w, void*)
{
    if (PicksWindow* win = windowOf(w))
        win->showPicks(false);
}

} // namespace

std::vector<std::string> pickTableLines(const std::vector<Pick>& picks, bool geographic)
{
    std::vector<std::string> lines;
    std::string header;
    for (const std::string& name : pickColumns())
        header += (header.empty() ? "@b" : "\t@b") + name;
    lines.push_back(header);
    for (const Pick& p : picks) {
        std::string row;
        bool first = true;
        for (const std::string& cell : pickCells(p, geographic)) {
            row += (first ? "" : "\t") + (cell.empty() ? std::string("n/a") : cell);
            first = false;
        }
        lines.push_back(row);
    }
    return lines;
}

bool isGeoJsonName(const std::string& path)
{
    auto endsWith = [&](const std::string& tail) {
        if (path.size() < tail.size())
            return false;
        for (std::size_t i = 0; i < tail.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(path[path.size() - tail.size() + i])) != tail[i])
                return false;
        return true;
    };
    return endsWith(".geojson") || endsWith(".json");
}

Rect picksWindowPlace(const Rect& main, int w, int h, const Rect& screen)
{
    // Room for the window's frame, which the window manager adds.
    constexpr int FRAME = 30;
    const int x = std::clamp(main.x, screen.x, std::max(screen.x, screen.x + screen.w - w));
    if (main.y + main.h + FRAME + h <= screen.y + screen.h)
        return {x, main.y + main.h + FRAME, w, h};
    if (main.x + main.w + FRAME + w <= screen.x + screen.w)
        return {main.x + main.w + FRAME, main.y, w, h};
    return {x, std::max(screen.y, screen.y + screen.h - h), w, h};
}

PicksWindow::PicksWindow(PicksPort& p) : Fl_Double_Window(WIN_W, WIN_H, TITLE), port(p)
{
    table = new Fl_Hold_Browser(MARGIN, MARGIN, WIN_W - 2 * MARGIN, WIN_H - 3 * MARGIN - BUTTON_H);
    table->column_widths(COLUMN_WIDTHS);
    table->column_char('\t');
    table->textsize(12);
    table->callback(tableChanged);
    int x = MARGIN;
    auto next = [&](int w) {
        const int at = x;
        x += w + MARGIN;
        return at;
    };
    deleteButton = button(next(70), 70, "Delete", deletePressed, "Remove the selected pick (Delete key)");
    clearButton = button(next(70), 70, "Clear", clearPressed, "Remove every pick");
    saveButton = button(next(80), 80, "Save...", savePressed, "Write the picks as CSV or GeoJSON");
    rowButton = button(next(130), 130, "Profile along row", nullptr, "Show the profile along the pick's row");
    rowButton->callback(profilePressed, reinterpret_cast<void*>(1));
    columnButton = button(next(150), 150, "Profile along column", nullptr, "Show the profile along the pick's column");
    columnButton->callback(profilePressed, nullptr);
    closeButton = button(WIN_W - MARGIN - 70, 70, "Close", closePressed, nullptr);
    end();
    callback(closeByFrame);
    resizable(table);
    size_range(500, 150);
    showUsable();
}

int PicksWindow::selected() const
{
    const int line = table->value(); // 1 the header
    return line >= 2 ? line - 2 : -1;
}

void PicksWindow::select(int index)
{
    table->value(index >= 0 ? index + 2 : 0);
    showUsable();
}

void PicksWindow::showPicks(bool raise)
{
    const int keep = selected();
    const int keepNumber = keep >= 0 && keep < static_cast<int>(port.picks().size()) ? table->value() : 0;
    table->clear();
    for (const std::string& line : pickTableLines(port.picks(), port.picksGeographic()))
        table->add(line.c_str());
    if (keepNumber >= 2 && keepNumber <= table->size())
        table->value(keepNumber);
    else if (raise && !port.picks().empty())
        table->value(table->size()); // the newest pick
    if (raise) {
        table->bottomline(table->size());
        if (!shown())
            port.picksWindowShown(true);
        show();
    }
    showUsable();
}

void PicksWindow::showUsable()
{
    const bool any = !port.picks().empty(), one = selected() >= 0;
    auto usable = [](Fl_Widget* w, bool on) { on ? w->activate() : w->deactivate(); };
    usable(deleteButton, one);
    usable(rowButton, one);
    usable(columnButton, one);
    usable(clearButton, any);
    usable(saveButton, any);
}

int PicksWindow::handle(int event)
{
    if (event == FL_KEYBOARD && (Fl::event_key() == FL_Delete || Fl::event_key() == FL_BackSpace) && selected() >= 0) {
        deletePressed(deleteButton, nullptr);
        return 1;
    }
    return Fl_Double_Window::handle(event);
}

void PicksWindow::hide()
{
    const bool was = shown();
    Fl_Double_Window::hide();
    if (was)
        port.picksWindowShown(false);
}

bool PicksWindow::savePicks(const std::string& path)
{
    const bool geographic = port.picksGeographic();
    const std::string text =
        isGeoJsonName(path) ? picksGeoJson(port.picks(), geographic) : picksCsv(port.picks(), geographic);
    if (writeTextFile(path, text))
        return true;
    errorMessage("Cannot write the picks to \"" + path + "\".", this);
    return false;
}

} // namespace orolith::ui
