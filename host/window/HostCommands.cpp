#include "HostCommands.h"

#include <algorithm>
#include <utility>

namespace {

struct Entry {
    int id;
    HostCommands::Command command;
};

std::vector<Entry>& entries() {
    static std::vector<Entry> all;
    return all;
}

int g_nextId = 1;

const Entry* find(const GUID& guid) {
    const auto& all = entries();
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        if (it->command.guid == guid) return &*it;
    return nullptr;
}

}  // namespace

HostCommands::Registration& HostCommands::Registration::operator=(Registration&& o) noexcept {
    if (this != &o) {
        if (m_id) HostCommands::remove(m_id);
        m_id = std::exchange(o.m_id, 0);
    }
    return *this;
}

HostCommands::Registration::~Registration() {
    if (m_id) HostCommands::remove(m_id);
}

HostCommands::Registration HostCommands::add(Command command) {
    const int id = g_nextId++;
    entries().push_back({id, std::move(command)});
    return Registration(id);
}

void HostCommands::remove(int id) {
    auto& all = entries();
    all.erase(std::remove_if(all.begin(), all.end(), [id](const Entry& e) { return e.id == id; }), all.end());
}

bool HostCommands::has(const GUID& guid) { return find(guid) != nullptr; }

bool HostCommands::available(const GUID& guid) {
    const Entry* e = find(guid);
    return e && (!e->command.available || e->command.available());
}

bool HostCommands::run(const GUID& guid) {
    if (!available(guid)) return false;
    const Entry* e = find(guid);
    // A copy: the command may close the window and withdraw itself.
    const auto run = e->command.run;
    run();
    return true;
}
