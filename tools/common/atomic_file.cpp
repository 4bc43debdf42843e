#include "atomic_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <process.h>
#define intro_getpid _getpid
#else
#include <unistd.h>
#define intro_getpid getpid
#endif

AtomicFile::~AtomicFile() {
    discard();
}

bool AtomicFile::open(const std::string& path, std::string& error) {
    discard();
    path_ = path;
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        error = "cannot write '" + path + "': it is a directory";
        return false;
    }
    temp_path_ = path + ".partial-" + std::to_string(intro_getpid());
    stream_ = std::fopen(temp_path_.c_str(), "wb");
    if (stream_ == nullptr) {
        error = "cannot write '" + path + "': " + std::strerror(errno) +
                " (check that the folder exists and is writable)";
        temp_path_.clear();
        return false;
    }
    return true;
}

bool AtomicFile::commit(std::string& error) {
    if (stream_ == nullptr) {
        error = "no file is open";
        return false;
    }
    const bool written = std::ferror(stream_) == 0 && std::fflush(stream_) == 0;
    const int saved_errno = errno;
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    if (!written || !closed) {
        error = "cannot write '" + path_ + "': " + std::strerror(written ? errno : saved_errno);
        discard();
        return false;
    }
    std::error_code ec;
    std::filesystem::rename(temp_path_, path_, ec);
    if (ec) {
        error = "cannot move the finished file to '" + path_ + "': " + ec.message();
        discard();
        return false;
    }
    temp_path_.clear();
    return true;
}

void AtomicFile::discard() {
    if (stream_ != nullptr) {
        std::fclose(stream_);
        stream_ = nullptr;
    }
    if (!temp_path_.empty()) {
        std::remove(temp_path_.c_str());
        temp_path_.clear();
    }
}
