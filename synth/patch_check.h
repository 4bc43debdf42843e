// Validates a song's patch before it is rendered: the patch machine itself trusts its data.
#pragma once

#include "song/song.h"

#include <optional>
#include <string>

// One pass over the command and value streams. Returns nothing for a sound patch, or a message
// naming the voice, the command index and the reason for the first fault found.
std::optional<std::string> check_patch(const Song& song);
