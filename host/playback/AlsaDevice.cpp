#include "AudioDevice.h"

#include <alsa/asoundlib.h>

#include <cerrno>
#include <mutex>

namespace playback {

namespace {

// alsa-lib prints its own complaints to stderr; the host reports failures itself.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

class AlsaDevice final : public AudioDevice {
public:
    AlsaDevice(snd_pcm_t* pcm, const AudioFormat& format) : m_pcm(pcm), m_channels(format.channels) {}
    ~AlsaDevice() override { snd_pcm_close(m_pcm); }

    bool write(const float* samples, size_t frames) override {
        while (frames > 0) {
            const snd_pcm_sframes_t n = snd_pcm_writei(m_pcm, samples, frames);
            if (n == -EAGAIN) continue;
            if (n < 0) {
                // An underrun or a suspend is part of life; anything else is a broken device.
                if (snd_pcm_recover(m_pcm, int(n), 1) < 0) return false;
                continue;
            }
            samples += size_t(n) * m_channels;
            frames -= size_t(n);
        }
        return true;
    }

    size_t delay() override {
        if (snd_pcm_state(m_pcm) != SND_PCM_STATE_RUNNING && snd_pcm_state(m_pcm) != SND_PCM_STATE_PAUSED)
            return pendingWhileIdle();
        snd_pcm_sframes_t d = 0;
        if (snd_pcm_delay(m_pcm, &d) < 0 || d < 0) return 0;
        return size_t(d);
    }

    void setPaused(bool paused) override {
        // Devices without pause simply run dry; what they held is heard late.
        if (snd_pcm_state(m_pcm) == SND_PCM_STATE_RUNNING || snd_pcm_state(m_pcm) == SND_PCM_STATE_PAUSED)
            snd_pcm_pause(m_pcm, paused ? 1 : 0);
    }

    void drop() override {
        snd_pcm_drop(m_pcm);
        snd_pcm_prepare(m_pcm);
    }

    void playOut() override {
        if (snd_pcm_state(m_pcm) == SND_PCM_STATE_PREPARED && pendingWhileIdle() > 0) snd_pcm_start(m_pcm);
    }

private:
    // Frames queued in a prepared stream that has not started yet.
    size_t pendingWhileIdle() {
        if (snd_pcm_state(m_pcm) != SND_PCM_STATE_PREPARED) return 0;
        snd_pcm_uframes_t buffer = 0, period = 0;
        if (snd_pcm_get_params(m_pcm, &buffer, &period) < 0) return 0;
        const snd_pcm_sframes_t avail = snd_pcm_avail(m_pcm);
        if (avail < 0 || snd_pcm_uframes_t(avail) >= buffer) return 0;
        return size_t(buffer - snd_pcm_uframes_t(avail));
    }

    snd_pcm_t* m_pcm;
    unsigned m_channels;
};

}  // namespace

std::unique_ptr<AudioDevice> openAlsaDevice(const AudioFormat& format, std::string& error) {
    static std::once_flag quiet;
    std::call_once(quiet, [] { snd_lib_error_set_handler(quietAlsa); });
    if (format.rate == 0 || format.channels == 0) {
        error = "no audio format";
        return nullptr;
    }
    snd_pcm_t* pcm = nullptr;
    int rc = snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, 0);
    if (rc < 0) {
        error = snd_strerror(rc);
        return nullptr;
    }
    rc = snd_pcm_set_params(pcm, SND_PCM_FORMAT_FLOAT_LE, SND_PCM_ACCESS_RW_INTERLEAVED, format.channels,
                            format.rate, 1, unsigned(kDeviceBufferSeconds * 1e6));
    if (rc < 0) {
        error = snd_strerror(rc);
        snd_pcm_close(pcm);
        return nullptr;
    }
    return std::make_unique<AlsaDevice>(pcm, format);
}

}  // namespace playback
