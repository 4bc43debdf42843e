// Finds where the audio a run of the program played comes from in the song: renders the song,
// reads the raw capture (interleaved float32 stereo, as SDL's disk driver writes it) and prints
// one line per stretch of the capture that plays the song continuously, with the song frame it
// starts at. Silent blocks say nothing about their origin and are skipped.
//
// Usage: capture_check CAPTURE.raw
#include "synth/render_song.h"
#include "synth/sound_buffer.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <unordered_map>
#include <vector>

namespace {

constexpr std::uint32_t kBlock = 256; // frames compared at a time
constexpr std::uint32_t kKey = 8;     // frames hashed to find candidates

std::uint64_t key_at(const float* frames) {
    std::uint64_t hash = 1469598103934665603ull;
    const auto* bytes = reinterpret_cast<const unsigned char*>(frames);
    for (std::size_t i = 0; i < kKey * 2 * sizeof(float); ++i) {
        hash = (hash ^ bytes[i]) * 1099511628211ull;
    }
    return hash;
}

bool silent(const float* frames, std::uint32_t count) {
    for (std::uint32_t i = 0; i < 2 * count; ++i) {
        if (frames[i] != 0.0f) {
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 || std::strcmp(argv[1], "--help") == 0) {
        std::fprintf(stderr, "usage: %s CAPTURE.raw\n", argv[0]);
        return argc == 2 ? 0 : 2;
    }
    std::FILE* file = std::fopen(argv[1], "rb");
    if (file == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    std::vector<float> capture;
    float chunk[4096];
    for (std::size_t got; (got = std::fread(chunk, sizeof(float), 4096, file)) > 0;) {
        capture.insert(capture.end(), chunk, chunk + got);
    }
    std::fclose(file);

    render_song(SoundBuffer);
    std::unordered_multimap<std::uint64_t, std::uint32_t> index;
    index.reserve(kSongFrames);
    for (std::uint32_t f = 0; f + kKey <= kSongFrames; ++f) {
        if (!silent(SoundBuffer + 2 * f, kKey)) {
            index.emplace(key_at(SoundBuffer + 2 * f), f);
        }
    }

    const auto frames = static_cast<std::uint32_t>(capture.size() / 2);
    std::int64_t current_shift = INT64_MIN;
    for (std::uint32_t c = 0; c + kBlock <= frames; c += kBlock) {
        const float* block = capture.data() + 2 * std::size_t{c};
        if (silent(block, kBlock)) {
            continue;
        }
        // Every place in the song this block could come from; a song that repeats itself
        // exactly leaves several, and such a block only confirms the stretch it continues.
        std::vector<std::int64_t> shifts;
        const auto [first, last] = index.equal_range(key_at(block));
        for (auto it = first; it != last; ++it) {
            const std::uint32_t s = it->second;
            if (s + kBlock <= kSongFrames &&
                std::memcmp(SoundBuffer + 2 * std::size_t{s}, block, kBlock * 8) == 0) {
                shifts.push_back(std::int64_t{s} - c);
            }
        }
        if (std::find(shifts.begin(), shifts.end(), current_shift) != shifts.end()) {
            continue;
        }
        if (shifts.empty()) {
            std::printf("capture %u: not found in the song\n", c);
        } else if (shifts.size() > 1) {
            std::printf("capture %u: found in %zu places in the song\n", c, shifts.size());
        } else {
            current_shift = shifts.front();
            std::printf("capture %u: song %lld\n", c, static_cast<long long>(c + current_shift));
        }
    }
    std::printf("capture frames: %u\n", frames);
    return 0;
}
