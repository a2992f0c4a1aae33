#pragma once

// A generated playlist for the benchmarks: albums of 8 to 15 tracks in order,
// a tenth of them compilations, a quarter without an album artist tag, tags and
// technical info as a music collection has them. The same for every run.

#include "TrackFields.h"

#include <cstddef>
#include <vector>

std::vector<titleformat::TrackInfo> generatedPlaylist(std::size_t count);
