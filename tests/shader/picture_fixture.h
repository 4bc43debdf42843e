// Shared helpers of the shader tests: the headless renderer opened once per test suite, and
// pictures read back with row 0 at the bottom, as the shader counts rows.
#pragma once

#include "frame_renderer.h"

#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

struct Picture {
    std::vector<std::uint8_t> rgba = std::vector<std::uint8_t>(frame_renderer::frame_bytes);

    const std::uint8_t* at(int column, int row) const {
        return &rgba[(static_cast<std::size_t>(row) * frame_renderer::width +
                      static_cast<std::size_t>(column)) *
                     4];
    }
    bool row_equals(const Picture& other, int row) const;
    bool row_is_black(int row) const; // rgb 0 everywhere in the row
};

Picture draw_picture(std::int32_t position, int last_pass);

// Opens the headless context once for the suite and builds the given shader text.
class RendererSuite : public ::testing::Test {
  protected:
    // Call from SetUpTestSuite; every test then fails at once if it did not succeed.
    static void open_with(const std::string& shader_text);
    static void TearDownTestSuite() { frame_renderer::close(); }
    void SetUp() override { ASSERT_TRUE(ready_) << "the headless renderer did not start"; }

  private:
    static inline bool ready_ = false;
};

inline constexpr std::int32_t samples_per_second = 44100;
inline constexpr int first_picture_row = 57;
inline constexpr int last_picture_row = 362;
