#include "MemoryTrack.h"

#include "HookedFields.h"
#include "TitleformatService.h"

bool MemoryTrack::format_title(titleformat_hook* hook, cvk::string_base& out,
                               const service_ptr_t<titleformat_object>& script,
                               titleformat_text_filter* filter) const {
    out.reset();
    if (!script) return false;
    const titleformat::TrackFields fields(_info);
    const library::TitleformatScript* compiled = library::TitleformatScript::from(script);
    if (!compiled) return false;
    // One buffer a thread, as the host's handles keep: formatting allocates nothing once warm.
    thread_local std::string text;
    if (!hook && !filter)
        compiled->script().format(fields, text);
    else
        compiled->script().format(library::HookedFields(&fields, hook, filter), text);
    out.set_string(text.data(), text.size());
    return true;
}

service_ptr_t<MemoryTrack> memoryTrack(const std::string& path, const Tags& tags, double length,
                                       int64_t size) {
    titleformat::TrackInfo info;
    info.path = "/music/" + path;
    for (const auto& [name, value] : tags) info.addTag(name, value);
    info.length = length;
    info.fileSize = size;
    info.codec = "FLAC";
    info.sampleRate = 44100;
    info.bitrate = 900;
    info.channels = 2;
    return service_new<MemoryTrack>(std::move(info));
}
