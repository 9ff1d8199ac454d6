#include "model/errors.h"

namespace orolith::model {

std::string errorText(int code)
{
    switch (code) {
    case NOARGS: return "Usage: oroscan <DEM> <contour file>";
    case ARGS: return "Too many arguments on command line";
    case ARRAY1: return "Problem allocating first dimension of array";
    case ARRAY2: return "Problem allocating second dimension of array";
    case NO_TRI: return "Out of memory while allocating array for triangles";
    case DIV0: return "Divide by zero while computing RMSE!";
    case NROWS: return "'nrows' not found in input file";
    case NCOLS: return "'ncols' not found in input file";
    case SPARSE: return "Number of heights must be >= 100-\ntry again";
    default: return "Some kinda error!";
    }
}

std::string ModelError::text() const
{
    if (code == GRIDFILE || code == PLACEMENT)
        return detail;
    return detail.empty() ? errorText(code) : errorText(code) + "\n" + detail;
}

} // namespace orolith::model
