// The "Picks" window: the places picked on the surface, one row each with
// the readout's columns. A row can be deleted, the list cleared and saved
// as CSV or GeoJSON, and the profile set through a pick's row or column.
// The window shows the session's list; every change goes through the port.
#ifndef OROLITH_DIALOGS_PICKSWINDOW_H
#define OROLITH_DIALOGS_PICKSWINDOW_H

#include <FL/Fl_Double_Window.H>

#include <string>
#include <vector>

#include "dialogs/messagelayout.h"
#include "dialogs/names.h"
#include "dialogs/picksport.h"

class Fl_Button;
class Fl_Hold_Browser;

namespace orolith::ui {

// The browser's lines: a bold header of the column names, then a row a
// pick, the cells separated by tabs.
std::vector<std::string> pickTableLines(const std::vector<Pick>& picks, bool geographic);

// A saved file's format by its name: GeoJSON for .geojson and .json, CSV
// otherwise.
bool isGeoJsonName(const std::string& path);

// Where the window first comes up: under the main window when the screen
// has room there, else beside it on the right, else at the screen's foot;
// never over the viewer the user is picking in when it can be helped.
Rect picksWindowPlace(const Rect& main, int w, int h, const Rect& screen);

class PicksWindow : public Fl_Double_Window {
public:
    explicit PicksWindow(PicksPort& port);

    // Rows again from the port's picks; the selection stays on the same
    // pick where it can. Shows the window when `raise`.
    void showPicks(bool raise);
    // The selected pick's index in the list; -1 with none.
    int selected() const;
    void select(int index);

    int handle(int event) override;
    void hide() override;

    // Writes the picks to `path` in the format its name says; false, with
    // the message shown, when it cannot.
    bool savePicks(const std::string& path);

    PicksPort& port;
    Fl_Hold_Browser* table = nullptr;
    Fl_Button *deleteButton = nullptr, *clearButton = nullptr, *saveButton = nullptr;
    Fl_Button *rowButton = nullptr, *columnButton = nullptr, *closeButton = nullptr;

private:
    void showUsable();
};

} // namespace orolith::ui

#endif
