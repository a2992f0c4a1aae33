#pragma once

// The console as the components reach it (qvn::std_api_get<qvn::console>()):
// prints to the process's Console. Any thread.

#include "console.h"

class ConsoleService : public qvn::console {
public:
    void print(const char* line) override;
};
