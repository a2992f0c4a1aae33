#pragma once

// Pictures of the window for --screenshot, automation and demos. GUI thread.
//
// Typical use, after the window is shown with its layout:
//     QString error;
//     if (!WindowShot::capture(window, "shot.png", WindowShot::kSettleMs, true, &error)) ...

#include <QString>

class QWidget;

namespace WindowShot {

// Long enough for the elements' first polls (every 0.25 s or faster) to land.
inline constexpr int kSettleMs = 300;

// Runs the event loop for `ms` milliseconds: timers fire, views repaint.
void settle(int ms);

// Writes the widget as it shows now, in the format the file name says.
// `makeFolders` creates missing folders on the way. False with `error` set
// when the file cannot be written.
bool save(QWidget& widget, const QString& file, bool makeFolders, QString* error);

bool capture(QWidget& widget, const QString& file, int settleMs, bool makeFolders, QString* error);

}  // namespace WindowShot
