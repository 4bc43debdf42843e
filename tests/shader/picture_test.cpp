// The shader's own picture, drawn headless through the program's frame routine.
#include "headless_gl.h"
#include "host/frame_passes.h"
#include "host/gl_api.h"
#include "host/gl_lookup.h"
#include "picture_fixture.h"

#include <algorithm>

namespace {

constexpr std::int32_t at_seconds(double seconds) {
    return static_cast<std::int32_t>(seconds * 44100);
}
constexpr std::int32_t one_video_frame = samples_per_second / 60;

class ShaderPicture : public RendererSuite {
  protected:
    static void SetUpTestSuite() { open_with(frame_renderer::embedded_shader_text()); }
};

TEST_F(ShaderPicture, LetterboxRowsAreBlackWithoutGrainInTheFinalPicture) {
    const Picture picture = draw_picture(at_seconds(20), 2);
    for (int row = 0; row < frame_renderer::height; ++row) {
        const bool letterbox = row < first_picture_row || row > last_picture_row;
        EXPECT_EQ(picture.row_is_black(row), letterbox) << "row " << row;
    }
}

// The scene pass stores depth / 40 in alpha, so every picture pixel has some; the letterbox
// is (0, 0, 0, 0).
TEST_F(ShaderPicture, ScenePassLeavesOnlyTheLetterboxRowsEmpty) {
    const Picture scene = draw_picture(at_seconds(20), 0);
    for (int row = 0; row < frame_renderer::height; ++row) {
        const bool letterbox = row < first_picture_row || row > last_picture_row;
        int empty = 0;
        for (int column = 0; column < frame_renderer::width; ++column) {
            const std::uint8_t* pixel = scene.at(column, row);
            empty += pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 0 && pixel[3] == 0;
        }
        EXPECT_EQ(empty, letterbox ? frame_renderer::width : 0) << "row " << row;
    }
}

TEST_F(ShaderPicture, BlurPassChangesOnlyRows151To267) {
    const std::int32_t position = at_seconds(20);
    const Picture scene = draw_picture(position, 0);
    const Picture blurred = draw_picture(position, 1);
    int changed_rows = 0;
    for (int row = 0; row < frame_renderer::height; ++row) {
        const bool in_band = row >= 151 && row <= 267;
        const bool same = scene.row_equals(blurred, row);
        if (!in_band) {
            EXPECT_TRUE(same) << "row " << row << " lies outside the band but changed";
        } else if (!same) {
            ++changed_rows;
        }
    }
    EXPECT_GT(changed_rows, 0) << "the blur left the whole band untouched";
}

TEST_F(ShaderPicture, SamePositionGivesTheSameFrameAndTheNextVideoFrameNewGrain) {
    const std::int32_t position = at_seconds(20);
    const Picture first = draw_picture(position, 2);
    const Picture again = draw_picture(position, 2);
    EXPECT_EQ(first.rgba, again.rgba);

    // Before the fade-in the picture is grain only, so any difference is the grain's.
    const Picture grain = draw_picture(at_seconds(0.2), 2);
    const Picture next_grain = draw_picture(at_seconds(0.2) + one_video_frame, 2);
    EXPECT_NE(grain.rgba, next_grain.rgba);
}

// Below 0.5 s and from 67.5 s the fades hold the colour at zero: what is left is grey grain,
// the same in all three channels, at about 5 % to 15 % of full scale in the middle.
TEST_F(ShaderPicture, OutsideTheFadesThePictureIsGreyGrainOnly) {
    const std::int32_t positions[] = {0, at_seconds(0.5) - 1, at_seconds(67.5), at_seconds(70),
                                      at_seconds(600)};
    for (std::int32_t position : positions) {
        SCOPED_TRACE(testing::Message() << "play position " << position);
        const Picture picture = draw_picture(position, 2);
        int grey_mismatches = 0;
        for (int row = first_picture_row; row <= last_picture_row; ++row) {
            for (int column = 0; column < frame_renderer::width; ++column) {
                const std::uint8_t* pixel = picture.at(column, row);
                grey_mismatches += pixel[0] != pixel[1] || pixel[1] != pixel[2];
            }
        }
        EXPECT_EQ(grey_mismatches, 0);

        int lowest = 255;
        int highest = 0;
        for (int row = 180; row < 240; ++row) {
            for (int column = 270; column < 370; ++column) {
                lowest = std::min<int>(lowest, picture.at(column, row)[0]);
                highest = std::max<int>(highest, picture.at(column, row)[0]);
            }
        }
        EXPECT_GE(lowest, 0.04 * 255);
        EXPECT_LE(highest, 0.16 * 255);
        EXPECT_GT(highest - lowest, 5) << "no grain";
        EXPECT_TRUE(picture.row_is_black(first_picture_row - 1));
    }
}

TEST_F(ShaderPicture, SceneIsBlackBeforeOneSecondAndShowsTheCityFromIt) {
    const Picture before = draw_picture(at_seconds(1) - 1, 0);
    const Picture from = draw_picture(at_seconds(1), 0);
    int lit_before = 0;
    int lit_from = 0;
    for (int row = first_picture_row; row <= last_picture_row; ++row) {
        lit_before += !before.row_is_black(row);
        lit_from += !from.row_is_black(row);
    }
    EXPECT_EQ(lit_before, 0);
    EXPECT_EQ(lit_from, last_picture_row - first_picture_row + 1);
}

TEST_F(ShaderPicture, PassIndicesOtherThanZeroAndOneRunTheGradePass) {
    const std::int32_t position = at_seconds(0.2);
    const Picture graded = draw_picture(position, 2); // leaves pass 1's picture in the texture
    for (int pass : {3, 7, -1}) {
        gl_lookup<PfnGlUniform2i>("glUniform2i")(kUniformPassAndPosition, position, pass);
        glRects(1, 1, -1, -1);
        Picture again;
        headless::read_pixels(again.rgba);
        EXPECT_EQ(again.rgba, graded.rgba) << "pass index " << pass;
    }
}

} // namespace
