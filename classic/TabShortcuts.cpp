#include "TabShortcuts.h"

#include "KeyPosition.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace tab_shortcuts {

namespace {

namespace vk = platform::vk;
namespace mods = platform::mods;

// Command and 1 to 8 activate a playlist by number; the ninth digit is the last.
constexpr int kDigits[] = {vk::Key1, vk::Key2, vk::Key3, vk::Key4, vk::Key5,
                           vk::Key6, vk::Key7, vk::Key8, vk::Key9};

}  // namespace

Shortcut shortcutFor(int keyPosition, unsigned modifiers) {
    const unsigned m = modifiers & mods::DeviceIndependentMask;
    if (m == mods::Command) {
        const auto digit = std::find(std::begin(kDigits), std::end(kDigits), keyPosition);
        if (digit == std::end(kDigits) - 1) return {Action::ActivateLast};
        if (digit != std::end(kDigits)) return {Action::Activate, size_t(digit - std::begin(kDigits))};
        if (keyPosition == vk::J) return {Action::ShowPlaying};
        if (keyPosition == vk::T) return {Action::NewPlaylist};
    }
    if (m == (mods::Command | mods::Shift) && keyPosition == vk::T) return {Action::RestoreClosed};
    if (m == (mods::Command | mods::Option) && keyPosition == vk::W) return {Action::CloseActive};
    return {};
}

int arrowStep(int keyPosition) {
    if (keyPosition == vk::LeftArrow) return -1;
    if (keyPosition == vk::RightArrow) return 1;
    return 0;
}

size_t stepped(size_t active, size_t count, int step) {
    if (count == 0) return SIZE_MAX;
    if (active >= count) return 0;
    return size_t((long long)(active + count) + step) % count;
}

size_t activated(size_t index, size_t count) {
    if (count == 0) return SIZE_MAX;
    return std::min(index, count - 1);
}

}  // namespace tab_shortcuts
