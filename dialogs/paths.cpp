#include "dialogs/paths.h"

#include "dialogs/names.h"
#include <filesystem>

namespace orolith::ui {

namespace fs = std::filesystem;

std::string gridPattern(bool rasters)
{
    if (!rasters)
        return "Grid files (*.grd)\tASCII grids (*.asc)\tAll files (*)";
    return "Grids (*.{grd,asc,tif,tiff})\tGrid files (*.grd)\tASCII grids (*.asc)\tGeoTIFF (*.{tif,tiff})\t"
           "All files (*)";
}

namespace {
std::string directoryOf(const std::string& path)
{
    std::string dir = fs::path(path).parent_path().string();
    return dir.empty() ? "." : dir;
}
} // namespace

std::string chooserDirectory(const std::string& lastOpened, const std::string& commandLineDem)
{
    if (!lastOpened.empty())
        return directoryOf(lastOpened);
    if (!commandLineDem.empty())
        return directoryOf(commandLineDem);
    return ".";
}

std::string outputPathBeside(const std::string& demPath, const std::string& ending, const std::string& fallback)
{
    if (demPath.empty())
        return fallback;
    fs::path dem(demPath);
    return (dem.parent_path() / (dem.stem().string() + ending)).string();
}

std::string sparseOutputPath(const std::string& demPath)
{
    return outputPathBeside(demPath, "_sparse.grd", "sparse.grd");
}

} // namespace orolith::ui
