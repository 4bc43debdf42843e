// Hands captured frames to ffmpeg on a thread of its own, so that turning a picture upright and
// pushing it through the pipe overlaps with drawing the next one. A few frame buffers circulate
// between the drawing thread and the writer; none is allocated per frame.
#pragma once

#include "ffmpeg_process.h"

#include <array>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

class FrameFeeder {
  public:
    // Frames of width x height RGBA8 pixels, given bottom row first (as OpenGL reads them) and
    // written to ffmpeg top row first.
    FrameFeeder(FfmpegProcess& ffmpeg, int width, int height);
    FrameFeeder(const FrameFeeder&) = delete;
    FrameFeeder& operator=(const FrameFeeder&) = delete;
    ~FrameFeeder();

    // The buffer to draw the next frame into; waits while every buffer is still queued. Empty
    // when writing has failed (ffmpeg has gone away).
    std::span<std::uint8_t> next_buffer();
    // Queues the buffer that next_buffer returned.
    void submit();
    // Writes what is queued and stops the writer. False when a write failed.
    bool close();

  private:
    void write_frames();

    static constexpr int buffer_count = 3;
    FfmpegProcess& ffmpeg_;
    std::size_t row_bytes_;
    int height_;
    std::array<std::vector<std::uint8_t>, buffer_count> buffers_;
    std::vector<std::uint8_t> upright_;
    std::mutex mutex_;
    std::condition_variable changed_;
    int first_queued_ = 0;
    int queued_ = 0; // includes the buffer being written
    bool closing_ = false;
    bool failed_ = false;
    std::thread writer_;
};
