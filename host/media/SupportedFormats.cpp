#include "SupportedFormats.h"

#include <algorithm>
#include <cctype>

namespace media {

const std::vector<std::string>& supportedExtensions() {
    static const std::vector<std::string> kExtensions = {
        "aac", "ac3", "aif", "aifc", "aiff", "ape", "au",  "caf", "dsf", "flac", "m4a",  "m4b", "mka", "mp2",
        "mp3", "mpc", "oga", "ogg",  "opus", "spx", "tak", "tta", "w64", "wav",  "webm", "wma", "wv",
    };
    return kExtensions;
}

bool supportedExtension(std::string_view path) {
    const size_t slash = path.find_last_of('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    // A leading dot marks a hidden file, not an extension.
    if (dot == std::string_view::npos || dot == 0 || dot + 1 == name.size()) return false;
    std::string ext(name.substr(dot + 1));
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    const auto& all = supportedExtensions();
    return std::binary_search(all.begin(), all.end(), ext);
}

}  // namespace media
