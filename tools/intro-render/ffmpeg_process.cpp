#include "ffmpeg_process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

constexpr std::size_t failure_log_lines = 12;

bool is_executable_file(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

std::string describe_status(int status) {
    if (WIFEXITED(status)) {
        return "ffmpeg failed (exit status " + std::to_string(WEXITSTATUS(status)) + ")";
    }
    if (WIFSIGNALED(status)) {
        return std::string("ffmpeg was killed by signal ") + std::to_string(WTERMSIG(status)) +
               " (" + strsignal(WTERMSIG(status)) + ")";
    }
    return "ffmpeg ended abnormally";
}

} // namespace

std::string find_on_path(const std::string& name) {
    if (name.find('/') != std::string::npos) {
        return is_executable_file(name) ? name : std::string();
    }
    const char* path = std::getenv("PATH");
    if (path == nullptr) {
        return {};
    }
    const std::string directories = path;
    std::size_t start = 0;
    while (start <= directories.size()) {
        std::size_t colon = directories.find(':', start);
        if (colon == std::string::npos) {
            colon = directories.size();
        }
        std::string directory = directories.substr(start, colon - start);
        if (directory.empty()) {
            directory = ".";
        }
        const std::string candidate = directory + "/" + name;
        if (is_executable_file(candidate)) {
            return candidate;
        }
        start = colon + 1;
    }
    return {};
}

std::string ffmpeg_install_hint() {
    return "the ffmpeg program is not on the PATH; install it (on Debian or Ubuntu: "
           "sudo apt-get install ffmpeg) and try again";
}

FfmpegProcess::~FfmpegProcess() {
    abort();
}

bool FfmpegProcess::start(const std::string& program, const std::vector<std::string>& args,
                          std::string& error) {
    std::string log_template =
        (std::filesystem::temp_directory_path() / "intro-render-ffmpeg-XXXXXX").string();
    const int log = ::mkstemp(log_template.data());
    if (log < 0) {
        error = std::string("cannot create a temporary file for ffmpeg's messages: ") +
                std::strerror(errno);
        return false;
    }
    log_path_ = log_template;

    int pipe_ends[2];
    if (::pipe(pipe_ends) != 0) {
        error = std::string("cannot create a pipe to ffmpeg: ") + std::strerror(errno);
        ::close(log);
        return false;
    }
    // Our end must not leak into the child, or it would never see the end of its input.
    ::fcntl(pipe_ends[1], F_SETFD, FD_CLOEXEC);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_ends[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, log, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, log, STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipe_ends[0]);
    posix_spawn_file_actions_addclose(&actions, log);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setpgroup(&attributes, 0);
    // The child must not inherit our ignored SIGPIPE or the handlers' blocked state.
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGTERM);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF |
                                              POSIX_SPAWN_SETSIGMASK);

    std::vector<char*> argv;
    std::string argv0 = program;
    argv.push_back(argv0.data());
    std::vector<std::string> owned = args;
    for (std::string& arg : owned) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const int spawned =
        posix_spawn(&pid_, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(pipe_ends[0]);
    ::close(log);
    if (spawned != 0) {
        pid_ = -1;
        ::close(pipe_ends[1]);
        error = "cannot start " + program + ": " + std::strerror(spawned);
        return false;
    }
    input_ = pipe_ends[1];
    return true;
}

bool FfmpegProcess::write(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(input_, bytes, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool FfmpegProcess::finish(std::string& error) {
    close_input();
    if (pid_ < 0) {
        error = "ffmpeg is not running";
        return false;
    }
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    const bool succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!succeeded) {
        error = describe_status(status);
        const std::string tail = log_tail(failure_log_lines);
        error += tail.empty() ? " without a message" : "; its last lines:\n" + tail;
    }
    std::error_code ignored;
    std::filesystem::remove(log_path_, ignored);
    log_path_.clear();
    return succeeded;
}

void FfmpegProcess::interrupt() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
    }
}

void FfmpegProcess::abort() {
    close_input();
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        int status = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (::waitpid(pid_, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                ::kill(pid_, SIGKILL);
                ::waitpid(pid_, &status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        pid_ = -1;
    }
    if (!log_path_.empty()) {
        std::error_code ignored;
        std::filesystem::remove(log_path_, ignored);
        log_path_.clear();
    }
}

void FfmpegProcess::close_input() {
    if (input_ >= 0) {
        ::close(input_);
        input_ = -1;
    }
}

std::string FfmpegProcess::log_tail(std::size_t lines) const {
    std::ifstream log(log_path_);
    std::vector<std::string> kept;
    std::string line;
    while (std::getline(log, line)) {
        if (line.find_first_not_of(" \t\r") == std::string::npos) {
            continue;
        }
        kept.push_back("  " + line);
        if (kept.size() > lines) {
            kept.erase(kept.begin());
        }
    }
    std::string tail;
    for (const std::string& kept_line : kept) {
        tail += kept_line + "\n";
    }
    if (!tail.empty()) {
        tail.pop_back();
    }
    return tail;
}
