#pragma once

// Files and folders into the active playlist, the way Add Files..., Open...
// and the automation's `add` do it: the host's incoming-item filter resolves
// the locations off the main thread, then the tracks go to the end of the
// active playlist, or replace its contents. With no active playlist a new one
// named "Default" is made active first. Main thread.

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

class TrackAdder {
public:
    static constexpr const char* kDefaultPlaylistName = "Default";

    struct Result {
        bool ok = false;
        size_t added = 0;
        size_t playlist = SIZE_MAX;
        size_t first = SIZE_MAX;  // index of the first new item
        QString error;            // set when !ok
    };

    enum class Mode { Append, Replace };

    // `done` runs later on the main thread, once: with the tracks, or with the
    // reason (a missing service among them). Not at all when `guard` has gone
    // by then, or when the host drops the request at quit.
    static void add(const QStringList& locations, Mode mode, QWidget* parent, QObject* guard,
                    std::function<void(const Result&)> done);

    // The active playlist, made when there is none; SIZE_MAX when refused.
    static size_t activeOrDefaultPlaylist(QString* error);
};
