#include "dialogs/openchecks.h"

#include "dialogs/names.h"
#include <fstream>

namespace orolith::ui {

std::string dialogErrorText(int code)
{
    switch (code) {
    case DEM_ERR: return "Invalid DEM file.";
    case MATCH_ERR: return "Grid sizes do not match";
    case CHECK_ERR: return "You must select a comparison filetype.";
    case FILES_ERR: return "Invalid DEM and comparison files.";
    case COMP_ERR: return "Invalid comparison file.";
    case MISS_ERR: return "Missing filename/s.";
    }
    return "";
}

int kindFromBoxes(bool demTicked, bool sparseTicked, bool contourTicked)
{
    if (sparseTicked)
        return SPARSEF;
    if (demTicked)
        return DEM;
    if (contourTicked)
        return CONTF;
    return 0;
}

int openError(const OpenRequest& r)
{
    const bool two = r.numFiles == 2;
    if (!r.demNamed || (two && !r.compNamed))
        return MISS_ERR;
    if (!two)
        return r.demReadable ? 0 : DEM_ERR;
    if (r.demReadable && r.compReadable)
        return r.kind != 0 ? 0 : CHECK_ERR;
    if (r.demReadable)
        return COMP_ERR;
    return r.compReadable ? DEM_ERR : FILES_ERR;
}

int changeError(bool named, bool readable) { return named && readable ? 0 : COMP_ERR; }

std::string loadFailureText(const LoadStatus& status)
{
    if (status.result == LoadResult::mismatch)
        return status.error.detail.empty() ? dialogErrorText(MATCH_ERR) : status.error.text();
    std::string text = status.error.text();
    // A failure without words of its own still must not look like success.
    return text.empty() ? "The files could not be loaded." : text;
}

bool canRead(const std::string& path) { return !path.empty() && std::ifstream(path).is_open(); }

} // namespace orolith::ui
