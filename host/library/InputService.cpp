// input_manager over the host's FFmpeg decoder.
//
// The decoder polls one abort check for its whole life, while callers hand a
// possibly different abort flag to every call; the check therefore reads the
// flag of the call in progress.

#include "TrackHandle.h"

#include "AudioDecoder.h"
#include "exceptions.h"
#include "input.h"
#include "service_factory.h"

#include <optional>
#include <string_view>

namespace library {

namespace {

// Only SDK exceptions may leave a decoder; anything else becomes exception_io.
template <class F>
auto translated(F f) -> decltype(f()) {
    try {
        return f();
    } catch (const exception_io&) {
        throw;
    } catch (const exception_aborted&) {
        throw;
    } catch (const std::exception& e) {
        throw exception_io(e.what());
    }
}

class Decoder : public input_decoder {
public:
    Decoder(const std::string& path, uint32_t subsong, abort_callback& abort) {
        const Call call(*this, abort);
        m_decoder.emplace(path, subsong, [this] { return m_abort && m_abort->is_aborting(); });
    }

    bool run(audio_chunk& chunk, abort_callback& abort) override {
        return translated([&] {
            const Call call(*this, abort);
            if (m_decoder->read(chunk)) return true;
            chunk.set_sample_count(0);
            return false;
        });
    }

    bool can_seek() override { return m_decoder->info().seekable; }

    void seek(double seconds, abort_callback& abort) override {
        translated([&] {
            const Call call(*this, abort);
            if (!can_seek()) throw exception_io("This track cannot seek: " + m_decoder->path());
            m_decoder->seek(seconds);
        });
    }

private:
    // Makes `abort` the flag the decoder polls for the length of one call.
    class Call {
    public:
        Call(Decoder& d, abort_callback& abort) : m_d(d) {
            abort.check();
            m_d.m_abort = &abort;
        }
        ~Call() { m_d.m_abort = nullptr; }

    private:
        Decoder& m_d;
    };

    abort_callback* m_abort = nullptr;
    std::optional<media::AudioDecoder> m_decoder;
};

class InputManager : public input_manager {
public:
    service_ptr_t<input_decoder> open(service_ptr_t<file>, const service_ptr_t<metadb_handle>& track,
                                      uint32_t, abort_callback& abort, bool, bool) override {
        abort.check();
        if (!track) throw exception_io("No track to decode");
        std::string path;
        if (const TrackHandle* own = TrackHandle::from(track)) {
            path = own->nativePath();
        } else if (std::string_view location = track->get_path(); location.starts_with("file://")) {
            path = location.substr(7);
        }
        if (path.empty())
            throw exception_io(std::string("Cannot decode this location: ") + track->get_path());
        const uint32_t subsong = track->get_subsong_index();
        return translated(
            [&] { return service_ptr_t<input_decoder>(service_new<Decoder>(path, subsong, abort)); });
    }
};

service_factory_singleton_t<InputManager> g_inputManagerFactory;

}  // namespace

}  // namespace library
