// A picture of the song for judging a change to the patch without listening: the left and right
// waveforms (the lowest and highest sample under each column, with the RMS inside), a
// spectrogram on a logarithmic frequency scale below them, and a time axis in seconds.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

struct SongPictureLayout {
    static constexpr int margin = 8;
    static constexpr int label_width = 40;  // frequency labels left of the spectrogram
    static constexpr int lane_height = 100; // one waveform lane per channel
    static constexpr int gap = 6;
    static constexpr int spectrogram_height = 256;
    static constexpr int axis_height = 30;
    static constexpr double lowest_hz = 30.0;
    static constexpr double highest_hz = 20'000.0;

    static constexpr int left = margin + label_width; // first column of the plots
    static constexpr int lane_top(int channel) { return margin + channel * (lane_height + gap); }
    static constexpr int spectrogram_top = margin + 2 * (lane_height + gap);
    static constexpr int axis_top = spectrogram_top + spectrogram_height;
    static constexpr int height = axis_top + axis_height + margin;
    static constexpr int width_for(int plot_width) { return left + plot_width + margin; }
};

struct SongPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba; // top row first
};

// Draws stereo (interleaved, left first) at sample_rate frames per second, which starts
// start_seconds into the song, over plot_width columns (at least 1).
SongPicture draw_song_picture(std::span<const float> stereo, std::uint32_t sample_rate,
                              double start_seconds, int plot_width);
