#include "UpdateCheck.h"

#include "UpdateEndpoints.h"
#include "UpdaterFixture.h"

#include <QJsonArray>
#include <QSettings>

using namespace dravik_update;

namespace {

const QString kName = QStringLiteral("qov_wave_seekbar");

void autoCheckSeekbar() {
    autoCheck(lastKey(kName), kName, QStringLiteral("0.8"), QStringLiteral("Waveform Seekbar"));
}

}  // namespace

TEST(DailyRule, ARecentCheckHoldsTheNextOffUntilADayHasPassed) {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    EXPECT_FALSE(checkIsDue(now.addSecs(-23 * 3600), now));
    EXPECT_FALSE(checkIsDue(now, now));
    EXPECT_TRUE(checkIsDue(now.addSecs(-25 * 3600), now));
    EXPECT_TRUE(checkIsDue(QVariant(), now));
    EXPECT_TRUE(checkIsDue(now.addSecs(-3600).toString(Qt::ISODate), now));  // not a date
    // A clock that was set back must not silence the updater for years.
    EXPECT_TRUE(checkIsDue(now.addDays(400), now));
}

TEST_F(UpdaterTest, AReceivedManifestIsRememberedAndANewerVersionOffered) {
    serveManifest(
        {{"qov_wave_seekbar", QJsonObject{{"version", "0.9"}, {"url", "https://maker.test/seekbar"}}},
         {"qov_ovix_ui", QJsonObject{{"version", "9.0"}}}});
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
    autoCheckSeekbar();
    ASSERT_TRUE(waitForAlerts(1));
    EXPECT_EQ(m_alerts[0].message, "Waveform Seekbar 0.9 is available");
    const QVariant last = QSettings().value(lastKey(kName));
    ASSERT_EQ(last.typeId(), QMetaType::QDateTime);
    EXPECT_GE(last.toDateTime(), before);
    // Another component's keys are its own.
    EXPECT_FALSE(QSettings().contains(lastKey("qov_ovix_ui")));

    // Nothing newer: still a received manifest, so still remembered, silently.
    QSettings().remove(lastKey(kName));
    serveManifest({{"qov_wave_seekbar", QJsonObject{{"version", "0.8"}}}});
    autoCheckSeekbar();
    ASSERT_TRUE(waitFor([] { return QSettings().contains(lastKey(kName)); }));
    EXPECT_EQ(m_alerts.size(), 1u);
}

TEST_F(UpdaterTest, NoManifestNoDateAndNoWord) {
    const QDateTime old = QDateTime::currentDateTimeUtc().addDays(-3);
    QSettings().setValue(lastKey(kName), old);
    struct Reply {
        QByteArray body;
        int status;
    };
    for (const Reply& r : {Reply{"<html>Service Unavailable</html>", 503},
                           Reply{"[{\"version\": \"9\"}]", 200}, Reply{"", 200}}) {
        m_server.serve("/quorv/updates.json", r.body, r.status);
        const qsizetype asked = m_server.requests().size();
        autoCheckSeekbar();
        ASSERT_TRUE(waitFor([&] { return m_server.requests().size() > asked; })) << r.body.constData();
        waitFor([] { return false; }, 300);
        EXPECT_EQ(QSettings().value(lastKey(kName)).toDateTime(), old) << r.body.constData();
    }

    // A dead network: nothing listens there any more.
    m_server.close();
    autoCheckSeekbar();
    waitFor([] { return false; }, 500);
    EXPECT_EQ(QSettings().value(lastKey(kName)).toDateTime(), old);
    EXPECT_TRUE(m_alerts.empty());
}

TEST_F(UpdaterTest, OnlyAnHttpsServerIsAsked) {
    qputenv("QOV_UPDATE_SERVER", "http://127.0.0.1:1");
    EXPECT_EQ(manifestUrl().toString(), "https://updates.dravik.example/quorv/updates.json");
    qputenv("QOV_UPDATE_SERVER", "https://mirror.test:8443/ignored/path?q=1");
    EXPECT_EQ(manifestUrl().toString(), "https://mirror.test:8443/quorv/updates.json");
    qunsetenv("QOV_UPDATE_SERVER");
    QSettings().setValue("dravik.update.server", "https://settings.test");
    EXPECT_EQ(serverHost(), "settings.test");
}
