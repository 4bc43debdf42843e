#include "song_picture.h"

#include "caption_font.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <cstdio>
#include <numbers>
#include <string>

namespace {

using Layout = SongPictureLayout;
using Colour = std::array<std::uint8_t, 3>;

constexpr Colour background{24, 24, 28};
constexpr Colour lane_background{12, 12, 16};
constexpr Colour centre_line{60, 60, 70};
constexpr Colour grid_line{40, 40, 50};
constexpr Colour peak_colour{70, 140, 210};
constexpr Colour rms_colour{160, 210, 250};
constexpr Colour clip_colour{240, 60, 50};
constexpr Colour ink{220, 220, 220};

constexpr int fft_size = 4096;
constexpr double floor_db = -96.0;
constexpr int text_scale = 2;

class Canvas {
  public:
    Canvas(int width, int height)
        : width_(width), height_(height),
          pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4, 255) {
        fill(0, 0, width, height, background);
    }

    void set(int x, int y, const Colour& colour) {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) {
            return;
        }
        std::uint8_t* pixel =
            &pixels_[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                      static_cast<std::size_t>(x)) *
                     4];
        pixel[0] = colour[0];
        pixel[1] = colour[1];
        pixel[2] = colour[2];
    }

    bool is(int x, int y, const Colour& colour) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) {
            return false;
        }
        const std::uint8_t* pixel =
            &pixels_[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                      static_cast<std::size_t>(x)) *
                     4];
        return pixel[0] == colour[0] && pixel[1] == colour[1] && pixel[2] == colour[2];
    }

    void fill(int x, int y, int w, int h, const Colour& colour) {
        for (int row = y; row < y + h; ++row) {
            for (int column = x; column < x + w; ++column) {
                set(column, row, colour);
            }
        }
    }

    // Text in the caption font; `right` aligns its right edge at x instead of its left.
    void text(int x, int top, const std::string& line, int scale, bool right = false) {
        const int advance = (glyph_width + 1) * scale;
        int left = right ? x - static_cast<int>(line.size()) * advance + scale : x;
        for (const char c : line) {
            const Glyph glyph = caption_glyph(c);
            for (int row = 0; row < glyph_height; ++row) {
                for (int column = 0; column < glyph_width; ++column) {
                    if ((glyph[static_cast<std::size_t>(row)] >> (glyph_width - 1 - column)) & 1) {
                        fill(left + column * scale, top + row * scale, scale, scale, ink);
                    }
                }
            }
            left += advance;
        }
    }

    std::vector<std::uint8_t> take() { return std::move(pixels_); }

  private:
    int width_;
    int height_;
    std::vector<std::uint8_t> pixels_;
};

// In-place radix-2 FFT of a power-of-two length.
void fft(std::vector<std::complex<double>>& data) {
    const std::size_t n = data.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) {
            j ^= bit;
        }
        j ^= bit;
        if (i < j) {
            std::swap(data[i], data[j]);
        }
    }
    for (std::size_t length = 2; length <= n; length <<= 1) {
        const double angle = -2.0 * std::numbers::pi / static_cast<double>(length);
        const std::complex<double> step(std::cos(angle), std::sin(angle));
        for (std::size_t start = 0; start < n; start += length) {
            std::complex<double> twiddle(1.0, 0.0);
            for (std::size_t k = 0; k < length / 2; ++k) {
                const std::complex<double> even = data[start + k];
                const std::complex<double> odd = data[start + k + length / 2] * twiddle;
                data[start + k] = even + odd;
                data[start + k + length / 2] = even - odd;
                twiddle *= step;
            }
        }
    }
}

// Black through blue, magenta and orange to pale yellow as the level rises from the floor to
// full scale.
Colour heat(double level) {
    constexpr std::array<std::array<double, 3>, 5> stops{
        {{0, 0, 0}, {20, 20, 110}, {150, 30, 140}, {240, 120, 30}, {255, 250, 190}}};
    const double position = std::clamp(level, 0.0, 1.0) * (stops.size() - 1);
    const std::size_t index = std::min(static_cast<std::size_t>(position), stops.size() - 2);
    const double t = position - static_cast<double>(index);
    Colour colour{};
    for (std::size_t c = 0; c < 3; ++c) {
        colour[c] = static_cast<std::uint8_t>(
            std::lround(stops[index][c] + (stops[index + 1][c] - stops[index][c]) * t));
    }
    return colour;
}

struct ColumnRange {
    std::size_t first;
    std::size_t end;
};

ColumnRange column_frames(int column, int columns, std::size_t frames) {
    const auto at = [&](int c) {
        return static_cast<std::size_t>(static_cast<double>(frames) * c / columns);
    };
    ColumnRange range{at(column), at(column + 1)};
    range.end = std::max(range.end, std::min(range.first + 1, frames));
    return range;
}

void draw_waveforms(Canvas& canvas, std::span<const float> stereo, int columns) {
    const std::size_t frames = stereo.size() / 2;
    const int half = Layout::lane_height / 2;
    for (int channel = 0; channel < 2; ++channel) {
        const int top = Layout::lane_top(channel);
        canvas.fill(Layout::left, top, columns, Layout::lane_height, lane_background);
        canvas.fill(Layout::left, top + half, columns, 1, centre_line);
        const auto row_of = [&](double value) {
            return top + half -
                   static_cast<int>(std::lround(std::clamp(value, -1.0, 1.0) * (half - 1)));
        };
        for (int column = 0; column < columns && frames > 0; ++column) {
            const ColumnRange range = column_frames(column, columns, frames);
            double low = 0.0;
            double high = 0.0;
            double energy = 0.0;
            bool clipped = false;
            for (std::size_t f = range.first; f < range.end; ++f) {
                const double value = stereo[2 * f + static_cast<std::size_t>(channel)];
                low = std::min(low, value);
                high = std::max(high, value);
                energy += value * value;
                clipped = clipped || std::fabs(value) > 1.0;
            }
            const double rms = std::sqrt(energy / static_cast<double>(range.end - range.first));
            const int x = Layout::left + column;
            for (int y = row_of(high); y <= row_of(low); ++y) {
                canvas.set(x, y, peak_colour);
            }
            for (int y = row_of(std::min(rms, high)); y <= row_of(std::max(-rms, low)); ++y) {
                canvas.set(x, y, rms_colour);
            }
            if (clipped) {
                canvas.fill(x, top, 1, 3, clip_colour);
                canvas.fill(x, top + Layout::lane_height - 3, 1, 3, clip_colour);
            }
        }
    }
}

double row_frequency(double row_from_top) {
    const double fraction = 1.0 - row_from_top / Layout::spectrogram_height;
    return Layout::lowest_hz * std::pow(Layout::highest_hz / Layout::lowest_hz, fraction);
}

void draw_spectrogram(Canvas& canvas, std::span<const float> stereo, std::uint32_t sample_rate,
                      int columns) {
    const std::size_t frames = stereo.size() / 2;
    std::vector<double> window(fft_size);
    for (int i = 0; i < fft_size; ++i) {
        window[static_cast<std::size_t>(i)] =
            0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / fft_size);
    }
    // A full-scale sine reads 0 dB: the Hann window keeps half of its amplitude.
    const double full_scale = fft_size / 4.0;
    const double bin_hz = static_cast<double>(sample_rate) / fft_size;
    std::vector<std::complex<double>> spectrum(fft_size);
    for (int column = 0; column < columns; ++column) {
        const double centre = (column + 0.5) * static_cast<double>(frames) / columns;
        const long long first = std::llround(centre) - fft_size / 2;
        for (int i = 0; i < fft_size; ++i) {
            const long long f = first + i;
            double mono = 0.0;
            if (f >= 0 && static_cast<std::size_t>(f) < frames) {
                const std::size_t at = 2 * static_cast<std::size_t>(f);
                mono = 0.5 * (stereo[at] + stereo[at + 1]);
            }
            spectrum[static_cast<std::size_t>(i)] = mono * window[static_cast<std::size_t>(i)];
        }
        fft(spectrum);
        for (int row = 0; row < Layout::spectrogram_height; ++row) {
            // The loudest bin within the row's band, or the nearest one where the band is
            // narrower than a bin (the low end of the log scale).
            const double upper = row_frequency(row) / bin_hz;
            const double lower = row_frequency(row + 1) / bin_hz;
            std::size_t bin = static_cast<std::size_t>(std::lround(0.5 * (lower + upper)));
            const std::size_t last = std::max(bin, static_cast<std::size_t>(upper));
            bin = std::min(bin, static_cast<std::size_t>(std::ceil(lower)));
            double magnitude = 0.0;
            for (; bin <= last && bin < fft_size / 2; ++bin) {
                magnitude = std::max(magnitude, std::abs(spectrum[bin]));
            }
            const double db = 20.0 * std::log10(std::max(magnitude / full_scale, 1e-12));
            canvas.set(Layout::left + column, Layout::spectrogram_top + row,
                       heat(1.0 - db / floor_db));
        }
    }
    // Frequency labels, in hertz, on the left.
    for (const double hz : {100.0, 1000.0, 10000.0}) {
        const double fraction =
            std::log(hz / Layout::lowest_hz) / std::log(Layout::highest_hz / Layout::lowest_hz);
        const int y = Layout::spectrogram_top +
                      static_cast<int>(std::lround((1.0 - fraction) * Layout::spectrogram_height));
        canvas.fill(Layout::left - 4, y, 4, 1, ink);
        canvas.text(Layout::left - 6, y - glyph_height / 2, std::to_string(std::lround(hz)), 1,
                    true);
    }
}

double tick_step(double seconds, int columns) {
    for (const double step : {0.1, 0.2, 0.5, 1.0, 2.0, 5.0, 10.0, 15.0, 30.0, 60.0}) {
        if (step / seconds * columns >= 90.0) {
            return step;
        }
    }
    return 120.0;
}

std::string tick_label(double seconds, double step) {
    char text[32];
    // Adding zero turns the -0 that rounding can leave into 0.
    std::snprintf(text, sizeof text, step < 1.0 ? "%.1f s" : "%.0f s", seconds + 0.0);
    return text;
}

void draw_time_axis(Canvas& canvas, double start_seconds, double seconds, int columns) {
    const double step = tick_step(seconds, columns);
    canvas.fill(Layout::left, Layout::axis_top, columns, 1, ink);
    for (double tick = std::ceil(start_seconds / step - 1e-9) * step;
         tick <= start_seconds + seconds + 1e-9; tick += step) {
        const int x = Layout::left +
                      static_cast<int>(std::lround((tick - start_seconds) / seconds * columns)) -
                      (tick > start_seconds + seconds - 1e-9 ? 1 : 0);
        // A faint dotted line behind the waveforms makes the ticks easy to follow up.
        for (int channel = 0; channel < 2; ++channel) {
            const int top = Layout::lane_top(channel);
            for (int y = top; y < top + Layout::lane_height; y += 2) {
                if (canvas.is(x, y, lane_background)) {
                    canvas.set(x, y, grid_line);
                }
            }
        }
        canvas.fill(x, Layout::axis_top, 1, 6, ink);
        const std::string label = tick_label(tick, step);
        const int label_width = static_cast<int>(label.size()) * (glyph_width + 1) * text_scale;
        const int left =
            std::clamp(x - label_width / 2, 0, Layout::width_for(columns) - label_width);
        canvas.text(left, Layout::axis_top + 10, label, text_scale);
    }
}

} // namespace

SongPicture draw_song_picture(std::span<const float> stereo, std::uint32_t sample_rate,
                              double start_seconds, int plot_width) {
    const int columns = std::max(plot_width, 1);
    SongPicture picture;
    picture.width = Layout::width_for(columns);
    picture.height = Layout::height;
    Canvas canvas(picture.width, picture.height);
    draw_waveforms(canvas, stereo, columns);
    draw_spectrogram(canvas, stereo, sample_rate, columns);
    const double seconds = static_cast<double>(stereo.size() / 2) / sample_rate;
    if (seconds > 0.0) {
        draw_time_axis(canvas, start_seconds, seconds, columns);
    }
    picture.rgba = canvas.take();
    return picture;
}
