// How fast the song renders: the whole song against its playing time, and the first row, which
// playback needs before it can start without silence.
#include "sequencer.h"
#include "sound_buffer.h"

#include <benchmark/benchmark.h>
#include <cstring>
#include <memory>

namespace {

constexpr double kSongSeconds = static_cast<double>(kSongFrames) / kSampleRate;

void render_fresh(benchmark::State& bench, std::uint32_t rows) {
    auto state = std::make_unique<SynthState>();
    for (auto _ : bench) {
        bench.PauseTiming();
        std::memset(state.get(), 0, sizeof(SynthState));
        RenderCursor cursor;
        bench.ResumeTiming();
        render_rows(*state, cursor, the_song, SoundBuffer, rows, nullptr);
        benchmark::DoNotOptimize(SoundBuffer[0]);
    }
}

void BM_WholeSong(benchmark::State& bench) {
    render_fresh(bench, kSongRows);
    // Seconds of song per second of rendering, from the mean iteration time.
    bench.counters["x_realtime"] = benchmark::Counter(
        kSongSeconds * static_cast<double>(bench.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WholeSong)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

void BM_FirstRow(benchmark::State& bench) {
    render_fresh(bench, 1);
}
BENCHMARK(BM_FirstRow)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
