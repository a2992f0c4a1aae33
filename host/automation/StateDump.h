#pragma once

// The player's state as JSON, for automation and tests. Each part comes from
// the service that owns it and is left out when that service is not
// registered, so a dump never stops the host. Main thread.
//
//   playlists[]        name, items (paths; "file://" dropped for local files),
//                      selection (indices), focus (index or null), locked,
//                      properties {GUID text: base64}       playlist_manager(_v2)
//   active_playlist    index or null                         playlist_manager
//   queue[]            playlist, item (index or null), path  playlist_manager
//   playback_order     name                                  playlist_manager
//   playing            path or null                          playback_control
//   position, length   seconds                               playback_control
//   is_playing, paused                                       playback_control
//   volume             decibels                              playback_control
//   window             title, width, height, layout, elements[] {name, instance,
//                      placeholder, x, y, width, height, accessible (the
//                      element's accessible tree, see AccessibleTree)},
//                      preferences {page, accessible} while that window is open
//   console            the last lines of the console
//   services           {interface name: registered?}

#include <QJsonObject>
#include <QRect>
#include <QString>
#include <QStringList>

#include <vector>

struct StateDumpWindow {
    struct Element {
        QString name;
        int instance = 0;
        bool placeholder = false;
        QRect geometry;  // in the window
        QJsonObject accessible;
    };
    QString title;
    QSize size;
    QString layout;
    std::vector<Element> elements;
    // Empty while the preferences window is closed.
    QString preferencesPage;
    QJsonObject preferences;
};

class StateDump {
public:
    static constexpr int kConsoleTail = 50;

    static QJsonObject collect(const StateDumpWindow& window, const QStringList& consoleTail);
    // "file:///a/b" → "/a/b"; other locations unchanged.
    static QString displayPath(const char* location);
};
