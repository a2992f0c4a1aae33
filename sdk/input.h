#pragma once

// The host's decoders: every format the host can play, decoded to floating
// point. Components reach them through input_helper.
//
// Threads: any. One decoder is used by one thread at a time; several decoders
// may run at once.
// Ownership: counted; a decoder holds its file open until released.
// Failure: open and run throw exception_io (unsupported format, unreadable
// file, corrupt data; what() is for the user) and exception_aborted once the
// abort flag is raised. Decoders check the flag at least once per chunk.

#include "abort_callback.h"
#include "audio_chunk.h"
#include "metadb_handle.h"
#include "service.h"

#include <cstdint>

// An opened file a caller may hand to a decoder instead of letting it open the
// track itself. No caller does yet: pass a null one.
class file : public service_base {
    QVN_SERVICE_INTERFACE(file, service_base,
                          {0x0B87C76A, 0x10FA, 0x4196, {0x8E, 0xA7, 0x4E, 0xF3, 0x85, 0x8C, 0x40, 0x97}});
};

// Decoder open flags.
enum : uint32_t {
    // The caller never seeks: the decoder may skip building seek tables.
    input_flag_no_seeking = 1u << 0,
    // Play through once even when the format asks to loop.
    input_flag_no_looping = 1u << 1,
    // Decoding for playback: the decoder may report dynamic info.
    input_flag_playback = 1u << 2,
    input_flag_testing_integrity = 1u << 3,
    input_flag_allow_inaccurate_seeking = 1u << 4,
};

class input_decoder : public service_base {
    QVN_SERVICE_INTERFACE(input_decoder, service_base,
                          {0xD0A30A87, 0x4841, 0x48F0, {0x82, 0x71, 0xBD, 0x06, 0x2B, 0x95, 0x6C, 0x70}});

    // Replaces the chunk's contents with the next block; false at the end of
    // the track (the chunk is then empty).
    virtual bool run(audio_chunk& chunk, abort_callback& abort) = 0;
    virtual bool can_seek() = 0;
    // Seconds from the track's start; exception_io when the decoder cannot seek.
    virtual void seek(double seconds, abort_callback& abort) = 0;
};

class input_manager : public service_base {
    QVN_SERVICE_INTERFACE(input_manager, service_base,
                          {0x02A1BA3A, 0xEF5D, 0x4C7D, {0xB6, 0x59, 0xAE, 0x74, 0x88, 0xCA, 0x17, 0x79}});

    // `hint` may be null. `from_redirect`: the track was reached through a
    // reference (cue sheet, playlist) and must not redirect again.
    // `skip_hints`: do not store what decoding learns about the track. Never
    // returns null.
    virtual service_ptr_t<input_decoder> open(service_ptr_t<file> hint,
                                              const service_ptr_t<metadb_handle>& track, uint32_t flags,
                                              abort_callback& abort, bool from_redirect, bool skip_hints) = 0;
};
