#pragma once

// Finds the audio files under a folder: what the library scans and what a
// dropped folder adds.
//
// Threads: any (meant for workers).

#include "abort_callback.h"

#include <QCollator>

#include <string>
#include <vector>

namespace library {

// Every file with a supported extension under `folder`, recursively. Each
// folder's entries come in natural order ("Track 2" before "Track 10", case
// ignored) with subfolders expanded where they sort; hidden entries (a leading
// dot) are skipped, and a folder met twice through links is read once.
// Unreadable folders are passed over. Throws exception_aborted.
std::vector<std::string> audioFilesIn(const std::string& folder, abort_callback& abort);

// That natural order. Not to be shared between threads.
QCollator naturalCollator();

}  // namespace library
