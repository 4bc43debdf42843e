#include "host/platform/sdl/stream_player.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace {

constexpr std::uint32_t kFrames = 10'000;
constexpr std::uint32_t kRate = 1'000; // one frame per millisecond keeps the arithmetic readable
constexpr std::int64_t kMs = 1'000'000;

float song[2 * kFrames];
std::atomic<std::uint32_t> published{0};
std::uint32_t progress() {
    return published.load(std::memory_order_acquire);
}

// Frame f holds (f + 1, -(f + 1)), so that every sample says where it came from.
void render_all() {
    for (std::uint32_t f = 0; f < kFrames; ++f) {
        song[2 * f] = static_cast<float>(f + 1);
        song[2 * f + 1] = -static_cast<float>(f + 1);
    }
    published.store(kFrames, std::memory_order_release);
}

class StreamPlayerTest : public testing::Test {
  protected:
    void SetUp() override { render_all(); }
    std::vector<float> fill(std::uint32_t frames, std::int64_t now) {
        std::vector<float> out(2 * frames, 99.0f);
        player.fill(out.data(), frames, now);
        return out;
    }
    StreamPlayer player{song, kFrames, progress, kRate};
};

TEST_F(StreamPlayerTest, PlaysTheRegionOnceThenSilence) {
    player.start(9'990, 100, 0);
    const auto out = fill(16, 0);
    for (std::uint32_t i = 0; i < 10; ++i) {
        EXPECT_EQ(out[2 * i], static_cast<float>(9'991 + i));
        EXPECT_EQ(out[2 * i + 1], -static_cast<float>(9'991 + i));
    }
    for (std::uint32_t i = 10; i < 16; ++i) {
        EXPECT_EQ(out[2 * i], 0.0f);
    }
}

TEST_F(StreamPlayerTest, UnpublishedFramesPlayAsSilenceUntilPublished) {
    published.store(5, std::memory_order_release);
    player.start(3, 100, 0);
    const auto first = fill(4, 0);
    EXPECT_EQ(first[0], 4.0f);
    EXPECT_EQ(first[2], 5.0f);
    EXPECT_EQ(first[4], 0.0f); // frame 5 is not published yet
    EXPECT_EQ(first[6], 0.0f);
    published.store(kFrames, std::memory_order_release);
    EXPECT_EQ(fill(1, 0)[0], 8.0f); // the frames already played are not replayed
}

TEST_F(StreamPlayerTest, StopGivesSilenceAtOnce) {
    player.start(0, kFrames, 0);
    player.stop();
    const auto out = fill(8, 0);
    for (float sample : out) {
        EXPECT_EQ(sample, 0.0f);
    }
}

TEST_F(StreamPlayerTest, PositionStartsWhenTheDeviceFirstAsks) {
    player.set_latency(100);
    player.start(0, 1'000, 0);
    EXPECT_EQ(player.position(50 * kMs), 0u); // no callback yet
    fill(100, 60 * kMs);                      // the device takes frames 0..99
    EXPECT_EQ(player.position(60 * kMs), 0u); // all of them still in its buffer
    EXPECT_EQ(player.position(150 * kMs), 0u);
    EXPECT_EQ(player.position(176 * kMs), 16u);
    EXPECT_EQ(player.position(500 * kMs), 100u); // never past what the device was given
}

// A device that asks for 100 frames every 100 ms, each callback up to 12 ms late, and holds one
// buffer before the speaker; the program reads the clock every 16 ms.
TEST_F(StreamPlayerTest, PositionFollowsTheAudibleFrameAtThePlayRateDespiteJitter) {
    player.set_latency(100);
    player.start(0, kFrames, 0);
    const std::int64_t late_ms[] = {0, 12, 3, 9, 0, 11, 6, 1, 12, 0, 7, 4};
    std::uint32_t callbacks = 0;
    std::uint32_t previous = 0;
    for (std::int64_t t = 0; t < 6'000; t += 16) {
        while (callbacks * 100 + late_ms[callbacks % 12] <= t) {
            fill(100, (callbacks * 100 + late_ms[callbacks % 12]) * kMs);
            ++callbacks;
        }
        const std::uint32_t now = player.position(t * kMs);
        const double audible = std::max<double>(0.0, static_cast<double>(t) - 100.0);
        if (t >= 300) {
            EXPECT_GT(now, previous) << "frozen at " << t << " ms";
            EXPECT_NEAR(now, audible, 12.0) << "at " << t << " ms";
        }
        EXPECT_LE(now, callbacks * 100u);
        previous = now;
    }
}

TEST_F(StreamPlayerTest, StalledDeviceStopsTheClockAtWhatItWasGiven) {
    player.set_latency(100);
    player.start(0, kFrames, 0);
    for (std::uint32_t k = 0; k < 5; ++k) {
        fill(100, k * 100 * kMs);
    }
    EXPECT_EQ(player.position(10'000 * kMs), 500u);
    fill(100, 10'000 * kMs); // it resumes: the clock is set again, not pulled over seconds
    EXPECT_EQ(player.position(10'050 * kMs), 500u);
    EXPECT_EQ(player.position(10'120 * kMs), 520u);
}

TEST_F(StreamPlayerTest, PositionStandsStillAfterTheEndAndRestartsAtZero) {
    player.set_latency(10);
    player.start(500, 50, 0);
    for (int i = 0; i < 10; ++i) {
        fill(20, i * 20 * kMs);
    }
    EXPECT_EQ(player.position(10'000 * kMs), 50u);
    EXPECT_EQ(player.position(20'000 * kMs), 50u);
    player.start(0, 100, 20'000 * kMs);
    EXPECT_EQ(player.position(20'000 * kMs), 0u);
}

// The render thread, the device thread and the main thread at once, as in the program: every
// sample the device plays is either silence or the sample rendered for that frame, and the clock
// never runs backwards between starts. Run under ThreadSanitizer this also checks the sharing.
TEST(StreamPlayerThreads, RenderDeviceAndMainThreadShareWithoutRaces) {
    static float buffer[2 * kFrames];
    static std::atomic<std::uint32_t> rendered{0};
    struct Source {
        static std::uint32_t progress() { return rendered.load(std::memory_order_acquire); }
    };
    rendered.store(0);
    StreamPlayer player(buffer, kFrames, Source::progress, 44'100);
    player.set_latency(64);
    player.start(0, kFrames, 0);

    std::thread render([] {
        for (std::uint32_t f = 0; f < kFrames; ++f) {
            buffer[2 * f] = static_cast<float>(f + 1);
            buffer[2 * f + 1] = -static_cast<float>(f + 1);
            if (f % 64 == 63) {
                rendered.store(f + 1, std::memory_order_release);
            }
        }
        rendered.store(kFrames, std::memory_order_release);
    });
    std::atomic<bool> done{false};
    std::atomic<int> bad_samples{0};
    std::thread device([&] {
        float out[2 * 128];
        std::int64_t now = 0;
        while (!done.load()) {
            player.fill(out, 128, now);
            now += 3 * kMs;
            for (int i = 0; i < 128; ++i) {
                const float left = out[2 * i];
                if (left != -out[2 * i + 1] || left < 0 || left != std::floor(left)) {
                    bad_samples.fetch_add(1);
                }
            }
        }
    });
    std::int64_t now = 0;
    for (int step = 0; step < 2'000; ++step) {
        if (step % 500 == 499) {
            player.stop();
            player.start(static_cast<std::uint32_t>(step), kFrames - 2'000, now);
        }
        const std::uint32_t a = player.position(now);
        const std::uint32_t b = player.position(now);
        EXPECT_LE(a, b);
        now += kMs;
        std::this_thread::yield();
    }
    render.join();
    done.store(true);
    device.join();
    EXPECT_EQ(bad_samples.load(), 0);
}

} // namespace
