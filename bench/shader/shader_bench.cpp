// Milliseconds per frame and per pass of the picture, drawn headless through the program's frame
// routine. On Mesa's llvmpipe a frame takes far longer than on a GPU; the figures are for
// comparing shader changes on the same machine, not for judging real-time speed.
#include "frame_renderer.h"
#include "headless_gl.h"
#include "host/frame_passes.h"
#include "host/gl_api.h"
#include "host/gl_lookup.h"

#include <benchmark/benchmark.h>
#include <vector>

namespace {

// One moment of each shot the timeline reaches.
constexpr double shot_moments[] = {5.0, 12.5, 20.0};

std::int32_t position_of(const benchmark::State& state) {
    return frame_renderer::position_at(shot_moments[state.range(0)]);
}

void report(benchmark::State& state) {
    state.SetLabel("at " + std::to_string(shot_moments[state.range(0)]).substr(0, 4) + " s");
    state.counters["frames_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// The whole frame as the program draws it: three passes, two copies, then the picture read back.
void BM_Frame(benchmark::State& state) {
    std::vector<std::uint8_t> pixels(frame_renderer::frame_bytes);
    const std::int32_t position = position_of(state);
    for (auto _ : state) {
        frame_renderer::draw(position, 2, pixels);
    }
    report(state);
}

// One pass alone over the texture the frame routine leaves for it.
void draw_pass_alone(benchmark::State& state, int pass) {
    const std::int32_t position = position_of(state);
    // Leaves the texture holding the picture that `pass` reads.
    draw_frame_passes(position, pass);
    headless::finish();
    auto uniform2i = gl_lookup<PfnGlUniform2i>("glUniform2i");
    for (auto _ : state) {
        uniform2i(kUniformPassAndPosition, position, pass);
        glRects(1, 1, -1, -1);
        headless::finish();
    }
    report(state);
}

void BM_ScenePass(benchmark::State& state) {
    draw_pass_alone(state, 0);
}
void BM_BlurPass(benchmark::State& state) {
    draw_pass_alone(state, 1);
}
void BM_GradePass(benchmark::State& state) {
    draw_pass_alone(state, 2);
}

void moments(benchmark::internal::Benchmark* bench) {
    bench->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK(BM_Frame)->Apply(moments);
BENCHMARK(BM_ScenePass)->Apply(moments);
BENCHMARK(BM_BlurPass)->Apply(moments);
BENCHMARK(BM_GradePass)->Apply(moments);

} // namespace
