// The tab strip's keys by position with exact modifiers, and the list of
// recently closed playlists they restore from.

#include "ClosedPlaylists.h"
#include "KeyPosition.h"
#include "TabShortcuts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace tab_shortcuts;
namespace vk = platform::vk;
namespace mods = platform::mods;

TEST(TabShortcuts, KeysArePositionsWithExactlyTheirModifiers) {
    struct Case {
        int key;
        unsigned modifiers;
        Action action;
        size_t index;
    };
    const Case cases[] = {
        {vk::Key1, mods::Command, Action::Activate, 0},
        {vk::Key2, mods::Command, Action::Activate, 1},
        {vk::Key3, mods::Command, Action::Activate, 2},
        {vk::Key4, mods::Command, Action::Activate, 3},
        // 5 and 6 sit out of order among the key codes, as do 7 and 8.
        {vk::Key5, mods::Command, Action::Activate, 4},
        {vk::Key6, mods::Command, Action::Activate, 5},
        {vk::Key7, mods::Command, Action::Activate, 6},
        {vk::Key8, mods::Command, Action::Activate, 7},
        {vk::Key9, mods::Command, Action::ActivateLast, 0},
        {vk::J, mods::Command, Action::ShowPlaying, 0},
        {vk::T, mods::Command, Action::NewPlaylist, 0},
        {vk::T, mods::Command | mods::Shift, Action::RestoreClosed, 0},
        {vk::W, mods::Command | mods::Option, Action::CloseActive, 0},
        // Bits beyond the four modifiers (the numeric pad) do not count.
        {vk::Key1, mods::Command | mods::NumericPad, Action::Activate, 0},
        // Anything more or less is no shortcut.
        {vk::Key1, mods::Command | mods::Shift, Action::None, 0},
        {vk::Key1, mods::Control, Action::None, 0},
        {vk::Key1, 0, Action::None, 0},
        {vk::Key0, mods::Command, Action::None, 0},
        {vk::T, mods::Command | mods::Option, Action::None, 0},
        {vk::T, mods::Command | mods::Shift | mods::Option, Action::None, 0},
        {vk::W, mods::Command, Action::None, 0},
        {vk::W, mods::Command | mods::Option | mods::Shift, Action::None, 0},
        {vk::J, mods::Command | mods::Control, Action::None, 0},
        {vk::LeftArrow, mods::Command, Action::None, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "key " << c.key << " modifiers " << std::hex << c.modifiers);
        const Shortcut s = shortcutFor(c.key, c.modifiers);
        EXPECT_EQ(s.action, c.action);
        if (c.action == Action::Activate) {
            EXPECT_EQ(s.index, c.index);
        }
    }
}

TEST(TabShortcuts, DigitsAndArrowsChooseAPlaylistRoundTheEnds) {
    EXPECT_EQ(activated(4, 3), 2u);  // Command-5 with three playlists: the third
    EXPECT_EQ(activated(SIZE_MAX, 3), 2u);
    EXPECT_EQ(activated(1, 3), 1u);
    EXPECT_EQ(activated(0, 0), SIZE_MAX);

    EXPECT_EQ(arrowStep(vk::LeftArrow), -1);
    EXPECT_EQ(arrowStep(vk::RightArrow), 1);
    EXPECT_EQ(arrowStep(vk::UpArrow), 0);
    EXPECT_EQ(stepped(0, 3, -1), 2u);
    EXPECT_EQ(stepped(2, 3, +1), 0u);
    EXPECT_EQ(stepped(1, 3, +1), 2u);
    EXPECT_EQ(stepped(0, 1, -1), 0u);
    EXPECT_EQ(stepped(SIZE_MAX, 3, -1), 0u);  // none active: the first
    EXPECT_EQ(stepped(0, 0, 1), SIZE_MAX);
}

ClosedPlaylist named(std::string name) { return {std::move(name), {}}; }

std::vector<std::string> names(const ClosedPlaylists& list) {
    std::vector<std::string> out;
    for (const auto& e : list.entries()) out.push_back(e.name);
    return out;
}

TEST(ClosedPlaylists, KeepsTheTenMostRecentAndTakesFromWhereAsked) {
    ClosedPlaylists list;
    for (int i = 0; i < 12; ++i) list.record(named("p" + std::to_string(i)));
    EXPECT_EQ(names(list),
              (std::vector<std::string>{"p2", "p3", "p4", "p5", "p6", "p7", "p8", "p9", "p10", "p11"}));

    // Past the end: the most recent.
    EXPECT_EQ(list.take(SIZE_MAX)->name, "p11");
    EXPECT_EQ(list.take(10)->name, "p10");
    EXPECT_EQ(list.take(0)->name, "p2");
    EXPECT_EQ(list.entries().size(), 7u);

    const size_t at = list.resolve(3);
    auto middle = list.take(at);
    ASSERT_TRUE(middle);
    EXPECT_EQ(middle->name, "p6");
    list.putBack(at, std::move(*middle));
    EXPECT_EQ(names(list), (std::vector<std::string>{"p3", "p4", "p5", "p6", "p7", "p8", "p9"}));

    list.clear();
    EXPECT_FALSE(list.take(0));
    EXPECT_EQ(list.resolve(0), SIZE_MAX);
}

}  // namespace
