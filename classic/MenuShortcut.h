#pragma once

// Menu shortcuts typed by key position. A Command shortcut typed on a layout
// that puts no Latin letter on its key (Cyrillic, Greek) would match no menu
// item; the key's position tells which Latin letter it stands for on a US
// keyboard, and the item of that letter fires. Main thread.

#include <QAction>
#include <QChar>
#include <QWidget>

#include <optional>

// The Latin letter at a key position (platform::vk), for the letter keys of a
// US keyboard; none for other keys.
std::optional<QChar> latinForKeyCode(int keyCode);

// The first enabled item of `menu` (a menu or the menu bar; submenus searched
// depth first, each brought up to date before) whose shortcut is `letter` with
// exactly the modifier flags `mask` (platform::mods); null when there is none.
QAction* menuShortcut(QWidget* menu, QChar letter, uint mask);

// Fires that item; whether there was one.
bool performMenuShortcut(QWidget* menu, QChar letter, uint mask);
