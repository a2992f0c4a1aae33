#include "ClassicHost.h"

#include "ClassicSettings.h"
#include "ColumnSpec.h"
#include "SystemColors.h"
#include "TestApplication.h"

bool TaggedTrack::format_title(titleformat_hook*, cvk::string_base& out,
                               const service_ptr_t<titleformat_object>& script,
                               titleformat_text_filter*) const {
    out.reset();
    const auto* compiled = library::TitleformatScript::from(script);
    if (!compiled) return false;
    const std::string text = compiled->script().format(titleformat::TrackFields(m_info, nullptr, nullptr));
    out.set_string(text.data(), text.size());
    return true;
}

service_ptr_t<metadb_handle> tagged(const std::string& path,
                                    std::initializer_list<std::pair<const char*, const char*>> tags,
                                    double length) {
    titleformat::TrackInfo info;
    info.path = path;
    info.length = length;
    for (const auto& [name, value] : tags) info.addTag(name, value);
    return service_new<TaggedTrack>(std::move(info));
}

ClassicHost::ClassicHost() : playlists(service_new<playlists::PlaylistManager>()) {
    testApplication();
    player.bound.host.add(playlist_manager::class_guid, playlists);
    player.bound.host.add(playlist_manager_v2::class_guid, playlists);
    player.bound.host.add(titleformat_compiler::class_guid, service_new<library::TitleformatCompiler>());
    resetClassicSettings();
}

size_t ClassicHost::showPlaylist(const char* name, const metadb_handle_list& tracks) {
    const size_t p = playlists->create_playlist(name, SIZE_MAX, SIZE_MAX);
    playlists->playlist_add_items(p, tracks, bit_array_false());
    playlists->set_active_playlist(p);
    return p;
}

void resetClassicSettings() {
    cfg_fontName.set("");
    cfg_fontSize.set(kDefaultFontSize);
    cfg_rowHeight.set(kDefaultRowHeight);
    cfg_theme.set(kThemeSystem);
    cfg_accent.set("");
    cfg_tabClose.set(0);
    cfg_windowTitle.set(kDefaultWindowTitle);
    cfg_statusLeft.set(kDefaultStatusLeft);
    cfg_statusRight.set(kDefaultStatusRight);
    cfg_columns.set(kDefaultColumnSpec);
    cfg_groupBy.set("none");
    platform::SystemColors::forceAppearance(std::nullopt);
}
