// The "Note" window's text after an open, in the viewer's words: no
// command-line option the viewer does not have, no "Note:" the title
// already says, every note kept.
#include <gtest/gtest.h>

#include "dialogs/loadnotetext.h"
#include "dialogs/names.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

namespace {

TEST(LoadNotesMessage, NotesInTheViewersWordsOneAfterTheOther)
{
    const std::string geographic = "Note: \"/d/dem.asc\" looks like longitude and latitude in degrees (corner 6, 45; "
                                   "cells of 0.00833333); if it is, put its coordinate system in a .prj file beside "
                                   "it or give --geographic, so that distances and slopes are in metres";
    const std::string zeros = "Note: at least half of the cells of \"/d/spots.asc\" are 0; if it holds spot heights "
                              "or contours rather than a DEM, give --kind sparse (or contour) so that its zeros count "
                              "as no data";
    const struct {
        const char* what;
        std::vector<std::string> notes;
        std::string shown;
    } rows[] = {
        {"no notes: no window", {}, ""},
        {"an empty note", {""}, ""},
        {"a grid in degrees without its .prj",
         {geographic},
         "\"/d/dem.asc\" looks like longitude and latitude in degrees (corner 6, 45; cells of 0.00833333); if it is, "
         "put its coordinate system in a .prj file beside it, so that distances and slopes are in metres"},
        {"a comparison DEM of mostly zeros",
         {zeros},
         "at least half of the cells of \"/d/spots.asc\" are 0; if it holds spot heights or contours rather than a "
         "DEM, open it as a Sparse File (or Contour File) so that its zeros count as no data"},
        {"both", {geographic, zeros}, ""},
    };
    for (const auto& r : rows) {
        const std::string text = loadNotesMessage(r.notes);
        if (r.notes.size() == 2) {
            EXPECT_EQ(text, loadNotesMessage({geographic}) + "\n\n" + loadNotesMessage({zeros}))
                << r.what << ": notes lost or run together";
            continue;
        }
        EXPECT_EQ(text, r.shown) << r.what;
        EXPECT_EQ(text.find("--"), std::string::npos) << r.what << ": advice the viewer cannot follow";
    }
}

} // namespace
