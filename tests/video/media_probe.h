// Helpers of the video tests: what ffprobe says about a file's streams, a decoded video frame,
// a PNG read back, and a scratch folder per test.
#pragma once

#include "png_read.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

// ffprobe's key=value fields of one stream ("v:0", "a:0"); empty when ffprobe failed.
std::map<std::string, std::string> probe_stream(const std::filesystem::path& file,
                                                const std::string& stream);

// Frame `index` of the file's video, decoded to RGB24, top row first.
std::vector<std::uint8_t> decode_frame(const std::filesystem::path& file, int index, int width,
                                       int height);

// Runs a subcommand in this process with the given arguments.
int run_command(int (*command)(int, char**), std::vector<std::string> args);

// A fresh folder under the system's temporary folder, removed at the end of the test.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    const std::filesystem::path& path() const { return path_; }
    std::vector<std::string> entries() const; // names, sorted

  private:
    std::filesystem::path path_;
};

// Sets an environment variable for the lifetime of this object.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const std::string& value);
    ~ScopedEnvironment();

  private:
    std::string name_;
    std::optional<std::string> previous_;
};
