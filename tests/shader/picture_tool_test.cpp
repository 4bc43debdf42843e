// intro-render frame and sheet: their arguments, their failures, and the files they write.
#include "contact_sheet.h"
#include "picture_fixture.h"
#include "picture_options.h"
#include "png_read.h"
#include "subcommands.h"

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

int run(int (*command)(int, char**), std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    return command(static_cast<int>(argv.size()), argv.data());
}

class PictureTool : public ::testing::Test {
  protected:
    void SetUp() override {
        directory_ = fs::temp_directory_path() /
                     ("intro-render-test-" +
                      std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(directory_);
        fs::create_directories(directory_);
    }
    void TearDown() override { fs::remove_all(directory_); }

    fs::path file(const std::string& name) const { return directory_ / name; }
    fs::path write_file(const std::string& name, const std::string& contents) const {
        std::ofstream(file(name), std::ios::binary) << contents;
        return file(name);
    }

    fs::path directory_;
};

TEST_F(PictureTool, FrameWritesTheProgramsPictureTopRowFirst) {
    const fs::path out = file("frame.png");
    ASSERT_EQ(run(run_frame, {"--time", "0.3", "-o", out.string()}), 0);
    const RgbPicture png = read_png_rgb(out);
    ASSERT_EQ(png.width, 640);
    ASSERT_EQ(png.height, 420);

    // The same moment drawn here: the file's top row is the GL picture's row 419.
    std::string error;
    ASSERT_TRUE(frame_renderer::open(error)) << error;
    ASSERT_TRUE(
        frame_renderer::use_shader(frame_renderer::embedded_shader_text(), "built-in", error));
    const Picture picture = draw_picture(frame_renderer::position_at(0.3), 2);
    frame_renderer::close();
    int mismatches = 0;
    for (int file_row = 0; file_row < 420; ++file_row) {
        for (int column = 0; column < 640; ++column) {
            const std::uint8_t* expected = picture.at(column, 419 - file_row);
            const std::uint8_t* actual =
                &png.rgb[(static_cast<std::size_t>(file_row) * 640 + column) * 3];
            mismatches +=
                expected[0] != actual[0] || expected[1] != actual[1] || expected[2] != actual[2];
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST_F(PictureTool, FrameRefusesBadShadersAndWritesNothing) {
    struct BadShader {
        const char* what;
        fs::path path;
    };
    const BadShader cases[] = {
        {"missing", file("missing.glsl")},
        {"empty", write_file("empty.glsl", "")},
        {"folder", directory_},
        {"broken", write_file("broken.glsl", "#version 430 compatibility\nvoid main() { oops }\n")},
    };
    for (const BadShader& bad : cases) {
        SCOPED_TRACE(bad.what);
        const fs::path out = file(std::string(bad.what) + ".png");
        testing::internal::CaptureStderr();
        const int status =
            run(run_frame, {"--time", "20", "-o", out.string(), "--shader", bad.path.string()});
        const std::string messages = testing::internal::GetCapturedStderr();
        EXPECT_NE(status, 0);
        EXPECT_FALSE(fs::exists(out));
        EXPECT_NE(messages.find(bad.path.filename().string()), std::string::npos) << messages;
    }
}

TEST_F(PictureTool, FrameReportsAnUnwritablePathAndLeavesNoPartialFile) {
    const fs::path out = file("no-such-folder") / "frame.png";
    testing::internal::CaptureStderr();
    const int status = run(run_frame, {"--time", "0.2", "-o", out.string()});
    const std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, 1);
    EXPECT_NE(messages.find("frame.png"), std::string::npos) << messages;
    EXPECT_TRUE(fs::is_empty(directory_));
}

TEST_F(PictureTool, FrameUsageErrors) {
    const std::vector<std::vector<std::string>> cases = {
        {"-o", "x.png"},                                   // no moment
        {"--time", "20"},                                  // no output
        {"--time", "-1", "-o", "x.png"},                   // before the song
        {"--time", "1", "--position", "5", "-o", "x.png"}, // two moments
        {"--time", "20", "--pass", "3", "-o", "x.png"},
        {"--time", "20", "-o"},
        {"--frobnicate"},
    };
    for (const auto& args : cases) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(run(run_frame, args), 2) << testing::PrintToString(args);
        EXPECT_FALSE(testing::internal::GetCapturedStderr().empty());
    }
    testing::internal::CaptureStdout();
    EXPECT_EQ(run(run_frame, {"--help"}), 0);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("--position"), std::string::npos);
}

TEST_F(PictureTool, SheetLaysOutCaptionedThumbnails) {
    const fs::path out = file("sheet.png");
    testing::internal::CaptureStderr();
    const int status = run(run_sheet, {"-o", out.string(), "--times", "0.1,0.2,0.3,0.4,0.45"});
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(status, 0);
    const RgbPicture png = read_png_rgb(out);
    const ContactSheet layout(5);
    EXPECT_EQ(png.width, layout.width());
    EXPECT_EQ(png.height, layout.height());
    EXPECT_EQ(png.width,
              4 * (ContactSheet::thumbnail_width + ContactSheet::gap) + ContactSheet::gap);

    // Caption ink under the first thumbnail, none under the empty cells of the second row.
    auto ink_in = [&](int left, int top) {
        int ink = 0;
        for (int y = top; y < top + ContactSheet::caption_height; ++y) {
            for (int x = left; x < left + ContactSheet::thumbnail_width; ++x) {
                ink += png.rgb[(static_cast<std::size_t>(y) * png.width + x) * 3] > 200;
            }
        }
        return ink;
    };
    const int caption_top = ContactSheet::gap + ContactSheet::thumbnail_height;
    const int second_row =
        ContactSheet::thumbnail_height + ContactSheet::caption_height + ContactSheet::gap;
    EXPECT_GT(ink_in(ContactSheet::gap, caption_top), 20);
    EXPECT_EQ(ink_in(ContactSheet::gap + ContactSheet::thumbnail_width + ContactSheet::gap,
                     caption_top + second_row),
              0);
}

TEST(PictureOptions, Seconds) {
    struct Case {
        const char* text;
        bool accepted;
        double seconds;
    };
    const Case cases[] = {
        {"12.5", true, 12.5}, {"0", true, 0.0},     {"67.6", true, 67.6}, {"1000", true, 1000.0},
        {"-1", false, 0},     {"-0.001", false, 0}, {"abc", false, 0},    {"", false, 0},
        {"12s", false, 0},    {"nan", false, 0},    {"inf", false, 0},    {"1e9", false, 0},
    };
    for (const Case& c : cases) {
        double seconds = -5.0;
        std::string error;
        EXPECT_EQ(parse_seconds(c.text, seconds, error), c.accepted) << c.text;
        if (c.accepted) {
            EXPECT_DOUBLE_EQ(seconds, c.seconds) << c.text;
        } else {
            EXPECT_FALSE(error.empty()) << c.text;
        }
    }
}

TEST(PictureOptions, PositionsAndTimeLists) {
    std::int32_t position = 0;
    std::string error;
    EXPECT_TRUE(parse_position("2147483647", position, error));
    EXPECT_EQ(position, 2147483647);
    EXPECT_FALSE(parse_position("2147483648", position, error));
    EXPECT_FALSE(parse_position("-1", position, error));
    EXPECT_FALSE(parse_position("1.5", position, error));

    std::vector<double> times;
    EXPECT_TRUE(parse_time_list("0.3,2,5", times, error));
    EXPECT_EQ(times, (std::vector<double>{0.3, 2.0, 5.0}));
    EXPECT_FALSE(parse_time_list("1,,2", times, error));
    EXPECT_FALSE(parse_time_list("1,-2", times, error));
    EXPECT_FALSE(parse_time_list("", times, error));
}

} // namespace
