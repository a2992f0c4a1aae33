#include "LibraryTestSupport.h"
#include "Metadb.h"

#include "album_art.h"
#include "std_api.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

using library::Metadb;
using Bytes = std::vector<unsigned char>;

namespace {

// The front cover as a worker thread fetches it, the way the now-playing
// panel does.
Bytes frontCover(const metadb_handle_list& tracks) {
    Bytes bytes;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            abort_callback_impl abort;
            auto extractor =
                qvn::std_api_get<album_art_manager_v2>()->open(tracks, {album_art_ids::cover_front}, abort);
            auto data = extractor->query(album_art_ids::cover_front, abort);
            const auto* p = static_cast<const unsigned char*>(data->get_ptr());
            bytes.assign(p, p + data->get_size());
        } catch (...) {
            failure = std::current_exception();
        }
    });
    worker.join();
    if (failure) std::rethrow_exception(failure);
    return bytes;
}

TEST(AlbumArt, EmbeddedFirstThenAnImageBesideTheFile) {
    MediaFixtures::Scratch dir;
    const Bytes png = MediaFixtures::readFile(MediaFixtures::path("cover.png"));
    const Bytes jpg = MediaFixtures::readFile(MediaFixtures::path("cover.jpg"));
    const auto plain = Metadb::instance().handleFor(dir.copy("stereo.flac", "plain.flac"));
    const auto embedded = Metadb::instance().handleFor(dir.copy("stereo.flac", "embedded.flac"));
    media::TagWriter::writeFrontCover(embedded->get_location().path.substr(7), png);

    EXPECT_THROW(frontCover({plain}), exception_album_art_not_found);
    EXPECT_EQ(frontCover({embedded}), png);
    // The first of several tracks that has a cover gives it.
    EXPECT_EQ(frontCover({plain, embedded}), png);

    std::filesystem::copy_file(MediaFixtures::path("cover.jpg"), dir.file("cover.jpg"));
    EXPECT_EQ(frontCover({plain}), jpg);
    EXPECT_EQ(frontCover({embedded}), png);
}

TEST(AlbumArt, ARaisedAbortFlagStopsTheFetch) {
    MediaFixtures::Scratch dir;
    const auto track = Metadb::instance().handleFor(dir.copy("stereo.flac"));
    abort_callback_impl abort;
    auto extractor =
        qvn::std_api_get<album_art_manager_v2>()->open({track}, {album_art_ids::cover_front}, abort);
    abort.abort();
    EXPECT_THROW(extractor->query(album_art_ids::cover_front, abort), exception_aborted);
    EXPECT_THROW(qvn::std_api_get<album_art_manager_v2>()->open({track}, {album_art_ids::cover_front}, abort),
                 exception_aborted);
}

}  // namespace
