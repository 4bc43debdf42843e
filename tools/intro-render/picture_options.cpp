#include "picture_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

bool parse_seconds(const std::string& text, double& seconds, std::string& error) {
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || errno != 0 || !std::isfinite(value)) {
        error = "\"" + text + "\" is not a time in seconds (for example 12.5)";
        return false;
    }
    if (value < 0.0) {
        error = "time " + text + " lies before the start of the song; give 0 or more seconds";
        return false;
    }
    if (value > latest_seconds) {
        error = "time " + text + " lies beyond what a play position can hold (about 48694 s)";
        return false;
    }
    seconds = value;
    return true;
}

bool parse_position(const std::string& text, std::int32_t& position, std::string& error) {
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || end != text.c_str() + text.size() || errno != 0) {
        error = "\"" + text + "\" is not a play position in sample frames (for example 441000)";
        return false;
    }
    if (value < 0 || value > 2147483647LL) {
        error = "play position " + text + " is outside 0 to 2147483647 sample frames";
        return false;
    }
    position = static_cast<std::int32_t>(value);
    return true;
}

bool parse_time_list(const std::string& text, std::vector<double>& times, std::string& error) {
    times.clear();
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string item =
            text.substr(start, comma == std::string::npos ? comma : comma - start);
        double seconds = 0.0;
        if (!parse_seconds(item, seconds, error)) {
            return false;
        }
        times.push_back(seconds);
        if (comma == std::string::npos) {
            return true;
        }
        start = comma + 1;
    }
}

bool parse_pass(const std::string& text, int& pass, std::string& error) {
    if (text == "0" || text == "1" || text == "2") {
        pass = text[0] - '0';
        return true;
    }
    error =
        "--pass takes 0 (scene), 1 (blur) or 2 (grade, the final picture), not \"" + text + "\"";
    return false;
}

bool read_shader_file(const std::string& path, std::string& text, std::string& error) {
    std::error_code status_error;
    const auto status = std::filesystem::status(path, status_error);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        error = "shader file \"" + path + "\" is not a regular file";
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot read shader file \"" + path + "\": " + std::strerror(errno);
        return false;
    }
    std::ostringstream contents;
    contents << file.rdbuf();
    if (file.bad()) {
        error = "cannot read shader file \"" + path + "\"";
        return false;
    }
    text = contents.str();
    if (text.find_first_not_of(" \t\r\n") == std::string::npos) {
        error = "shader file \"" + path + "\" is empty";
        return false;
    }
    return true;
}
