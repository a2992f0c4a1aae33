#include "ManualCheck.h"
#include "UpdateCheck.h"
#include "UpdateOffer.h"

#include "UpdaterFixture.h"

#include "componentversion.h"

#include <QSettings>

#include <fstream>

using namespace dravik_update;
namespace fs = std::filesystem;

namespace {

class version_record : public componentversion {
public:
    version_record(std::string file, std::string name, std::string version)
        : m_file(std::move(file)), m_name(std::move(name)), m_version(std::move(version)) {}
    void get_file_name(cvk::string_base& out) override { out.add_string(m_file.c_str()); }
    void get_component_name(cvk::string_base& out) override { out.add_string(m_name.c_str()); }
    void get_component_version(cvk::string_base& out) override { out.add_string(m_version.c_str()); }
    void get_about_message(cvk::string_base&) override {}

private:
    std::string m_file, m_name, m_version;
};

class ManualCheck : public UpdaterTest {
protected:
    ManualCheck() {
        for (auto [file, name, version] : {std::tuple{"qov_classic_ui", "Classic UI", "0.18"},
                                           {"qov_ovix_ui", "OVIX UI", "0.6"},
                                           {"qov_wave_seekbar", "Waveform Seekbar", "0.8"}})
            m_bound.host.add(componentversion::class_guid, service_new<version_record>(file, name, version));
    }

    // A package for `name` served at /NAME.zip, and its entry.
    QJsonObject publish(const QString& name, const QString& version, const QByteArray& library) {
        const QByteArray zip = package(name.toUtf8(), library);
        m_server.serve("/" + name + ".zip", zip);
        return entryFor(version, "/" + name + ".zip", zip);
    }

    std::string libraryText(const std::string& name) {
        std::ifstream in(installed(name) / (name + ".so"));
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

}  // namespace

TEST_F(ManualCheck, UpToDateListsOnlyWhatIsBothPublishedAndInstalled) {
    serveManifest({{"qov_other", QJsonObject{{"version", "5.0"}}}});
    checkForPluginUpdates();
    ASSERT_TRUE(waitForAlerts(1));
    EXPECT_EQ(m_alerts[0].message, "All plugins are up to date");
    EXPECT_EQ(m_alerts[0].informative, "");

    serveManifest({{"qov_other", QJsonObject{{"version", "5.0"}}},
                   {"qov_ovix_ui", QJsonObject{{"version", "0.6"}}},
                   {"qov_classic_ui", QJsonObject{{"version", "0.17"}}}});
    checkForPluginUpdates();
    ASSERT_TRUE(waitForAlerts(2));
    EXPECT_EQ(m_alerts[1].informative, "Classic UI 0.18\nOVIX UI 0.6");
    // The daily check's dates are not the manual check's business.
    EXPECT_FALSE(QSettings().contains(lastKey("qov_ovix_ui")));
}

TEST_F(ManualCheck, AFailedCheckSaysWhy) {
    m_server.serve("/quorv/updates.json", "[]");
    checkForPluginUpdates();
    ASSERT_TRUE(waitForAlerts(1));
    EXPECT_EQ(m_alerts[0].message, "Could not check for updates");
    EXPECT_EQ(m_alerts[0].informative, "The update server 127.0.0.1 did not return update information.");

    m_server.serve("/quorv/updates.json", "{ not json");
    checkForPluginUpdates();
    ASSERT_TRUE(waitForAlerts(2));
    EXPECT_FALSE(m_alerts[1].informative.isEmpty());
    EXPECT_FALSE(m_alerts[1].informative.contains("127.0.0.1"));
}

TEST_F(ManualCheck, OneNewerComponentGetsTheSingleOfferEvenWhenSkipped) {
    QSettings().setValue(skipKey("qov_ovix_ui"), "0.7");
    serveManifest({{"qov_ovix_ui", publish("qov_ovix_ui", "0.7", "ovix 0.7")}});
    answer({1, 2});
    checkForPluginUpdates();
    ASSERT_TRUE(waitForAlerts(2));
    EXPECT_EQ(m_alerts[0].message, "OVIX UI 0.7 is available");
    EXPECT_EQ(m_alerts[0].buttons, QStringList({"Install and Restart", "Later"}));
    EXPECT_EQ(m_alerts[1].message, "OVIX UI 0.7 installed");
    EXPECT_EQ(libraryText("qov_ovix_ui"), "ovix 0.7");
}

TEST_F(ManualCheck, WithoutEveryPackageOnlyTheFirstDownloadPageOpens) {
    QJsonObject ovix = publish("qov_ovix_ui", "0.7", "ovix");
    ovix.remove("sha256");
    ovix["url"] = "https://maker.test/ovix";
    QJsonObject classic = publish("qov_classic_ui", "0.19", "classic");
    classic["url"] = "https://maker.test/classic";
    serveManifest({{"qov_ovix_ui", ovix}, {"qov_classic_ui", classic}});
    answer({1});
    checkForPluginUpdates();
    ASSERT_TRUE(waitForAlerts(1));
    EXPECT_EQ(m_alerts[0].message, "Plugin updates are available");
    EXPECT_EQ(m_alerts[0].informative,
              QString::fromUtf8("\u2022 Classic UI 0.18 \u2192 0.19\n\u2022 OVIX UI 0.6 \u2192 0.7"));
    EXPECT_EQ(m_alerts[0].buttons, QStringList({"Open Download Page", "Later"}));
    ASSERT_EQ(m_pages.opened.size(), 1u);
    EXPECT_EQ(m_pages.opened[0].toString(), "https://maker.test/classic");
    EXPECT_FALSE(fs::exists(profile()));
}

TEST_F(ManualCheck, InstallAllGoesOnPastAFailureAndListsIt) {
    QJsonObject ovix = publish("qov_ovix_ui", "0.7", "ovix 0.7");
    ovix["sha256"] = QString(64, u'f');
    serveManifest({{"qov_classic_ui", publish("qov_classic_ui", "0.19", "classic 0.19")},
                   {"qov_ovix_ui", ovix},
                   {"qov_wave_seekbar", publish("qov_wave_seekbar", "0.9", "seekbar 0.9")}});
    // The next download starts only once the one before is in place.
    QStringList installedWhenAsked;
    m_server.onRequest = [&](const QString&) {
        for (const char* name : {"qov_classic_ui", "qov_ovix_ui", "qov_wave_seekbar"})
            if (fs::exists(installed(name))) installedWhenAsked << name;
        installedWhenAsked << "|";
    };
    answer({1, 2});
    checkForPluginUpdates();
    ASSERT_TRUE(waitForAlerts(2));
    EXPECT_EQ(installedWhenAsked.join(" "), "| | qov_classic_ui | qov_classic_ui |");
    EXPECT_EQ(m_alerts[0].buttons, QStringList({"Install All and Restart", "Later"}));
    EXPECT_EQ(m_alerts[1].message, "Some updates could not be installed");
    EXPECT_EQ(m_alerts[1].informative, QString("OVIX UI: ") + kChecksumMismatch);
    EXPECT_EQ(m_alerts[1].buttons, QStringList({"Restart Now", "Later"}));
    EXPECT_EQ(libraryText("qov_classic_ui"), "classic 0.19");
    EXPECT_EQ(libraryText("qov_wave_seekbar"), "seekbar 0.9");
    EXPECT_FALSE(fs::exists(installed("qov_ovix_ui")));
    EXPECT_EQ(m_server.requests(), QStringList({"/quorv/updates.json", "/qov_classic_ui.zip",
                                                "/qov_ovix_ui.zip", "/qov_wave_seekbar.zip"}));
}

TEST_F(ManualCheck, InstallAllWithoutAFailureSaysSo) {
    serveManifest({{"qov_classic_ui", publish("qov_classic_ui", "0.19", "classic 0.19")},
                   {"qov_wave_seekbar", publish("qov_wave_seekbar", "1.0", "seekbar 1.0")}});
    answer({1, 2});
    checkForPluginUpdates();
    ASSERT_TRUE(waitForAlerts(2));
    EXPECT_EQ(m_alerts[1].message, "Updates installed");
    EXPECT_EQ(m_alerts[1].informative, "Restart quorvane to start using them.");
    EXPECT_EQ(libraryText("qov_wave_seekbar"), "seekbar 1.0");
}
