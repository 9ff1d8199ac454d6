// "Save Image...": the PNG file holds the pixels the viewer shows, at the
// viewer's size also when it is widened over the hidden tool panel; a
// cancelled chooser writes nothing and an unwritable path is reported.
#include <filesystem>

#include "app/callbacks.h"
#include "app/menupositions.h"
#include "tests/gui/dialog_fixtures.h"
#include "tests/image/png_decode.h"

namespace gui_test {
namespace {

TEST_F(ViewerTest, SaveImageWritesThePictureOnScreen)
{
    ASSERT_TRUE(load(sampleData("alps_dem.grd")));
    drawColors = true;
    ScratchDir dir;
    const std::string path = dir.path + "/alps.png";
    SaveChooserAnswer chooser(path);
    entry(menupos::SAVE_IMAGE).do_callback(menubar);
    EXPECT_EQ(chooser.asked.pattern, "PNG images (*.png)");
    EXPECT_EQ(shownError(), "");
    Image file = decodePng(path);
    Image screen = grab();
    ASSERT_TRUE(file.w == W && file.h == H) << "a picture of " << file.w << " x " << file.h;
    EXPECT_EQ(differing(screen, file), 0) << "the file shows another picture than the viewer";
    std::filesystem::copy_file(path, std::string(OROLITH_SHOT_DIR) + "/save_image.png",
                               std::filesystem::copy_options::overwrite_existing);

    FILE_CONST = 1;
    tools(menubar, nullptr); // hidden: the viewer reaches over the panel
    ASSERT_EQ(gl->w(), 850);
    entry(menupos::SAVE_IMAGE).do_callback(menubar);
    file = decodePng(path);
    screen = grab();
    ASSERT_TRUE(file.w == 850 && file.h == H) << "widened viewer saved at " << file.w << " x " << file.h;
    EXPECT_EQ(differing(screen, file, 1, 0, 0, 850, H), 0) << "the widened viewer's picture differs";
    tools(menubar, nullptr);
}

TEST_F(ViewerTest, SaveImageCancelledOrRefused)
{
    ASSERT_TRUE(load(sampleData("alps_dem.grd")));
    ScratchDir dir;
    {
        SaveChooserAnswer cancel("");
        entry(menupos::SAVE_IMAGE).do_callback(menubar);
        EXPECT_EQ(shownError(), "") << "a cancelled chooser is not an error";
    }
    const std::string nowhere = dir.path + "/no_such_dir/alps.png";
    SaveChooserAnswer chooser(nowhere);
    entry(menupos::SAVE_IMAGE).do_callback(menubar);
    EXPECT_EQ(shownError(), "Cannot write the picture to \"" + nowhere + "\".");
    EXPECT_TRUE(win->shown() && OPEN) << "the viewer lost its data set";
    errorWin->hide();
    Fl::delete_widget(errorWin);
}

} // namespace
} // namespace gui_test
