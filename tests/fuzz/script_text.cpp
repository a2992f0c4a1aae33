// Automation scripts: every line's syntax is read before anything runs.

#include "FuzzTarget.h"

#include "ScriptText.h"

QOV_FUZZ_TARGET(script_text) {
    const ScriptText script =
        ScriptText::parse(QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)));
    for (const ScriptCommand& command : script.commands)
        if (command.element) command.element->text();
    return 0;
}
