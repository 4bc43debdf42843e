// Numeric checks of the shader's building blocks and of its prologue, through a probe shader:
// the picture's own source with its entry point renamed, plus a main that evaluates one
// expression per pixel column and writes the result's 32 bits into the four 8-bit channels.
#include "picture_fixture.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace {

struct Case {
    const char* expression;
    double expected;
    double tolerance;
};

constexpr const char* probe_helpers = R"(
vec4 encode_bits(float v) {
    uint b = floatBitsToUint(v);
    return vec4(b & 255u, (b >> 8) & 255u, (b >> 16) & 255u, b >> 24) / 255.0;
}
vec3 local_of(vec3 p, vec3 size) { vec3 i, l; repeat_cell(p, size, i, l); return l; }
vec3 index_of(vec3 p, vec3 size) { vec3 i, l; repeat_cell(p, size, i, l); return i; }
FieldSample field_in(int scene, vec3 p) { scene_id = scene; return scene_field(p); }
float after_prologue(int what) {
    prologue();
    return what == 0 ? float(scene_id) : float(shot_id);
}
)";

std::string probe_shader(const std::vector<Case>& cases) {
    std::string text = frame_renderer::embedded_shader_text();
    const std::size_t entry = text.find("void main()");
    if (entry != std::string::npos) {
        text.replace(entry, std::strlen("void main()"), "void picture_main()");
    }
    text += probe_helpers;
    text += "float probe(int id) {\n";
    for (std::size_t i = 0; i < cases.size(); ++i) {
        text +=
            "    if (id == " + std::to_string(i) + ") return float(" + cases[i].expression + ");\n";
    }
    text += "    return 0.0;\n}\n"
            "void main() { gl_FragColor = encode_bits(probe(int(gl_FragCoord.x))); }\n";
    return text;
}

bool build_probe(const std::vector<Case>& cases) {
    std::string error;
    const bool built =
        frame_renderer::use_shader(probe_shader(cases).c_str(), "probe shader", error);
    EXPECT_TRUE(built) << error;
    return built;
}

// Draws the probe at a play position and reads the value of every case from the middle row.
std::vector<float> read_probe(std::size_t count, std::int32_t position) {
    const Picture picture = draw_picture(position, 0);
    std::vector<float> values;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, picture.at(static_cast<int>(i), 210), 4);
        values.push_back(std::bit_cast<float>(bits));
    }
    return values;
}

void expect_cases(const std::vector<Case>& cases, std::int32_t position = 0) {
    ASSERT_TRUE(build_probe(cases));
    const std::vector<float> values = read_probe(cases.size(), position);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_NEAR(values[i], cases[i].expected, cases[i].tolerance) << cases[i].expression;
    }
}

class ShaderFunctions : public RendererSuite {
  protected:
    static void SetUpTestSuite() { open_with(frame_renderer::embedded_shader_text()); }
};

// Reference values computed here in single precision, as the shader computes them.
float hash_poly_reference(float v) {
    float h = v * 0.1031f;
    h -= std::floor(h);
    h *= h + 33.33f;
    h *= h + h;
    return h - std::floor(h);
}

float fold_fractal_reference(float x, float y, float z) {
    float w = 1.0f;
    for (int i = 0; i < 4; ++i) {
        x = std::fabs(x);
        y = std::fabs(y);
        z = std::fabs(z);
        if (x < y) {
            std::swap(x, y);
        }
        if (y < z) {
            std::swap(y, z);
        }
        x = x * 2.46f - 0.785f * 1.46f;
        y = y * 2.46f - 1.1f * 1.46f;
        z = z * 2.46f - 0.46f * 1.46f;
        w *= 2.46f;
        if (z < -0.5f * 0.46f * 1.46f) {
            z += 0.46f * 1.46f;
        }
    }
    const float dx = std::max(std::fabs(x) - 1.0f, 0.0f);
    const float dy = std::max(std::fabs(y) - 1.0f, 0.0f);
    const float dz = std::max(std::fabs(z) - 1.0f, 0.0f);
    return (std::sqrt(dx * dx + dy * dy + dz * dz) - 0.05f) / w;
}

double palette_reference(double x, double phase) {
    return 0.5 + 0.5 * std::cos(3.1459265359 * (x + phase));
}

TEST_F(ShaderFunctions, DistancePrimitives) {
    expect_cases({
        {"box_dist(vec3(2.0, 0.0, 0.0), vec3(1.0))", 1.0, 1e-6},
        {"box_dist(vec3(0.5, -0.9, 0.2), vec3(1.0))", 0.0, 0.0},
        {"box_dist(vec3(-2.0, 3.0, 0.5), vec3(1.0))", std::sqrt(5.0), 1e-6},
        // A negative half-extent leaves no surface; zero makes a flat sheet.
        {"box_dist(vec3(0.0), vec3(-0.5, 1.0, 1.0))", 0.5, 1e-6},
        {"box_dist(vec3(0.3, 0.0, -0.3), vec3(1.0, 0.0, 1.0))", 0.0, 0.0},
        {"index_of(vec3(12.0, -3.0, 25.0), vec3(10.0)).x", 1.0, 0.0},
        {"index_of(vec3(12.0, -3.0, 25.0), vec3(10.0)).y", 0.0, 0.0},
        {"index_of(vec3(12.0, -3.0, 25.0), vec3(10.0)).z", 3.0, 0.0},
        {"local_of(vec3(12.0, -3.0, 25.0), vec3(10.0)).x", 2.0, 1e-5},
        {"local_of(vec3(12.0, -3.0, 25.0), vec3(10.0)).y", -3.0, 1e-5},
        {"local_of(vec3(12.0, -3.0, 25.0), vec3(10.0)).z", -5.0, 1e-5}, // [-size/2, size/2)
        {"local_of(vec3(-15.0, 0.0, 0.0), vec3(10.0)).x", -5.0, 1e-5},
        {"fold_fractal(vec3(0.3, 0.2, 0.1))", fold_fractal_reference(0.3f, 0.2f, 0.1f), 1e-5},
        {"fold_fractal(vec3(1.05, -0.06, 0.4))", fold_fractal_reference(1.05f, -0.06f, 0.4f), 1e-5},
        {"fold_fractal(vec3(-2.0, 0.7, 3.0))", fold_fractal_reference(-2.0f, 0.7f, 3.0f), 1e-5},
    });
}

TEST_F(ShaderFunctions, CloserPrefersTheSecondSampleOnATie) {
    expect_cases({
        {"closer(FieldSample(1.0, 2.0, 0.9), FieldSample(1.0, 3.0, 0.9)).material", 3.0, 0.0},
        {"closer(FieldSample(0.5, 2.0, 0.9), FieldSample(1.0, 3.0, 0.9)).material", 2.0, 0.0},
        {"closer(FieldSample(1.5, 2.0, 0.9), FieldSample(1.0, 3.0, 0.9)).material", 3.0, 0.0},
    });
}

TEST_F(ShaderFunctions, NoiseHashesAndPalette) {
    const double half_turn = 3.1459265359;
    expect_cases({
        // At lattice points the noise is exactly the hash of the lattice point.
        {"value_noise(vec3(3.0, -2.0, 5.0)) - hash_sin(7.0 * 3.0 - 157.0 * 2.0 + 113.0 * 5.0)", 0.0,
         0.0},
        {"value_noise(vec3(0.0)) - hash_sin(0.0)", 0.0, 0.0},
        {"value_noise(vec3(-4.0, 0.0, 1.0)) - hash_sin(-28.0 + 113.0)", 0.0, 0.0},
        // A quarter of the way along x the smooth weight is 0.25^2 * (3 - 0.5) = 0.15625.
        {"value_noise(vec3(0.25, 0.0, 0.0)) - mix(hash_sin(0.0), hash_sin(7.0), 0.15625)", 0.0,
         1e-6},
        {"hash_sin(0.0)", 0.0, 0.0},
        {"hash_poly(0.37)", hash_poly_reference(0.37f), 1e-3},
        {"hash_poly(123.456)", hash_poly_reference(123.456f), 1e-3},
        {"hash_poly(-5.5)", hash_poly_reference(-5.5f), 1e-3},
        {"half_turn", half_turn, 1e-6},
        {"palette(3.1).r", palette_reference(3.1, 0.0), 1e-5},
        {"palette(3.1).g", palette_reference(3.1, 0.1), 1e-5},
        {"palette(3.1).b", palette_reference(3.1, 0.2), 1e-5},
        {"palette(10.0).r", palette_reference(10.0, 0.0), 1e-5},
        {"random_dir(0.25).y", 2.0 * hash_poly_reference(0.25f + 0.57f + 0.57f) - 1.0, 2e-3},
    });
}

TEST_F(ShaderFunctions, SceneFieldOutsideTheCityAndAtTheMarkers) {
    const double half_turn = 3.1459265359;
    expect_cases({
        {"field_in(-1, vec3(0.5, 0.1, 0.5)).distance", 40.0, 0.0},
        {"field_in(-1, vec3(0.5, 0.1, 0.5)).material", -1.0, 0.0},
        {"field_in(-1, vec3(0.5, 0.1, 0.5)).roughness", 0.9, 1e-6},
        // High above the blocks the nearest thing is a marker sphere of radius 0.01.
        {"field_in(1, vec3(10.0, 10.0, 10.0)).distance", -0.01, 1e-6},
        {"field_in(1, vec3(10.0, 10.0, 10.0)).material", 1.0 + 10.0 * half_turn, 1e-4},
        {"field_in(1, vec3(21.0, 20.0, 20.0)).distance", 0.99, 1e-5},
        {"field_in(1, vec3(-10.0, 30.0, 40.5)).distance", 0.49, 1e-5},
    });
}

// The remainder keeps the sign of the dividend, as C++'s % does.
TEST_F(ShaderFunctions, SeedRemainderOfNegativeOperands) {
    expect_cases({
        {"remainder_truncated(7, 5)", 2.0, 0.0},
        {"remainder_truncated(-7, 5)", -2.0, 0.0},
        {"remainder_truncated(-38069, 38069)", 0.0, 0.0},
        {"remainder_truncated(-2147483647 - 1, 38069)",
         static_cast<double>(std::int32_t{-2147483647 - 1} % 38069), 0.0},
        {"remainder_truncated(2147483647, 38069)", 2147483647 % 38069, 0.0},
    });
}

// At exactly 1, 10 and 15 s the new shot is in force; rows 4 to 10 of the timeline never are.
TEST_F(ShaderFunctions, TimelineShotsChangeAtExactlyTheirStart) {
    struct Moment {
        std::int32_t position;
        int scene;
        int shot;
    };
    const Moment moments[] = {
        {0, -1, -1},         {44099, -1, -1}, {44100, 1, 17},   {440999, 1, 17}, {441000, 1, 14},
        {661499, 1, 14},     {661500, 1, 12}, {1102500, 1, 12}, // 25 s: row 4 is never scanned
        {2425500, 1, 12},                                       // 55 s
        {2147483647, 1, 12},                                    // far past the end of the song
    };
    ASSERT_TRUE(build_probe({{"after_prologue(0)", 0.0, 0.0}, {"after_prologue(1)", 0.0, 0.0}}));
    for (const Moment& moment : moments) {
        SCOPED_TRACE(testing::Message() << "play position " << moment.position);
        const std::vector<float> values = read_probe(2, moment.position);
        EXPECT_EQ(values[0], static_cast<float>(moment.scene));
        EXPECT_EQ(values[1], static_cast<float>(moment.shot));
    }
}

} // namespace
