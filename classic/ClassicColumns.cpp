#include "ClassicColumns.h"

const ClassicColumn* findColumn(std::string_view key) {
    for (const ClassicColumn& c : kColumns)
        if (key == c.key) return &c;
    return nullptr;
}

const ClassicGroup* findGroup(std::string_view key) {
    for (const ClassicGroup& g : kGroups)
        if (key == g.key) return &g;
    return nullptr;
}
