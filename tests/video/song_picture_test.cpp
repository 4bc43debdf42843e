// The picture of the song: a known signal lands where it should.
#include "media_probe.h"
#include "song_picture.h"
#include "subcommands.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <set>

namespace {

using Layout = SongPictureLayout;

int brightness(const Rgb& c) {
    return c.r + c.g + c.b;
}

TEST(SongPicture, AHalfScaleSineShowsItsPeaksAndItsFrequency) {
    constexpr std::uint32_t rate = 44100;
    constexpr double hz = 1000.0;
    std::vector<float> stereo(2 * rate);
    for (std::size_t f = 0; f < rate; ++f) {
        const auto value = static_cast<float>(
            0.5 * std::sin(2.0 * std::numbers::pi * hz * static_cast<double>(f) / rate));
        stereo[2 * f] = value;
        stereo[2 * f + 1] = value;
    }
    const int columns = 120;
    const SongPicture picture = draw_song_picture(stereo, rate, 0.0, columns);
    ASSERT_EQ(picture.width, Layout::width_for(columns));
    ASSERT_EQ(picture.height, Layout::height);
    const int x = Layout::left + columns / 2;
    const auto at = [&](int y) { return pixel(picture.rgba, picture.width, 4, x, y); };

    // Both lanes reach half-way from the centre line to the edge, and no further.
    for (int channel = 0; channel < 2; ++channel) {
        const int top = Layout::lane_top(channel);
        const Rgb empty = at(top + 1);
        int highest = -1;
        int lowest = -1;
        for (int y = top; y < top + Layout::lane_height; ++y) {
            if (at(y) != empty) {
                highest = highest < 0 ? y : highest;
                lowest = y;
            }
        }
        const int centre = top + Layout::lane_height / 2;
        const int reach = Layout::lane_height / 2 - 1;
        EXPECT_NEAR(highest, centre - reach / 2, 1) << "channel " << channel;
        EXPECT_NEAR(lowest, centre + reach / 2, 1) << "channel " << channel;
    }

    // The spectrogram is brightest in the row of 1 kHz.
    int brightest_row = 0;
    for (int row = 0; row < Layout::spectrogram_height; ++row) {
        if (brightness(at(Layout::spectrogram_top + row)) >
            brightness(at(Layout::spectrogram_top + brightest_row))) {
            brightest_row = row;
        }
    }
    const double expected_row = (1.0 - std::log(hz / Layout::lowest_hz) /
                                           std::log(Layout::highest_hz / Layout::lowest_hz)) *
                                Layout::spectrogram_height;
    EXPECT_NEAR(brightest_row, expected_row, 2.0);
}

} // namespace
