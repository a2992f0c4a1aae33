#include "AudioDecoder.h"
#include "exceptions.h"
#include "MediaFixtures.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <thread>

using media::AudioDecoder;
using media::DecodedChunk;
using Bytes = std::vector<unsigned char>;
namespace fs = std::filesystem;

namespace {

// Decodes to the end into `samples`; returns the exception_io message, or ""
// when the file decoded cleanly. Anything else thrown fails the test.
std::string failureOf(const std::string& path, std::vector<double>* samples = nullptr) {
    try {
        AudioDecoder decoder(path);
        DecodedChunk chunk;
        while (decoder.read(chunk)) {
            if (samples) samples->insert(samples->end(), chunk.samples().begin(), chunk.samples().end());
        }
        return {};
    } catch (const exception_io& e) {
        return e.what();
    }
}

size_t samplesOf(const std::string& path) {
    std::vector<double> samples;
    EXPECT_EQ(failureOf(path, &samples), "");
    return samples.size();
}

Bytes randomBytes(size_t size, unsigned seed) {
    std::mt19937 gen(seed);
    Bytes data(size);
    for (auto& b : data) b = static_cast<unsigned char>(gen());
    return data;
}

void expectFailure(const std::string& path, const std::string& reason) {
    const std::string message = failureOf(path);
    EXPECT_NE(message.find(reason), std::string::npos) << path << ": " << message;
    EXPECT_NE(message.find(path), std::string::npos) << message;
}

TEST(DecoderFailure, NamesTheReasonAndThePath) {
    MediaFixtures::Scratch dir;
    expectFailure(dir.file("missing.flac"), "File not found");
    expectFailure(dir.file("no/such/folder/x.mp3"), "File not found");
    fs::create_directory(dir.file("album.flac"));
    expectFailure(dir.file("album.flac"), "folder");
    MediaFixtures::writeFile(dir.file("empty.flac"), {});
    expectFailure(dir.file("empty.flac"), "Empty file");
    // Opening a FIFO for reading would wait for a writer forever.
    ASSERT_EQ(mkfifo(dir.file("pipe.flac").c_str(), 0600), 0);
    expectFailure(dir.file("pipe.flac"), "Not a regular file");
    for (const char* name : {"noise.flac", "noise.mp3", "noise.ogg", "noise.m4a"}) {
        MediaFixtures::writeFile(dir.file(name), randomBytes(256 * 1024, 1));
        expectFailure(dir.file(name), "");
    }
    for (const char* fixture : {"stereo.flac", "stereo.mp3", "stereo.ogg", "stereo.m4a"}) {
        const Bytes whole = MediaFixtures::readFile(MediaFixtures::path(fixture));
        MediaFixtures::writeFile(dir.file(fixture), {whole.begin(), whole.begin() + 30});
        expectFailure(dir.file(fixture), "");
    }
}

// A cut file plays up to the cut, like a shorter complete one.
TEST(DecoderFailure, TruncatedFileYieldsWhatItHoldsThenEnds) {
    MediaFixtures::Scratch dir;
    const Bytes whole = MediaFixtures::readFile(MediaFixtures::path("stereo.flac"));
    std::vector<double> reference;
    failureOf(MediaFixtures::path("stereo.flac"), &reference);
    size_t previous = 0;
    for (double kept : {0.3, 0.6, 0.97}) {
        MediaFixtures::writeFile(dir.file("cut.flac"),
                                 {whole.begin(), whole.begin() + long(whole.size() * kept)});
        std::vector<double> samples;
        EXPECT_EQ(failureOf(dir.file("cut.flac"), &samples), "");
        EXPECT_GT(samples.size(), previous);
        EXPECT_LT(samples.size(), reference.size());
        EXPECT_TRUE(std::equal(samples.begin(), samples.end(), reference.begin())) << kept;
        previous = samples.size();
    }
}

// A damaged stretch is skipped, as players do, and the rest plays. A stream
// with nothing decodable at all is an error, not a silent track.
TEST(DecoderFailure, SkipsDamageButNotAWhollyBrokenStream) {
    MediaFixtures::Scratch dir;
    for (const char* fixture : {"long.flac", "stereo.mp3", "noise.ogg", "stereo.wav"}) {
        Bytes data = MediaFixtures::readFile(MediaFixtures::path(fixture));
        const Bytes noise = randomBytes(2048, 7);
        std::copy(noise.begin(), noise.end(), data.begin() + long(data.size() / 2));
        MediaFixtures::writeFile(dir.file(fixture), data);
        // A damaged Ogg page takes its whole page, about a second here, with it.
        EXPECT_GT(samplesOf(dir.file(fixture)), samplesOf(MediaFixtures::path(fixture)) * 8 / 10) << fixture;
    }
    // "fLaC", then metadata blocks of a 4-byte header (last flag, type, 24-bit length).
    Bytes flac = MediaFixtures::readFile(MediaFixtures::path("stereo.flac"));
    size_t audio = 4;
    for (bool last = false; !last;) {
        last = flac[audio] & 0x80;
        audio += 4 + (size_t(flac[audio + 1]) << 16 | size_t(flac[audio + 2]) << 8 | flac[audio + 3]);
    }
    const Bytes noise = randomBytes(flac.size() - audio, 11);
    std::copy(noise.begin(), noise.end(), flac.begin() + long(audio));
    MediaFixtures::writeFile(dir.file("garbage.flac"), flac);
    expectFailure(dir.file("garbage.flac"), "Corrupt data");
}

TEST(DecoderFailure, PathsAreFilesEvenWhenDeletedOrNamedLikeUrls) {
    MediaFixtures::Scratch dir;
    const size_t full = samplesOf(MediaFixtures::path("stereo.flac"));
    AudioDecoder decoder(dir.copy("stereo.flac"));
    DecodedChunk chunk;
    size_t samples = 0;
    for (int i = 0; i < 3 && decoder.read(chunk); ++i) samples += chunk.sampleCount();
    fs::remove(dir.file("stereo.flac"));
    while (decoder.read(chunk)) samples += chunk.sampleCount();
    EXPECT_EQ(samples, full);

    // FFmpeg reads "name:" at the start of a path as a protocol.
    dir.copy("stereo.flac", "http:track.flac");
    const fs::path before = fs::current_path();
    fs::current_path(dir.file(""));
    const std::string message = failureOf("http:track.flac");
    fs::current_path(before);
    EXPECT_EQ(message, "");
}

// A file that is cut, scribbled over or swapped while it is decoded (a
// tagger, a sync tool): the decoder ends or fails with exception_io, and
// does so promptly, whatever the format.
TEST(DecoderFailure, AFileChangedWhileDecodedEndsOrFailsCleanly) {
    const struct {
        const char* name;
        std::function<void(const std::string& path, const std::string& other)> change;
    } changes[] = {
        {"emptied", [](const std::string& path, const std::string&) { fs::resize_file(path, 0); }},
        {"cut to a tenth", [](const std::string& path,
                              const std::string&) { fs::resize_file(path, fs::file_size(path) / 10); }},
        {"overwritten in place",
         [](const std::string& path, const std::string&) {
             const Bytes noise = randomBytes(size_t(fs::file_size(path)), 3);
             std::FILE* f = std::fopen(path.c_str(), "r+b");
             std::fwrite(noise.data(), 1, noise.size(), f);
             std::fclose(f);
         }},
        {"replaced by another file",
         [](const std::string& path, const std::string& other) { fs::rename(other, path); }},
    };
    for (const char* fixture : {"long.flac", "stereo.mp3", "noise.ogg", "stereo.m4a", "stereo.wav"}) {
        for (const auto& change : changes) {
            SCOPED_TRACE(std::string(fixture) + " " + change.name);
            MediaFixtures::Scratch dir;
            const std::string path = dir.copy(fixture);
            const std::string other = dir.copy("stereo.opus", "other");
            const auto start = std::chrono::steady_clock::now();
            try {
                AudioDecoder decoder(path);
                DecodedChunk chunk;
                ASSERT_TRUE(decoder.read(chunk));
                change.change(path, other);
                while (decoder.read(chunk)) {
                }
            } catch (const exception_io& e) {
                EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
            }
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
        }
    }
}

TEST(DecoderAbort, StopsOpenReadAndSeekWithItsOwnException) {
    EXPECT_THROW(AudioDecoder(MediaFixtures::path("stereo.flac"), 0, [] { return true; }), exception_aborted);
    std::atomic<bool> abort{false};
    AudioDecoder decoder(MediaFixtures::path("stereo.mp3"), 0, [&] { return abort.load(); });
    DecodedChunk chunk;
    ASSERT_TRUE(decoder.read(chunk));
    abort = true;
    EXPECT_THROW(decoder.read(chunk), exception_aborted);
    EXPECT_THROW(decoder.seek(1.0), exception_aborted);
    abort = false;
    EXPECT_TRUE(decoder.read(chunk));
}

// Raised from another thread mid-decode: at most the read under way still
// delivers its chunk.
TEST(DecoderAbort, StopsADecodeOnAnotherThreadAtTheNextPacket) {
    std::atomic<bool> abort{false}, started{false};
    std::atomic<int> outcome{0};  // 1 aborted, 2 finished, 3 other error
    int chunksAfterRaise = 0;
    std::thread worker([&] {
        try {
            AudioDecoder decoder(MediaFixtures::path("long.flac"), 0, [&] { return abort.load(); });
            DecodedChunk chunk;
            for (; decoder.read(chunk); started = true) chunksAfterRaise += abort;
            outcome = 2;
        } catch (const exception_aborted&) {
            outcome = 1;
        } catch (...) {
            outcome = 3;
        }
    });
    while (!started) std::this_thread::yield();
    abort = true;
    worker.join();
    EXPECT_EQ(outcome, 1) << "two minutes of audio decoded before the flag was seen";
    EXPECT_LE(chunksAfterRaise, 1);
}

}  // namespace
