// "Co-register..." while it runs and when it ends: what the status row's
// bar says, which input reaches the program meanwhile (the Cancel button
// alone), and what the window offers for a shift that did or did not
// improve the fit.
#include <gtest/gtest.h>

#include <string>

#include "app/busyinput.h"
#include "dialogs/coregprogress.h"
#include "dialogs/names.h"
#include "dialogs/shiftedoffer.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

namespace {

TEST(CoregProgress, TheBarNamesTheFitAndFillsWithTheFitsDone)
{
    struct Row {
        int iteration;
        const char* label;
        double fraction;
    };
    const Row rows[] = {
        {1, "Co-registering: iteration 1 of at most 10", 0.0},
        {2, "Co-registering: iteration 2 of at most 10", 0.1},
        {10, "Co-registering: iteration 10 of at most 10", 0.9},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(coregProgressLabel(r.iteration), r.label) << "before fit " << r.iteration;
        EXPECT_DOUBLE_EQ(coregProgressFraction(r.iteration), r.fraction) << "bar before fit " << r.iteration;
    }
    EXPECT_EQ(coregProgressFraction(0), 0.0) << "a bar filled below empty";
    EXPECT_EQ(coregProgressFraction(12), 1.0) << "a bar filled beyond full";
    EXPECT_EQ(coregStartLabel().rfind("Co-registering", 0), 0u) << coregStartLabel();
    EXPECT_EQ(coregTablesLabel().rfind("Co-registering", 0), 0u) << coregTablesLabel();
}

TEST(BusyInput, OnlyThePressOnCancelAndItsReleaseGetThrough)
{
    struct Row {
        const char* what;
        int event;
        bool overCancel, cancelHeld;
        bool reaches;
    };
    const Row rows[] = {
        {"press on Cancel", FL_PUSH, true, false, true},
        {"press elsewhere", FL_PUSH, false, false, false},
        {"press elsewhere while Cancel is held", FL_PUSH, false, true, false},
        {"release of the press Cancel took", FL_RELEASE, false, true, true},
        {"release of another press", FL_RELEASE, true, false, false},
        {"drag of the press Cancel took", FL_DRAG, false, true, true},
        {"drag of another press", FL_DRAG, true, false, false},
        {"wheel over Cancel", FL_MOUSEWHEEL, true, true, false},
        {"key", FL_KEYDOWN, true, true, false},
        {"key up", FL_KEYUP, true, true, false},
        {"shortcut (Escape, a menu key)", FL_SHORTCUT, true, true, false},
        {"close box", FL_CLOSE, true, true, false},
        {"paste", FL_PASTE, true, true, false},
        {"drop", FL_DND_RELEASE, true, true, false},
        {"pointer passing by", FL_MOVE, false, false, true},
        {"pointer entering Cancel", FL_ENTER, true, false, true},
        {"window shown", FL_SHOW, false, false, true},
    };
    for (const Row& r : rows)
        EXPECT_EQ(reachesWhileBusy(r.event, r.overCancel, r.cancelHeld), r.reaches)
            << r.what << (r.reaches ? ": swallowed while busy" : ": reached the program while busy");
}

TEST(ShiftedOffer, OnlyAShiftThatImprovedTheFitIsOffered)
{
    Coregistration improved;
    improved.ok = improved.improved = true;
    Coregistration kept;
    kept.ok = true;
    kept.improved = false;
    Coregistration failed;
    struct Row {
        const char* what;
        const Coregistration& c;
        bool usable;
    };
    const Row rows[] = {
        {"the shift lowered the NMAD", improved, true},
        {"the shift did not lower the NMAD", kept, false},
        {"no co-registration", failed, false},
    };
    for (const Row& r : rows) {
        const ShiftedGridOffer o = shiftedGridOffer(r.c);
        EXPECT_EQ(o.usable, r.usable) << r.what;
        EXPECT_EQ(std::string(o.label) == "Analyse the shifted grid", r.usable)
            << r.what << ": the button reads \"" << o.label << "\"";
    }
}

} // namespace
