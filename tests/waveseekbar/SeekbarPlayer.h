#pragma once

// The player as the seekbar sees it: tracks, a scripted decoder, and the
// player's services from the shared test support.

#include "FakePlayer.h"
#include "input.h"

#include <atomic>
#include <chrono>
#include <string>

class FakeTrack : public metadb_handle {
public:
    FakeTrack(std::string path, double length) : m_path(std::move(path)), m_length(length) {}
    const char* get_path() const override { return m_path.c_str(); }
    uint32_t get_subsong_index() const override { return 0; }
    double get_length() const override { return m_length; }
    t_filesize get_filesize() const override { return filesize_invalid; }
    bool format_title(titleformat_hook*, cvk::string_base&, const service_ptr_t<titleformat_object>&,
                      titleformat_text_filter*) const override {
        return false;
    }

private:
    std::string m_path;
    double m_length;
};

// Decodes `frames` frames of a constant 0.5 in blocks of 4096.
struct DecodeScript {
    unsigned rate = 8000;
    unsigned channels = 2;
    size_t frames = 8000;
    std::chrono::milliseconds blockDelay{0};
    int failAfter = -1;
    bool failOpen = false;
};

class FakeInputs : public input_manager {
public:
    service_ptr_t<input_decoder> open(service_ptr_t<file>, const service_ptr_t<metadb_handle>&,
                                      uint32_t flags, abort_callback& abort, bool, bool) override;
    // Set before a test starts scanning.
    DecodeScript script;
    // What a test may switch on while scans run: every open fails.
    std::atomic<bool> refuse{false};
    std::atomic<uint32_t> lastFlags{0};
    std::atomic<int> opened{0};
};

class SeekbarPlayer : public FakePlayer {
public:
    SeekbarPlayer() { bound.host.add(input_manager::class_guid, inputs); }
    service_ptr_t<FakeInputs> inputs = service_new<FakeInputs>();
};
