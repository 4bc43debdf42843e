// Captures a planned range of the piece into a video file: every frame drawn headless through
// the program's frame routine, the song's samples of the same range as the audio track, both
// encoded by the ffmpeg program (H.264 in yuv420p, AAC) into MP4. The file appears under its name
// only when it is complete.
#pragma once

#include "atomic_file.h"
#include "video_plan.h"

#include <atomic>
#include <functional>
#include <span>
#include <string>
#include <vector>

enum class CaptureOutcome { done, stopped, failed };

struct CaptureJob {
    VideoPlan plan;
    int crf = 18;
    std::string ffmpeg;          // path of the program
    std::span<const float> song; // the whole song, interleaved stereo
};

// ffmpeg's arguments for a capture: raw RGBA frames on standard input at the plan's rate, the
// audio from audio_path, the result in video_path.
std::vector<std::string> ffmpeg_arguments(const VideoPlan& plan, int crf,
                                          const std::string& audio_path,
                                          const std::string& video_path);

// Where a capture's time went, for measuring its own cost.
struct CaptureTimes {
    double starting_seconds = 0.0;  // the audio excerpt written, ffmpeg started
    double drawing_seconds = 0.0;   // drawing the frames and reading them back
    double finishing_seconds = 0.0; // after the last frame: the queue drained, ffmpeg done
};

// Needs the headless context open with the shader program current, and output opened (ffmpeg
// writes its temporary file by name; the commit renames it into place once it is complete).
// Checks `stop` before each frame and reports each finished frame to on_frame. On failure or
// stop nothing is left behind.
CaptureOutcome capture_video(const CaptureJob& job, AtomicFile& output,
                             const std::atomic<bool>& stop,
                             const std::function<void(int frames_done)>& on_frame,
                             std::string& error, CaptureTimes* times = nullptr);
