#include "video_plan.h"

#include "picture_options.h"
#include "sound_buffer.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr std::int64_t max_millifps = 1'000'000;
constexpr int max_crf = 51;

std::uint32_t sample_frame_at(double seconds) {
    return static_cast<std::uint32_t>(std::llround(seconds * kSampleRate));
}

std::string seconds_text(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f s", seconds);
    return text;
}

bool parse_crf(const std::string& text, int& crf, std::string& error) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || end != text.c_str() + text.size() || errno != 0 || value < 0 ||
        value > max_crf) {
        error =
            "--crf takes a whole number from 0 (lossless) to 51 (smallest), not \"" + text + "\"";
        return false;
    }
    crf = static_cast<int>(value);
    return true;
}

bool has_mp4_extension(const std::string& path) {
    if (path.size() < 4) {
        return false;
    }
    std::string extension = path.substr(path.size() - 4);
    for (char& c : extension) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return extension == ".mp4";
}

} // namespace

bool parse_fps(const std::string& text, std::int64_t& millifps, std::string& error) {
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || errno != 0 || !std::isfinite(value)) {
        error = "--fps takes a number of frames per second (for example 60), not \"" + text + "\"";
        return false;
    }
    if (value <= 0.0) {
        error = "--fps must be more than 0, not " + text;
        return false;
    }
    const double scaled = value * 1000.0;
    if (scaled > static_cast<double>(max_millifps) ||
        std::fabs(scaled - std::round(scaled)) > 1e-6 * scaled || std::round(scaled) < 1.0) {
        error = "--fps takes up to 1000 frames per second with at most three decimals, not " + text;
        return false;
    }
    millifps = std::llround(scaled);
    return true;
}

bool parse_video_options(const std::vector<std::string>& args, VideoOptions& options, bool& help,
                         std::string& error) {
    help = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-h" || arg == "--help") {
            help = true;
            return true;
        }
        const bool takes_value = arg == "-o" || arg == "--output" || arg == "--fps" ||
                                 arg == "--from" || arg == "--to" || arg == "--crf" ||
                                 arg == "--shader";
        if (!takes_value) {
            error = "unknown argument \"" + arg + "\"";
            return false;
        }
        if (i + 1 >= args.size()) {
            error = arg + " needs a value";
            return false;
        }
        const std::string& value = args[++i];
        if (arg == "-o" || arg == "--output") {
            options.output = value;
        } else if (arg == "--shader") {
            options.shader_path = value;
        } else if (arg == "--fps") {
            if (!parse_fps(value, options.millifps, error)) {
                return false;
            }
        } else if (arg == "--crf") {
            if (!parse_crf(value, options.crf, error)) {
                return false;
            }
        } else {
            double seconds = 0.0;
            if (!parse_seconds(value, seconds, error)) {
                error = arg + ": " + error;
                return false;
            }
            if (arg == "--from") {
                options.from = seconds;
            } else {
                options.to = seconds;
            }
        }
    }
    if (options.output.empty()) {
        error = "say where to write the video, with -o OUT.mp4";
        return false;
    }
    if (!has_mp4_extension(options.output)) {
        error = "the video is written as MP4: name the output file *.mp4, not \"" + options.output +
                "\"";
        return false;
    }
    return true;
}

double song_seconds() {
    return static_cast<double>(kSongFrames) / kSampleRate;
}

std::int32_t VideoPlan::frame_position(int n) const {
    const double seconds = from + static_cast<double>(n) * 1000.0 / static_cast<double>(millifps);
    return static_cast<std::int32_t>(std::llround(seconds * kSampleRate));
}

bool plan_video(const VideoOptions& options, VideoPlan& plan, std::string& error) {
    const double to = options.to.value_or(song_seconds());
    const std::uint32_t first = sample_frame_at(options.from);
    const std::uint32_t last = options.to ? sample_frame_at(to) : kSongFrames;
    if (last > kSongFrames) {
        error = "--to " + seconds_text(to) + " lies past the end of the song, which ends at " +
                seconds_text(song_seconds());
        return false;
    }
    if (first >= last) {
        error = "the range from " + seconds_text(options.from) + " to " + seconds_text(to) +
                " is empty: --from must come before --to and before the song's end at " +
                seconds_text(song_seconds());
        return false;
    }
    const double duration = static_cast<double>(last - first) / kSampleRate;
    const double frames = std::round(duration * static_cast<double>(options.millifps) / 1000.0);
    if (frames < 1.0) {
        error = "the range from " + seconds_text(options.from) + " to " + seconds_text(to) +
                " is shorter than one frame at this --fps";
        return false;
    }
    plan.millifps = options.millifps;
    plan.from = options.from;
    plan.frame_count = static_cast<int>(frames);
    plan.first_sample_frame = first;
    plan.sample_frame_count = last - first;
    return true;
}
