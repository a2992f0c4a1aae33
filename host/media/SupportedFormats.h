#pragma once

// Which files the host treats as audio tracks, by extension (case-insensitive).

#include <string>
#include <string_view>
#include <vector>

namespace media {

// True when the file name's extension is one the host decodes. Only the last
// path component counts, so "album.flac/notes" is not audio.
bool supportedExtension(std::string_view path);

// Lower-case extensions without the dot, for file dialogs and folder scans.
const std::vector<std::string>& supportedExtensions();

}  // namespace media
