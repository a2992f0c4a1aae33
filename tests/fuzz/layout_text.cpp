// Layout files as a user writes them, or as a damaged one reads.

#include "FuzzTarget.h"

#include "LayoutText.h"

QOV_FUZZ_TARGET(layout_text) {
    const LayoutText layout =
        LayoutText::parse(QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)));
    for (const LayoutElement& element : layout.elements) element.optionMap();
    for (const LayoutError& problem : layout.errors + layout.warnings) problem.text();
    return 0;
}
