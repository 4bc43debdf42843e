#include "host/platform/sdl/stream_player.h"

#include <algorithm>
#include <cmath>
#include <cstring>

StreamPlayer::StreamPlayer(const float* buffer, std::uint32_t total_frames, Progress progress,
                           std::uint32_t frames_per_second)
    : buffer_(buffer), total_frames_(total_frames), progress_(progress),
      frames_per_second_(frames_per_second) {}

void StreamPlayer::set_latency(std::uint32_t frames) {
    const std::lock_guard lock(mutex_);
    latency_ = frames;
}

void StreamPlayer::start(std::uint32_t first_frame, std::uint32_t frame_count,
                         std::int64_t now_ns) {
    const std::lock_guard lock(mutex_);
    first_frame_ = std::min(first_frame, total_frames_);
    frame_count_ = std::min(frame_count, total_frames_ - first_frame_);
    handed_ = 0;
    anchored_ = false;
    anchor_frames_ = 0.0;
    anchor_ns_ = now_ns;
    last_reported_ = 0;
    playing_ = true;
}

void StreamPlayer::stop() {
    const std::lock_guard lock(mutex_);
    playing_ = false;
}

void StreamPlayer::fill(float* out, std::uint32_t frames, std::int64_t now_ns) {
    const std::lock_guard lock(mutex_);
    std::uint32_t copied = 0;
    if (playing_) {
        // Once the whole region is handed over the device only plays out its tail: the clock
        // runs on to the end and stands there.
        if (handed_ < frame_count_) {
            steer_clock(now_ns);
        }
        const std::uint32_t region_left = frame_count_ - handed_;
        const std::uint32_t take = std::min(frames, region_left);
        const std::uint32_t from = first_frame_ + handed_;
        // Only frames the renderer has published; what it has not reached yet plays as silence.
        const std::uint32_t rendered = std::min(progress_(), total_frames_);
        const std::uint32_t ready = rendered > from ? std::min(take, rendered - from) : 0;
        std::memcpy(out, buffer_ + 2 * std::size_t{from}, 2 * sizeof(float) * ready);
        std::memset(out + 2 * std::size_t{ready}, 0, 2 * sizeof(float) * (take - ready));
        copied = take;
        handed_ += take;
    }
    std::memset(out + 2 * std::size_t{copied}, 0, 2 * sizeof(float) * (frames - copied));
}

double StreamPlayer::clock_at(std::int64_t now_ns) const {
    return anchor_frames_ + static_cast<double>(now_ns - anchor_ns_) * 1e-9 * frames_per_second_;
}

void StreamPlayer::steer_clock(std::int64_t now_ns) {
    // The frame at the speaker as this callback begins.
    const double target = static_cast<double>(handed_) - latency_;
    const double predicted = clock_at(now_ns);
    // The first callback after a start, or a clock that is off by more than a few buffers (the
    // device stalled), is set outright; otherwise it is pulled gently.
    const double far = 4.0 * std::max<std::uint32_t>(latency_, 1);
    if (!anchored_ || std::abs(target - predicted) > far) {
        anchor_frames_ = target;
    } else {
        anchor_frames_ = predicted + (target - predicted) / 8.0;
    }
    anchor_ns_ = now_ns;
    anchored_ = true;
}

std::uint32_t StreamPlayer::position(std::int64_t now_ns) {
    const std::lock_guard lock(mutex_);
    if (!anchored_) {
        return last_reported_;
    }
    const double heard = std::clamp(clock_at(now_ns), 0.0, static_cast<double>(handed_));
    last_reported_ = std::max(last_reported_, static_cast<std::uint32_t>(heard));
    return last_reported_;
}
