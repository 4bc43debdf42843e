// The capture's progress on standard error: rewritten in place on a terminal, a plain line now
// and then otherwise (logs and pipes get no carriage returns).
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

// "frame 120 of 4056 (3%), 3.2 frames/s, 20:10 left" (the rate and the time left once known).
std::string progress_text(int done, int total, double elapsed_seconds);

class ProgressLine {
  public:
    ProgressLine(std::FILE* out, int total, bool in_place);
    // Reports that `done` frames are finished; throttled, except for the last frame.
    void update(int done);
    // Ends an in-place line so that what follows starts on a line of its own.
    void finish();

  private:
    std::FILE* out_;
    int total_;
    bool in_place_;
    bool line_open_ = false;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point last_shown_;
};
