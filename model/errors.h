// The model's numbered errors. The model returns them; the command line
// prints them and ends the program (app/fatal.h), the viewer shows them.
#ifndef OROLITH_MODEL_ERRORS_H
#define OROLITH_MODEL_ERRORS_H

#include <string>

namespace orolith::model {

constexpr int NOARGS = 3;
constexpr int ARGS = 4;
constexpr int ARRAY1 = 5;
constexpr int ARRAY2 = 6;
constexpr int NO_TRI = 7;
constexpr int DIV0 = 8;
constexpr int NROWS = 9;
constexpr int NCOLS = 10;
constexpr int SPARSE = 11;
constexpr int CELLSIZE = 12;
constexpr int NOHEIGHT = 13;
// A grid file that cannot be read, in the reader's own words (the file,
// and the row and column or header value at fault).
constexpr int GRIDFILE = 14;
// Two grids that do not lie on the same grid, in the words of
// placementMessage (model/placement.h).
constexpr int PLACEMENT = 15;
// Any code not above prints the default text; the header keywords after
// nrows use this one.
constexpr int HEADER = 100;

// Exit status of every fatal model error.
constexpr int FATAL_STATUS = -1;

// The fixed text of a code (without "ERROR: " and the newline).
std::string errorText(int code);

// One error of the model: its code and, where the code's fixed text does
// not say which file or value is wrong, the detail that does.
struct ModelError {
    int code = 0;
    std::string detail;

    // The message after "ERROR: ": the code's text, then the detail on a
    // line of its own; GRIDFILE and PLACEMENT errors are the detail alone.
    std::string text() const;
};

} // namespace orolith::model

#endif
