#include "video_capture.h"

#include "ffmpeg_process.h"
#include "frame_feeder.h"
#include "frame_renderer.h"
#include "sound_buffer.h"
#include "wav_file.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace {

// AAC: the codec every browser and player decodes in MP4 (ffmpeg still calls FLAC in MP4
// experimental). At this rate it is transparent for the song.
constexpr const char* audio_bitrate = "256k";

// The song's samples of the range as a temporary float WAV for ffmpeg to read; removed when
// this goes out of scope.
class AudioExcerpt {
  public:
    AudioExcerpt() = default;
    AudioExcerpt(const AudioExcerpt&) = delete;
    AudioExcerpt& operator=(const AudioExcerpt&) = delete;
    ~AudioExcerpt() {
        if (!path_.empty()) {
            std::remove(path_.c_str());
        }
    }

    bool write(std::span<const float> song, const VideoPlan& plan, std::string& error) {
        const std::size_t first = std::size_t{2} * plan.first_sample_frame;
        const std::size_t count = std::size_t{2} * plan.sample_frame_count;
        if (first + count > song.size()) {
            error = "internal error: the audio range lies outside the song";
            return false;
        }
        std::string name =
            (std::filesystem::temp_directory_path() / "intro-render-audio-XXXXXX.wav").string();
        const int descriptor = ::mkstemps(name.data(), 4);
        if (descriptor < 0) {
            error = std::string("cannot create a temporary file for the audio: ") +
                    std::strerror(errno);
            return false;
        }
        path_ = name;
        std::FILE* file = ::fdopen(descriptor, "wb");
        if (file == nullptr) {
            ::close(descriptor);
            error = std::string("cannot write the temporary audio file: ") + std::strerror(errno);
            return false;
        }
        const bool written =
            write_float_wav(file, song.data() + first, plan.sample_frame_count, 2, kSampleRate);
        if (std::fclose(file) != 0 || !written) {
            error = "cannot write the temporary audio file " + path_ + ": the disk may be full";
            return false;
        }
        return true;
    }

    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

} // namespace

std::vector<std::string> ffmpeg_arguments(const VideoPlan& plan, int crf,
                                          const std::string& audio_path,
                                          const std::string& video_path) {
    const std::string size =
        std::to_string(frame_renderer::width) + "x" + std::to_string(frame_renderer::height);
    const std::string rate = std::to_string(plan.millifps) + "/1000";
    return {"-hide_banner", "-nostdin", "-loglevel", "error", "-y",
            // The frames, upright, straight from the pipe.
            "-f", "rawvideo", "-pix_fmt", "rgba", "-video_size", size, "-framerate", rate, "-i",
            "pipe:0",
            // The sound of the same range.
            "-i", audio_path, "-map", "0:v:0", "-map", "1:a:0",
            // H.264 in 4:2:0, which browsers and players decode.
            "-c:v", "libx264", "-preset", "medium", "-crf", std::to_string(crf), "-pix_fmt",
            "yuv420p", "-c:a", "aac", "-b:a", audio_bitrate,
            // The index first, so that a browser can start playing before the whole file is in.
            "-movflags", "+faststart", "-f", "mp4", video_path};
}

CaptureOutcome capture_video(const CaptureJob& job, AtomicFile& output,
                             const std::atomic<bool>& stop,
                             const std::function<void(int frames_done)>& on_frame,
                             std::string& error, CaptureTimes* times) {
    CaptureTimes spent;
    auto lap = std::chrono::steady_clock::now();
    // Adds the time since the last lap to `total`.
    const auto clock_in = [&lap](double& total) {
        const auto now = std::chrono::steady_clock::now();
        total += std::chrono::duration<double>(now - lap).count();
        lap = now;
    };
    if (stop.load()) {
        return CaptureOutcome::stopped;
    }
    AudioExcerpt audio;
    if (!audio.write(job.song, job.plan, error)) {
        return CaptureOutcome::failed;
    }
    FfmpegProcess ffmpeg;
    if (!ffmpeg.start(job.ffmpeg,
                      ffmpeg_arguments(job.plan, job.crf, audio.path(), output.temporary_path()),
                      error)) {
        return CaptureOutcome::failed;
    }

    clock_in(spent.starting_seconds);

    bool fed = true;
    {
        FrameFeeder feeder(ffmpeg, frame_renderer::width, frame_renderer::height);
        for (int n = 0; n < job.plan.frame_count; ++n) {
            if (stop.load()) {
                // ffmpeg goes first, so that the writer is not left waiting on a full pipe.
                ffmpeg.interrupt();
                feeder.close();
                ffmpeg.abort();
                return CaptureOutcome::stopped;
            }
            const std::span<std::uint8_t> frame = feeder.next_buffer();
            if (frame.empty()) {
                break;
            }
            lap = std::chrono::steady_clock::now();
            frame_renderer::draw(job.plan.frame_position(n), 2, frame);
            clock_in(spent.drawing_seconds);
            feeder.submit();
            if (on_frame) {
                on_frame(n + 1);
            }
        }
        fed = feeder.close();
    }
    if (stop.load()) {
        ffmpeg.abort();
        return CaptureOutcome::stopped;
    }
    // When the feed broke, ffmpeg has ended; its status and log say why.
    if (!ffmpeg.finish(error)) {
        return CaptureOutcome::failed;
    }
    if (!fed) {
        error = "ffmpeg stopped reading frames before the end";
        return CaptureOutcome::failed;
    }
    if (!output.commit(error)) {
        return CaptureOutcome::failed;
    }
    clock_in(spent.finishing_seconds);
    if (times != nullptr) {
        *times = spent;
    }
    return CaptureOutcome::done;
}
