#pragma once

// Cancellation flags handed to long host operations (decoding, resolving files).
// Set from any thread; the operation throws exception_aborted at its next check.

#include "exceptions.h"

#include <atomic>

class abort_callback {
public:
    virtual bool is_aborting() const = 0;
    void check() const {
        if (is_aborting()) throw exception_aborted();
    }

protected:
    ~abort_callback() = default;
};

namespace quorvane_io {

class abort_callback_impl final : public abort_callback {
public:
    void set_state(bool aborting) { m_state.store(aborting); }
    void abort() { set_state(true); }
    bool is_aborting() const override { return m_state.load(); }

private:
    std::atomic<bool> m_state{false};
};

// For calls that cannot be cancelled.
class abort_callback_dummy final : public abort_callback {
public:
    bool is_aborting() const override { return false; }
};

}  // namespace quorvane_io

using quorvane_io::abort_callback_dummy;
using quorvane_io::abort_callback_impl;
