#include "QtPrinters.h"
#include "ScriptText.h"

#include "KeyPosition.h"

#include <gtest/gtest.h>

inline void PrintTo(const ScriptPoint& p, std::ostream* os) {
    if (p.element) *os << p.element->text().toStdString() << ' ';
    if (p.child.isEmpty())
        *os << p.at.x() << ", " << p.at.y();
    else
        *os << '@' << p.child.toStdString();
}

namespace {

using Kind = ScriptCommand::Kind;

ScriptCommand only(const QString& line) {
    const ScriptText s = ScriptText::parse(line);
    EXPECT_TRUE(s.errors.isEmpty()) << (s.errors.isEmpty() ? "" : s.errors[0].message.toStdString());
    EXPECT_EQ(s.commands.size(), 1);
    return s.commands.value(0);
}

QString errorOf(const QString& line) {
    const ScriptText s = ScriptText::parse(line);
    EXPECT_EQ(s.errors.size(), 1) << line.toStdString();
    return s.errors.value(0).message;
}

TEST(ScriptText, ReadsCommandsWithTheirLineNumbers) {
    const ScriptText s =
        ScriptText::parse(QStringLiteral("# set up\n"
                                         "add \"/music/a b.flac\" /music/c.mp3\n"
                                         "\n"
                                         "new-playlist \"Road Trip\"\n"
                                         "activate 1\n"
                                         "play\n"
                                         "play 3\n"
                                         "seek 12.5\n"
                                         "volume -6\n"
                                         "order \"Repeat (playlist)\"\n"
                                         "quit\n"));
    ASSERT_TRUE(s.errors.isEmpty());
    ASSERT_EQ(s.commands.size(), 9);
    EXPECT_EQ(s.commands[0].kind, Kind::Add);
    EXPECT_EQ(s.commands[0].line, 2);
    EXPECT_EQ(s.commands[0].paths, (QStringList{"/music/a b.flac", "/music/c.mp3"}));
    EXPECT_EQ(s.commands[1].text, QStringLiteral("Road Trip"));
    EXPECT_EQ(s.commands[1].line, 4);
    EXPECT_EQ(*s.commands[2].index, 1);
    EXPECT_FALSE(s.commands[3].index.has_value());
    EXPECT_EQ(*s.commands[4].index, 3);
    EXPECT_DOUBLE_EQ(s.commands[5].number, 12.5);
    EXPECT_DOUBLE_EQ(s.commands[6].number, -6);
    EXPECT_EQ(s.commands[7].text, QStringLiteral("Repeat (playlist)"));
    EXPECT_EQ(s.commands[8].kind, Kind::Quit);
}

TEST(ScriptText, PointerCommandsAddressElementsByNameAndInstance) {
    const ScriptCommand click = only(QStringLiteral("click classic-playlist#1 10 20.5 double"));
    EXPECT_EQ(click.element->name, QStringLiteral("classic-playlist"));
    EXPECT_EQ(click.element->instance, 1);
    EXPECT_EQ(click.points, (QList<ScriptPoint>{{{10, 20.5}, {}}}));
    EXPECT_EQ(click.click, ScriptCommand::Click::Double);
    EXPECT_EQ(only(QStringLiteral("click waveform-seekbar 1 2")).click, ScriptCommand::Click::Left);
    EXPECT_EQ(only(QStringLiteral("click waveform-seekbar 1 2 right")).click, ScriptCommand::Click::Right);
    EXPECT_EQ(only(QStringLiteral("hover waveform-seekbar 1 2")).element->instance, 0);

    const ScriptCommand drag = only(QStringLiteral("drag \"Waveform Seekbar#2\" 1 2 3 4"));
    EXPECT_EQ(drag.element->name, QStringLiteral("Waveform Seekbar"));
    EXPECT_EQ(drag.element->instance, 2);
    EXPECT_EQ(drag.points, (QList<ScriptPoint>{{{1, 2}, {}}, {{3, 4}, {}}}));

    const ScriptCommand drop = only(QStringLiteral("drop classic-playlist 5 6 a.flac \"b c.mp3\""));
    EXPECT_EQ(drop.paths, (QStringList{"a.flac", "b c.mp3"}));

    EXPECT_FALSE(ElementAddress::parse(QStringLiteral("#1")).has_value());
    EXPECT_FALSE(ElementAddress::parse(QStringLiteral("a#b#1")).has_value());
    EXPECT_EQ((ElementAddress{QStringLiteral("x"), 3}.text()), QStringLiteral("x#3"));
}

TEST(ScriptText, PointsMayNameAnAccessibleChildOfTheElement) {
    const auto child = [](const char* name) { return ScriptPoint{{}, QString::fromUtf8(name)}; };
    const ScriptCommand click = only(QStringLiteral("click classic-tabs#1@Road right"));
    EXPECT_EQ(click.element->name, QStringLiteral("classic-tabs"));
    EXPECT_EQ(click.element->instance, 1);
    EXPECT_EQ(click.points, QList<ScriptPoint>{child("Road")});
    EXPECT_EQ(click.click, ScriptCommand::Click::Right);
    // Quotes may start inside the word; the name may hold @ and #.
    EXPECT_EQ(only(QStringLiteral("hover classic-tabs@\"Road Trip #2 @ home\"")).points,
              QList<ScriptPoint>{child("Road Trip #2 @ home")});
    EXPECT_EQ(only(QStringLiteral("drag fixture-cells@Alpha @\"Gamma Ray\"")).points,
              (QList<ScriptPoint>{child("Alpha"), child("Gamma Ray")}));
    EXPECT_EQ(only(QStringLiteral("drag fixture-cells@Alpha 30 4")).points,
              (QList<ScriptPoint>{child("Alpha"), {{30, 4}, {}}}));
    EXPECT_EQ(only(QStringLiteral("drag fixture-cells 1 2 @Beta")).points,
              (QList<ScriptPoint>{{{1, 2}, {}}, child("Beta")}));
    // A drag may end in another element.
    const ElementAddress tabs{QStringLiteral("classic-tabs"), 1};
    EXPECT_EQ(only(QStringLiteral("drag fixture-cells@Alpha classic-tabs#1@Road")).points,
              (QList<ScriptPoint>{child("Alpha"), {{}, QStringLiteral("Road"), tabs}}));
    EXPECT_EQ(only(QStringLiteral("drag fixture-cells 1 2 classic-tabs#1 3 4")).points,
              (QList<ScriptPoint>{{{1, 2}, {}}, {{3, 4}, {}, tabs}}));
    EXPECT_TRUE(errorOf(QStringLiteral("drag fixture-cells 1 2 classic-tabs 3"))
                    .contains(QStringLiteral("missing y")));
    // Through more points, holding at some; from a window beside the layout's.
    const ScriptCommand held =
        only(QStringLiteral("drag window \"Search Library\"@Alpha classic-tabs@B hold 0.7 @C hold 1"));
    EXPECT_EQ(*held.element, (ElementAddress{QStringLiteral("Search Library"), 0, true}));
    EXPECT_EQ(held.points, (QList<ScriptPoint>{
                               child("Alpha"),
                               {{}, QStringLiteral("B"), ElementAddress{QStringLiteral("classic-tabs")}, 0.7},
                               {{}, QStringLiteral("C"), {}, 1}}));
    EXPECT_EQ(only(QStringLiteral("click window Other 3 4")).points, (QList<ScriptPoint>{{{3, 4}, {}}}));
    EXPECT_TRUE(
        errorOf(QStringLiteral("drag classic-tabs@A @B hold")).contains(QStringLiteral("missing hold")));
    EXPECT_TRUE(
        errorOf(QStringLiteral("drag classic-tabs@A @B hold -1")).contains(QStringLiteral("negative")));
    EXPECT_TRUE(errorOf(QStringLiteral("click window @A")).contains(QStringLiteral("window title")));
    const ScriptCommand drop = only(QStringLiteral("drop classic-tabs@Road a.flac"));
    EXPECT_EQ(drop.points, QList<ScriptPoint>{child("Road")});
    EXPECT_EQ(drop.paths, QStringList{"a.flac"});

    EXPECT_TRUE(errorOf(QStringLiteral("click classic-tabs@")).contains(QStringLiteral("name after @")));
    EXPECT_TRUE(errorOf(QStringLiteral("drag classic-tabs@A @")).contains(QStringLiteral("name after @")));
    EXPECT_TRUE(
        errorOf(QStringLiteral("click classic-tabs@A 1 2")).contains(QStringLiteral("unknown click")));
    EXPECT_TRUE(errorOf(QStringLiteral("drag classic-tabs@A")).contains(QStringLiteral("missing x")));
    EXPECT_TRUE(errorOf(QStringLiteral("hover @A")).contains(QStringLiteral("element address")));
}

TEST(ScriptText, KeysNamePositionsAndMacModifiers) {
    namespace vk = platform::vk;
    const auto chord = [](const char* text) { return KeyChord::parse(QString::fromLatin1(text)); };
    EXPECT_EQ(chord("a")->position, vk::A);
    EXPECT_EQ(chord("0")->position, vk::Key0);
    EXPECT_EQ(chord("f12")->position, vk::F12);
    EXPECT_EQ(chord("forward-delete")->position, vk::ForwardDelete);
    EXPECT_EQ(chord("delete")->position, vk::Delete);
    EXPECT_EQ(chord("enter")->position, vk::KeypadEnter);
    EXPECT_EQ(chord("pagedown")->position, vk::PageDown);
    // Command is Qt's Control and Control is Qt's Meta, as on the Mac.
    EXPECT_EQ(chord("cmd+a")->modifiers, Qt::ControlModifier);
    EXPECT_EQ(chord("ctrl+a")->modifiers, Qt::MetaModifier);
    EXPECT_EQ(chord("opt+shift+left")->modifiers, Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_EQ(chord("cmd+shift+opt+ctrl+z")->modifiers,
              Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
    EXPECT_FALSE(chord("cmd+cmd+a"));
    EXPECT_FALSE(chord("hyper+a"));
    EXPECT_FALSE(chord("f13"));
    EXPECT_FALSE(chord("cmd+"));
    EXPECT_EQ(only(QStringLiteral("key shift+tab")).key.position, vk::Tab);
}

TEST(ScriptText, WaitsAndTheRest) {
    const ScriptCommand until = only(QStringLiteral("wait-until position>=2.5"));
    EXPECT_EQ(until.condition, ScriptCommand::Condition::PositionAtLeast);
    EXPECT_DOUBLE_EQ(until.number, 2.5);
    EXPECT_DOUBLE_EQ(until.timeout, ScriptText::kDefaultWaitTimeout);
    EXPECT_DOUBLE_EQ(only(QStringLiteral("wait-until stopped 3")).timeout, 3);
    EXPECT_DOUBLE_EQ(only(QStringLiteral("wait 0.25")).number, 0.25);
    EXPECT_EQ(only(QStringLiteral("type hello  world")).text, QStringLiteral("hello world"));
    // Names take the rest of the line, quoted or not.
    EXPECT_EQ(only(QStringLiteral("order Shuffle (tracks)")).text, QStringLiteral("Shuffle (tracks)"));
    EXPECT_EQ(only(QStringLiteral("order \"Shuffle (tracks)\"")).text, QStringLiteral("Shuffle (tracks)"));
    EXPECT_EQ(only(QStringLiteral("new-playlist Road Trip # the long one")).text,
              QStringLiteral("Road Trip"));
    EXPECT_EQ(only(QStringLiteral("new-playlist \"Road  Trip\"")).text, QStringLiteral("Road  Trip"));
    EXPECT_EQ(only(QStringLiteral("type \"two  spaces\"")).text, QStringLiteral("two  spaces"));
    EXPECT_EQ(only(QStringLiteral("menu Library/Search Library...")).text,
              QStringLiteral("Library/Search Library..."));
    EXPECT_EQ(only(QStringLiteral("prefs Waveform Seekbar")).text, QStringLiteral("Waveform Seekbar"));
    const ScriptCommand shot = only(QStringLiteral("screenshot out/a.png waveform-seekbar#0"));
    EXPECT_EQ(shot.text, QStringLiteral("out/a.png"));
    EXPECT_EQ(shot.element->name, QStringLiteral("waveform-seekbar"));
    EXPECT_TRUE(only(QStringLiteral("screenshot p.png preferences")).ofPreferences);
    EXPECT_EQ(*only(QStringLiteral("screenshot s.png window Search Library")).element,
              (ElementAddress{QStringLiteral("Search Library"), 0, true}));
    EXPECT_EQ(*only(QStringLiteral("answer-alerts 2")).index, 2);
    EXPECT_EQ(only(QStringLiteral("answer-alerts 1 Road trip")).text, QStringLiteral("Road trip"));
    const ScriptCommand typed = only(QStringLiteral("answer-alerts 1 \"Road  Trip\""));
    EXPECT_EQ(*typed.index, 1);
    EXPECT_EQ(typed.text, QStringLiteral("Road  Trip"));
    EXPECT_EQ(only(QStringLiteral("appearance dark")).text, QStringLiteral("dark"));
}

TEST(ScriptText, SyntaxErrorsNameTheLineAndTheProblem) {
    const ScriptText s =
        ScriptText::parse(QStringLiteral("play\n"
                                         "jump 3\n"
                                         "seek\n"
                                         "seek -1\n"
                                         "volume loud\n"
                                         "click waveform-seekbar 10\n"
                                         "click waveform-seekbar 10 10 middle\n"
                                         "wait-until playing 0\n"
                                         "stop now\n"
                                         "type \"unterminated\n"
                                         "quit\n"));
    EXPECT_EQ(s.commands.size(), 2);
    QList<int> lines;
    for (const ScriptError& e : s.errors) lines.append(e.line);
    EXPECT_EQ(lines, (QList<int>{2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_TRUE(s.errors[0].message.contains(QStringLiteral("unknown command \"jump\"")));
    EXPECT_TRUE(s.errors[1].message.contains(QStringLiteral("missing seconds")));
    EXPECT_TRUE(s.errors[2].message.contains(QStringLiteral("negative")));
    EXPECT_TRUE(s.errors[6].message.contains(QStringLiteral("more than 0")));
    EXPECT_TRUE(s.errors[7].message.contains(QStringLiteral("unexpected \"now\"")));

    EXPECT_TRUE(errorOf(QStringLiteral("wait-until loud")).contains(QStringLiteral("unknown condition")));
    EXPECT_TRUE(errorOf(QStringLiteral("wait-until position>=x")).contains(QStringLiteral("position")));
    EXPECT_TRUE(errorOf(QStringLiteral("key cmd+nothing")).contains(QStringLiteral("unknown key")));
    EXPECT_TRUE(errorOf(QStringLiteral("menu Preferences")).contains(QStringLiteral("MENU/ITEM")));
    EXPECT_TRUE(errorOf(QStringLiteral("appearance sepia")).contains(QStringLiteral("light or dark")));
    EXPECT_TRUE(errorOf(QStringLiteral("answer-alerts 0")).contains(QStringLiteral("from 1")));
    EXPECT_TRUE(errorOf(QStringLiteral("activate -1")).contains(QStringLiteral("whole number")));
    EXPECT_TRUE(errorOf(QStringLiteral("add")).contains(QStringLiteral("missing path")));
    EXPECT_TRUE(errorOf(QStringLiteral("order")).contains(QStringLiteral("missing playback order name")));
    EXPECT_TRUE(
        errorOf(QStringLiteral("new-playlist \"\"")).contains(QStringLiteral("missing playlist name")));
    EXPECT_TRUE(errorOf(QStringLiteral("wait 1e999")).contains(QStringLiteral("must be a number")));
    EXPECT_TRUE(errorOf(QStringLiteral("click \"#2\" 1 1")).contains(QStringLiteral("element address")));
}

TEST(ScriptText, WaitsBeyondTheClockNeverEnd) {
    // A wait of 1e16 s once came out as an instant one.
    for (const double seconds : {1e300, 1e16, 9.3e15}) {
        const QDeadlineTimer d = ScriptText::deadline(seconds);
        EXPECT_FALSE(d.hasExpired()) << seconds;
        EXPECT_TRUE(d.isForever() || d.remainingTime() > qint64(9e14)) << seconds;
    }
    EXPECT_FALSE(ScriptText::deadline(1e11).isForever());
    EXPECT_GT(ScriptText::deadline(1e11).remainingTime(), qint64(9e13));
    const QDeadlineTimer shortWait = ScriptText::deadline(0.25);
    EXPECT_GT(shortWait.remainingTime(), 0);
    EXPECT_LE(shortWait.remainingTime(), 250);
    EXPECT_TRUE(ScriptText::deadline(0).hasExpired());
}

}  // namespace
