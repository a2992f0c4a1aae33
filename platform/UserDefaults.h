#pragma once

// Where the process keeps its user defaults: every QSettings made with the
// default constructor (as the components make theirs) reads and writes an ini
// file in one folder, so that each profile of the player, and each test run,
// has its own. Main thread, before anything opens settings.

#include "platform_export.h"

#include <QString>

namespace platform {

class QOV_PLATFORM_API UserDefaults {
public:
    // From now on QSettings() is FOLDER/ORGANIZATION/APPLICATION.ini. QSettings
    // needs an organization name: without one the application's is taken, or
    // "qov" when there is none either.
    static void setFolder(const QString& folder);
};

}  // namespace platform
