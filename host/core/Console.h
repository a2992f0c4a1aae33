#pragma once

// The host's log: a bounded history of lines that a console window can show.
//
// Threads: any. Observers run on the printing thread, one line at a time and in
// print order; an observer that touches widgets must hop to the GUI thread.
// Ownership: a Subscription detaches its observer when destroyed, and once that
// destructor returns the observer is never called again.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

class Console {
public:
    using Observer = std::function<void(const std::string& line)>;

    class Subscription {
    public:
        Subscription() = default;
        Subscription(Subscription&&) noexcept = default;
        Subscription& operator=(Subscription&&) noexcept;
        ~Subscription();
        void reset();

    private:
        friend class Console;
        Subscription(Console* console, uint64_t id) : m_console(console), m_id(id) {}
        Console* m_console = nullptr;
        uint64_t m_id = 0;
    };

    static constexpr size_t kDefaultCapacity = 10000;

    explicit Console(size_t capacity = kDefaultCapacity, bool echoToStderr = true);
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    // The process's console, behind the host's console service.
    static Console& global();

    // Each line feed starts a new line; a trailing one is dropped.
    void print(std::string_view text);

    std::vector<std::string> lines() const;
    // Lines printed since `mark()` returned `since`, as far as they are still kept.
    std::vector<std::string> linesSince(uint64_t since) const;
    uint64_t mark() const;

    // `backlog`, when given, receives the lines kept so far, with no gap or
    // overlap against what the observer is then called with.
    Subscription subscribe(Observer observer, std::vector<std::string>* backlog = nullptr);

private:
    void unsubscribe(uint64_t id);
    void append(std::string line);

    // Recursive: an observer may print.
    mutable std::recursive_mutex m_mutex;
    const size_t m_capacity;
    const bool m_echo;
    std::deque<std::string> m_lines;
    uint64_t m_printed = 0;
    uint64_t m_nextObserverId = 1;
    std::vector<std::pair<uint64_t, std::shared_ptr<Observer>>> m_observers;
};
