// Capture throughput against bare frame rendering (drawn and read back, as the frame tool does)
// of the same frames. The capture's own work (turning frames upright, the pipe, ffmpeg encoding
// H.264 and AAC in parallel, starting and finishing ffmpeg) is the difference, reported as a
// share of the capture's time. On Mesa's llvmpipe drawing dominates; the share matters most on a
// fast GPU.
#include "atomic_file.h"
#include "ffmpeg_process.h"
#include "frame_renderer.h"
#include "song_samples.h"
#include "video_capture.h"

#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr double from_seconds = 12.0;
constexpr std::int64_t millifps = 60'000;

VideoPlan plan_of(int frames) {
    VideoPlan plan;
    plan.millifps = millifps;
    plan.from = from_seconds;
    plan.frame_count = frames;
    plan.first_sample_frame = static_cast<std::uint32_t>(from_seconds * 44100);
    plan.sample_frame_count = static_cast<std::uint32_t>(frames * 44100 * 1000 / millifps);
    return plan;
}

double seconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double draw_bare(const VideoPlan& plan) {
    std::vector<std::uint8_t> pixels(frame_renderer::frame_bytes);
    const auto start = std::chrono::steady_clock::now();
    for (int n = 0; n < plan.frame_count; ++n) {
        frame_renderer::draw(plan.frame_position(n), 2, pixels);
    }
    return seconds_since(start);
}

// Each iteration draws the frames bare, then captures them; the iteration's time is the
// capture's.
void BM_CaptureAgainstBareFrames(benchmark::State& state) {
    const VideoPlan plan = plan_of(static_cast<int>(state.range(0)));
    CaptureJob job;
    job.plan = plan;
    job.ffmpeg = find_on_path("ffmpeg");
    std::string error;
    if (job.ffmpeg.empty() ||
        !song_through(plan.first_sample_frame + plan.sample_frame_count, job.song, error)) {
        state.SkipWithError(job.ffmpeg.empty() ? "no ffmpeg on the PATH" : error.c_str());
        return;
    }
    const std::string output =
        (std::filesystem::temp_directory_path() / "intro-video-bench.mp4").string();
    const std::atomic<bool> never{false};
    double bare = 0.0;
    double captured = 0.0;
    CaptureTimes total;
    for (auto _ : state) {
        bare += draw_bare(plan);
        AtomicFile file;
        CaptureTimes times;
        const auto start = std::chrono::steady_clock::now();
        if (!file.open(output, error) ||
            capture_video(job, file, never, nullptr, error, &times) != CaptureOutcome::done) {
            state.SkipWithError(error.c_str());
            return;
        }
        const double seconds = seconds_since(start);
        captured += seconds;
        state.SetIterationTime(seconds);
        total.starting_seconds += times.starting_seconds;
        total.drawing_seconds += times.drawing_seconds;
        total.finishing_seconds += times.finishing_seconds;
    }
    std::filesystem::remove(output);
    const double frames =
        static_cast<double>(plan.frame_count) * static_cast<double>(state.iterations());
    state.counters["bare_fps"] = frames / bare;
    state.counters["capture_fps"] = frames / captured;
    // Against the bare frames drawn just before (noisy on a shared machine).
    state.counters["overhead_pct"] = 100.0 * (captured - bare) / captured;
    // Measured inside the same capture: the share of its time not spent drawing, and the same
    // share per frame, without starting and finishing ffmpeg (which a whole-song capture pays
    // once: the encoder's look-ahead of about 40 frames is encoded at the end).
    state.counters["own_pct"] = 100.0 * (captured - total.drawing_seconds) / captured;
    const double per_frame = captured - total.starting_seconds - total.finishing_seconds;
    state.counters["own_per_frame_pct"] = 100.0 * (per_frame - total.drawing_seconds) / per_frame;
    state.counters["start_finish_s"] = (total.starting_seconds + total.finishing_seconds) /
                                       static_cast<double>(state.iterations());
}

BENCHMARK(BM_CaptureAgainstBareFrames)
    ->Arg(30)
    ->Unit(benchmark::kSecond)
    ->UseManualTime()
    ->Iterations(1);

} // namespace
