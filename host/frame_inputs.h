// The arithmetic that turns the cursor and the audio clock into the shader's inputs.
#pragma once

#include <cstdint>

struct MouseValues {
    float x;
    float y;
    float button;
};

// The cursor relative to (325, 225), scaled by (640, 420); the button as 1 or 0.
inline MouseValues mouse_values(std::int32_t cursor_x, std::int32_t cursor_y, bool button_down) {
    // Subtract as integers first, then convert and divide in single precision.
    return {static_cast<float>(std::int64_t{cursor_x} - 325) / 640.0f,
            static_cast<float>(std::int64_t{cursor_y} - 225) / 420.0f, button_down ? 1.0f : 0.0f};
}

// The play position in sample frames, read as unsigned, in seconds.
inline float time_from_position(std::int32_t play_position) {
    return static_cast<float>(static_cast<std::uint32_t>(play_position)) / 44100.0f;
}
