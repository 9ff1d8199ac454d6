// The helpers of dialog_fixtures.h that need the toolkit's drawing and
// surface headers: those bring in X11's macros, which clash with
// GoogleTest's names, so they come after them and in this file only.
#include "tests/gui/dialog_fixtures.h"

#include "dialogs/names.h"
#include <FL/Fl_Image_Surface.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

namespace gui_test {

void saveShot(Fl_Window* w, const std::string& name, bool settleFirst)
{
    if (settleFirst)
        settle();
    Fl_Image_Surface surface(w->w(), w->h());
    surface.set_current();
    surface.draw(w);
    Fl_RGB_Image* img = surface.image();
    Fl_Display_Device::display_device()->set_current();
    Image out;
    out.w = img->w();
    out.h = img->h();
    const auto* data = reinterpret_cast<const unsigned char*>(img->data()[0]);
    const int d = img->d();
    for (int i = 0; i < out.w * out.h; ++i)
        out.rgb.insert(out.rgb.end(), data + i * d, data + i * d + 3);
    out.save(std::string(OROLITH_SHOT_DIR) + "/" + name + ".ppm");
    delete img;
}

void measureText(const std::string& text, Fl_Font font, int size, int& w, int& h)
{
    fl_open_display();
    fl_font(font, size);
    h = 0;
    fl_measure(text.c_str(), w, h, 0);
}

} // namespace gui_test

namespace gui_test {

unsigned long windowId(Fl_Window* w) { return w->shown() ? static_cast<unsigned long>(fl_xid(w)) : 0; }

} // namespace gui_test
