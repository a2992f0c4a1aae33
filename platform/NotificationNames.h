#pragma once

// Every notification the components post, one constant each: a typo in a free
// string would compile and then never deliver.

#include <QByteArray>

namespace platform {

// A notification's name. Compared by content, so that the same constant
// compiled into two bundles still names one notification.
class NotificationName {
public:
    constexpr explicit NotificationName(const char* name) : m_name(name) {}

    constexpr const char* value() const { return m_name; }
    QByteArray toByteArray() const { return QByteArray(m_name); }

private:
    const char* m_name;
};

// Classic settings changed; playlists and tab strips refresh.
inline constexpr NotificationName kClassicUIPrefsChanged{"QovClassicUIPrefsChanged"};
// The playback queue changed; Classic playlists relabel their rows.
inline constexpr NotificationName kClassicUIQueueChanged{"QovClassicUIQueueChanged"};
// The seekbar's colours changed.
inline constexpr NotificationName kWaveSeekbarPrefsChanged{"QovWaveSeekbarPrefsChanged"};

}  // namespace platform
