// intro-render video: the piece, or a range of it, as an MP4 video with the song as its sound.
#include "atomic_file.h"
#include "ffmpeg_process.h"
#include "frame_renderer.h"
#include "picture_options.h"
#include "progress_line.h"
#include "song_samples.h"
#include "subcommands.h"
#include "video_capture.h"
#include "video_plan.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char* usage =
    "usage: intro-render video -o OUT.mp4 [--fps N] [--from SECONDS] [--to SECONDS]\n"
    "                          [--crf N] [--shader FILE]\n"
    "\n"
    "Makes a video of the piece: every frame is drawn without a window through the program's\n"
    "own frame routine at the play position of its moment, round((from + n / fps) x 44100),\n"
    "and the song's samples of the same range are its sound, so picture and sound stay in\n"
    "step. The ffmpeg program encodes it: H.264 (yuv420p) and AAC in MP4, which browsers and\n"
    "players play. The file appears under its name only once it is complete; Ctrl-C stops\n"
    "the capture and leaves nothing behind.\n"
    "\n"
    "  -o, --output FILE  where to write the video (*.mp4)\n"
    "  --fps N            frames per second (default 60; decimals such as 29.97 allowed)\n"
    "  --from SECONDS     start of the range (default 0)\n"
    "  --to SECONDS       end of the range (default the end of the song, 67.599 s)\n"
    "  --crf N            H.264 quality, 0 (lossless) to 51 (smallest); default 18\n"
    "  --shader FILE      draw with this fragment shader instead of the built-in one\n"
    "  -h, --help         show this text\n"
    "\n"
    "With Mesa's llvmpipe (no GPU) a frame takes a fraction of a second or more: the whole\n"
    "piece at 60 fps is 4056 frames.\n";

std::atomic<bool> stop_requested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

extern "C" void request_stop(int) {
    stop_requested.store(true);
}

// Ctrl-C and termination ask the capture to stop; a broken pipe becomes a write error. The
// previous dispositions come back when this goes out of scope.
class StopSignals {
  public:
    StopSignals() {
        struct sigaction action {};
        action.sa_handler = request_stop;
        // The flag is looked at between frames; nothing needs to be woken by the signal.
        action.sa_flags = SA_RESTART;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &previous_interrupt_);
        sigaction(SIGTERM, &action, &previous_terminate_);
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        sigaction(SIGPIPE, &ignore, &previous_pipe_);
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;
    ~StopSignals() {
        sigaction(SIGINT, &previous_interrupt_, nullptr);
        sigaction(SIGTERM, &previous_terminate_, nullptr);
        sigaction(SIGPIPE, &previous_pipe_, nullptr);
    }

  private:
    struct sigaction previous_interrupt_ {};
    struct sigaction previous_terminate_ {};
    struct sigaction previous_pipe_ {};
};

int usage_error(const std::string& message) {
    std::fprintf(stderr, "intro-render video: %s\n(see intro-render video --help)\n",
                 message.c_str());
    return 2;
}

int failure(const std::string& message) {
    std::fprintf(stderr, "intro-render video: %s\n", message.c_str());
    return 1;
}

} // namespace

int run_video(int argc, char** argv) {
    VideoOptions options;
    bool help = false;
    std::string error;
    if (!parse_video_options(std::vector<std::string>(argv, argv + argc), options, help, error)) {
        return usage_error(error);
    }
    if (help) {
        std::fputs(usage, stdout);
        return 0;
    }
    VideoPlan plan;
    if (!plan_video(options, plan, error)) {
        return usage_error(error);
    }

    // Everything that can be found wrong is checked before the long work starts.
    CaptureJob job;
    job.plan = plan;
    job.crf = options.crf;
    job.ffmpeg = find_on_path("ffmpeg");
    if (job.ffmpeg.empty()) {
        return failure(ffmpeg_install_hint());
    }
    std::string shader_text;
    if (!options.shader_path.empty() &&
        !read_shader_file(options.shader_path, shader_text, error)) {
        return failure(error);
    }
    // From here on a temporary file exists: Ctrl-C must go through the cleanup, not end the
    // process where it stands.
    stop_requested.store(false);
    StopSignals signals;
    // Opened now, so that a path that cannot take the file fails before the long work.
    AtomicFile output;
    if (!output.open(options.output, error)) {
        return failure(error);
    }
    if (!song_through(plan.first_sample_frame + plan.sample_frame_count, job.song, error)) {
        return failure(error);
    }
    if (!frame_renderer::open(error)) {
        return failure("no headless OpenGL: " + error);
    }
    const bool built_in = options.shader_path.empty();
    if (!frame_renderer::use_shader(
            built_in ? frame_renderer::embedded_shader_text() : shader_text.c_str(),
            built_in ? "built-in shader" : options.shader_path.c_str(), error)) {
        frame_renderer::close();
        return failure(error);
    }

    std::fprintf(stderr, "Capturing %d frames at %g fps from %.3f s (%s) into %s\n",
                 plan.frame_count, plan.fps(), plan.from,
                 frame_renderer::driver_description().c_str(), options.output.c_str());
    ProgressLine progress(stderr, plan.frame_count, ::isatty(STDERR_FILENO) == 1);
    const CaptureOutcome outcome = capture_video(
        job, output, stop_requested, [&progress](int done) { progress.update(done); }, error);
    progress.finish();
    frame_renderer::close();

    switch (outcome) {
    case CaptureOutcome::done:
        std::fprintf(stderr, "Wrote %s: %d frames, %.3f s of sound.\n", options.output.c_str(),
                     plan.frame_count, plan.sample_frame_count / 44100.0);
        return 0;
    case CaptureOutcome::stopped:
        std::fprintf(stderr, "intro-render video: stopped; %s was not written.\n",
                     options.output.c_str());
        return 130;
    case CaptureOutcome::failed:
        break;
    }
    return failure(error);
}
