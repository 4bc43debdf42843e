// intro-render waveform: the tool draws the song and refuses a range outside it.
#include "media_probe.h"
#include "song_picture.h"
#include "subcommands.h"

#include <gtest/gtest.h>
#include <set>

namespace {

using Layout = SongPictureLayout;

TEST(WaveformTool, DrawsTheSongAtTheRequestedWidth) {
    ScratchFolder folder;
    const auto out = folder / "song.png";
    ASSERT_EQ(run_command(run_waveform,
                          {"-o", out.string(), "--from", "2", "--to", "6", "--width", "400"}),
              0);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"song.png"});
    const RgbPicture png = read_png_rgb(out);
    ASSERT_EQ(png.width, Layout::width_for(400));
    ASSERT_EQ(png.height, Layout::height);

    // Not blank: most columns of the left lane show the waveform, and the spectrogram has
    // many levels.
    int columns_with_sound = 0;
    std::set<Rgb> levels;
    for (int column = 0; column < 400; ++column) {
        const int x = Layout::left + column;
        const Rgb empty = pixel(png.rgb, png.width, 3, x, Layout::lane_top(0) + 1);
        for (int y = Layout::lane_top(0); y < Layout::lane_top(0) + Layout::lane_height; ++y) {
            if (pixel(png.rgb, png.width, 3, x, y) != empty &&
                y != Layout::lane_top(0) + Layout::lane_height / 2) {
                ++columns_with_sound;
                break;
            }
        }
        for (int row = 0; row < Layout::spectrogram_height; ++row) {
            levels.insert(pixel(png.rgb, png.width, 3, x, Layout::spectrogram_top + row));
        }
    }
    EXPECT_GT(columns_with_sound, 300);
    EXPECT_GT(levels.size(), 100u);
}

TEST(WaveformTool, RefusesARangeOutsideTheSong) {
    ScratchFolder folder;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(run_command(run_waveform, {"-o", (folder / "a.png").string(), "--to", "90"}), 2);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("past the end"), std::string::npos);
    EXPECT_TRUE(folder.entries().empty());
}

} // namespace
