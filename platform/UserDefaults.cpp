#include "UserDefaults.h"

#include <QCoreApplication>
#include <QSettings>

namespace platform {

void UserDefaults::setFolder(const QString& folder) {
    if (QCoreApplication::organizationName().isEmpty()) {
        const QString application = QCoreApplication::applicationName();
        QCoreApplication::setOrganizationName(application.isEmpty() ? QStringLiteral("qov") : application);
    }
    // The same format on every desktop, so the folder alone says where.
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
}

}  // namespace platform
