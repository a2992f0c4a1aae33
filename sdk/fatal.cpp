#include "fatal.h"

#include <cstdio>
#include <cstdlib>

void uAddDebugEvent(const char* msg) {
    std::fputs(msg, stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

void uBugCheck() {
    std::abort();
}

namespace qvn {
void crashWithMessage(const char* msg) {
    uAddDebugEvent(msg);
    uBugCheck();
}
}  // namespace qvn
