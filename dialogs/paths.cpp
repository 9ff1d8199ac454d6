#include "dialogs/paths.h"

#include <filesystem>

namespace fs = std::filesystem;

const char* const GRID_PATTERN = "Grid files (*.grd)\tASCII grids (*.asc)\tAll files (*)";

namespace {
std::string directoryOf(const std::string& path)
{
    std::string dir = fs::path(path).parent_path().string();
    return dir.empty() ? "." : dir;
}
}

std::string chooserDirectory(const std::string& lastOpened, const std::string& commandLineDem)
{
    if (!lastOpened.empty())
        return directoryOf(lastOpened);
    if (!commandLineDem.empty())
        return directoryOf(commandLineDem);
    return ".";
}

std::string sparseOutputPath(const std::string& demPath)
{
    if (demPath.empty())
        return "sparse.grd";
    fs::path dem(demPath);
    return (dem.parent_path() / (dem.stem().string() + "_sparse.grd")).string();
}
