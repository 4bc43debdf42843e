// intro-render sheet: thumbnails of chosen moments with their times under them.
#include "atomic_file.h"
#include "contact_sheet.h"
#include "frame_renderer.h"
#include "picture_options.h"
#include "png_file.h"
#include "subcommands.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

// Both sides of each shot change, the fades, and the long last shot.
constexpr const char* default_times = "0.3,0.99,1,5,9.99,10,12.5,14.99,15,30,50,67.3";

constexpr const char* usage =
    "usage: intro-render sheet -o SHEET.png [--times T1,T2,...] [--shader FILE]\n"
    "\n"
    "Draws the frames the program shows at the given moments, without a window, and lays them\n"
    "out as half-size thumbnails, four to a row, each with its time under it.\n"
    "\n"
    "  -o, --output FILE  where to write the PNG\n"
    "  --times LIST       comma-separated seconds (default:\n"
    "                     0.3,0.99,1,5,9.99,10,12.5,14.99,15,30,50,67.3)\n"
    "  --shader FILE      use this fragment shader instead of the built-in one\n"
    "  -h, --help         show this text\n";

int usage_error(const std::string& message) {
    std::fprintf(stderr, "intro-render sheet: %s\n(see intro-render sheet --help)\n",
                 message.c_str());
    return 2;
}

} // namespace

int run_sheet(int argc, char** argv) {
    std::string output;
    std::string shader_path;
    std::vector<double> times;
    std::string error;
    const std::vector<std::string> args(argv, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-h" || arg == "--help") {
            std::fputs(usage, stdout);
            return 0;
        }
        if (arg != "-o" && arg != "--output" && arg != "--times" && arg != "--shader") {
            return usage_error("unknown argument \"" + arg + "\"");
        }
        if (i + 1 >= args.size()) {
            return usage_error(arg + " needs a value");
        }
        const std::string& value = args[++i];
        if (arg == "--times") {
            if (!parse_time_list(value, times, error)) {
                return usage_error(error);
            }
        } else if (arg == "--shader") {
            shader_path = value;
        } else {
            output = value;
        }
    }
    if (output.empty()) {
        return usage_error("say where to write the sheet, with -o SHEET.png");
    }
    if (times.empty()) {
        parse_time_list(default_times, times, error);
    }

    std::string shader_text;
    if (!shader_path.empty() && !read_shader_file(shader_path, shader_text, error)) {
        std::fprintf(stderr, "intro-render sheet: %s\n", error.c_str());
        return 1;
    }
    AtomicFile file;
    if (!file.open(output, error)) {
        std::fprintf(stderr, "intro-render sheet: %s\n", error.c_str());
        return 1;
    }
    if (!frame_renderer::open(error)) {
        std::fprintf(stderr, "intro-render sheet: no headless OpenGL: %s\n", error.c_str());
        return 1;
    }
    const bool built_in = shader_path.empty();
    const char* text = built_in ? frame_renderer::embedded_shader_text() : shader_text.c_str();
    const char* name = built_in ? "built-in shader" : shader_path.c_str();
    if (!frame_renderer::use_shader(text, name, error)) {
        std::fprintf(stderr, "intro-render sheet: %s\n", error.c_str());
        frame_renderer::close();
        return 1;
    }

    ContactSheet sheet(static_cast<int>(times.size()));
    std::vector<std::uint8_t> pixels(frame_renderer::frame_bytes);
    for (std::size_t i = 0; i < times.size(); ++i) {
        std::fprintf(stderr, "intro-render sheet: frame %zu of %zu, at %.2f s\n", i + 1,
                     times.size(), times[i]);
        frame_renderer::draw(frame_renderer::position_at(times[i]), 2, pixels);
        sheet.place(static_cast<int>(i), pixels, time_caption(times[i]));
    }
    frame_renderer::close();

    if (!write_png(file.stream(), sheet.width(), sheet.height(), sheet.pixels(), false,
                   PngChannels::rgb, error) ||
        !file.commit(error)) {
        std::fprintf(stderr, "intro-render sheet: %s\n", error.c_str());
        return 1;
    }
    std::fprintf(stderr, "intro-render sheet: wrote %s\n", output.c_str());
    return 0;
}
