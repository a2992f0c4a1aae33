// The "Classic UI" page and the settings helpers behind it.

#include "ClassicHost.h"
#include "ClassicSettings.h"
#include "ColumnSpec.h"
#include "NotificationCenter.h"
#include "Printers.h"
#include "QovClassicPrefs.h"
#include "SystemColors.h"

#include <QFontDatabase>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using platform::Appearance;
using platform::SystemColors;

TEST(ClassicAccent, ReadsSixCharactersThatAreHexadecimalFromTheirStart) {
    struct Case {
        const char* text;
        std::optional<QRgb> rgb;
    };
    const Case cases[] = {
        {"00FF00", 0xFF00FF00},  {"ff8000", 0xFFFF8000},    {"12345G", 0xFF012345},   {"0x00FF", 0xFF0000FF},
        {"00FF0", std::nullopt}, {"00FF000", std::nullopt}, {"GG0000", std::nullopt}, {"", std::nullopt},
    };
    for (const Case& c : cases) {
        const auto color = accentFromText(c.text);
        EXPECT_EQ(color.has_value(), c.rgb.has_value()) << c.text;
        if (color && c.rgb) EXPECT_EQ(color->rgba(), *c.rgb) << c.text;
    }
    EXPECT_EQ(accentText(QColor::fromRgbF(0.5f, 0, 1)), "8000FF");  // 127.5 rounds up
    EXPECT_EQ(accentText(Qt::red), "FF0000");
}

class PrefsPage : public ::testing::Test {
protected:
    PrefsPage() {
        page = new QovClassicPrefs;
        page->view()->show();
        posted = platform::NotificationCenter::defaultCenter().subscribe(
            platform::kClassicUIPrefsChanged, nullptr, [this](const platform::Notification&) { ++notices; });
    }
    ~PrefsPage() override {
        delete page;
        resetClassicSettings();
    }

    static void type(QLineEdit* field, const QString& text) {
        field->clear();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }

    ClassicHost host;
    QovClassicPrefs* page = nullptr;
    int notices = 0;
    platform::Subscription posted;
};

TEST_F(PrefsPage, NumbersAreStoredAndShownClamped) {
    struct Case {
        QLineEdit* field;
        cfg_var_modern::cfg_int& setting;
        const char* typed;
        int stored;
    };
    const Case cases[] = {
        {page->sizeField(), cfg_fontSize, "40", kFontSizeMax},
        {page->sizeField(), cfg_fontSize, "5", kFontSizeMin},
        {page->sizeField(), cfg_fontSize, "14pt", 14},
        {page->sizeField(), cfg_fontSize, "big", kFontSizeMin},
        {page->heightField(), cfg_rowHeight, "100", kRowHeightMax},
        {page->heightField(), cfg_rowHeight, "-3", kRowHeightMin},
    };
    for (const Case& c : cases) {
        type(c.field, c.typed);
        EXPECT_EQ(c.setting.get(), c.stored) << c.typed;
        EXPECT_EQ(c.field->text(), QString::number(c.stored)) << c.typed;
    }
    EXPECT_EQ(notices, 6);

    QTest::keyClick(page->heightStepper(), Qt::Key_Up);
    EXPECT_EQ(cfg_rowHeight.get(), kRowHeightMin + 1);
    EXPECT_EQ(page->heightField()->text(), QString::number(kRowHeightMin + 1));
}

TEST_F(PrefsPage, TheAccentIsStoredAsSixHexDigitsWhileTheBoxIsOn) {
    EXPECT_FALSE(page->accentWell()->isEnabled());
    page->accentWell()->setColor(Qt::red);
    page->accentCheckbox()->click();
    EXPECT_EQ(cfg_accent.get().str(), "FF0000");
    EXPECT_TRUE(page->accentWell()->isEnabled());
    page->accentWell()->pick(QColor::fromRgbF(0.5f, 0.25f, 0));
    EXPECT_EQ(cfg_accent.get().str(), "804000");
    EXPECT_EQ(accentColor(), QColor::fromRgb(0x80, 0x40, 0x00));
    page->accentCheckbox()->click();
    EXPECT_EQ(cfg_accent.get().str(), "");
    EXPECT_EQ(accentColor(), SystemColors::accentColor());
}

TEST_F(PrefsPage, ThemesSetTheAppearanceAndMonochromeItsOwnAccent) {
    struct Case {
        int index;
        std::optional<Appearance> appearance;
    };
    for (const Case& c : {Case{3, Appearance::DarkAqua}, Case{1, Appearance::Aqua},
                          Case{2, Appearance::DarkAqua}, Case{0, std::nullopt}}) {
        page->themePopup()->setCurrentIndex(c.index);
        page->changed();
        EXPECT_EQ(cfg_theme.get(), c.index);
        EXPECT_EQ(SystemColors::forcedAppearance(), c.appearance) << c.index;
    }

    cfg_theme.set(kThemeMonochrome);
    EXPECT_EQ(accentColor(), QColor::fromRgbF(0.86f, 0.86f, 0.86f));
    cfg_accent.set("00FF0");  // malformed: no custom accent
    EXPECT_EQ(accentColor(), QColor::fromRgbF(0.86f, 0.86f, 0.86f));
    cfg_accent.set("00FF00");
    EXPECT_EQ(accentColor(), QColor(Qt::green));

    // Values only a hand edit of the store can make.
    for (const auto& [stored, shown] : {std::pair{7, 3}, {-2, 0}}) {
        cfg_accent.set("");
        cfg_theme.set(stored);
        page->load();
        EXPECT_EQ(page->themePopup()->currentIndex(), shown);
        applyTheme();
        EXPECT_EQ(SystemColors::forcedAppearance(), std::nullopt);
        EXPECT_EQ(accentColor(), SystemColors::accentColor());
    }
}

TEST_F(PrefsPage, AMissingFontShowsAsSystemAndIsKeptUntilChanged) {
    cfg_fontName.set("No Such Family 12345");
    cfg_fontSize.set(99);
    page->load();
    EXPECT_EQ(page->fontPopup()->currentIndex(), 0);
    EXPECT_EQ(page->sizeField()->text(), "99");  // as stored, until the next change clamps it
    EXPECT_EQ(playlistFont(false).family(), QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
    EXPECT_EQ(playlistFont(false).pixelSize(), kFontSizeMax);
    EXPECT_EQ(playlistFont(true).weight(), QFont::DemiBold);
    EXPECT_EQ(cfg_fontName.get().str(), "No Such Family 12345");

    const QString installed = page->fontPopup()->itemText(2);
    page->fontPopup()->setCurrentIndex(2);
    page->changed();
    EXPECT_EQ(QString::fromUtf8(cfg_fontName.get().get_ptr()), installed);
    EXPECT_EQ(playlistFont(true).family(), installed);
    EXPECT_EQ(playlistFont(true).weight(), QFont::Bold);
}

TEST_F(PrefsPage, ResetRestoresThePageButNotTheColumnsOrGrouping) {
    cfg_columns.set("title\t300");
    cfg_groupBy.set("artist");
    type(page->windowTitleField(), "");
    EXPECT_EQ(cfg_windowTitle.get().str(), "");  // leaves the window title alone
    type(page->leftField(), "%title%");
    page->tabCloseCheckbox()->click();
    page->themePopup()->setCurrentIndex(2);
    page->changed();

    page->reset();
    EXPECT_EQ(cfg_windowTitle.get().str(), kDefaultWindowTitle);
    EXPECT_EQ(cfg_statusLeft.get().str(), kDefaultStatusLeft);
    EXPECT_EQ(cfg_tabClose.get(), 0);
    EXPECT_EQ(cfg_theme.get(), kThemeSystem);
    EXPECT_EQ(page->leftField()->text(), QString::fromUtf8(kDefaultStatusLeft));
    EXPECT_FALSE(page->tabCloseCheckbox()->isChecked());
    EXPECT_EQ(cfg_columns.get().str(), "title\t300");
    EXPECT_EQ(cfg_groupBy.get().str(), "artist");
}

}  // namespace
