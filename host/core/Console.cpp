#include "Console.h"

#include <algorithm>
#include <cstdio>
#include <utility>

Console::Subscription& Console::Subscription::operator=(Subscription&& o) noexcept {
    if (this != &o) {
        reset();
        m_console = std::exchange(o.m_console, nullptr);
        m_id = o.m_id;
    }
    return *this;
}

Console::Subscription::~Subscription() { reset(); }

void Console::Subscription::reset() {
    if (Console* c = std::exchange(m_console, nullptr)) c->unsubscribe(m_id);
}

Console::Console(size_t capacity, bool echoToStderr)
    : m_capacity(std::max<size_t>(capacity, 1)), m_echo(echoToStderr) {}

Console& Console::global() {
    static Console console;
    return console;
}

void Console::print(std::string_view text) {
    if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
    // Delivery happens under the lock so that observers see lines in print order
    // and never run after their subscription is gone.
    std::lock_guard lock(m_mutex);
    size_t start = 0;
    for (;;) {
        const size_t end = text.find('\n', start);
        append(std::string(text.substr(start, end == std::string_view::npos ? end : end - start)));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
}

void Console::append(std::string line) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (m_echo) {
        std::fprintf(stderr, "quorvane: %s\n", line.c_str());
        std::fflush(stderr);
    }
    m_lines.push_back(line);
    if (m_lines.size() > m_capacity) m_lines.pop_front();
    ++m_printed;
    // A copy: an observer may subscribe or unsubscribe others while we walk.
    const auto observers = m_observers;
    for (const auto& [id, observer] : observers) {
        const bool stillThere = std::any_of(m_observers.begin(), m_observers.end(),
                                            [id = id](const auto& o) { return o.first == id; });
        if (stillThere) (*observer)(line);
    }
}

std::vector<std::string> Console::lines() const {
    std::lock_guard lock(m_mutex);
    return {m_lines.begin(), m_lines.end()};
}

std::vector<std::string> Console::linesSince(uint64_t since) const {
    std::lock_guard lock(m_mutex);
    const uint64_t fresh = m_printed > since ? m_printed - since : 0;
    const size_t n = size_t(std::min<uint64_t>(fresh, m_lines.size()));
    return {m_lines.end() - ptrdiff_t(n), m_lines.end()};
}

uint64_t Console::mark() const {
    std::lock_guard lock(m_mutex);
    return m_printed;
}

Console::Subscription Console::subscribe(Observer observer, std::vector<std::string>* backlog) {
    std::lock_guard lock(m_mutex);
    if (backlog) backlog->assign(m_lines.begin(), m_lines.end());
    const uint64_t id = m_nextObserverId++;
    m_observers.emplace_back(id, std::make_shared<Observer>(std::move(observer)));
    return Subscription(this, id);
}

void Console::unsubscribe(uint64_t id) {
    std::lock_guard lock(m_mutex);
    std::erase_if(m_observers, [id](const auto& o) { return o.first == id; });
}
