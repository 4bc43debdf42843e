// The ffmpeg program as a child process: its standard input is a pipe that we write to, its
// messages go to a temporary log whose last lines explain a failure. It runs in a process group
// of its own, so that Ctrl-C in the terminal reaches only us and we decide how it ends.
//
// POSIX only (posix_spawn, pipes, waitpid).
#pragma once

#include <cstddef>
#include <string>
#include <sys/types.h>
#include <vector>

// The full path of the first executable `name` on PATH, or empty.
std::string find_on_path(const std::string& name);

// What to tell someone who has no ffmpeg.
std::string ffmpeg_install_hint();

class FfmpegProcess {
  public:
    FfmpegProcess() = default;
    FfmpegProcess(const FfmpegProcess&) = delete;
    FfmpegProcess& operator=(const FfmpegProcess&) = delete;
    ~FfmpegProcess(); // ends a child that is still running

    // Starts `program` with `args` (not including argv[0]). False with a message on failure.
    bool start(const std::string& program, const std::vector<std::string>& args,
               std::string& error);

    // Writes all of data to the child's standard input. False when the child has gone away.
    bool write(const void* data, std::size_t size);

    // Closes the input and waits for the child to finish. True when it exited with status 0;
    // otherwise error says how it ended, followed by the last lines of its log.
    bool finish(std::string& error);

    // Asks the child to end (SIGTERM) without waiting; writes fail once it has gone.
    void interrupt();

    // Ends the child at once (SIGTERM, then SIGKILL if it lingers) and waits for it.
    void abort();

  private:
    void close_input();
    std::string log_tail(std::size_t lines) const;

    pid_t pid_ = -1;
    int input_ = -1;
    std::string log_path_;
};
