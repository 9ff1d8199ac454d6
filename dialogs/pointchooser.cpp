#include "dialogs/pointchooser.h"

#include <FL/Fl.H>
#include <FL/Fl_File_Chooser.H>

namespace orolith::ui {

namespace {

std::string askFileToRead(const char* title, const char* pattern, const std::string& directory)
{
    Fl_File_Chooser chooser(directory.c_str(), pattern, Fl_File_Chooser::SINGLE, title);
    chooser.show();
    while (chooser.shown())
        Fl::wait();
    const char* picked = chooser.value();
    return picked ? picked : "";
}

} // namespace

std::string (*chooseFileToRead)(const char*, const char*, const std::string&) = askFileToRead;

const char* maskFilePattern()
{
    return "Masks (*.{tif,tiff,gpkg,geojson,json,shp})\tRasters (*.{tif,tiff})\t"
           "Polygon layers (*.{gpkg,geojson,json,shp})\tAll files (*)";
}

} // namespace orolith::ui
