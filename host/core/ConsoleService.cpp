#include "ConsoleService.h"

#include "Console.h"

#include "service_factory.h"

static service_factory_singleton_t<ConsoleService> g_consoleServiceFactory;

void ConsoleService::print(const char* line) {
    if (line) Console::global().print(line);
}
