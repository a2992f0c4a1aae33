#include "PackageInstaller.h"

#include "UpdaterFixture.h"
#include "ZipWriter.h"

#include <fstream>

using namespace dravik_update;
namespace fs = std::filesystem;

namespace {

const QByteArray kName = "qov_wave_seekbar";

// `archive` (without a comment) with a zip64 locator pointing at `end64`,
// and a zip64 end record naming `directoryStart`, in front of its end record.
QByteArray withZip64(QByteArray archive, uint64_t end64, uint64_t directoryStart) {
    auto le = [](uint64_t v, int size) {
        QByteArray out;
        for (int i = 0; i < size; ++i) out += char(v >> (8 * i));
        return out;
    };
    const qsizetype end = archive.size() - 22;
    const QByteArray record = le(0x06064b50, 4) + QByteArray(36, '\0') + le(46, 8) + le(directoryStart, 8);
    const QByteArray locator = le(0x07064b50, 4) + le(0, 4) + le(end64 ? end64 : uint64_t(end), 8) + le(1, 4);
    return archive.insert(end, record + locator);
}

std::string fileText(const fs::path& p) {
    std::ifstream in(p);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class Install : public UpdaterTest {
protected:
    PackageInstaller installer{profile()};
    fs::path library() const { return installed(kName.toStdString()) / "qov_wave_seekbar.so"; }
    fs::path backupLibrary() const { return backup(kName.toStdString()) / "qov_wave_seekbar.so"; }
    QString install(const QByteArray& library) { return installer.install(package(kName, library), kName); }
};

}  // namespace

TEST_F(Install, TheFirstInstallationNeedsNoBackupAndTheNextKeepsOne) {
    EXPECT_TRUE(install("0.9").isNull());
    EXPECT_EQ(fileText(library()), "0.9");
    EXPECT_TRUE(fs::is_directory(profile() / "user-components-backup"));
    EXPECT_FALSE(fs::exists(backup(kName.toStdString())));

    EXPECT_TRUE(install("0.10").isNull());
    EXPECT_EQ(fileText(library()), "0.10");
    EXPECT_EQ(fileText(backupLibrary()), "0.9");
    // Only the last one replaced is kept.
    EXPECT_TRUE(install("0.11").isNull());
    EXPECT_EQ(fileText(backupLibrary()), "0.10");
    EXPECT_TRUE(temporaryLeftovers().isEmpty());
}

TEST_F(Install, WhenTheNewBundleCannotMoveInTheOldOneComesBack) {
    ASSERT_TRUE(install("0.9").isNull());
    const fs::path target = installed(kName.toStdString());
    installer.move = [target](const fs::path& from, const fs::path& to) {
        if (to == target && from.string().find("dravik-update-") != std::string::npos)
            return std::make_error_code(std::errc::no_space_on_device);
        return PackageInstaller::moveFolder(from, to);
    };
    const QString reason = install("0.10");
    EXPECT_TRUE(reason.endsWith(
        QString::fromLocal8Bit(std::make_error_code(std::errc::no_space_on_device).message()) + "."))
        << reason.toStdString();
    EXPECT_EQ(fileText(library()), "0.9");
    EXPECT_TRUE(temporaryLeftovers().isEmpty());

    // When the old one cannot even be moved aside, it stays where it is.
    installer.move = [](const fs::path&, const fs::path&) {
        return std::make_error_code(std::errc::permission_denied);
    };
    EXPECT_FALSE(install("0.11").isNull());
    EXPECT_EQ(fileText(library()), "0.9");
    EXPECT_TRUE(temporaryLeftovers().isEmpty());
}

TEST_F(Install, ArchivesThatAreNotAPlainBundleAreRefusedWhole) {
    ASSERT_TRUE(install("0.9").isNull());
    const auto bundle = [](std::vector<ZipItem> extra) {
        std::vector<ZipItem> items = bundleItems(kName, "evil");
        items.insert(items.end(), extra.begin(), extra.end());
        return makeZip(items);
    };
    struct Case {
        const char* what;
        QByteArray archive;
    };
    const Case cases[] = {
        {"bundle at the root", makeZip(bundleItems(kName, "evil", ""))},
        {"bundle without its library",
         makeZip({{"mac/", {}, 040755}, {"mac/qov_wave_seekbar.component/", {}, 040755}})},
        {"zip slip", bundle({{"../escaped", "x"}})},
        {"zip slip inside", bundle({{"mac/qov_wave_seekbar.component/../../../escaped", "x"}})},
        {"absolute path", bundle({{"/tmp/escaped", "x"}})},
        {"backslashes", bundle({{"..\\escaped", "x"}})},
        {"link", bundle({{"mac/qov_wave_seekbar.component/lib", "/etc", 0120777}})},
        {"link to write through", bundle({{"mac/up", "..", 0120777}, {"mac/up/escaped", "x"}})},
        {"fifo", bundle({{"mac/qov_wave_seekbar.component/pipe", {}, 010644}})},
        {"device", bundle({{"mac/qov_wave_seekbar.component/disk", {}, 060644}})},
        {"zip64 record past any size", withZip64(makeZip(bundleItems(kName, "x")), INT64_MAX - 15, 0)},
        {"zip64 directory past any size", withZip64(makeZip(bundleItems(kName, "x")), 0, INT64_MAX - 10)},
        {"not a zip", "PK\x03\x04 but nothing else"},
        {"empty", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(installer.install(c.archive, kName), kUnexpectedLayout) << c.what;
        EXPECT_EQ(fileText(library()), "0.9") << c.what;
        EXPECT_TRUE(temporaryLeftovers().isEmpty())
            << c.what << ": " << temporaryLeftovers().join(", ").toStdString();
    }
    EXPECT_FALSE(fs::exists(profile() / "escaped"));
    EXPECT_FALSE(fs::exists("/tmp/escaped"));
    EXPECT_FALSE(fs::exists(backup(kName.toStdString())));
}

TEST_F(Install, WhatAnArchiveUnpacksToIsBoundedWhateverItDeclares) {
    installer.maxUnpackedBytes = 1 << 20;
    std::vector<ZipItem> items = bundleItems(kName, "ok");
    items.push_back({"mac/qov_wave_seekbar.component/zeros", QByteArray(4 << 20, '\0'), 0100644, true, 100});
    EXPECT_EQ(installer.install(makeZip(items), kName), kUnexpectedLayout);
    EXPECT_FALSE(fs::exists(library()));
    EXPECT_TRUE(temporaryLeftovers().isEmpty());

    items.back().data.resize(512 << 10);
    items.back().declaredSize.reset();
    EXPECT_TRUE(installer.install(makeZip(items), kName).isNull());
}

TEST_F(Install, AComponentNameIsNeverAPath) {
    for (const char* name : {"", ".", "..", "../qov_wave_seekbar", "a/b"})
        EXPECT_EQ(installer.install(package(name, "x"), name), kUnexpectedLayout) << name;
    EXPECT_FALSE(fs::exists(profile()));
}
