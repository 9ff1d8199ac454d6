// The picks on the surface: a square at each picked place with its number
// beside it, and the cross-hair the pick key aims with. The places and the
// digits' pixels are plain functions; pickoverlay.cpp draws them.
#ifndef OROLITH_RENDER_PICKMARKS_H
#define OROLITH_RENDER_PICKMARKS_H

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "render/framematrices.h"
#include "render/names.h"
#include "render/viewstate.h"

namespace orolith::model {
class DataSet;
}

namespace orolith::render {

// A pick's square and the dark one under it, in pixels; the number's
// digits are drawn at twice their 5 x 7 size beside the square.
constexpr float PICK_MARK_PIXELS = 7.0f, PICK_OUTLINE_PIXELS = 11.0f;
constexpr int DIGIT_W = 5, DIGIT_H = 7, DIGIT_SCALE = 2;
// Half the length of the cross-hair's arms, in pixels.
constexpr int CROSS_HAIR_ARM = 9;

// Where a pick's mark is drawn (model coordinates, as the surface places
// its vertices, lifted a little off the surface).
Vec3 pickMarkPlace(const DataSet& d, const PickMark& pick);

// A digit's rows, top row first, five bits a row (the leftmost the
// highest); all zero for anything but '0' to '9'.
std::array<std::uint8_t, DIGIT_H> digitRows(char digit);

// The number's pixels as glBitmap takes them: rows bottom up, each padded
// to whole bytes, most significant bit leftmost; each digit DIGIT_SCALE
// times its size, one scaled column apart. Width and height in pixels.
struct TextBitmap {
    int width = 0, height = 0;
    std::vector<std::uint8_t> bits;
    bool on(int x, int y) const; // y counted from the bottom
};
TextBitmap numberBitmap(const std::string& digits);

// GL: the marks of view.picks under the model transform, always in front
// of the terrain; then, in window coordinates, the cross-hair when the view
// shows it.
void drawPickMarks(const DataSet& d, const ViewState& view);
void drawCrossHair(const ViewState& view);

} // namespace orolith::render

#endif
