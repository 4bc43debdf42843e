#include "frame_feeder.h"

#include <cstring>

FrameFeeder::FrameFeeder(FfmpegProcess& ffmpeg, int width, int height)
    : ffmpeg_(ffmpeg), row_bytes_(static_cast<std::size_t>(width) * 4), height_(height),
      upright_(row_bytes_ * static_cast<std::size_t>(height)) {
    for (auto& buffer : buffers_) {
        buffer.resize(upright_.size());
    }
    writer_ = std::thread([this] { write_frames(); });
}

FrameFeeder::~FrameFeeder() {
    close();
}

std::span<std::uint8_t> FrameFeeder::next_buffer() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return queued_ < buffer_count || failed_; });
    if (failed_) {
        return {};
    }
    return buffers_[static_cast<std::size_t>((first_queued_ + queued_) % buffer_count)];
}

void FrameFeeder::submit() {
    {
        std::lock_guard lock(mutex_);
        ++queued_;
    }
    changed_.notify_all();
}

bool FrameFeeder::close() {
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
    }
    changed_.notify_all();
    if (writer_.joinable()) {
        writer_.join();
    }
    return !failed_;
}

void FrameFeeder::write_frames() {
    while (true) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return queued_ > 0 || closing_; });
        if (queued_ == 0 || failed_) {
            return;
        }
        const std::vector<std::uint8_t>& frame = buffers_[static_cast<std::size_t>(first_queued_)];
        lock.unlock();

        for (int row = 0; row < height_; ++row) {
            std::memcpy(&upright_[static_cast<std::size_t>(row) * row_bytes_],
                        &frame[static_cast<std::size_t>(height_ - 1 - row) * row_bytes_],
                        row_bytes_);
        }
        const bool written = ffmpeg_.write(upright_.data(), upright_.size());

        lock.lock();
        first_queued_ = (first_queued_ + 1) % buffer_count;
        --queued_;
        failed_ = !written;
        lock.unlock();
        changed_.notify_all();
        if (!written) {
            return;
        }
    }
}
