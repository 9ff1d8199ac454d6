#include "app/mainwindow.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Counter.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Menu_Item.H>
#include <FL/Fl_Multiline_Output.H>
#include <FL/Fl_Output.H>
#include <FL/Fl_Progress.H>
#include <FL/Fl_Round_Button.H>
#include <FL/Fl_Value_Output.H>

#include <cstdint>

#include "app/session.h"
#include "dialogs/loadnotetext.h"
#include "dialogs/names.h"
#include "dialogs/statusrow.h"
#include "dialogs/version.h"
#include "render/viewer.h"

namespace orolith::ui {

namespace {

const Fl_Color PANEL_FRAME = 46; // grey between FL_DARK2 and FL_DARK1

// Width of the status row's Cancel button.
constexpr int CANCEL_W = 65;

// --- from a widget to the session --------------------------------------------

Session& sessionOf(Fl_Widget* w)
{
    Fl_Window* top = w->top_window();
    return static_cast<MainWindow*>(top)->session();
}

// The toolkit's own way of giving a callback a number: the callbacks
// below take a long, which says which switch, command, graph or section.
template <class E>
long argumentOf(E value)
{
    return static_cast<long>(value);
}

// A box click has flipped the box: the session decides, and the box then
// shows what it decided.
void switchBoxClicked(Fl_Widget* w, long data)
{
    const auto id = static_cast<ViewSwitch>(data);
    sessionOf(w).requestSwitch(id, static_cast<Fl_Button*>(w)->value() != 0, switchRow(id).needs);
}

// A menu toggle chosen: the toolkit has flipped its mark already.
void switchEntryChosen(Fl_Widget* w, long data)
{
    const auto id = static_cast<ViewSwitch>(data);
    const Fl_Menu_Item* item = static_cast<Fl_Menu_Bar*>(w)->mvalue();
    sessionOf(w).requestSwitch(id, item && item->value(), switchRow(id).menuNeeds);
}

void commandChosen(Fl_Widget* w, long data) { sessionOf(w).run(static_cast<Command>(data)); }

void sunEast(Fl_Widget* w, void*) { sessionOf(w).moveSun(+1); }
void sunWest(Fl_Widget* w, void*) { sessionOf(w).moveSun(-1); }

int counterValue(Fl_Widget* w) { return static_cast<int>(static_cast<Fl_Counter*>(w)->value()); }

void exaggerationChanged(Fl_Widget* w, void*) { sessionOf(w).setExaggeration(counterValue(w)); }
void curvatureUnitChanged(Fl_Widget* w, void*) { sessionOf(w).setCurvatureUnit(static_cast<Fl_Counter*>(w)->value()); }
void differenceUnitChanged(Fl_Widget* w, void*)
{
    sessionOf(w).setDifferenceUnit(static_cast<Fl_Counter*>(w)->value());
}
// Truncated toward zero, as the counter's number always was.
void profileCounterChanged(Fl_Widget* w, void*) { sessionOf(w).moveProfile(counterValue(w)); }
// The two direction buttons are plain on/off buttons: each switches the
// other off and stays on itself, also when clicked while on.
void alongRowChosen(Fl_Widget* w, void*) { sessionOf(w).setProfileDirection(VERTP); }
void alongColumnChosen(Fl_Widget* w, void*) { sessionOf(w).setProfileDirection(HORIZ); }

void graphChosen(Fl_Widget* w, long data) { sessionOf(w).showGraphOf(static_cast<GraphKind>(data)); }
void sectionHelpChosen(Fl_Widget* w, long data) { sessionOf(w).showSectionHelpOf(static_cast<PanelSection>(data)); }
void cancelChosen(Fl_Widget* w, void*) { sessionOf(w).cancelBusyWork(); }

// --- widget makers for the repeated kinds of the layout -------------------

Fl_Button* pushButton(int x, int y, int w, int h, const char* label, Fl_Callback* cb)
{
    auto* b = new Fl_Button(x, y, w, h, label);
    b->box(FL_PLASTIC_UP_BOX);
    b->labelsize(11);
    b->callback(cb);
    return b;
}

Fl_Button* pushButton(int x, int y, int w, int h, const char* label, Fl_Callback1* cb, long data)
{
    Fl_Button* b = pushButton(x, y, w, h, label, nullptr);
    b->callback(cb, data);
    return b;
}

Fl_Button* commandButton(int x, int y, int w, int h, const char* label, Command c)
{
    return pushButton(x, y, w, h, label, commandChosen, argumentOf(c));
}

// A section's "?": its window explains that section.
Fl_Button* helpButton(int x, int y, PanelSection section)
{
    return pushButton(x, y, 15, 20, "?", sectionHelpChosen, argumentOf(section));
}

// Check and round buttons of 13 x 13 with their label to the right.
template <class Box>
Box* checkBox(int x, int y, const char* label, Fl_Callback* cb)
{
    auto* b = new Box(x, y, 13, 13, label);
    b->labelsize(11);
    b->align(FL_ALIGN_RIGHT);
    if (cb)
        b->callback(cb);
    return b;
}

Fl_Counter* counter(int x, int y, int w, int h, const char* label, Fl_Callback* cb, double value, double step,
                    double lstep, double min, double max)
{
    auto* c = new Fl_Counter(x, y, w, h, label);
    c->box(FL_PLASTIC_UP_BOX);
    c->labelsize(11);
    c->align(FL_ALIGN_TOP);
    c->callback(cb);
    c->range(min, max);
    c->step(step);
    c->lstep(lstep);
    c->value(value);
    return c;
}

template <class Field>
Field* outputField(int x, int y, int w, int h, const char* label = nullptr)
{
    auto* f = new Field(x, y, w, h, label);
    f->box(FL_FLAT_BOX);
    f->color(FL_BACKGROUND_COLOR);
    f->labelsize(11);
    f->textsize(11);
    return f;
}

Fl_Value_Output* legendValue(int x, int y, int w, int h, double value)
{
    auto* v = outputField<Fl_Value_Output>(x, y, w, h);
    v->value(value);
    return v;
}

// A colour swatch of a legend, its ">" pointing at the value on its left.
Fl_Button* swatch(int x, int y, uchar r, uchar g, uchar b)
{
    auto* s = new Fl_Button(x, y, 10, 10, ">       ");
    s->box(FL_FLAT_BOX);
    s->labelsize(11);
    s->align(FL_ALIGN_LEFT);
    s->color(fl_rgb_color(r, g, b));
    return s;
}

void sectionFrame(int x, int y, int w, int h)
{
    auto* f = new Fl_Box(x, y, w, h);
    f->box(FL_ROUNDED_FRAME);
    f->color(PANEL_FRAME);
}

// A section title: a read-only field across the top edge of its frame,
// created after the frame so that it hides the line behind the text.
Fl_Output* textField(int x, int y, int w, int h, const char* text, int textSize = 11)
{
    auto* t = outputField<Fl_Output>(x, y, w, h);
    t->textsize(textSize);
    t->insert(text);
    // Insertion leaves the cursor at the end, which scrolls a text wider
    // than its field (wide fonts) to hide its first letters; show the start.
    t->position(0);
    return t;
}

void plainLabel(int x, int y, int w, int h, const char* label)
{
    auto* b = new Fl_Box(x, y, w, h, label);
    b->labelsize(11);
}

// A status row field with its label to the left; placeStatusRow gives it
// its place. Text fields: a long text is cut at the field's edge rather
// than drawn over its neighbour.
Fl_Output* statusField(const char* label)
{
    auto* f = outputField<Fl_Output>(0, 0, 10, 10, label);
    f->labelsize(STATUS_TEXT_SIZE);
    f->textsize(STATUS_TEXT_SIZE);
    f->align(FL_ALIGN_LEFT);
    return f;
}

// A text longer than its field is cut at the field's edge; the whole of it
// stays in the field's tooltip.
void showText(Fl_Output* field, const std::string& text)
{
    field->value(text.c_str());
    field->copy_tooltip(text.c_str());
    field->position(0);
}

void showName(Fl_Output* field, const std::string& name)
{
    field->value(name.c_str());
    // The end of a long path is the file's name: keep it in sight.
    field->position(field->size());
}

void setMark(Fl_Menu_Item* item, bool on)
{
    if (!item)
        return;
    if (on)
        item->set();
    else
        item->clear();
}

void setUsable(Fl_Widget* w, bool usable)
{
    if (usable)
        w->activate();
    else
        w->deactivate();
}

void setUsable(Fl_Menu_Item* item, bool usable)
{
    if (!item)
        return;
    if (usable)
        item->activate();
    else
        item->deactivate();
}

} // namespace

MainLayout mainLayout(int windowW, int windowH, bool panelShown)
{
    const int besideViewer = panelShown ? TOOL_PANEL_W : 0;
    const int viewerW = windowW - besideViewer;
    MainLayout l;
    l.menuBar = {0, 0, windowW, MENU_BAR_H};
    l.viewer = {0, MENU_BAR_H, viewerW, windowH - MENU_BAR_H - STATUS_ROW_H};
    l.statusRow = {0, windowH - STATUS_ROW_H, viewerW, STATUS_ROW_H};
    l.panel = {windowW - TOOL_PANEL_W, MENU_BAR_H, TOOL_PANEL_W, TOOL_PANEL_H};
    return l;
}

WindowSize minimumWindowSize() { return {TOOL_PANEL_W + STATUS_ROW_MIN_W, MENU_BAR_H + TOOL_PANEL_H}; }

MainWindow::MainWindow(Session& session) : Fl_Window(0, 0, START_W, START_H, ""), session_(session)
{
    copy_label(mainWindowTitle().c_str());
    menuBar_ = new Fl_Menu_Bar(0, 0, START_W, MENU_BAR_H);
    menuBar_->box(FL_PLASTIC_UP_BOX);

    // The GL window ends its own child list, so this window stays the
    // current group.
    viewer_ = new Viewer(0, MENU_BAR_H, START_W - TOOL_PANEL_W, START_H - MENU_BAR_H - STATUS_ROW_H);

    buildStatusRow();
    // The sections below are drawn for a panel at x 650 of an 850 pixel
    // wide window; the group keeps them together wherever layOut moves it.
    toolPanel_ = new Fl_Group(START_W - TOOL_PANEL_W, MENU_BAR_H, TOOL_PANEL_W, TOOL_PANEL_H);
    toolPanel_->resizable(nullptr);
    buildCurvatureSection();
    buildDifferenceSection();
    buildDisplaySection();
    buildProfileSection();
    buildHeightClassSection();
    toolPanel_->end();
    // Every window built later (dialogs, help windows) must be top-level.
    end();
    buildMenu();

    // No resizable child: layOut places every part for each new size.
    resizable(nullptr);
    const WindowSize least = minimumWindowSize();
    size_range(least.w, least.h);
    layOut();
}

void MainWindow::buildMenu()
{
    for (const MenuRow& row : mainMenu()) {
        const std::string path = menuPathOf(row);
        if (row.kind == MenuRow::Kind::submenu) {
            menuBar_->add(path.c_str(), 0, nullptr, nullptr, FL_SUBMENU);
            continue;
        }
        const bool toggle = row.kind != MenuRow::Kind::command;
        const int at = menuBar_->add(path.c_str(), 0, nullptr, nullptr, row.flags | (toggle ? FL_MENU_TOGGLE : 0));
        auto& entry = const_cast<Fl_Menu_Item&>(menuBar_->menu()[at]);
        if (row.kind == MenuRow::Kind::viewSwitch)
            entry.callback(switchEntryChosen, argumentOf(row.viewSwitch));
        else
            entry.callback(commandChosen, argumentOf(row.command));
    }
}

Fl_Menu_Item* MainWindow::menuEntry(const std::string& path) const
{
    return const_cast<Fl_Menu_Item*>(menuBar_->find_item(plainMenuPath(path).c_str()));
}

Fl_Menu_Item* MainWindow::switchEntry(ViewSwitch id) const
{
    const char* path = switchRow(id).menuPath;
    return path ? menuEntry(path) : nullptr;
}

Fl_Check_Button* MainWindow::switchBox(ViewSwitch id) const
{
    auto it = boxes_.find(id);
    return it == boxes_.end() ? nullptr : it->second;
}

Fl_Check_Button* MainWindow::makeSwitchBox(int x, int y, ViewSwitch id)
{
    auto* box = checkBox<Fl_Check_Button>(x, y, switchRow(id).panelLabel, nullptr);
    box->callback(switchBoxClicked, argumentOf(id));
    box->deactivate();
    boxes_[id] = box;
    return box;
}

// --- the parts of the window, in creation (and drawing) order -------------

void MainWindow::buildStatusRow()
{
    demField = statusField("DEM file:");
    demField->labelcolor(FL_BLACK);
    demField->deactivate();
    comparisonField = statusField("Comparison file:");
    comparisonField->deactivate();

    xCornerField = statusField("X-corner:");
    yCornerField = statusField("Y-corner:");
    cellSizeField = statusField("Cellsize:");

    exaggerationCounter = counter(0, 0, 70, 15, "Vertical Exageration:", exaggerationChanged, 1, 1, 2, 0, 10);
    exaggerationCounter->labelsize(STATUS_TEXT_SIZE);
    exaggerationCounter->align(FL_ALIGN_LEFT);
    statisticsButton = commandButton(0, 0, 60, 20, "Statistics", Command::statistics);
    readoutField = outputField<Fl_Multiline_Output>(0, 0, 10, 10, nullptr);
    readoutField->textsize(STATUS_TEXT_SIZE);
    readoutField->tooltip("The terrain under the mouse: a click (or Space at the cross-hair) keeps it in the Picks "
                          "window");
    // Read only, and never in the way of the viewer's keys.
    readoutField->clear_visible_focus();

    // Made after the file names, so that it is drawn over them.
    loadBar_ = new Fl_Progress(0, 0, 10, 10);
    loadBar_->minimum(0);
    loadBar_->maximum(1);
    loadBar_->labelsize(11);
    loadBar_->selection_color(fl_rgb_color(120, 160, 215));
    loadBar_->hide();
    // Offered at the bar's right end while an analysis can be cancelled;
    // placed with the status row.
    cancelButton_ = new Fl_Button(0, 0, CANCEL_W, 20, "Cancel");
    cancelButton_->labelsize(11);
    cancelButton_->callback(cancelChosen);
    // A press must not take the keys from the viewer, which has them back
    // when the analysis ends.
    cancelButton_->clear_visible_focus();
    cancelButton_->hide();
}

void MainWindow::buildCurvatureSection()
{
    helpButton(834, 340, PanelSection::curvatureError);
    curvatureUnitCounter =
        counter(700, 410, 100, 15, "Curvature Error Units", curvatureUnitChanged, 1, 0.1, 0.5, 0.5, 5);
    sectionFrame(670, 330, 160, 100);
    textField(705, 321, 90, 20, "Curvature Error");
    makeSwitchBox(680, 337, ViewSwitch::curvatureError);

    // The legend reads upwards: 1, 2 and 3 units.
    const double unit = curvatureUnitCounter->value();
    curvatureLegend[0] = legendValue(700, 380, 20, 20, unit);
    curvatureLegend[0]->range(0.5, 5);
    curvatureSwatches[0] = swatch(730, 385, 255, 255, 178);
    curvatureLegend[1] = legendValue(700, 365, 20, 20, 2 * unit);
    curvatureSwatches[1] = swatch(730, 370, 254, 204, 92);
    curvatureLegend[2] = legendValue(700, 350, 20, 20, 3 * unit);
    curvatureSwatches[2] = swatch(730, 355, 253, 141, 60);

    curvatureGraphButton = pushButton(765, 365, 40, 15, "Graph", graphChosen, argumentOf(GraphKind::curvature));
    curvatureGraphButton->deactivate();
}

void MainWindow::buildDifferenceSection()
{
    helpButton(834, 449, PanelSection::localDifferenceError);
    sectionFrame(670, 440, 160, 120);
    textField(690, 430, 125, 20, "Local Difference Error");
    swatch(730, 469, 227, 26, 28);
    swatch(730, 483, 253, 141, 60);
    swatch(730, 496, 254, 204, 92);
    swatch(730, 510, 255, 255, 178);
    differenceGraphButton = pushButton(765, 490, 40, 15, "Graph", graphChosen, argumentOf(GraphKind::difference));
    differenceGraphButton->deactivate();
    differenceUnitCounter =
        counter(700, 539, 100, 15, "Difference Error Units", differenceUnitChanged, 1, 0.1, 0.5, 0, 10);
    makeSwitchBox(680, 449, ViewSwitch::elevationError);
    makeSwitchBox(730, 449, ViewSwitch::curvatureDifference);
    // Slope differences are not analysed: the box is shown but never usable.
    slopeDifferenceBox = checkBox<Fl_Check_Button>(780, 449, "Slope", nullptr);
    slopeDifferenceBox->deactivate();

    // The legend reads upwards: 1, 2, 3 and 4 units.
    const double unit = differenceUnitCounter->value();
    differenceLegend[0] = legendValue(700, 510, 30, 10, unit);
    differenceLegend[0]->range(0, 10);
    differenceLegend[1] = legendValue(700, 496, 30, 10, 2 * unit);
    differenceLegend[2] = legendValue(700, 483, 30, 10, 3 * unit);
    differenceLegend[3] = legendValue(700, 469, 30, 10, 4 * unit);
}

void MainWindow::buildDisplaySection()
{
    helpButton(834, 45, PanelSection::display);
    sectionFrame(670, 35, 160, 290);
    textField(730, 26, 45, 20, "Display");

    plainLabel(700, 45, 40, 20, "Zoom");
    commandButton(750, 45, 20, 20, "In", Command::zoomIn);
    commandButton(780, 45, 20, 20, "Out", Command::zoomOut);
    makeSwitchBox(710, 70, ViewSwitch::axes);

    plainLabel(680, 85, 145, 20, "Rotate 90 Degrees about");
    plainLabel(710, 105, 30, 20, "Horizontal axis");
    commandButton(770, 105, 15, 20, "+", Command::rotateXPlus);
    commandButton(800, 105, 15, 20, "-", Command::rotateXMinus);
    plainLabel(710, 125, 45, 20, "Vertical axis");
    commandButton(770, 125, 15, 20, "+", Command::rotateZPlus);
    commandButton(800, 125, 15, 20, "-", Command::rotateZMinus);

    plainLabel(695, 150, 40, 20, "View");
    commandButton(730, 150, 30, 20, "Top", Command::topView);
    commandButton(775, 150, 30, 20, "Side", Command::sideView);
    commandButton(730, 170, 75, 20, "Reset View", Command::resetView);

    pushButton(755, 225, 25, 15, "East", sunEast)->labelsize(9);
    pushButton(725, 225, 25, 15, "West", sunWest)->labelsize(9);
    textField(690, 205, 130, 20, "Move sun through ellipse ", 10);
    makeSwitchBox(710, 195, ViewSwitch::sun);

    makeSwitchBox(685, 245, ViewSwitch::magnifier);
    makeSwitchBox(685, 260, ViewSwitch::contours);
    makeSwitchBox(685, 275, ViewSwitch::lighting);
    makeSwitchBox(685, 290, ViewSwitch::heightColors);
    makeSwitchBox(685, 305, ViewSwitch::aspectColors);
}

void MainWindow::buildProfileSection()
{
    helpButton(834, 575, PanelSection::profileView);
    sectionFrame(670, 570, 160, 60);
    textField(715, 560, 75, 20, "Profile View");
    makeSwitchBox(680, 575, ViewSwitch::profile);
    makeSwitchBox(760, 575, ViewSwitch::glyphs);
    // Plain on/off buttons, not a radio pair: each switches the other off.
    profileAlongRowButton = checkBox<Fl_Round_Button>(680, 595, "Y-Axis", alongRowChosen);
    profileAlongRowButton->value(1);
    profileAlongColumnButton = checkBox<Fl_Round_Button>(680, 610, "X-Axis", alongColumnChosen);
    profileCounter = counter(735, 605, 90, 15, "Row/Column:", profileCounterChanged, 1, 1, 10, 1, 20000);
}

void MainWindow::buildHeightClassSection()
{
    sectionFrame(670, 639, 160, 50);
    textField(710, 630, 90, 20, "Height Classes");
    helpButton(834, 650, PanelSection::heightClasses);
    heightClassGraphButton = pushButton(725, 670, 40, 15, "Graph", graphChosen, argumentOf(GraphKind::heightClasses));
    heightClassGraphButton->deactivate();
    makeSwitchBox(680, 650, ViewSwitch::heightClasses);
}

// --- showing the state ------------------------------------------------------

void MainWindow::showState(const ShownState& s)
{
    const ViewState& v = viewer_->view();
    for (const auto& [id, box] : boxes_) {
        box->value(switchOn(v, id));
        setUsable(box, s.panelShown && needsMet(switchRow(id).needs, s.loaded));
    }
    for (const MenuRow& row : mainMenu()) {
        Fl_Menu_Item* item = menuEntry(menuPathOf(row));
        if (row.kind == MenuRow::Kind::viewSwitch)
            setMark(item, switchOn(v, row.viewSwitch));
        else if (row.command == Command::toggleTools && row.kind == MenuRow::Kind::toggleCommand)
            setMark(item, s.panelShown);
        if (row.kind != MenuRow::Kind::submenu)
            setUsable(item, menuRowUsable(row, s.loaded, s.comparisonKind, s.panelShown));
    }
    profileAlongRowButton->value(v.profView != HORIZ);
    profileAlongColumnButton->value(v.profView == HORIZ);

    const bool dem = s.panelShown && needsMet(Needs::dem, s.loaded);
    const bool comparison = s.panelShown && needsMet(Needs::comparison, s.loaded);
    setUsable(curvatureUnitCounter, dem);
    setUsable(curvatureGraphButton, dem);
    setUsable(differenceUnitCounter, comparison);
    setUsable(differenceGraphButton, comparison);
    setUsable(heightClassGraphButton, comparison);
    redraw();
}

void MainWindow::showFiles(const std::string& dem, const std::string& comparison, const Alignment& alignment)
{
    showName(demField, dem);
    // Whether the comparison was resampled onto the DEM's grid (how, in the
    // tooltip).
    showName(comparisonField, alignment.aligned ? comparison + " (aligned)" : comparison);
    const std::string how = alignmentText(alignment);
    comparisonField->copy_tooltip(how.empty() ? comparison.c_str() : (comparison + ": " + how).c_str());
}

void MainWindow::showComparisonNote(const std::string& text) { showName(comparisonField, text); }

void MainWindow::showHeader(const GridHeader& header)
{
    const StatusTexts t = statusTexts(header);
    showText(xCornerField, t.xCorner);
    showText(yCornerField, t.yCorner);
    showText(cellSizeField, t.cellSize);
}

void MainWindow::showExaggeration(int exaggeration) { exaggerationCounter->value(exaggeration); }

void MainWindow::showUnits(double curvature, double difference)
{
    curvatureUnitCounter->value(curvature);
    for (int k = 0; k < 3; ++k)
        curvatureLegend[k]->value((k + 1) * curvature);
    differenceUnitCounter->value(difference);
    for (int k = 0; k < 4; ++k)
        differenceLegend[k]->value((k + 1) * difference);
}

void MainWindow::showProfilePosition(int position) { profileCounter->value(position); }

void MainWindow::showReadout(const std::string& text)
{
    // Only the field redraws: the mouse moving never asks for a frame.
    if (text != readoutField->value())
        readoutField->value(text.c_str());
}

// --- layout -------------------------------------------------------------------

void MainWindow::showToolPanel(bool shown)
{
    panelShown_ = shown;
    if (shown)
        toolPanel_->show();
    else
        toolPanel_->hide();
    layOut();
    redraw();
}

void MainWindow::layOut()
{
    const MainLayout l = mainLayout(w(), h(), panelShown_);
    auto place = [](Fl_Widget* widget, const Rect& r) { widget->resize(r.x, r.y, r.w, r.h); };
    place(menuBar_, l.menuBar);
    place(viewer_, l.viewer);
    // The panel's group has no resizable child: its widgets move with it
    // and keep their sizes.
    place(toolPanel_, l.panel);
    placeStatusRow(l.statusRow);
}

void MainWindow::placeStatusRow(const Rect& row)
{
    const StatusRowLayout l = statusRowLayout(row.w);
    auto place = [&](Fl_Widget* w, const Rect& r) { w->resize(row.x + r.x, row.y + r.y, r.w, r.h); };
    place(demField, l.demField);
    place(comparisonField, l.compField);
    place(exaggerationCounter, l.exaggeration);
    place(xCornerField, l.xField);
    place(yCornerField, l.yField);
    place(cellSizeField, l.cellField);
    place(statisticsButton, l.statistics);
    place(readoutField, l.readout);
    place(loadBar_, l.loadBar);
    // Cancel takes the bar's right end while it is offered.
    place(cancelButton_, {l.loadBar.x + l.loadBar.w - CANCEL_W, l.loadBar.y, CANCEL_W, l.loadBar.h});
    if (cancelButton_->visible())
        loadBar_->size(cancelButton_->x() - loadBar_->x(), loadBar_->h());
}

void MainWindow::resize(int x, int y, int w, int h)
{
    const bool resized = w != this->w() || h != this->h();
    // The window has no resizable child, so the toolkit leaves the
    // children where they are; the layout puts them in their places.
    Fl_Window::resize(x, y, w, h);
    if (resized && viewer_)
        layOut();
}

} // namespace orolith::ui
