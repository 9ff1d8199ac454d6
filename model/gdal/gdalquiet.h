// What the GDAL module's readers and writers share in reporting: GDAL's own
// messages held back while they work (they reach the user through ours),
// and the prefix that names the file at fault.
#ifndef OROLITH_MODEL_GDAL_GDALQUIET_H
#define OROLITH_MODEL_GDAL_GDALQUIET_H

#include <cpl_error.h>

#include <string>

namespace orolith::model {

// The handler is this thread's only, so another thread's GDAL work keeps
// its own.
struct QuietErrors {
    QuietErrors()
    {
        CPLPushErrorHandler(CPLQuietErrorHandler);
        CPLErrorReset();
    }
    ~QuietErrors() { CPLPopErrorHandler(); }
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;
};

inline std::string inFile(const std::string& path) { return "file \"" + path + "\": "; }

} // namespace orolith::model

#endif
