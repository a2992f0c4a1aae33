#include "Download.h"
#include "UpdateCheck.h"
#include "UpdateOffer.h"

#include "UpdaterFixture.h"

#include <QFile>
#include <QSettings>

#include <fstream>

using namespace dravik_update;
namespace fs = std::filesystem;

namespace {

const QString kName = QStringLiteral("qov_wave_seekbar");
const QString kDisplay = QStringLiteral("Waveform Seekbar");

void offer(const QJsonObject& entry, bool manual) { showUpdate(kName, kDisplay, "0.8", entry, manual); }

std::string fileText(const fs::path& p) {
    std::ifstream in(p);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST_F(UpdaterTest, TheOfferNamesBothVersionsAndTheNotes) {
    const QByteArray zip = package("qov_wave_seekbar", "new");
    offer(entryFor("0.9", "/p.zip", zip), false);
    QJsonObject plain = entryFor("0.9", "/p.zip", zip);
    plain.remove("notes");
    offer(plain, true);

    ASSERT_EQ(m_alerts.size(), 2u);
    EXPECT_EQ(m_alerts[0].message, "Waveform Seekbar 0.9 is available");
    EXPECT_EQ(m_alerts[0].informative, "You have version 0.8.\n\nFixes.");
    EXPECT_EQ(m_alerts[0].buttons, QStringList({"Install and Restart", "Later", "Skip This Version"}));
    EXPECT_EQ(m_alerts[1].informative, "You have version 0.8.");
    EXPECT_EQ(m_alerts[1].buttons, QStringList({"Install and Restart", "Later"}));
    // "Later" leaves no trace.
    EXPECT_FALSE(QSettings().contains(skipKey(kName)));
    EXPECT_TRUE(m_server.requests().isEmpty());
}

TEST_F(UpdaterTest, ASkippedVersionStaysQuietOnlyForTheAutomaticCheck) {
    const QJsonObject v09{{"version", "0.9"}, {"url", "https://maker.test/a"}};
    answer({3});
    offer(v09, false);
    EXPECT_EQ(QSettings().value(skipKey(kName)).toString(), "0.9");

    offer(v09, false);
    EXPECT_EQ(m_alerts.size(), 1u);
    offer(v09, true);
    EXPECT_EQ(m_alerts.size(), 2u);
    // A later version is offered again.
    offer({{"version", "0.10"}}, false);
    EXPECT_EQ(m_alerts.size(), 3u);
    EXPECT_EQ(m_alerts[2].message, "Waveform Seekbar 0.10 is available");
}

TEST_F(UpdaterTest, WithoutAnInstallablePackageTheFirstButtonOpensAWebPage) {
    const QString digest(64, u'0');
    struct Case {
        QJsonObject entry;
        QString page;
    };
    for (const Case& c :
         {Case{{{"version", "0.9"},
                {"file", "https://x.test/p.zip"},
                {"sha256", digest.left(63)},
                {"url", "https://maker.test/seekbar"}},
               "https://maker.test/seekbar"},
          Case{{{"version", "0.9"}, {"file", "https://x.test/p.zip"}, {"sha256", digest + u'0'}},
               "https://maker.test/plugins"},
          // A manifest must not open local files through the desktop.
          Case{{{"version", "0.9"}, {"url", "file:///usr/bin/xterm"}}, "https://maker.test/plugins"}}) {
        m_pages.opened.clear();
        answer({1});
        offer(c.entry, false);
        EXPECT_EQ(m_alerts.back().buttons.first(), "Download");
        ASSERT_EQ(m_pages.opened.size(), 1u);
        EXPECT_EQ(m_pages.opened[0].toString(), c.page);
    }
    EXPECT_TRUE(m_server.requests().isEmpty());
}

TEST_F(UpdaterTest, InstallAndRestartPutsTheCheckedPackageInPlace) {
    const QByteArray zip = package("qov_wave_seekbar", "version 0.9");
    m_server.serve("/seekbar-0.9.zip", zip);
    QJsonObject entry = entryFor("0.9", "/seekbar-0.9.zip", zip);
    entry["sha256"] = sha256Hex(zip).toUpper();

    answer({1, 2});
    offer(entry, false);
    ASSERT_TRUE(waitForAlerts(2));
    EXPECT_EQ(m_alerts[1].message, "Waveform Seekbar 0.9 installed");
    EXPECT_EQ(m_alerts[1].informative, "Restart quorvane to start using it.");
    EXPECT_EQ(m_alerts[1].buttons, QStringList({"Restart Now", "Later"}));
    EXPECT_EQ(fileText(installed("qov_wave_seekbar") / "qov_wave_seekbar.so"), "version 0.9");
    EXPECT_TRUE(temporaryLeftovers().isEmpty()) << temporaryLeftovers().join(", ").toStdString();
}

TEST_F(UpdaterTest, APackageThatIsNotTheOneDescribedIsNeverWritten) {
    const QByteArray zip = package("qov_wave_seekbar", "version 0.9");
    m_server.serve("/p.zip", zip);
    QJsonObject entry = entryFor("0.9", "/p.zip", package("qov_wave_seekbar", "something else"));
    // An error page is a body like any other: it fails the digest, not the transfer.
    QJsonObject missing = entryFor("0.9", "/gone.zip", zip);

    answer({1, 1, 1, 1});
    offer(entry, true);
    ASSERT_TRUE(waitForAlerts(2));
    offer(missing, true);
    ASSERT_TRUE(waitForAlerts(4));
    for (int i : {1, 3}) {
        EXPECT_EQ(m_alerts[i].message, "Could not update Waveform Seekbar");
        EXPECT_EQ(m_alerts[i].informative, kChecksumMismatch);
        EXPECT_EQ(m_alerts[i].buttons, QStringList({"OK"}));
    }
    EXPECT_FALSE(fs::exists(profile()));
    EXPECT_TRUE(temporaryLeftovers().isEmpty());
}

TEST_F(UpdaterTest, ADeadNetworkEndsInTheFailedAlert) {
    const QByteArray zip = package("qov_wave_seekbar", "new");
    QJsonObject entry = entryFor("0.9", "/p.zip", zip);
    m_server.close();
    answer({1});
    offer(entry, false);
    ASSERT_TRUE(waitForAlerts(2));
    EXPECT_EQ(m_alerts[1].message, "Could not update Waveform Seekbar");
    EXPECT_EQ(m_alerts[1].informative, "Connection refused");
}

TEST_F(UpdaterTest, AServerThatNeverAnswersTimesOutIntoTheFailedAlert) {
    const QByteArray zip = package("qov_wave_seekbar", "new");
    m_server.neverAnswer("/p.zip");
    answer({1});
    offer(entryFor("0.9", "/p.zip", zip), false);
    ASSERT_TRUE(waitForAlerts(2, kRequestTimeoutMs * 3));
    EXPECT_EQ(m_alerts[1].informative, "The request timed out.");
    EXPECT_FALSE(fs::exists(profile()));
}
