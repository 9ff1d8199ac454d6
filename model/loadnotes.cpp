#include "model/loadnotes.h"

#include <cstdio>

namespace orolith::model {

std::string geographicNote(const GridHeader& h)
{
    if (!looksGeographic(h))
        return "";
    char where[160];
    std::snprintf(where, sizeof where, "corner %.6g, %.6g; cells of %.6g", h.xllcorner, h.yllcorner, h.cellsizeX);
    return "Note: \"" + h.path + "\" looks like longitude and latitude in degrees (" + where +
           "); if it is, put its coordinate system in a .prj file beside it or give --geographic, so that "
           "distances and slopes are in metres";
}

std::vector<std::string> comparisonNotes(const GridData& comparison, ComparisonKind kind)
{
    if (kind != ComparisonKind::dem || !mostlyZero(comparison))
        return {};
    return {"Note: at least half of the cells of \"" + comparison.header.path +
            "\" are 0; if it holds spot heights or contours rather than a DEM, give --kind sparse (or contour) so "
            "that its zeros count as no data"};
}

std::vector<std::string> loadNotes(const GridHeader& dem, const GridData* comparison, ComparisonKind kind)
{
    std::vector<std::string> notes;
    if (std::string note = geographicNote(dem); !note.empty())
        notes.push_back(note);
    if (comparison)
        for (std::string& note : comparisonNotes(*comparison, kind))
            notes.push_back(std::move(note));
    return notes;
}

} // namespace orolith::model
