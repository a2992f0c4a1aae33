#include "ConfigStore.h"
#include "ConfigStoreService.h"
#include "Console.h"
#include "LibraryTestSupport.h"
#include "MediaLibrary.h"
#include "Metadb.h"
#include "TrackHandle.h"

#include "config_store.h"
#include "library_manager.h"
#include "std_api.h"

#include <gtest/gtest.h>

#include <QDir>

#include <filesystem>

using library::MediaLibrary;
using library::Metadb;

namespace {

class MediaLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        app();
        ConfigStoreService::attach(
            std::make_shared<ConfigStore>(m_dir.file("config.sqlite"), Console::global()));
        m_music = m_dir.file("music");
        taggedTrack(m_music + "/Artist/Album/01 Intro.flac", "Intro");
        taggedTrack(m_music + "/Artist/Album/2 Song.flac", "Song");
        taggedTrack(m_music + "/Artist/Album/10 Outro.flac", "Outro");
        MediaFixtures::writeFile(m_music + "/Artist/Album/notes.txt", {'h', 'i'});
        std::filesystem::copy_file(MediaFixtures::path("cover.jpg"), m_music + "/Artist/Album/cover.jpg");
        taggedTrack(m_music + "/.hidden/secret.flac", "Secret");
        brokenTrack(m_music + "/Other/broken.flac");
        std::filesystem::copy_file(MediaFixtures::path("stereo.mp3"), m_music + "/Other/Track.mp3");
    }
    void TearDown() override {
        scan({});
        ConfigStoreService::attach(nullptr);
    }

    static void scan(const QStringList& folders) {
        MediaLibrary::instance().setFolders(folders);
        ASSERT_TRUE(waitUntil([] { return !MediaLibrary::instance().isScanning(); }));
    }

    static std::vector<std::string> paths() {
        metadb_handle_list items;
        qvn::std_api_get<library_manager>()->get_all_items(items);
        std::vector<std::string> out;
        for (const auto& t : items) out.push_back(t->get_path());
        return out;
    }

    std::string url(const std::string& relative) const { return "file://" + m_music + "/" + relative; }

    MediaFixtures::Scratch m_dir;
    std::string m_music;
};

TEST_F(MediaLibraryTest, ScansAudioFilesInNaturalOrderWithTheirInfo) {
    ConsoleLines console;
    scan({QString::fromStdString(m_music)});
    const std::vector<std::string> expected{url("Artist/Album/01 Intro.flac"),
                                            url("Artist/Album/2 Song.flac"),
                                            url("Artist/Album/10 Outro.flac"), url("Other/Track.mp3")};
    EXPECT_EQ(paths(), expected);
    EXPECT_EQ(console.count("Library: skipped " + m_music + "/Other/broken.flac: "), 1u);

    auto library = qvn::std_api_get<library_manager>();
    EXPECT_TRUE(library->is_library_enabled());
    metadb_handle_list items;
    library->get_all_items(items);
    for (const auto& track : items) {
        EXPECT_TRUE(library::TrackHandle::from(track)->infoLoaded()) << track->get_path();
        EXPECT_TRUE(library->is_item_in_library(track));
        EXPECT_GT(Metadb::instance().statistics(track).added, 0);
    }
    EXPECT_FALSE(library->is_item_in_library(Metadb::instance().handleFor(url(".hidden/secret.flac"))));
}

TEST_F(MediaLibraryTest, FoldersAreSavedOneALineAndReadBack) {
    const QString other = QString::fromStdString(m_music + "/Other");
    const QString artist = QString::fromStdString(m_music + "/Artist");
    scan({other, artist + "/", other});
    const auto saved = qvn::std_api_get<qvn::configStore>()->getConfigString(MediaLibrary::kFoldersKey, "");
    EXPECT_EQ(QString::fromUtf8(saved->c_str()), other + "\n" + artist);

    MediaLibrary::instance().setFolders({});
    qvn::std_api_get<qvn::configStore>()->setConfigString(MediaLibrary::kFoldersKey, saved->c_str());
    MediaLibrary::instance().loadFolders();
    ASSERT_TRUE(waitUntil([] { return !MediaLibrary::instance().isScanning(); }));
    EXPECT_EQ(MediaLibrary::instance().folders(), (QStringList{other, artist}));
    EXPECT_EQ(paths().size(), 4u);
}

TEST_F(MediaLibraryTest, ChangingTheFoldersRescans) {
    const QString music = QString::fromStdString(m_music);
    // A folder inside another adds nothing twice.
    scan({music + "/Artist/Album", music});
    EXPECT_EQ(paths().size(), 4u);

    scan({music + "/Artist"});
    EXPECT_EQ(paths().size(), 3u);

    scan({});
    EXPECT_FALSE(qvn::std_api_get<library_manager>()->is_library_enabled());
    EXPECT_TRUE(paths().empty());
}

TEST_F(MediaLibraryTest, AScanReplacedBeforeItEndsDeliversNothing) {
    int changes = 0;
    const auto connection =
        QObject::connect(&MediaLibrary::instance(), &MediaLibrary::itemsChanged, [&] { ++changes; });
    MediaLibrary::instance().setFolders({QString::fromStdString(m_music)});
    scan({QString::fromStdString(m_music + "/Other")});
    spinLoop();
    QObject::disconnect(connection);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(paths(), std::vector<std::string>{url("Other/Track.mp3")});
}

}  // namespace
