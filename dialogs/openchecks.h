// What the open dialogs decide before anything is loaded: the kind of
// comparison file the user ticked, and which numbered message (if any) an
// Open press earns. Plain functions, so the rules can be tested without a
// window.
#ifndef OROLITH_DIALOGS_OPENCHECKS_H
#define OROLITH_DIALOGS_OPENCHECKS_H

#include <string>

#include "dialogs/names.h"
#include "model/gridview.h"
#include "model/load.h"

namespace orolith::ui {

// Comparison file kinds of the open dialogs' boxes (0 for "none chosen").
constexpr int DEM = 1;
constexpr int SPARSEF = 2;
constexpr int CONTF = 3;

// The comparison kind of a file kind of the open dialogs; DEM for 0.
inline ComparisonKind comparisonKindOfFile(int fileKind)
{
    return fileKind == SPARSEF ? ComparisonKind::sparse
           : fileKind == CONTF ? ComparisonKind::contour
                               : ComparisonKind::dem;
}

// Codes of the error window's messages.
constexpr int DEM_ERR = 1;   // "Invalid DEM file."
constexpr int MATCH_ERR = 2; // "Grid sizes do not match"
constexpr int CHECK_ERR = 3; // "You must select a comparison filetype."
constexpr int FILES_ERR = 4; // "Invalid DEM and comparison files."
constexpr int COMP_ERR = 5;  // "Invalid comparison file."
constexpr int MISS_ERR = 6;  // "Missing filename/s."

// The message of a code; empty for any other code.
std::string dialogErrorText(int code);

// The comparison kind of the ticked box (SPARSEF, DEM or CONTF), 0 when
// none is ticked. The boxes are exclusive; should two be ticked, Sparse File
// wins over DEM File over Contour File.
int kindFromBoxes(bool demTicked, bool sparseTicked, bool contourTicked);

// An Open press of the DEM dialog (numFiles 1) or the two-file dialog
// (numFiles 2): which names were given, which of them can be opened for
// reading, and the kind ticked (two-file dialog only).
struct OpenRequest {
    int numFiles = 1;
    bool demNamed = false, compNamed = false;
    bool demReadable = false, compReadable = false;
    int kind = 0;
};

// The code to show for the request, or 0 when the files may be loaded.
int openError(const OpenRequest& r);

// The same for the change dialog, which needs only a readable comparison
// file.
int changeError(bool named, bool readable);

// What to tell the user when the viewer could not load what the dialog
// handed it: the size mismatch message, or the reader's own message naming
// the file and the row and column at fault.
std::string loadFailureText(const LoadStatus& status);

// Whether a file can be opened for reading; the dialogs test this only,
// the viewer's loader parses the file.
bool canRead(const std::string& path);

} // namespace orolith::ui

#endif
