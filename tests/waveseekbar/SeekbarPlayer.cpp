#include "SeekbarPlayer.h"

#include <algorithm>
#include <thread>

namespace {

class ScriptedDecoder : public input_decoder {
public:
    explicit ScriptedDecoder(DecodeScript s) : m_s(s) {}
    bool run(audio_chunk& chunk, abort_callback& abort) override {
        abort.check();
        if (m_blocks++ == m_s.failAfter) throw exception_io("Corrupt data at block 2");
        if (m_done >= m_s.frames) return false;
        std::this_thread::sleep_for(m_s.blockDelay);
        const size_t n = std::min<size_t>(4096, m_s.frames - m_done);
        m_buf.assign(n * m_s.channels, 0.5);
        chunk.set_data(m_buf.data(), n, m_s.channels, m_s.rate);
        m_done += n;
        return true;
    }
    bool can_seek() override { return false; }
    void seek(double, abort_callback&) override {}

private:
    DecodeScript m_s;
    size_t m_done = 0;
    int m_blocks = 0;
    std::vector<double> m_buf;
};

}  // namespace

service_ptr_t<input_decoder> FakeInputs::open(service_ptr_t<file>, const service_ptr_t<metadb_handle>&,
                                              uint32_t flags, abort_callback& abort, bool, bool) {
    lastFlags = flags;
    ++opened;
    abort.check();
    if (script.failOpen || refuse) throw exception_io("Unsupported format");
    return service_new<ScriptedDecoder>(script);
}
