#include "AudioDecoder.h"

#include "exceptions.h"
#include "SampleConverter.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libavutil/mem.h>
}

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

namespace media {

namespace {

// Packets in a row that may fail before the stream counts as undecodable. One
// bad frame in a long file is skipped as every player does; garbage is not.
constexpr unsigned kMaxConsecutiveErrors = 64;

std::string averror(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

// No audio file needs more than this in one piece (the largest is cover art).
constexpr size_t kMaxAllocation = size_t(256) << 20;

void prepareLibraries() {
    static std::once_flag once;
    std::call_once(once, [] {
        // The host reports failures itself; FFmpeg's own lines would only clutter stderr.
        av_log_set_level(AV_LOG_FATAL);
        // A damaged header can make a demuxer ask for gigabytes at once (a
        // 33-byte ID3 tag claiming a 1.4 GB frame, say): such a file fails.
        av_max_alloc(kMaxAllocation);
    });
}

std::string codecName(AVCodecID id) {
    switch (id) {
        case AV_CODEC_ID_FLAC:
            return "FLAC";
        case AV_CODEC_ID_MP3:
            return "MP3";
        case AV_CODEC_ID_MP2:
            return "MP2";
        case AV_CODEC_ID_MP1:
            return "MP1";
        case AV_CODEC_ID_VORBIS:
            return "Vorbis";
        case AV_CODEC_ID_OPUS:
            return "Opus";
        case AV_CODEC_ID_AAC:
        case AV_CODEC_ID_AAC_LATM:
            return "AAC";
        case AV_CODEC_ID_ALAC:
            return "ALAC";
        case AV_CODEC_ID_WAVPACK:
            return "WavPack";
        case AV_CODEC_ID_APE:
            return "Monkey's Audio";
        case AV_CODEC_ID_MUSEPACK7:
        case AV_CODEC_ID_MUSEPACK8:
            return "Musepack";
        case AV_CODEC_ID_WMAV1:
        case AV_CODEC_ID_WMAV2:
            return "WMA";
        case AV_CODEC_ID_WMAPRO:
            return "WMA Pro";
        case AV_CODEC_ID_WMALOSSLESS:
            return "WMA Lossless";
        case AV_CODEC_ID_WMAVOICE:
            return "WMA Voice";
        case AV_CODEC_ID_AC3:
            return "AC3";
        case AV_CODEC_ID_EAC3:
            return "E-AC3";
        case AV_CODEC_ID_DTS:
            return "DTS";
        case AV_CODEC_ID_TRUEHD:
            return "TrueHD";
        case AV_CODEC_ID_MLP:
            return "MLP";
        case AV_CODEC_ID_TTA:
            return "TTA";
        case AV_CODEC_ID_TAK:
            return "TAK";
        case AV_CODEC_ID_SPEEX:
            return "Speex";
        case AV_CODEC_ID_SHORTEN:
            return "Shorten";
        case AV_CODEC_ID_AMR_NB:
        case AV_CODEC_ID_AMR_WB:
            return "AMR";
        case AV_CODEC_ID_ATRAC3:
        case AV_CODEC_ID_ATRAC3P:
            return "ATRAC";
        case AV_CODEC_ID_DSD_LSBF:
        case AV_CODEC_ID_DSD_MSBF:
        case AV_CODEC_ID_DSD_LSBF_PLANAR:
        case AV_CODEC_ID_DSD_MSBF_PLANAR:
            return "DSD";
        case AV_CODEC_ID_GSM:
        case AV_CODEC_ID_GSM_MS:
            return "GSM";
        default:
            break;
    }
    // Every plain PCM variant sits in one id range; ADPCM starts right after it.
    if (id >= AV_CODEC_ID_FIRST_AUDIO && id < AV_CODEC_ID_ADPCM_IMA_QT) return "PCM";
    if (id >= AV_CODEC_ID_ADPCM_IMA_QT && id < AV_CODEC_ID_AMR_NB) return "ADPCM";
    std::string name = avcodec_get_name(id);
    for (char& c : name) c = char(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

bool isPcm(AVCodecID id) { return id >= AV_CODEC_ID_FIRST_AUDIO && id < AV_CODEC_ID_ADPCM_IMA_QT; }

// MP4 keeps a complete sample table; summing it leaves out tags and cover art
// that a file-size estimate would count.
int64_t indexedPayload(AVStream* stream) {
    int64_t total = 0;
    const int count = avformat_index_get_entries_count(stream);
    for (int i = 0; i < count; ++i) total += avformat_index_get_entry(stream, i)->size;
    return total;
}

}  // namespace

struct AudioDecoder::Impl {
    std::string path;
    unsigned subsong = 0;
    unsigned subsongCount = 0;
    AbortCheck abort;
    TechnicalInfo info;

    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVStream* stream = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;

    bool inputDone = false;              // the demuxer is exhausted and the decoder flushed
    bool outputDone = false;             // the decoder has given its last frame
    int64_t skipUntil = AV_NOPTS_VALUE;  // seek target, stream time base
    unsigned consecutiveErrors = 0;
    bool decodedAnything = false;
    bool sawErrors = false;
    int64_t lastPts = AV_NOPTS_VALUE;

    // The frame that next() made ready: its shape and the leading frames that
    // fall before a seek target.
    size_t frames = 0;
    unsigned channels = 0;
    unsigned rate = 0;
    size_t drop = 0;

    ~Impl() {
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
    }

    [[noreturn]] void fail(const std::string& reason) const { throw exception_io(reason + ": " + path); }

    bool aborting() const { return abort && abort(); }
    void checkAbort() const {
        if (aborting()) throw exception_aborted();
    }

    static int interrupt(void* opaque) { return static_cast<Impl*>(opaque)->aborting() ? 1 : 0; }

    void open();
    void describe(int64_t dataStart, int64_t fileSize);
    void startCodec();
    void noteError(int code, const char* what);
    bool next();
    bool accept();
    void convert(double* out) const;
    double seconds(int64_t pts) const;
};

double AudioDecoder::Impl::seconds(int64_t pts) const {
    if (pts == AV_NOPTS_VALUE) return 0.0;
    const int64_t start = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
    return double(pts - start) * av_q2d(stream->time_base);
}

void AudioDecoder::Impl::open() {
    prepareLibraries();

    // Checked up front: FFmpeg would block forever on a FIFO, and its own
    // messages for these cases are vaguer than a user needs.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) fail("File not found");
        fail(std::string("Cannot open file (") + std::strerror(errno) + ")");
    }
    if (S_ISDIR(st.st_mode)) fail("Is a folder, not a file");
    if (!S_ISREG(st.st_mode)) fail("Not a regular file");
    if (st.st_size == 0) fail("Empty file");

    format = avformat_alloc_context();
    if (!format) fail("Out of memory");
    format->interrupt_callback = {&Impl::interrupt, this};

    AVDictionary* options = nullptr;
    // Local files only: a playlist-like container must not reach the network.
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    // "file:" keeps a colon in the path from being read as a protocol name.
    const std::string url = "file:" + path;
    int r = avformat_open_input(&format, url.c_str(), nullptr, &options);
    av_dict_free(&options);
    if (r < 0) {
        checkAbort();
        if (r == AVERROR(ENOENT)) fail("File not found");
        if (r == AVERROR(EACCES) || r == AVERROR(EPERM)) fail("Permission denied");
        if (r == AVERROR_INVALIDDATA) fail("Unsupported format");
        // What the demuxers say when the file ends inside its header.
        if (r == AVERROR_EOF || r == AVERROR(EIO)) fail("Unsupported format or truncated file");
        fail("Cannot open file (" + averror(r) + ")");
    }
    const int64_t dataStart = avio_tell(format->pb);

    r = avformat_find_stream_info(format, nullptr);
    checkAbort();
    if (r < 0) fail("Unsupported format (" + averror(r) + ")");

    std::vector<int> audio;
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        if (format->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_AUDIO) audio.push_back(int(i));
    }
    subsongCount = unsigned(audio.size());
    if (audio.empty()) fail("Unsupported format (no audio stream)");
    if (subsong >= audio.size()) fail("No subsong " + std::to_string(subsong));

    stream = format->streams[audio[subsong]];
    // The demuxer then drops other streams' packets (cover art, video) itself.
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        if (format->streams[i] != stream) format->streams[i]->discard = AVDISCARD_ALL;
    }
    const AVCodecParameters* par = stream->codecpar;
    if (!avcodec_find_decoder(par->codec_id)) {
        fail("Unsupported codec " + std::string(avcodec_get_name(par->codec_id)));
    }
    if (par->sample_rate <= 0 || par->ch_layout.nb_channels <= 0) {
        fail("Unsupported format (no sample rate or channels)");
    }
    describe(dataStart, st.st_size);
}

void AudioDecoder::Impl::describe(int64_t dataStart, int64_t fileSize) {
    const AVCodecParameters* par = stream->codecpar;
    info.sampleRate = unsigned(par->sample_rate);
    info.channels = unsigned(par->ch_layout.nb_channels);
    info.codec = codecName(par->codec_id);

    if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0) {
        int64_t duration = stream->duration;
        // Two demuxers count samples the decoder then drops: MP3 the encoder
        // delay (which it reports as the start time) and Ogg the Opus pre-skip.
        const bool ogg = std::strcmp(format->iformat->name, "ogg") == 0;
        if (par->codec_id == AV_CODEC_ID_MP3 && stream->start_time != AV_NOPTS_VALUE &&
            stream->start_time > 0 && stream->start_time < duration) {
            duration -= stream->start_time;
        } else if (par->codec_id == AV_CODEC_ID_OPUS && ogg && par->initial_padding > 0) {
            const int64_t skip =
                av_rescale_q(par->initial_padding, AVRational{1, par->sample_rate}, stream->time_base);
            if (skip < duration) duration -= skip;
        }
        info.length = double(duration) * av_q2d(stream->time_base);
    } else if (format->duration != AV_NOPTS_VALUE && format->duration > 0) {
        info.length = double(format->duration) / AV_TIME_BASE;
    }

    const AVCodecDescriptor* desc = avcodec_descriptor_get(par->codec_id);
    info.lossless = desc && (desc->props & AV_CODEC_PROP_LOSSLESS);
    if (info.lossless) {
        int bits = par->bits_per_raw_sample;
        if (bits <= 0) bits = par->bits_per_coded_sample;
        if (bits <= 0 && par->format >= 0) bits = av_get_bytes_per_sample(AVSampleFormat(par->format)) * 8;
        info.bitsPerSample = unsigned(std::max(bits, 0));
    }

    // PCM states its rate exactly. Otherwise measure the audio payload: a
    // header's nominal rate says nothing about VBR, and the file size alone
    // would count embedded cover art.
    int64_t bits = 0;
    if (isPcm(par->codec_id) && par->bit_rate > 0) {
        bits = par->bit_rate;
    } else if (info.length > 0) {
        int64_t payload = 0;
        if (std::strstr(format->iformat->name, "mp4")) payload = indexedPayload(stream);
        if (payload <= 0 && dataStart >= 0 && dataStart < fileSize) payload = fileSize - dataStart;
        if (payload > 0) bits = int64_t(double(payload) * 8.0 / info.length);
    }
    if (bits <= 0) bits = par->bit_rate > 0 ? par->bit_rate : format->bit_rate;
    info.bitrate = bits > 0 ? unsigned(std::lround(double(bits) / 1000.0)) : 0;

    info.seekable = format->pb && (format->pb->seekable & AVIO_SEEKABLE_NORMAL) && info.length > 0;
}

void AudioDecoder::Impl::startCodec() {
    if (codec) return;
    const AVCodec* decoder = avcodec_find_decoder(stream->codecpar->codec_id);
    codec = avcodec_alloc_context3(decoder);
    packet = av_packet_alloc();
    frame = av_frame_alloc();
    if (!codec || !packet || !frame) fail("Out of memory");
    if (avcodec_parameters_to_context(codec, stream->codecpar) < 0) fail("Unsupported format");
    codec->pkt_timebase = stream->time_base;
#ifdef QOV_THREAD_SANITIZER
    // FFmpeg's threads hand frames over through atomics that ThreadSanitizer
    // cannot see in Debian's build of it: one thread, so that our races show.
    codec->thread_count = 1;
#else
    // Frame threads let lossless decoders (FLAC, ALAC, WavPack) use spare cores.
    codec->thread_count = 0;
    codec->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
#endif
    const int r = avcodec_open2(codec, decoder, nullptr);
    if (r < 0) fail("Cannot start the " + info.codec + " decoder (" + averror(r) + ")");
}

void AudioDecoder::Impl::noteError(int code, const char* what) {
    checkAbort();
    sawErrors = true;
    if (++consecutiveErrors < kMaxConsecutiveErrors) return;
    char where[64];
    std::snprintf(where, sizeof where, " at %.3f s", seconds(lastPts));
    fail(std::string(what) + where + " (" + averror(code) + ")");
}

bool AudioDecoder::Impl::accept() {
    frames = size_t(frame->nb_samples);
    channels = unsigned(frame->ch_layout.nb_channels > 0 ? frame->ch_layout.nb_channels
                                                         : codec->ch_layout.nb_channels);
    rate = unsigned(frame->sample_rate > 0 ? frame->sample_rate : codec->sample_rate);
    if (frames == 0 || channels == 0 || rate == 0) return false;

    drop = 0;
    const int64_t pts = frame->best_effort_timestamp;
    if (skipUntil != AV_NOPTS_VALUE && pts != AV_NOPTS_VALUE && pts < skipUntil) {
        drop = size_t(av_rescale_q(skipUntil - pts, stream->time_base, AVRational{1, int(rate)}));
        if (drop >= frames) return false;
    }
    skipUntil = AV_NOPTS_VALUE;
    return true;
}

void AudioDecoder::Impl::convert(double* out) const {
    if (!SampleConverter::toDouble(AVSampleFormat(frame->format), frame->extended_data, frames, channels,
                                   out)) {
        const char* name = av_get_sample_fmt_name(AVSampleFormat(frame->format));
        fail(std::string("Unsupported sample format ") + (name ? name : "?"));
    }
    if (drop) std::memmove(out, out + drop * channels, (frames - drop) * channels * sizeof(double));
}

bool AudioDecoder::Impl::next() {
    startCodec();
    const bool ended = outputDone;
    // Every turn either returns, consumes a packet, or counts an error toward
    // kMaxConsecutiveErrors, so no input can keep this loop going forever.
    while (!outputDone) {
        checkAbort();
        int r = avcodec_receive_frame(codec, frame);
        if (r == 0) {
            consecutiveErrors = 0;
            decodedAnything = true;
            if (accept()) return true;
            continue;
        }
        if (r == AVERROR_EOF) {
            outputDone = true;
            break;
        }
        if (r != AVERROR(EAGAIN)) {
            noteError(r, "Corrupt data");
            continue;
        }
        if (inputDone) {
            // A decoder that wants input after the flush has nothing more to give.
            outputDone = true;
            break;
        }

        r = av_read_frame(format, packet);
        if (r < 0) {
            checkAbort();
            if (r == AVERROR_EOF || avio_feof(format->pb)) {
                inputDone = true;
                avcodec_send_packet(codec, nullptr);
                continue;
            }
            noteError(r, r == AVERROR_INVALIDDATA ? "Corrupt data" : "Read error");
            continue;
        }
        if (packet->stream_index != stream->index) {
            av_packet_unref(packet);
            continue;
        }
        if (packet->pts != AV_NOPTS_VALUE) lastPts = packet->pts;
        r = avcodec_send_packet(codec, packet);
        av_packet_unref(packet);
        if (r < 0 && r != AVERROR(EAGAIN)) noteError(r, "Corrupt data");
    }
    // A stream that promised audio, or raised errors, and gave not one frame is
    // a broken file, not a silent track.
    if (!ended && !decodedAnything && (sawErrors || info.length > 0)) {
        fail("Corrupt data, nothing decodable");
    }
    return false;
}

AudioDecoder::AudioDecoder(const std::string& path, unsigned subsong, AbortCheck abort)
    : m(std::make_unique<Impl>()) {
    m->path = path;
    m->subsong = subsong;
    m->abort = std::move(abort);
    m->open();
}

AudioDecoder::~AudioDecoder() = default;
AudioDecoder::AudioDecoder(AudioDecoder&&) noexcept = default;
AudioDecoder& AudioDecoder::operator=(AudioDecoder&&) noexcept = default;

const std::string& AudioDecoder::path() const { return m->path; }
unsigned AudioDecoder::subsong() const { return m->subsong; }
unsigned AudioDecoder::subsongCount() const { return m->subsongCount; }
const TechnicalInfo& AudioDecoder::info() const { return m->info; }
void AudioDecoder::setAbortCheck(AbortCheck abort) { m->abort = std::move(abort); }

bool AudioDecoder::read(DecodedChunk& chunk) {
    if (!m->next()) {
        chunk.clear();
        return false;
    }
    m->convert(chunk.prepare(m->frames, m->channels, m->rate));
    chunk.shrink(m->frames - m->drop);
    return true;
}

bool AudioDecoder::read(audio_chunk& chunk) {
    if (!m->next()) {
        chunk.set_sample_count(0);
        return false;
    }
    const size_t samples = m->frames * m->channels;
    if (chunk.get_data_size() < samples) chunk.set_data_size(samples);
    m->convert(chunk.get_data());
    chunk.set_channels(m->channels);
    chunk.set_srate(m->rate);
    chunk.set_sample_count(m->frames - m->drop);
    return true;
}

void AudioDecoder::seek(double seconds) {
    Impl& d = *m;
    if (!d.info.seekable) d.fail("Cannot seek in this file");
    d.startCodec();
    d.checkAbort();
    seconds = std::max(seconds, 0.0);
    d.consecutiveErrors = 0;
    if (seconds >= d.info.length) {
        d.inputDone = d.outputDone = true;
        return;
    }
    const int64_t start = d.stream->start_time == AV_NOPTS_VALUE ? 0 : d.stream->start_time;
    const int64_t target = start + int64_t(std::llround(seconds / av_q2d(d.stream->time_base)));
    int r = avformat_seek_file(d.format, d.stream->index, INT64_MIN, target, target, 0);
    if (r < 0) r = av_seek_frame(d.format, d.stream->index, target, AVSEEK_FLAG_BACKWARD);
    if (r < 0) {
        d.checkAbort();
        d.fail("Seek failed (" + averror(r) + ")");
    }
    avcodec_flush_buffers(d.codec);
    d.inputDone = d.outputDone = false;
    d.skipUntil = target;
}

}  // namespace media
