#include "wav_file.h"

#include <bit>
#include <cstring>

namespace {

constexpr std::uint16_t kFormatIeeeFloat = 3;

struct HeaderWriter {
    unsigned char bytes[kWavHeaderBytes];
    std::size_t size = 0;

    void tag(const char* four) {
        std::memcpy(bytes + size, four, 4);
        size += 4;
    }
    void u32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            bytes[size++] = static_cast<unsigned char>(v >> (8 * i));
        }
    }
    void u16(std::uint16_t v) {
        bytes[size++] = static_cast<unsigned char>(v);
        bytes[size++] = static_cast<unsigned char>(v >> 8);
    }
};

} // namespace

bool write_float_wav(std::FILE* out, const float* interleaved, std::uint32_t frames,
                     std::uint16_t channels, std::uint32_t sample_rate) {
    const std::uint32_t block_align = 4u * channels;
    const std::uint32_t data_bytes = frames * block_align;
    HeaderWriter h;
    h.tag("RIFF");
    h.u32(kWavHeaderBytes - 8 + data_bytes);
    h.tag("WAVE");
    h.tag("fmt ");
    h.u32(18);
    h.u16(kFormatIeeeFloat);
    h.u16(channels);
    h.u32(sample_rate);
    h.u32(sample_rate * block_align);
    h.u16(static_cast<std::uint16_t>(block_align));
    h.u16(32);
    h.u16(0);      // no extension
    h.tag("fact"); // required for formats other than integer PCM
    h.u32(4);
    h.u32(frames);
    h.tag("data");
    h.u32(data_bytes);
    if (std::fwrite(h.bytes, 1, h.size, out) != h.size) {
        return false;
    }
    static_assert(std::endian::native == std::endian::little, "samples are written as they lie");
    const std::size_t samples = std::size_t{frames} * channels;
    return std::fwrite(interleaved, sizeof(float), samples, out) == samples;
}
