#include "Manifest.h"

#include <QJsonArray>

#include <gtest/gtest.h>

using namespace dravik_update;

namespace {

QJsonObject manifestWith(const QJsonValue& entry) { return {{"qov_wave_seekbar", entry}}; }

bool offers(const QString& current, const QString& published) {
    return newerEntry(manifestWith(QJsonObject{{"version", published}}), "qov_wave_seekbar", current)
        .has_value();
}

}  // namespace

TEST(VersionRule, PartsCompareAsNumbersAndMissingPartsCountAsZero) {
    struct Case {
        const char* current;
        const char* published;
        bool newer;
    };
    for (const Case& c : {Case{"0.8", "0.10", true},
                          {"0.18", "0.18.0", false},
                          {"0.6", "0.6.1", true},
                          {"0.18", "0.19", true},
                          {"0.19", "0.18", false},
                          {"0.10", "0.9", false},
                          {"1.0", "1", false},
                          {"1", "1.0.0", false},
                          {"1.2", "1.2-beta", false},
                          {"1.2-beta", "1.3", true},
                          {"0.8", " 0.9", true},
                          {"beta", "0.0.1", true},
                          {"0.8", "", false},
                          {"2.-1", "2.0", true},
                          // No overflow: huge parts saturate instead of wrapping negative.
                          {"99999999999999999999999", "1", false}})
        EXPECT_EQ(offers(c.current, c.published), c.newer) << c.current << " -> " << c.published;
}

TEST(Manifest, OnlyAnObjectEntryWithAStringVersionIsOffered) {
    const QJsonObject good{{"version", "0.9"}, {"file", 12}};
    EXPECT_TRUE(newerEntry(manifestWith(good), "qov_wave_seekbar", "0.8").has_value());
    EXPECT_FALSE(newerEntry(manifestWith(good), "qov_classic_ui", "0.8").has_value());
    EXPECT_FALSE(newerEntry(manifestWith(QJsonObject{{"version", 0.9}}), "qov_wave_seekbar", "0.8"));
    EXPECT_FALSE(newerEntry(manifestWith("0.9"), "qov_wave_seekbar", "0.8"));
    EXPECT_FALSE(newerEntry(manifestWith(QJsonArray{}), "qov_wave_seekbar", "0.8"));
    // Members of another type read as absent.
    EXPECT_TRUE(str(good, "file").isNull());
    EXPECT_TRUE(str(good, "notes").isNull());
}

TEST(Manifest, RepliesThatAreNotAJsonObjectGiveNoManifest) {
    const ManifestReply object = parseManifest(R"({"qov_ovix_ui": {"version": "0.7"}})");
    ASSERT_TRUE(object.manifest);
    EXPECT_TRUE(object.error.isEmpty());

    const ManifestReply page = parseManifest("<html><body>502 Bad Gateway</body></html>");
    EXPECT_FALSE(page.manifest);
    EXPECT_FALSE(page.error.isEmpty());

    const ManifestReply array = parseManifest("[1, 2]");
    EXPECT_FALSE(array.manifest);
    EXPECT_TRUE(array.error.isEmpty());
    // Like the page: a bare value is not a JSON document.
    EXPECT_FALSE(parseManifest("17").manifest);
}

TEST(Manifest, InstallableNeedsAFileAndA64CharacterDigest) {
    const QString digest(64, u'a');
    EXPECT_TRUE(isInstallable({{"file", "https://x/p.zip"}, {"sha256", digest}}));
    EXPECT_FALSE(isInstallable({{"file", "https://x/p.zip"}, {"sha256", digest.left(63)}}));
    EXPECT_FALSE(isInstallable({{"file", "https://x/p.zip"}, {"sha256", digest + u'a'}}));
    EXPECT_FALSE(isInstallable({{"sha256", digest}}));
}
