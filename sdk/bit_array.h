#pragma once

// Masks over indices (playlist items, playlists, queue entries): which items an
// operation affects, which are selected. A mask has no length of its own; the
// operation that takes it bounds it by the current count.
//
// Threads: plain values; share across threads only when nobody writes.
// Ownership: callers keep the mask; a callee reads it during the call only.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

class bit_array {
public:
    virtual bool get(size_t n) const = 0;

    // First index in [start, end) whose bit equals `val`, or `end`.
    virtual size_t find(bool val, size_t start, size_t end) const {
        for (size_t n = start; n < end; ++n)
            if (get(n) == val) return n;
        return end;
    }

    size_t calc_count(bool val, size_t start, size_t end) const {
        size_t count = 0;
        for (size_t n = find(val, start, end); n < end; n = find(val, n + 1, end)) ++count;
        return count;
    }
    bool operator[](size_t n) const { return get(n); }

protected:
    bit_array() = default;
    bit_array(const bit_array&) = default;
    bit_array& operator=(const bit_array&) = default;
    ~bit_array() = default;
};

class bit_array_val final : public bit_array {
public:
    explicit bit_array_val(bool val) : m_val(val) {}
    bool get(size_t) const override { return m_val; }
    size_t find(bool val, size_t start, size_t end) const override {
        return val == m_val ? std::min(start, end) : end;
    }

private:
    bool m_val;
};

class bit_array_true final : public bit_array {
public:
    bool get(size_t) const override { return true; }
    size_t find(bool val, size_t start, size_t end) const override {
        return val ? std::min(start, end) : end;
    }
};

class bit_array_false final : public bit_array {
public:
    bool get(size_t) const override { return false; }
    size_t find(bool val, size_t start, size_t end) const override {
        return val ? end : std::min(start, end);
    }
};

// Exactly one index set.
class bit_array_one final : public bit_array {
public:
    explicit bit_array_one(size_t index) : m_index(index) {}
    bool get(size_t n) const override { return n == m_index; }
    size_t find(bool val, size_t start, size_t end) const override {
        if (start >= end) return end;
        if (val) return (m_index >= start && m_index < end) ? m_index : end;
        if (start != m_index) return start;
        return start + 1 < end ? start + 1 : end;
    }

private:
    size_t m_index;
};

// [start, start + count) holds `state`; everything else the opposite.
class bit_array_range final : public bit_array {
public:
    bit_array_range(size_t start, size_t count, bool state = true)
        : m_start(start), m_end(count > SIZE_MAX - start ? SIZE_MAX : start + count), m_state(state) {}
    bool get(size_t n) const override { return (n >= m_start && n < m_end) == m_state; }

private:
    size_t m_start;
    size_t m_end;
    bool m_state;
};

// Inverts another mask, which must outlive it.
class bit_array_not final : public bit_array {
public:
    explicit bit_array_not(const bit_array& inner) : m_inner(inner) {}
    bool get(size_t n) const override { return !m_inner.get(n); }
    size_t find(bool val, size_t start, size_t end) const override { return m_inner.find(!val, start, end); }

private:
    const bit_array& m_inner;
};

// A stored mask. Bits past size() read false; setting one true grows the table.
class bit_array_bittable final : public bit_array {
public:
    bit_array_bittable() = default;
    explicit bit_array_bittable(size_t count, bool val = false) { resize(count, val); }
    // Copies bits [0, count) of another mask.
    bit_array_bittable(const bit_array& src, size_t count) {
        resize(count);
        for (size_t n = src.find(true, 0, count); n < count; n = src.find(true, n + 1, count)) set(n, true);
    }
    explicit bit_array_bittable(const std::vector<bool>& src) {
        resize(src.size());
        for (size_t n = 0; n < src.size(); ++n)
            if (src[n]) set(n, true);
    }

    size_t size() const { return m_count; }

    // New bits take `val`; bits kept keep their state.
    void resize(size_t count, bool val = false) {
        const size_t old = m_count;
        if (count < old) {
            m_count = count;
            m_words.resize(words_for(count));
            clear_tail();
            return;
        }
        m_words.resize(words_for(count), 0);
        m_count = count;
        if (val)
            for (size_t n = old; n < count; ++n) set(n, true);
    }

    bool get(size_t n) const override { return n < m_count && (m_words[n / kBits] >> (n % kBits) & 1u) != 0; }

    void set(size_t n, bool val) {
        if (n >= m_count) {
            if (!val) return;
            resize(n + 1);
        }
        const uint64_t bit = uint64_t(1) << (n % kBits);
        if (val)
            m_words[n / kBits] |= bit;
        else
            m_words[n / kBits] &= ~bit;
    }

    size_t find(bool val, size_t start, size_t end) const override {
        if (start >= end) return end;
        // Past the stored bits everything reads false.
        const size_t stored = std::min(end, m_count);
        size_t n = start;
        while (n < stored) {
            const size_t word = n / kBits;
            uint64_t bits = val ? m_words[word] : ~m_words[word];
            bits &= ~uint64_t(0) << (n % kBits);
            if (bits) {
                const size_t hit = word * kBits + size_t(__builtin_ctzll(bits));
                return hit < stored ? hit : (val ? end : stored);
            }
            n = (word + 1) * kBits;
        }
        return (!val && stored < end) ? std::max(start, stored) : end;
    }

    friend bool operator==(const bit_array_bittable& a, const bit_array_bittable& b) {
        return a.m_count == b.m_count && a.m_words == b.m_words;
    }

private:
    static constexpr size_t kBits = 64;
    static size_t words_for(size_t count) { return (count + kBits - 1) / kBits; }
    // Bits past m_count stay zero, so equality and growth never see stale state.
    void clear_tail() {
        if (m_count % kBits) m_words.back() &= (uint64_t(1) << (m_count % kBits)) - 1;
    }

    std::vector<uint64_t> m_words;
    size_t m_count = 0;
};
