#include "DemoLibrary.h"

#include "DemoCover.h"
#include "DemoSynth.h"
#include "SupportedFormats.h"
#include "TagWriter.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <mutex>
#include <thread>

namespace fs = std::filesystem;

namespace demo {

namespace {

enum class Codec { Flac, Mp3, Vorbis };
enum class Art { Embedded, Beside, None };

struct TrackPlan {
    const char* title;
    double seconds;
    const char* artist = nullptr;  // when it differs from the album's
};

struct AlbumPlan {
    const char* folder;
    const char* album;
    const char* artist;
    const char* date;
    const char* genre;
    Codec codec;
    Art art;
    SynthStyle style;  // per track: seed and root vary
    QColor coverFrom, coverTo;
    std::vector<TrackPlan> tracks;
};

const std::vector<AlbumPlan>& plans() {
    static const std::vector<AlbumPlan> kAlbums = {
        {"Marin Kessler - Tidal Patterns",
         "Tidal Patterns",
         "Marin Kessler",
         "2021",
         "Electronic",
         Codec::Flac,
         Art::Embedded,
         SynthStyle{.seed = 11, .rootNote = 57, .tempo = 112, .minor = true, .brightness = 0.8},
         QColor(14, 60, 110),
         QColor(40, 170, 170),
         {{"Low Tide", 42}, {"Undertow", 75}, {"Salt Glass", 28}, {"Harbour Lights", 240}}},
        {"The Quiet Engines - Paper Cities",
         "Paper Cities",
         "The Quiet Engines",
         "2018",
         "Indie Pop",
         Codec::Mp3,
         Art::Beside,
         SynthStyle{.seed = 23, .rootNote = 60, .tempo = 124, .minor = false, .brightness = 0.6},
         QColor(200, 80, 60),
         QColor(250, 190, 90),
         {{"Cardboard Skyline", 62},
          {"Streetlamp Waltz", 55},
          {"Origami", 20},
          {"Night Bus", 94, "The Quiet Engines feat. Mira Sol"}}},
        {"Lena Vasquez Trio - Evening Etudes",
         "Evening Études",
         "Lena Vasquez Trio",
         "2015",
         "Jazz",
         Codec::Vorbis,
         Art::None,
         SynthStyle{.seed = 37, .rootNote = 53, .tempo = 84, .minor = true, .brightness = 0.3},
         QColor(60, 30, 90),
         QColor(150, 70, 120),
         {{"Blue Hour", 70}, {"Slow Rain", 35}, {"Last Call", 50}}},
    };
    return kAlbums;
}

const char* extension(Codec c) {
    switch (c) {
        case Codec::Flac:
            return ".flac";
        case Codec::Mp3:
            return ".mp3";
        case Codec::Vorbis:
            return ".ogg";
    }
    return "";
}

QStringList encoderArguments(Codec c) {
    switch (c) {
        case Codec::Flac:
            return {"-c:a", "flac"};
        case Codec::Mp3:
            return {"-c:a", "libmp3lame", "-b:a", "192k"};
        case Codec::Vorbis:
            return {"-c:a", "libvorbis", "-q:a", "5"};
    }
    return {};
}

// One track to make.
struct Job {
    const AlbumPlan* album;
    size_t index;
    fs::path folder;
    std::vector<unsigned char> embeddedCover;
};

bool writeRaw(const fs::path& path, const std::vector<float>& samples) {
    std::vector<int16_t> pcm(samples.size());
    for (size_t i = 0; i < samples.size(); ++i)
        pcm[i] = int16_t(std::lround(std::clamp(samples[i], -1.0f, 1.0f) * 32767.0f));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(pcm.data()), std::streamsize(pcm.size() * sizeof(int16_t)));
    return bool(out);
}

// Empty on success, else why not.
std::string encode(const QString& ffmpeg, const fs::path& raw, const fs::path& target, Codec codec) {
    QProcess process;
    QStringList args = {"-nostdin", "-v",    "error", "-y",
                        "-f",       "s16le", "-ar",   QString::number(kDemoRate),
                        "-ac",      "2",     "-i",    QString::fromStdString(raw.string())};
    args += encoderArguments(codec);
    args << QString::fromStdString(target.string());
    process.start(ffmpeg, args);
    if (!process.waitForStarted()) return "ffmpeg did not start";
    process.closeWriteChannel();
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        const QString reason = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        return reason.isEmpty() ? "ffmpeg failed" : reason.toStdString();
    }
    return {};
}

std::string makeTrack(const QString& ffmpeg, const Job& job) {
    const AlbumPlan& album = *job.album;
    const TrackPlan& track = album.tracks[job.index];
    SynthStyle style = album.style;
    style.seed = album.style.seed * 100 + uint32_t(job.index);
    style.seconds = track.seconds;
    style.rootNote = album.style.rootNote + int(job.index * 5 % 12) - 5;  // a fourth apart, within an octave
    style.tempo = album.style.tempo + double(job.index % 3) * 6 - 6;

    char number[8];
    std::snprintf(number, sizeof number, "%02zu", job.index + 1);
    const std::string stem = std::string(number) + " " + track.title;
    const fs::path raw = job.folder / (stem + ".raw");
    if (!writeRaw(raw, synthesize(style))) return "cannot write " + raw.string();

    Codec codec = album.codec;
    fs::path target = job.folder / (stem + extension(codec));
    std::string error = encode(ffmpeg, raw, target, codec);
    if (!error.empty() && codec == Codec::Mp3) {
        // Some ffmpeg builds lack an MP3 encoder: the album becomes FLAC.
        fs::remove(target);
        codec = Codec::Flac;
        target = job.folder / (stem + extension(codec));
        error = encode(ffmpeg, raw, target, codec);
    }
    fs::remove(raw);
    if (!error.empty()) return target.filename().string() + ": " + error;

    media::TagWriter::Tags tags;
    tags.title = track.title;
    tags.artist = track.artist ? track.artist : album.artist;
    tags.album = album.album;
    tags.albumArtist = album.artist;
    tags.date = album.date;
    tags.genre = album.genre;
    tags.trackNumber = unsigned(job.index + 1);
    tags.totalTracks = unsigned(album.tracks.size());
    try {
        media::TagWriter::write(target.string(), tags);
        if (!job.embeddedCover.empty()) media::TagWriter::writeFrontCover(target.string(), job.embeddedCover);
    } catch (const std::exception& e) {
        return target.filename().string() + ": " + e.what();
    }
    return {};
}

std::vector<unsigned char> bytesOf(const QByteArray& data) { return {data.begin(), data.end()}; }

bool fail(std::string* error, const std::string& reason) {
    if (error) *error = reason;
    return false;
}

}  // namespace

fs::path DemoLibrary::folder(const fs::path& profileDir) { return profileDir / "demo-music"; }

bool DemoLibrary::ensure(const fs::path& profileDir, std::string* error) {
    const fs::path target = folder(profileDir);
    std::error_code ec;
    if (fs::is_directory(target, ec)) return true;

    const QString ffmpeg = QStandardPaths::findExecutable("ffmpeg");
    if (ffmpeg.isEmpty()) return fail(error, "ffmpeg was not found");

    const fs::path scratch =
        profileDir / ("demo-music.partial-" + std::to_string(QCoreApplication::applicationPid()));
    fs::remove_all(scratch, ec);
    struct Cleanup {
        fs::path path;
        ~Cleanup() {
            std::error_code ignored;
            fs::remove_all(path, ignored);
        }
    } cleanup{scratch};

    std::vector<Job> jobs;
    for (const AlbumPlan& album : plans()) {
        const fs::path dir = scratch / album.folder;
        if (!fs::create_directories(dir, ec))
            return fail(error, "cannot make " + dir.string() + ": " + ec.message());
        const CoverStyle cover{QString::fromUtf8(album.album), QString::fromUtf8(album.artist),
                               album.coverFrom, album.coverTo};
        std::vector<unsigned char> embedded;
        if (album.art == Art::Embedded) {
            embedded = bytesOf(renderCover(cover, "JPG"));
            if (embedded.empty()) return fail(error, "cannot draw the cover of " + std::string(album.album));
        } else if (album.art == Art::Beside) {
            const QByteArray jpeg = renderCover(cover, "JPG");
            std::ofstream out(dir / "cover.jpg", std::ios::binary);
            out.write(jpeg.constData(), jpeg.size());
            if (jpeg.isEmpty() || !out)
                return fail(error, "cannot write the cover of " + std::string(album.album));
        }
        for (size_t i = 0; i < album.tracks.size(); ++i) jobs.push_back({&album, i, dir, embedded});
    }
    // The longest first, so that the workers finish together.
    std::sort(jobs.begin(), jobs.end(), [](const Job& a, const Job& b) {
        return a.album->tracks[a.index].seconds > b.album->tracks[b.index].seconds;
    });

    std::atomic<size_t> next{0};
    std::mutex failedMutex;
    std::string failed;
    auto work = [&] {
        for (size_t i = next++; i < jobs.size(); i = next++) {
            {
                std::lock_guard lock(failedMutex);
                if (!failed.empty()) return;
            }
            const std::string why = makeTrack(ffmpeg, jobs[i]);
            if (!why.empty()) {
                std::lock_guard lock(failedMutex);
                if (failed.empty()) failed = why;
            }
        }
    };
    const unsigned workers = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    std::vector<std::thread> threads;
    for (unsigned w = 1; w < workers; ++w) threads.emplace_back(work);
    work();
    for (auto& t : threads) t.join();
    if (!failed.empty()) return fail(error, failed);

    fs::rename(scratch, target, ec);
    // Another instance may have finished first; its library is as good.
    if (ec && !fs::is_directory(target))
        return fail(error, "cannot move the library into place: " + ec.message());
    return true;
}

std::vector<fs::path> DemoLibrary::tracks(const fs::path& profileDir) {
    std::vector<fs::path> out;
    std::error_code ec;
    for (const AlbumPlan& album : plans()) {
        const fs::path dir = folder(profileDir) / album.folder;
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(dir, ec))
            if (entry.is_regular_file() && media::supportedExtension(entry.path().string()))
                files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        out.insert(out.end(), files.begin(), files.end());
    }
    return out;
}

}  // namespace demo
