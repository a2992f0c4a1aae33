#include "ChildProcess.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace fs = std::filesystem;

std::string inChild(const std::function<std::string()>& body, bool unprivileged) {
    int out[2];
    if (pipe(out) != 0) return "no pipe";
    const pid_t child = fork();
    if (child < 0) return "no fork";
    if (child == 0) {
        close(out[0]);
        if (unprivileged && geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
            _exit(3);
        const std::string result = body();
        for (size_t done = 0; done < result.size();) {
            const ssize_t n = write(out[1], result.data() + done, result.size() - done);
            if (n <= 0) _exit(4);
            done += size_t(n);
        }
        _exit(0);
    }
    close(out[1]);
    std::string result;
    char buf[4096];
    for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;) result.append(buf, size_t(n));
    close(out[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "child failed (status " + std::to_string(status) + "): " + result;
    return result;
}

Folder::Folder() {
    m_path =
        fs::temp_directory_path() / ("qov-test-" + std::to_string(getpid()) + "-" + std::to_string(rand()));
    fs::create_directories(m_path);
    fs::permissions(m_path, fs::perms::all);
}

Folder::~Folder() {
    std::error_code ec;
    fs::permissions(m_path, fs::perms::all, ec);
    fs::remove_all(m_path, ec);
}
