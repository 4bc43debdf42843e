#include "contact_sheet.h"

#include "caption_font.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int frame_width = 640;
constexpr int frame_height = 420;
constexpr std::uint8_t background = 40;
constexpr std::uint8_t caption_ink = 230;
constexpr int caption_scale = 2;

} // namespace

ContactSheet::ContactSheet(int frame_count)
    : columns_(std::clamp(frame_count, 1, max_columns)),
      width_(columns_ * (thumbnail_width + gap) + gap),
      height_(((std::max(frame_count, 1) + columns_ - 1) / columns_) *
                  (thumbnail_height + caption_height + gap) +
              gap),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 4) {
    for (std::size_t i = 0; i < pixels_.size(); i += 4) {
        pixels_[i] = pixels_[i + 1] = pixels_[i + 2] = background;
        pixels_[i + 3] = 255;
    }
}

void ContactSheet::place(int index, std::span<const std::uint8_t> frame_rgba,
                         const std::string& caption) {
    if (frame_rgba.size() < std::size_t{frame_width} * frame_height * 4) {
        return;
    }
    const int left = gap + (index % columns_) * (thumbnail_width + gap);
    const int top = gap + (index / columns_) * (thumbnail_height + caption_height + gap);
    for (int y = 0; y < thumbnail_height; ++y) {
        // Sheet rows run top-down, frame rows bottom-up.
        const int frame_row = frame_height - 2 - 2 * y;
        for (int x = 0; x < thumbnail_width; ++x) {
            std::uint8_t* out =
                &pixels_[(static_cast<std::size_t>(top + y) * static_cast<std::size_t>(width_) +
                          static_cast<std::size_t>(left + x)) *
                         4];
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int dy = 0; dy < 2; ++dy) {
                    for (int dx = 0; dx < 2; ++dx) {
                        const std::size_t at =
                            (static_cast<std::size_t>(frame_row + dy) * frame_width +
                             static_cast<std::size_t>(2 * x + dx)) *
                                4 +
                            static_cast<std::size_t>(c);
                        sum += frame_rgba[at];
                    }
                }
                out[c] = static_cast<std::uint8_t>((sum + 2) / 4);
            }
            out[3] = 255;
        }
    }
    draw_text(left + thumbnail_width / 2, top + thumbnail_height + 4, caption);
}

void ContactSheet::set_pixel(int x, int y, std::uint8_t value) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return;
    }
    std::uint8_t* out = &pixels_[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                                  static_cast<std::size_t>(x)) *
                                 4];
    out[0] = out[1] = out[2] = value;
}

void ContactSheet::draw_text(int centre_x, int top, const std::string& text) {
    const int advance = (glyph_width + 1) * caption_scale;
    const int text_width = static_cast<int>(text.size()) * advance - caption_scale;
    int left = centre_x - text_width / 2;
    for (char c : text) {
        const Glyph glyph = caption_glyph(c);
        for (int row = 0; row < glyph_height; ++row) {
            for (int column = 0; column < glyph_width; ++column) {
                if ((glyph[static_cast<std::size_t>(row)] >> (glyph_width - 1 - column) & 1) == 0) {
                    continue;
                }
                for (int sy = 0; sy < caption_scale; ++sy) {
                    for (int sx = 0; sx < caption_scale; ++sx) {
                        set_pixel(left + column * caption_scale + sx,
                                  top + row * caption_scale + sy, caption_ink);
                    }
                }
            }
        }
        left += advance;
    }
}

std::string time_caption(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", seconds);
    return text;
}
