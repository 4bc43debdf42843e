// Argument parsing shared by the picture subcommands.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The longest moment a play position (signed 32-bit sample frames) can name.
inline constexpr double latest_seconds = 2147483647.0 / 44100.0;

// A time in seconds: a finite decimal number from 0 up to latest_seconds. Past the end of the
// song is allowed: the clock stands there and the picture goes on.
bool parse_seconds(const std::string& text, double& seconds, std::string& error);

// A play position in sample frames: an integer from 0 to 2147483647.
bool parse_position(const std::string& text, std::int32_t& position, std::string& error);

// Comma-separated times in seconds, at least one.
bool parse_time_list(const std::string& text, std::vector<double>& times, std::string& error);

// The pass index after which the picture is taken: 0, 1 or 2.
bool parse_pass(const std::string& text, int& pass, std::string& error);

// Reads a whole shader file. Fails with a message for a missing, unreadable or empty file.
bool read_shader_file(const std::string& path, std::string& text, std::string& error);
