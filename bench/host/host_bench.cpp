// The host's CPU cost per frame without the GPU's work (hot-reload poll, lookups, uniforms,
// position, title, drain), and the audio clock's error against the audible sample.
#include "host/diagnostics.h"
#include "host/gl_procs.h"
#include "host/intro_main.h"
#include "host/platform/sdl/stream_player.h"
#include "host/window_context.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Runs in a scratch folder whose parent holds (or lacks) shader.glsl, as build/ does.
struct Scratch {
    explicit Scratch(bool with_shader_file) {
        root = fs::temp_directory_path() / ("intro_host_bench_" + std::to_string(::getpid()));
        fs::create_directories(root / "run");
        if (with_shader_file) {
            std::ofstream(root / "shader.glsl") << "void main() {}";
        }
        previous = fs::current_path();
        fs::current_path(root / "run");
        program_window = WindowContext(pixel_format);
        gl_load_procs(gl_procs);
    }
    ~Scratch() {
        fs::current_path(previous);
        fs::remove_all(root);
    }
    fs::path root;
    fs::path previous;
};

void BM_HostFrame(benchmark::State& state) {
    const bool with_file = state.range(0) != 0;
    Scratch scratch(with_file);
    // Without the file every frame writes two lines; the console's own cost is not the host's.
    std::fflush(nullptr);
    const int saved_out = ::dup(1);
    const int saved_err = ::dup(2);
    const int null_fd = ::open("/dev/null", O_WRONLY);
    ::dup2(null_fd, 1);
    ::dup2(null_fd, 2);
    for (auto _ : state) {
        intro_frame();
    }
    std::fflush(nullptr);
    ::dup2(saved_out, 1);
    ::dup2(saved_err, 2);
    ::close(saved_out);
    ::close(saved_err);
    ::close(null_fd);
    state.SetLabel(with_file ? "../shader.glsl present" : "../shader.glsl missing");
}
BENCHMARK(BM_HostFrame)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

void BM_FrameStatsTitle(benchmark::State& state) {
    float time = 0.0f;
    for (auto _ : state) {
        time += 1.0f / 60.0f;
        frame_stats(time);
    }
}
BENCHMARK(BM_FrameStatsTitle);

// A device that asks for 1024 frames at a time with up to 2 ms of jitter and holds one such
// buffer before the speaker; the program reads the clock at 60 Hz. Reports the clock's error
// against the frame being heard, in frames and in milliseconds.
void BM_ClockErrorAgainstAudibleFrame(benchmark::State& state) {
    static float buffer[2 * 44'100 * 4];
    struct Source {
        static std::uint32_t all() { return 44'100 * 4; }
    };
    constexpr double kRate = 44'100.0;
    constexpr std::uint32_t kPeriod = 1024;
    double worst = 0.0;
    double sum = 0.0;
    std::int64_t reads = 0;
    for (auto _ : state) {
        StreamPlayer player(buffer, 44'100 * 4, Source::all, 44'100);
        player.set_latency(kPeriod);
        player.start(0, 44'100 * 4, 0);
        std::uint32_t seed = 12345;
        float out[2 * kPeriod];
        double next_callback = 0.0;
        std::uint32_t callbacks = 0;
        for (double t = 0.0; t < 3.0; t += 1.0 / 60.0) {
            while (next_callback <= t) {
                seed = seed * 1664525u + 1013904223u;
                const double jitter = (static_cast<double>(seed >> 8) / 16777216.0) * 0.002;
                player.fill(out, kPeriod,
                            static_cast<std::int64_t>((next_callback + jitter) * 1e9));
                ++callbacks;
                next_callback = callbacks * kPeriod / kRate;
            }
            // The frame at the speaker: what was handed over, one buffer earlier.
            const double audible = std::max(0.0, t * kRate - kPeriod);
            const double error = std::abs(
                static_cast<double>(player.position(static_cast<std::int64_t>(t * 1e9))) - audible);
            if (t > 0.1) { // after the first buffers
                worst = std::max(worst, error);
                sum += error;
                ++reads;
            }
        }
    }
    state.counters["worst_frames"] = worst;
    state.counters["worst_ms"] = worst / kRate * 1000.0;
    state.counters["mean_frames"] = reads > 0 ? sum / static_cast<double>(reads) : 0.0;
}
BENCHMARK(BM_ClockErrorAgainstAudibleFrame)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
