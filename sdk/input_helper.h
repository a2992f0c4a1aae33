#pragma once

// Decodes one track through the host's decoders.
//
// Threads: any (meant for worker threads); one helper per thread.
// Failure: exception_io when the track cannot be opened or decoded, or when
// used unopened; exception_aborted as soon as the abort flag is raised, checked
// here before every step so a slow decoder cannot miss it.

#include "abort_callback.h"
#include "audio_chunk.h"
#include "exceptions.h"
#include "input.h"
#include "metadb_handle.h"
#include "std_api.h"

#include <cstdint>
#include <utility>

class input_helper {
public:
    void open(service_ptr_t<file> hint, const service_ptr_t<metadb_handle>& track, uint32_t flags,
              abort_callback& abort, bool from_redirect = false, bool skip_hints = false) {
        close();
        abort.check();
        if (!track) throw exception_io("No track to decode");
        m_decoder = qvn::std_api_get<input_manager>()->open(std::move(hint), track, flags, abort,
                                                            from_redirect, skip_hints);
        if (!m_decoder) throw exception_io("No decoder for this track");
    }

    // The next block into `chunk`; false at the end of the track.
    bool run(audio_chunk& chunk, abort_callback& abort) {
        abort.check();
        return decoder().run(chunk, abort);
    }

    bool can_seek() { return m_decoder.is_valid() && m_decoder->can_seek(); }
    void seek(double seconds, abort_callback& abort) {
        abort.check();
        decoder().seek(seconds, abort);
    }

    bool is_open() const { return m_decoder.is_valid(); }
    void close() { m_decoder.release(); }

private:
    input_decoder& decoder() {
        if (!m_decoder) throw exception_io("Decoder not open");
        return *m_decoder;
    }

    service_ptr_t<input_decoder> m_decoder;
};
