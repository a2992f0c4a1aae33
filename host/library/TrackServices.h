#pragma once

// The host's life cycle of its track and media services.
//
//   startTrackServices(profile)  after the configuration store is attached:
//                                play statistics opened from
//                                PROFILE/library.sqlite, library folders read
//                                and scanned, "added" kept for every track
//                                that enters a playlist
//   stopTrackServices()          after the components' quit hooks, before
//                                their code unloads: pending file resolutions
//                                answered with on_aborted, the library scan
//                                ended, pending main-thread callbacks dropped,
//                                statistics closed
//
// Threads: main thread.

#include <filesystem>

namespace library {

inline constexpr const char* kStatisticsFileName = "library.sqlite";

void startTrackServices(const std::filesystem::path& profileDir);
void stopTrackServices();

}  // namespace library
