// Plays a region of a song buffer that another thread is still rendering: the audio callback
// copies frames out as the device asks for them, taking zeros for frames whose rendering has not
// been published yet, and the main thread asks where the audible sample is.
//
// No SDL in here, so that tests can drive it from threads of their own. Every member may be
// called from any thread; a mutex keeps the callback and the main thread apart (neither holds it
// for more than one callback's copy).
#pragma once

#include <cstdint>
#include <mutex>

class StreamPlayer {
  public:
    using Progress = std::uint32_t (*)(); // frames finished, read with acquire

    StreamPlayer(const float* buffer, std::uint32_t total_frames, Progress progress,
                 std::uint32_t frames_per_second);

    // The device's buffering between a callback and the speaker, in frames.
    void set_latency(std::uint32_t frames);

    // Plays frame_count frames from first_frame, once, starting now; the position counts from 0.
    void start(std::uint32_t first_frame, std::uint32_t frame_count, std::int64_t now_ns);

    // Stops at once: the callback gives silence and the position stands still.
    void stop();

    // The device callback: writes frames interleaved stereo frames to out.
    void fill(float* out, std::uint32_t frames, std::int64_t now_ns);

    // Frames played since start, as heard. The clock runs at the play rate from an anchor that
    // each callback pulls towards the frame then at the speaker (frames handed over before it,
    // less the device's buffering) by an eighth of the difference, so callback jitter neither
    // freezes nor jolts it. Never more than what was handed over, never backwards between
    // starts, standing still after the end of the region.
    std::uint32_t position(std::int64_t now_ns);

  private:
    double clock_at(std::int64_t now_ns) const;
    void steer_clock(std::int64_t now_ns);

    const float* buffer_;
    std::uint32_t total_frames_;
    Progress progress_;
    std::uint32_t frames_per_second_;

    std::mutex mutex_;
    std::uint32_t latency_ = 0;
    bool playing_ = false;
    std::uint32_t first_frame_ = 0;
    std::uint32_t frame_count_ = 0;
    std::uint32_t handed_ = 0; // frames of the region given to the device
    bool anchored_ = false;    // a callback has set the clock since the last start
    double anchor_frames_ = 0; // the clock's value at anchor_ns_
    std::int64_t anchor_ns_ = 0;
    std::uint32_t last_reported_ = 0;
};
