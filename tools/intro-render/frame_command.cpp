// intro-render frame: one moment of the piece, drawn headless, written as PNG.
#include "atomic_file.h"
#include "frame_renderer.h"
#include "picture_options.h"
#include "png_file.h"
#include "subcommands.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* usage =
    "usage: intro-render frame (--time SECONDS | --position FRAMES) -o OUT.png\n"
    "                          [--shader FILE] [--pass 0|1|2] [--alpha]\n"
    "\n"
    "Draws the frame the program shows at that moment of the song, without a window (EGL,\n"
    "OpenGL 4.3 compatibility profile; Mesa's llvmpipe will do), and writes it as a 640 x 420\n"
    "PNG, top row first.\n"
    "\n"
    "  --time SECONDS     moment in seconds from the start of the song (0 or more; past the\n"
    "                     end the clock stands still and the picture goes on)\n"
    "  --position FRAMES  moment as a play position in sample frames (44100 per second)\n"
    "  -o, --output FILE  where to write the PNG\n"
    "  --shader FILE      use this fragment shader instead of the built-in one\n"
    "  --pass N           the picture after pass N: 0 scene, 1 blur, 2 grade (default, what\n"
    "                     the window shows)\n"
    "  --alpha            keep the alpha channel (after pass 0 it holds depth / 40)\n"
    "  -h, --help         show this text\n";

struct FrameOptions {
    std::optional<std::int32_t> position;
    std::string output;
    std::string shader_path;
    int pass = 2;
    bool alpha = false;
};

int usage_error(const std::string& message) {
    std::fprintf(stderr, "intro-render frame: %s\n(see intro-render frame --help)\n",
                 message.c_str());
    return 2;
}

} // namespace

int run_frame(int argc, char** argv) {
    FrameOptions options;
    const std::vector<std::string> args(argv, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-h" || arg == "--help") {
            std::fputs(usage, stdout);
            return 0;
        }
        if (arg == "--alpha") {
            options.alpha = true;
            continue;
        }
        const bool takes_value = arg == "--time" || arg == "--position" || arg == "-o" ||
                                 arg == "--output" || arg == "--shader" || arg == "--pass";
        if (!takes_value) {
            return usage_error("unknown argument \"" + arg + "\"");
        }
        if (i + 1 >= args.size()) {
            return usage_error(arg + " needs a value");
        }
        const std::string& value = args[++i];
        std::string error;
        if (arg == "--time" || arg == "--position") {
            if (options.position) {
                return usage_error("give the moment once, with --time or --position");
            }
            std::int32_t position = 0;
            double seconds = 0.0;
            if (arg == "--time" ? !parse_seconds(value, seconds, error)
                                : !parse_position(value, position, error)) {
                return usage_error(error);
            }
            options.position = arg == "--time" ? frame_renderer::position_at(seconds) : position;
        } else if (arg == "-o" || arg == "--output") {
            options.output = value;
        } else if (arg == "--shader") {
            options.shader_path = value;
        } else if (!parse_pass(value, options.pass, error)) {
            return usage_error(error);
        }
    }
    if (!options.position) {
        return usage_error("say which moment to draw, with --time SECONDS or --position FRAMES");
    }
    if (options.output.empty()) {
        return usage_error("say where to write the picture, with -o OUT.png");
    }

    std::string error;
    std::string shader_text;
    if (!options.shader_path.empty() &&
        !read_shader_file(options.shader_path, shader_text, error)) {
        std::fprintf(stderr, "intro-render frame: %s\n", error.c_str());
        return 1;
    }
    AtomicFile file;
    if (!file.open(options.output, error)) {
        std::fprintf(stderr, "intro-render frame: %s\n", error.c_str());
        return 1;
    }
    if (!frame_renderer::open(error)) {
        std::fprintf(stderr, "intro-render frame: no headless OpenGL: %s\n", error.c_str());
        return 1;
    }
    const bool built_in = options.shader_path.empty();
    const char* text = built_in ? frame_renderer::embedded_shader_text() : shader_text.c_str();
    const char* name = built_in ? "built-in shader" : options.shader_path.c_str();
    if (!frame_renderer::use_shader(text, name, error)) {
        std::fprintf(stderr, "intro-render frame: %s\n", error.c_str());
        frame_renderer::close();
        return 1;
    }
    std::vector<std::uint8_t> pixels(frame_renderer::frame_bytes);
    frame_renderer::draw(*options.position, options.pass, pixels);
    frame_renderer::close();

    if (!write_png(file.stream(), frame_renderer::width, frame_renderer::height, pixels, true,
                   options.alpha ? PngChannels::rgba : PngChannels::rgb, error) ||
        !file.commit(error)) {
        std::fprintf(stderr, "intro-render frame: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
