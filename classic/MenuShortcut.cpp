#include "MenuShortcut.h"

#include "KeyPosition.h"
#include "MainMenu.h"

#include <QAction>
#include <QMenu>

#include <array>

namespace {

namespace vk = platform::vk;

constexpr std::array<std::pair<int, char>, 26> kLetters{{
    {vk::A, 'a'}, {vk::S, 's'}, {vk::D, 'd'}, {vk::F, 'f'}, {vk::H, 'h'}, {vk::G, 'g'}, {vk::Z, 'z'},
    {vk::X, 'x'}, {vk::C, 'c'}, {vk::V, 'v'}, {vk::B, 'b'}, {vk::Q, 'q'}, {vk::W, 'w'}, {vk::E, 'e'},
    {vk::R, 'r'}, {vk::Y, 'y'}, {vk::T, 't'}, {vk::O, 'o'}, {vk::U, 'u'}, {vk::I, 'i'}, {vk::P, 'p'},
    {vk::L, 'l'}, {vk::J, 'j'}, {vk::K, 'k'}, {vk::N, 'n'}, {vk::M, 'm'},
}};

// An item's shortcut as a letter and modifier flags; none unless it is one
// letter key with modifiers. Qt names letter keys by their capital and spells
// Shift out, so the letter is lower case and Shift is in the flags already.
struct KeyEquivalent {
    QChar letter;
    uint mask;
};

std::optional<KeyEquivalent> keyEquivalentOf(const QAction& item) {
    const QKeySequence shortcut = item.shortcut();
    if (shortcut.count() != 1) return std::nullopt;
    const QKeyCombination combination = shortcut[0];
    const int key = combination.key();
    if (key < Qt::Key_A || key > Qt::Key_Z) return std::nullopt;
    return KeyEquivalent{
        QChar(char16_t(key)).toLower(),
        platform::macModifierFlags(combination.keyboardModifiers()) & platform::mods::DeviceIndependentMask};
}

QAction* findShortcut(const QList<QAction*>& items, QChar letter, uint mask) {
    for (QAction* item : items) {
        if (QMenu* submenu = item->menu()) {
            platform::MainMenu::update(submenu);
            if (QAction* hit = findShortcut(submenu->actions(), letter, mask)) return hit;
            continue;
        }
        const auto equivalent = keyEquivalentOf(*item);
        if (equivalent && item->isEnabled() && equivalent->letter == letter && equivalent->mask == mask)
            return item;
    }
    return nullptr;
}

}  // namespace

std::optional<QChar> latinForKeyCode(int keyCode) {
    for (const auto& [code, letter] : kLetters)
        if (code == keyCode) return QChar(letter);
    return std::nullopt;
}

QAction* menuShortcut(QWidget* menu, QChar letter, uint mask) {
    if (!menu) return nullptr;
    if (auto* own = qobject_cast<QMenu*>(menu)) platform::MainMenu::update(own);
    return findShortcut(menu->actions(), letter, mask);
}

bool performMenuShortcut(QWidget* menu, QChar letter, uint mask) {
    QAction* item = menuShortcut(menu, letter, mask);
    if (!item) return false;
    item->trigger();
    return true;
}
