#include "media_probe.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (const char c : text) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

std::string read_command(const std::string& command) {
    std::string output;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return output;
    }
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, got);
    }
    ::pclose(pipe);
    return output;
}

} // namespace

std::map<std::string, std::string> probe_stream(const fs::path& file, const std::string& stream) {
    const std::string text = read_command(
        "ffprobe -v error -count_frames -select_streams " + stream +
        " -show_entries stream=codec_name,width,height,pix_fmt,nb_read_frames,duration,"
        "sample_rate,channels -of default=noprint_wrappers=1 " +
        quoted(file.string()));
    std::map<std::string, std::string> fields;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string line = text.substr(start, end - start);
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos) {
            fields[line.substr(0, equals)] = line.substr(equals + 1);
        }
        start = end + 1;
    }
    return fields;
}

std::vector<std::uint8_t> decode_frame(const fs::path& file, int index, int width, int height) {
    const std::string text =
        read_command("ffmpeg -v error -i " + quoted(file.string()) + " -vf 'select=eq(n\\," +
                     std::to_string(index) +
                     ")' -fps_mode passthrough -frames:v 1 -f rawvideo -pix_fmt rgb24 -");
    std::vector<std::uint8_t> rgb(text.begin(), text.end());
    if (rgb.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3) {
        ADD_FAILURE() << "decoding frame " << index << " of " << file << " gave " << rgb.size()
                      << " bytes";
    }
    return rgb;
}

int run_command(int (*command)(int, char**), std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    return command(static_cast<int>(argv.size()), argv.data());
}

ScratchFolder::ScratchFolder() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("intro-video-test-") + test->test_suite_name() + "-" +
                       test->name() + "-" + std::to_string(::getpid());
    std::replace(name.begin(), name.end(), '/', '_');
    path_ = fs::temp_directory_path() / name;
    fs::remove_all(path_);
    fs::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::vector<std::string> ScratchFolder::entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

ScopedEnvironment::ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) {
        previous_ = old;
    }
    ::setenv(name, value.c_str(), 1);
}

ScopedEnvironment::~ScopedEnvironment() {
    if (previous_) {
        ::setenv(name_.c_str(), previous_->c_str(), 1);
    } else {
        ::unsetenv(name_.c_str());
    }
}
