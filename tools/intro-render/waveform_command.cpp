// intro-render waveform: a picture of the song (waveforms, spectrogram, time axis) as a PNG.
#include "atomic_file.h"
#include "picture_options.h"
#include "png_file.h"
#include "song_picture.h"
#include "song_samples.h"
#include "sound_buffer.h"
#include "subcommands.h"
#include "video_plan.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr const char* usage =
    "usage: intro-render waveform -o OUT.png [--width PIXELS] [--from SECONDS] [--to SECONDS]\n"
    "\n"
    "Renders the song and draws it: the left and right waveforms (lowest and highest sample of\n"
    "each column, RMS inside, red marks where a sample passes full scale), a spectrogram from\n"
    "30 Hz to 20 kHz on a logarithmic scale below them, and a time axis in seconds. Compare the\n"
    "picture before and after a change to the patch to see what the change did.\n"
    "\n"
    "  -o, --output FILE  where to write the PNG\n"
    "  --width PIXELS     columns of the plots, 100 to 20000 (default 1600)\n"
    "  --from SECONDS     start of the range (default 0)\n"
    "  --to SECONDS       end of the range (default the end of the song)\n"
    "  -h, --help         show this text\n";

constexpr int default_width = 1600;
constexpr int min_width = 100;
constexpr int max_width = 20000;

int usage_error(const std::string& message) {
    std::fprintf(stderr, "intro-render waveform: %s\n(see intro-render waveform --help)\n",
                 message.c_str());
    return 2;
}

int failure(const std::string& message) {
    std::fprintf(stderr, "intro-render waveform: %s\n", message.c_str());
    return 1;
}

bool parse_width(const std::string& text, int& width, std::string& error) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || end != text.c_str() + text.size() || errno != 0 || value < min_width ||
        value > max_width) {
        error = "--width takes a whole number of pixels from 100 to 20000, not \"" + text + "\"";
        return false;
    }
    width = static_cast<int>(value);
    return true;
}

} // namespace

int run_waveform(int argc, char** argv) {
    std::string output;
    int width = default_width;
    double from = 0.0;
    double to = song_seconds();
    bool to_given = false;
    const std::vector<std::string> args(argv, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-h" || arg == "--help") {
            std::fputs(usage, stdout);
            return 0;
        }
        const bool takes_value = arg == "-o" || arg == "--output" || arg == "--width" ||
                                 arg == "--from" || arg == "--to";
        if (!takes_value) {
            return usage_error("unknown argument \"" + arg + "\"");
        }
        if (i + 1 >= args.size()) {
            return usage_error(arg + " needs a value");
        }
        const std::string& value = args[++i];
        std::string error;
        if (arg == "-o" || arg == "--output") {
            output = value;
        } else if (arg == "--width") {
            if (!parse_width(value, width, error)) {
                return usage_error(error);
            }
        } else if (!parse_seconds(value, arg == "--from" ? from : to, error)) {
            return usage_error(arg + ": " + error);
        } else if (arg == "--to") {
            to_given = true;
        }
    }
    if (output.empty()) {
        return usage_error("say where to write the picture, with -o OUT.png");
    }
    // The same range rules as the video: inside the song, not empty.
    VideoOptions range;
    range.output = output;
    range.from = from;
    if (to_given) {
        range.to = to;
    }
    VideoPlan plan;
    std::string error;
    if (!plan_video(range, plan, error)) {
        return usage_error(error);
    }
    std::span<const float> song;
    if (!song_through(plan.first_sample_frame + plan.sample_frame_count, song, error)) {
        return failure(error);
    }
    const SongPicture picture = draw_song_picture(
        song.subspan(std::size_t{2} * plan.first_sample_frame), kSampleRate, from, width);
    // Opened only now, so that Ctrl-C during the render leaves no temporary file behind.
    AtomicFile file;
    if (!file.open(output, error) ||
        !write_png(file.stream(), picture.width, picture.height, picture.rgba, false,
                   PngChannels::rgb, error) ||
        !file.commit(error)) {
        return failure(error);
    }
    std::fprintf(stderr, "Wrote %s: %d x %d, %.3f s to %.3f s of the song.\n", output.c_str(),
                 picture.width, picture.height, from,
                 static_cast<double>(plan.first_sample_frame + plan.sample_frame_count) /
                     kSampleRate);
    return 0;
}
