// The camera the picking reads is the camera the frame draws with: pick
// marks that GL draws at grid points appear at the pixels the frame's
// matrices project those points to, for a turned, tilted, moved view in
// the viewer's picture that is not square.
#include <cmath>

#include "render/framematrices.h"
#include "render/pickmarks.h"
#include "render/surfacepick.h"
#include "tests/gui/gui_fixtures.h"

namespace gui_test {
namespace {

TEST_F(ViewerTest, PickMarksAppearWhereTheFrameMatricesProjectThem)
{
    ASSERT_TRUE(load(sampleData("alps_dem.grd")));
    ASSERT_NE(viewer().w(), viewer().h()) << "a square picture would not try the clip scale";
    ViewState v = view();
    v.xrotation = -50;
    v.zrotation = 35;
    v.eyevalue = 90;
    v.xtranslate = 0.15f;
    v.ytranslate = -0.1f;
    v.showLegend = false;
    const int points[][2] = {{20, 30}, {100, 60}, {150, 200}, {60, 180}};
    int number = 1;
    for (const auto& p : points)
        v.picks.push_back({double(p[0]), double(p[1]), double(data().demView().at(p[0], p[1])), number++});
    viewer().setView(v);
    const Image img = grab();
    const FrameMatrices f = frameMatrices(v, viewer().w(), viewer().h());
    for (const PickMark& m : v.picks) {
        const std::optional<WindowPoint> at = project(f, pickMarkPlace(data(), m));
        ASSERT_TRUE(at);
        const int x = static_cast<int>(std::floor(at->x)), y = static_cast<int>(std::floor(at->y));
        EXPECT_TRUE(near(img.at(x, y), 255, 51, 255, 2))
            << "pick " << m.number << " is not drawn at " << x << ", " << y << ": " << img.at(x, y);
    }
}

} // namespace
} // namespace gui_test
