#pragma once

// Tests that need the process to themselves: a file size limit, another user,
// a crash. Also a folder such a child may use whoever it runs as.

#include <filesystem>
#include <functional>
#include <string>

// Runs `body` in a child process and returns what it returned, or what went
// wrong with the child. `unprivileged`: as root the child becomes nobody
// first. The child ends with _exit: whatever the body leaks stays unclosed,
// as after a crash.
std::string inChild(const std::function<std::string()>& body, bool unprivileged = true);

// A fresh folder that nobody may use too; removed with its contents.
class Folder {
public:
    Folder();
    ~Folder();
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};
