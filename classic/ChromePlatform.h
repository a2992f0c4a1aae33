#pragma once

// The platform pieces the Classic chrome needs until the platform layer
// offers them to every component: the alert sound, which tests and automation
// can hear through a hook, and the system font sized in points. Main thread.

#include <QFont>

#include <functional>

namespace chrome {

// The regular and the small system font sizes, in points.
inline constexpr double kRegularFontSize = 13;
inline constexpr double kSmallFontSize = 11;

// The answer to something the user asked for directly that cannot be done.
void beep();
// Called instead of the sound while set; an empty hook brings the sound back.
void setBeepHook(std::function<void()> hook);

// The system font at that size (a Mac point is one device-independent pixel)
// and weight. Every font of the chrome comes from here.
QFont systemFont(double points, QFont::Weight weight = QFont::Normal);

}  // namespace chrome
