#include "KeyPosition.h"

#include "Printers.h"
#include "TestApplication.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace platform;

namespace {

class KeyPositionTest : public ::testing::Test {
protected:
    void SetUp() override { testApplication(); }
};

}  // namespace

// X11 key codes as xev reports them on a PC keyboard.
TEST_F(KeyPositionTest, X11KeyCodesLandOnTheirMacPositions) {
    const std::pair<quint32, int> cases[] = {
        {38, 0},    {39, 1},    {40, 2},    {41, 3},    {44, 38},   {28, 17},   {25, 13},
        {54, 8},    {36, 36},   {23, 48},   {65, 49},   {22, 51},   {9, 53},    {119, 117},
        {113, 123}, {114, 124}, {116, 125}, {111, 126}, {110, 115}, {115, 119}, {112, 116},
        {117, 121}, {104, 76},  {67, 122},  {96, 111},  {50, 56},   {37, 59},   {133, 55}};
    for (const auto& [x11, position] : cases)
        EXPECT_EQ(keyPositionForScanCode(x11), position) << "X11 key code " << x11;
    // The digit row 1 … 9, which the Mac numbers out of order.
    const int digits[] = {18, 19, 20, 21, 23, 22, 26, 28, 25};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(keyPositionForScanCode(10 + i), digits[i]) << i + 1;
}

TEST_F(KeyPositionTest, PositionsTypeWhatAUsKeyboardTypesThere) {
    // Positions 0 … 46; 10 is the ISO key a US keyboard lacks.
    const QString us = QStringLiteral("asdfhgzxcv?bqweryt123465=97-80]ou[ip\rlj'k;\\,/nm");
    for (int position = 0; position < us.size(); ++position) {
        if (position == 10) continue;
        const auto event = makeKeyEvent(QEvent::KeyPress, position);
        EXPECT_EQ(event->text(), us.at(position)) << position;
        if (us.at(position).isLetter()) {
            EXPECT_EQ(event->key(), Qt::Key_A + (us.at(position).unicode() - 'a')) << position;
        }
    }
    const auto shifted = makeKeyEvent(QEvent::KeyRelease, vk::Key1, Qt::ShiftModifier);
    EXPECT_EQ(shifted->text(), "!");
    EXPECT_EQ(shifted->nativeScanCode(), 10u);
    EXPECT_TRUE(makeKeyEvent(QEvent::KeyPress, vk::C, Qt::ControlModifier)->text().isEmpty());
    EXPECT_TRUE(makeKeyEvent(QEvent::KeyPress, vk::KeypadEnter)->modifiers() & Qt::KeypadModifier);
}

TEST_F(KeyPositionTest, EveryPositionRoundTripsThroughOneScanCode) {
    QSet<int> scanCodes;
    for (int position = 0; position < 128; ++position) {
        const int scan = scanCodeForKeyPosition(position);
        if (scan < 0) continue;
        EXPECT_EQ(keyPositionForScanCode(quint32(scan)), position) << position;
        EXPECT_FALSE(scanCodes.contains(scan)) << "scan code used twice: " << scan;
        scanCodes.insert(scan);
        EXPECT_EQ(keyPosition(*makeKeyEvent(QEvent::KeyPress, position)), position) << position;
    }
    EXPECT_GE(scanCodes.size(), 110);

    for (quint32 scan : {0u, 5u, 8u, 255u, 100000u}) EXPECT_EQ(keyPositionForScanCode(scan), -1);
    for (int position : {-1, 52, 66, 128}) {
        EXPECT_EQ(scanCodeForKeyPosition(position), -1) << position;
        EXPECT_EQ(makeKeyEvent(QEvent::KeyPress, position), nullptr) << position;
    }
    // A real Help key reads as Help, which Insert stands for when made up.
    EXPECT_EQ(keyPositionForScanCode(138 + 8), vk::Help);
    EXPECT_EQ(scanCodeForKeyPosition(vk::Help), 110 + 8);
}

TEST_F(KeyPositionTest, ScanCodeWinsAndEventsWithoutOneArePlacedAsOnAUsKeyboard) {
    // Cyrillic layout: the C position types "с".
    const QKeyEvent cyrillic(QEvent::KeyPress, 0x0421, Qt::ControlModifier, 54, 0, 0, "с");
    EXPECT_EQ(keyPosition(cyrillic), vk::C);

    const std::tuple<int, Qt::KeyboardModifiers, int> cases[] = {
        {Qt::Key_Left, Qt::NoModifier, 123},      {Qt::Key_A, Qt::ShiftModifier, 0},
        {Qt::Key_Exclam, Qt::ShiftModifier, 18},  {Qt::Key_Less, Qt::ShiftModifier, 43},
        {Qt::Key_Enter, Qt::KeypadModifier, 76},  {Qt::Key_Enter, Qt::NoModifier, 76},
        {Qt::Key_5, Qt::KeypadModifier, 87},      {Qt::Key_5, Qt::NoModifier, 23},
        {Qt::Key_Backtab, Qt::ShiftModifier, 48}, {Qt::Key_Delete, Qt::NoModifier, 117},
        {Qt::Key_Launch0, Qt::NoModifier, -1},    {Qt::Key_unknown, Qt::NoModifier, -1},
    };
    for (const auto& [key, modifiers, position] : cases)
        EXPECT_EQ(keyPosition(QKeyEvent(QEvent::KeyPress, key, modifiers)), position)
            << "Qt key " << std::hex << key;
}

TEST_F(KeyPositionTest, ModifiersMapAsQtMapsThemOnTheMac) {
    EXPECT_EQ(macModifierFlags(Qt::ControlModifier), 0x100000u);  // Command
    EXPECT_EQ(macModifierFlags(Qt::MetaModifier), 0x40000u);      // Control
    EXPECT_EQ(macModifierFlags(Qt::ControlModifier | Qt::AltModifier), 0x180000u);
    EXPECT_EQ(
        macModifierFlags(Qt::ShiftModifier | Qt::KeypadModifier) & mods::DeviceIndependentMask,
        0x20000u);
    for (uint flags : {0u, 0x20000u, 0x100000u, 0x1E0000u})
        EXPECT_EQ(macModifierFlags(qtModifiers(flags)), flags) << std::hex << flags;
}
