// The song as the program plays it, rendered by the program's own sequencer into SoundBuffer,
// but only as far as a caller needs: a short excerpt near the start costs a few rows, not the
// whole song. Later calls carry on where the render stopped, exactly as one render would.
#pragma once

#include <cstdint>
#include <span>
#include <string>

// The song's first end_frame stereo frames (interleaved floats), rendered if they are not yet.
// Fails with a message when the song's patch is malformed or end_frame lies past the song.
bool song_through(std::uint32_t end_frame, std::span<const float>& samples, std::string& error);
