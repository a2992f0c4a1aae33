#include "ChromePlatform.h"

#include <QApplication>
#include <QFontDatabase>

#include <cmath>

namespace chrome {

namespace {

std::function<void()>& beepHook() {
    static std::function<void()> hook;
    return hook;
}

}  // namespace

void beep() {
    if (beepHook())
        beepHook()();
    else
        QApplication::beep();
}

void setBeepHook(std::function<void()> hook) { beepHook() = std::move(hook); }

QFont systemFont(double points, QFont::Weight weight) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(int(std::lround(points)));
    font.setWeight(weight);
    return font;
}

}  // namespace chrome
