#pragma once

// The host as the Ovix elements see it: the shared test player with the host's
// real playlists and title formatting, tracks in memory, and scripted album
// art and main menu, each recording what it was asked.

#include "album_art.h"
#include "mainmenu.h"
#include "MemoryTrack.h"
#include "PlaylistHost.h"

#include <QByteArray>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <vector>

// Front covers by track path; a path without one has no art. Reads can be
// slowed to catch fetches in flight.
class FakeAlbumArt : public album_art_manager_v2 {
public:
    service_ptr_t<album_art_extractor_instance_v2> open(const metadb_handle_list& items,
                                                        const std::vector<GUID>& ids,
                                                        abort_callback& abort) override;

    void set(const std::string& location, QByteArray bytes);
    std::atomic<int> delayMs{0};
    std::atomic<int> queries{0};
    std::atomic<int> finished{0};  // queries that returned or threw

    QByteArray bytesFor(const std::string& location);

private:
    std::mutex _mutex;
    std::map<std::string, QByteArray> _covers;
};

class FakeMainMenu : public mainmenu_manager {
public:
    bool run_command(const GUID& command) override {
        ran.push_back(command);
        return true;
    }
    std::vector<GUID> ran;
};

class OvixTestHost : public PlaylistHost {
public:
    OvixTestHost();

    service_ptr_t<FakeAlbumArt> art = service_new<FakeAlbumArt>();
    service_ptr_t<FakeMainMenu> menu = service_new<FakeMainMenu>();
};

// An album track: artist, album artist, album, title.
service_ptr_t<MemoryTrack> albumTrack(const std::string& album, const std::string& title, double length = 180,
                                      const std::string& artist = "Artist");
