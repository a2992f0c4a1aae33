#include "UserDefaults.h"

#include "Printers.h"
#include "TestApplication.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using platform::UserDefaults;

TEST(UserDefaults, EachFolderKeepsItsOwnAndKeepsThemAcrossOpenings) {
    testApplication();
    QTemporaryDir first, second;
    const QString key = QStringLiteral("dravik.update.qov_test.last");

    UserDefaults::setFolder(first.path());
    QSettings().setValue(key, 1718000000);  // written when the object goes
    const QString file = QSettings().fileName();
    EXPECT_TRUE(file.startsWith(first.path() + u'/')) << file.toStdString();
    EXPECT_TRUE(file.endsWith(QStringLiteral(".ini"))) << file.toStdString();
    EXPECT_TRUE(QFile::exists(file));

    UserDefaults::setFolder(second.path());
    EXPECT_FALSE(QSettings().contains(key));
    QSettings().setValue(key, 5);

    UserDefaults::setFolder(first.path());
    EXPECT_EQ(QSettings().value(key).toLongLong(), 1718000000);
}
