// Which frames and which samples a video of the piece holds: its options, checked, and the
// arithmetic that keeps picture and sound on the same clock.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct VideoOptions {
    std::string output;
    std::string shader_path;        // empty: the built-in shader
    std::int64_t millifps = 60'000; // frames per 1000 s, so that 29.97 stays exact
    double from = 0.0;
    std::optional<double> to; // none: the end of the song
    int crf = 18;
};

// Parses the arguments of `intro-render video`. Returns false with a message on bad usage;
// help is set when --help was asked for.
bool parse_video_options(const std::vector<std::string>& args, VideoOptions& options, bool& help,
                         std::string& error);

// A frame rate: a decimal number above 0 and at most 1000, with up to three decimals.
bool parse_fps(const std::string& text, std::int64_t& millifps, std::string& error);

struct VideoPlan {
    std::int64_t millifps = 60'000;
    double from = 0.0;
    int frame_count = 0;
    std::uint32_t first_sample_frame = 0; // audio: [first, first + count) of the song
    std::uint32_t sample_frame_count = 0;

    // Play position of video frame n: round((from + n / fps) x 44,100).
    std::int32_t frame_position(int n) const;
    double fps() const { return static_cast<double>(millifps) / 1000.0; }
};

// The song's length in seconds.
double song_seconds();

// Lays out the frames and samples of [from, to) of the song (to defaults to its end). The frame
// count is the range times the rate, rounded, so that the picture and the sound end within half
// a frame of each other. Fails with a message for a range outside the song or shorter than a
// frame.
bool plan_video(const VideoOptions& options, VideoPlan& plan, std::string& error);
