#include "host/platform/sdl/stream_player.h"

#include <algorithm>
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
    handed_before_fill_ = 0;
    last_fill_ns_ = now_ns;
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
        handed_before_fill_ = handed_;
        last_fill_ns_ = now_ns;
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

std::uint32_t StreamPlayer::position(std::int64_t now_ns) {
    const std::lock_guard lock(mutex_);
    const std::int64_t elapsed_ns = std::max<std::int64_t>(0, now_ns - last_fill_ns_);
    const std::int64_t advanced = elapsed_ns * frames_per_second_ / 1'000'000'000;
    std::int64_t heard = std::int64_t{handed_before_fill_} - latency_ + advanced;
    heard = std::clamp<std::int64_t>(heard, 0, handed_);
    last_reported_ = std::max(last_reported_, static_cast<std::uint32_t>(heard));
    return last_reported_;
}
