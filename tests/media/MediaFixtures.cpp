#include "MediaFixtures.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <map>

namespace fs = std::filesystem;

namespace {

const std::string kStereo = "-f lavfi -i 'aevalsrc=0.5*sin(2*PI*440*t)|0.25*sin(2*PI*1000*t):d=2:c=stereo:s=";
const std::string kMono = "-f lavfi -i 'aevalsrc=0.5*sin(2*PI*440*t):d=2:c=mono:s=48000' ";

// ffmpeg arguments before the output path.
const std::map<std::string, std::string> kRecipes = {
    {"stereo.flac", kStereo + "44100' -c:a flac -sample_fmt s16"},
    {"stereo24.flac", kStereo + "96000' -c:a flac -sample_fmt s32"},
    {"stereo.wav", kStereo + "44100' -c:a pcm_s16le"},
    {"mono_u8.wav", kMono + "-c:a pcm_u8"},
    {"mono_f32.wav", kMono + "-c:a pcm_f32le"},
    {"stereo_alac.m4a", kStereo + "44100' -c:a alac -sample_fmt s16p"},
    {"stereo.mp3", kStereo + "44100' -c:a libmp3lame -b:a 192k"},
    {"stereo.ogg", kStereo + "44100' -c:a libvorbis -q:a 5"},
    {"stereo.opus", kStereo + "48000' -c:a libopus -b:a 128k"},
    {"stereo.m4a", kStereo + "44100' -c:a aac -b:a 160k"},
    {"long.flac", "-f lavfi -i sine=f=440:r=44100:d=120 -ac 2 -c:a flac -sample_fmt s16"},
    {"noise.ogg", "-f lavfi -i anoisesrc=d=10:c=pink:a=0.3:r=44100 -ac 2 -c:a libvorbis"},
    {"two_streams.mka",
     "-f lavfi -i sine=f=440:r=44100:d=1 -f lavfi -i sine=f=1000:r=22050:d=1 "
     "-map 0 -map 1 -c:a flac"},
    {"cover.png", "-f lavfi -i color=c=red:s=16x16 -frames:v 1"},
    {"cover.jpg", "-f lavfi -i color=c=blue:s=16x16 -frames:v 1"},
};

}  // namespace

std::string MediaFixtures::path(const std::string& name) {
    const fs::path target = fs::path(QOV_MEDIA_FIXTURES) / name;
    if (fs::exists(target)) return target.string();
    fs::create_directories(target.parent_path());
    // Made under a private name and renamed, so that tests running in parallel
    // never see half a file; the extension stays last for ffmpeg.
    const fs::path temp = target.parent_path() / (".tmp-" + std::to_string(getpid()) + "-" + name);
    const std::string command = std::string("'" QOV_FFMPEG "' -nostdin -v error -y ") + kRecipes.at(name) +
                                " '" + temp.string() + "'";
    if (std::system(command.c_str()) != 0) throw std::runtime_error("ffmpeg could not make " + name);
    fs::rename(temp, target);
    return target.string();
}

MediaFixtures::Scratch::Scratch() {
    std::string pattern = (fs::temp_directory_path() / "qov-media-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    m_dir = pattern;
}

MediaFixtures::Scratch::~Scratch() {
    std::error_code ec;
    fs::remove_all(m_dir, ec);
}

std::string MediaFixtures::Scratch::copy(const std::string& name, const std::string& as) const {
    const std::string target = file(as.empty() ? name : as);
    fs::copy_file(MediaFixtures::path(name), target, fs::copy_options::overwrite_existing);
    return target;
}

std::vector<unsigned char> MediaFixtures::readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void MediaFixtures::writeFile(const std::string& path, const std::vector<unsigned char>& data) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
}
