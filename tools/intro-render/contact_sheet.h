// Lays out thumbnails of frames in a grid, each with its time written under it, so that a
// change to the shader can be judged at a glance.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class ContactSheet {
  public:
    static constexpr int thumbnail_width = 320; // half the picture, 2 x 2 pixels averaged
    static constexpr int thumbnail_height = 210;
    static constexpr int caption_height = 22;
    static constexpr int gap = 4;
    static constexpr int max_columns = 4;

    explicit ContactSheet(int frame_count);

    // Puts frame `index` (640 x 420 RGBA8, bottom row first, as read from GL) into its cell with
    // the caption under it.
    void place(int index, std::span<const std::uint8_t> frame_rgba, const std::string& caption);

    int width() const { return width_; }
    int height() const { return height_; }
    // RGBA8, top row first.
    std::span<const std::uint8_t> pixels() const { return pixels_; }

  private:
    void draw_text(int centre_x, int top, const std::string& text);
    void set_pixel(int x, int y, std::uint8_t value);

    int columns_;
    int width_;
    int height_;
    std::vector<std::uint8_t> pixels_;
};

// The caption for a moment: seconds with two decimals, e.g. "12.50 s".
std::string time_caption(double seconds);
