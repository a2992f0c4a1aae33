#include "MenuCommandCatalog.h"

#include "console.h"
#include "ExceptionText.h"
#include "service_factory.h"
#include "std_api.h"

#include <algorithm>
#include <exception>
#include <set>
#include <string>

namespace {

void report(const QString& line) {
    service_ptr_t<qvn::console> console;
    if (qvn::_standard_api_try_get_internal(console)) console->print(line.toUtf8().constData());
}

QString text(const cvk::stringLite& s) { return QString::fromUtf8(s.get_ptr()); }

}  // namespace

std::vector<MenuCommand> MenuCommandCatalog::collect() {
    std::vector<MenuCommand> all;
    service_class_helper_t<mainmenu_commands> helper;
    for (size_t s = 0; s < helper.get_count(); ++s) {
        service_ptr_t<mainmenu_commands> owner = helper.create(s);
        std::vector<MenuCommand> mine;
        try {
            const GUID group = owner->get_parent();
            const uint32_t priority = owner->get_sort_priority();
            const uint32_t count = owner->get_command_count();
            for (uint32_t i = 0; i < count; ++i) {
                cvk::stringLite name;
                owner->get_name(i, name);
                mine.push_back({owner, i, owner->get_command(i), group, priority, text(name)});
            }
        } catch (...) {
            // Menus are listed at every showing: say it once.
            static std::set<mainmenu_commands*> reported;
            if (reported.insert(owner.get_ptr()).second)
                report(QStringLiteral("Menu commands left out: a component threw while listing them: %1")
                           .arg(whatOf(std::current_exception())));
            continue;
        }
        all.insert(all.end(), mine.begin(), mine.end());
    }
    std::stable_sort(all.begin(), all.end(), [](const MenuCommand& a, const MenuCommand& b) {
        if (a.priority != b.priority) return a.priority < b.priority;
        const int folded = a.name.compare(b.name, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a.name < b.name;
    });
    return all;
}

std::vector<MenuCommand> MenuCommandCatalog::inGroup(const std::vector<MenuCommand>& all, const GUID& group) {
    std::vector<MenuCommand> out;
    for (const auto& c : all)
        if (c.group == group) out.push_back(c);
    return out;
}

MenuCommandDisplay MenuCommandCatalog::display(const MenuCommand& command) {
    MenuCommandDisplay d;
    try {
        cvk::stringLite shown;
        uint32_t flags = 0;
        d.visible = command.owner->get_display(command.index, shown, flags);
        d.text = text(shown);
        d.flags = flags;
    } catch (...) {
        report(QStringLiteral("Menu command \"%1\" hidden: it threw: %2")
                   .arg(command.name, whatOf(std::current_exception())));
        d = {};
    }
    return d;
}

bool MenuCommandCatalog::execute(const MenuCommand& command) {
    try {
        command.owner->execute(command.index, nullptr);
        return true;
    } catch (...) {
        report(QStringLiteral("Menu command \"%1\" failed: %2")
                   .arg(command.name, whatOf(std::current_exception())));
        return false;
    }
}
