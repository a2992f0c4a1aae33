#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>

#include "TestTrack.h"

namespace titleformat::test {
namespace {

TEST(Syntax, LiteralsAndQuotesLeaveSpecialCharactersAlone) {
    TrackInfo t = sampleTrack();
    EXPECT_EQ(run("plain text", t), "plain text");
    EXPECT_EQ(run("'[%artist%] $if(,)'", t), "[%artist%] $if(,)");
    EXPECT_EQ(run("Rock ''n'' Roll", t), "Rock 'n' Roll");
    EXPECT_EQ(run("''", t), "'");
    EXPECT_EQ(run("'('%date%')'", t), "(2014-11-04)");
    // Outside a call, commas and parentheses are ordinary text.
    EXPECT_EQ(run("a, b (c)", t), "a, b (c)");
    EXPECT_EQ(run("%%", t), "%");
    EXPECT_EQ(run("", t), "");
    EXPECT_EQ(run("caf\xC3\xA9 \xE2\x80\x93 ok", t), "caf\xC3\xA9 \xE2\x80\x93 ok");
}

TEST(Syntax, FieldNamesIgnoreCaseAndMissingFieldsShowQuestionMark) {
    TrackInfo t = sampleTrack();
    EXPECT_EQ(run("%ARTIST% / %Title%", t), "Low Roar / Easy Way Out");
    EXPECT_EQ(run("%composer%", t), "?");
    EXPECT_EQ(run("x%composer%x", t), "x?x");
    // A name that is no built-in field reads the tag of that name.
    t.addTag("MOOD", "calm");
    t.addTag("mood", "dark");
    EXPECT_EQ(run("%Mood%", t), "calm, dark");
    EXPECT_EQ(run("%no such tag%", t), "?");
    // Flags are set or empty, never "?".
    EXPECT_EQ(run("<%isplaying%%ispaused%>", t), "<>");
}

TEST(Syntax, SectionShowsOnlyWhenAFieldInsideIsPresent) {
    TrackInfo t = sampleTrack();
    EXPECT_EQ(run("[%artist% - ]%title%", t), "Low Roar - Easy Way Out");
    EXPECT_EQ(run("[%composer% - ]%title%", t), "Easy Way Out");
    EXPECT_EQ(run("[%album artist%][ - %album%]", t), "Low Roar - 0");
    removeTag(t, "album");
    EXPECT_EQ(run("[%album artist%][ - %album%]", t), "Low Roar");
    // One present field is enough; the missing one still shows as "?".
    EXPECT_EQ(run("[%artist% %composer%]", t), "Low Roar ?");
    EXPECT_EQ(run("[%composer% %comment%]", t), "");
}

TEST(Syntax, SectionWithoutFieldsAlwaysShows) {
    TrackInfo t = sampleTrack();
    EXPECT_EQ(run("['['quorvane']']", t), "[quorvane]");
    EXPECT_EQ(run("[-12.00dB]", t), "-12.00dB");
    EXPECT_EQ(run("a[]b", t), "ab");
}

TEST(Syntax, NestedSectionsDecideOnTheirOwnAndReportToTheirParent) {
    TrackInfo t = sampleTrack();
    EXPECT_EQ(run("[%album%[ CD%discnumber%][ #%tracknumber%]]", t), "0 CD1 #03");
    EXPECT_EQ(run("[%album%[ (%comment%)]]", t), "0");
    // A hidden inner section counts as one missing field for the outer one.
    EXPECT_EQ(run("[x[%comment%]]", t), "");
    EXPECT_EQ(run("[x[%comment%][%genre%]]", t), "xAmbient");
    // A shown inner section without fields is neutral.
    EXPECT_EQ(run("[x['y'] %comment%]", t), "");
}

TEST(Syntax, FunctionResultsCarryTruthIntoSections) {
    TrackInfo t = sampleTrack();
    EXPECT_EQ(run("[ :: $div(%samplerate%,1000) kHz]", t), " :: 44 kHz");
    t.sampleRate = 0;
    EXPECT_EQ(run("[ :: $div(%samplerate%,1000) kHz]", t), "");
    EXPECT_EQ(run("[$upper(%comment%)]", t), "");
    EXPECT_EQ(run("[$if(%comment%,a,b)]", t), "b");
    EXPECT_EQ(run("[$if(%comment%,a)]", t), "");
}

TEST(Syntax, UnknownFunctionsAndWrongArityAreMarkedInPlace) {
    TrackInfo t = sampleTrack();
    bool ok = false;
    auto script = Script::compile("a $nosuch(%title%) b", &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(script.format(TrackFields(t)), "a [UNKNOWN FUNCTION] b");
    EXPECT_EQ(run("$if(x)", t), "[INVALID $IF SYNTAX]");
    EXPECT_EQ(run("$upper(a,b)", t), "[INVALID $UPPER SYNTAX]");
    EXPECT_EQ(run("$replace(a,b)", t), "[INVALID $REPLACE SYNTAX]");
    EXPECT_EQ(run("$UPPER(x)", t), "X");
}

struct Malformed {
    const char* pattern;
    const char* shows;
    std::size_t errorAt;
};

class MalformedPattern : public testing::TestWithParam<Malformed> {};

TEST_P(MalformedPattern, StillRunsShowingWhatWasUnderstood) {
    const Malformed& m = GetParam();
    bool ok = true;
    SyntaxError error;
    auto script = Script::compile(m.pattern, &ok, &error);
    EXPECT_FALSE(ok);
    EXPECT_EQ(error.offset, m.errorAt);
    EXPECT_FALSE(error.message.empty());
    EXPECT_EQ(script.format(TrackFields(sampleTrack())), m.shows);
    EXPECT_EQ(script.pattern(), m.pattern);
}

INSTANTIATE_TEST_SUITE_P(Syntax, MalformedPattern,
                         testing::Values(Malformed{"[%artist% - %title%", "Low Roar - Easy Way Out", 0},
                                         Malformed{"100% sure", "100% sure", 3}, Malformed{"a]b", "a]b", 1},
                                         Malformed{"x 'abc", "x abc", 2}, Malformed{"$upper(abc", "ABC", 0},
                                         Malformed{"$upper(a,", "[INVALID $UPPER SYNTAX]", 0},
                                         Malformed{"$ 5", "$ 5", 0}, Malformed{"$upper x", "$upper x", 0},
                                         Malformed{"%title% %artist", "Easy Way Out %artist", 8},
                                         Malformed{"[$if(%title%,[x)", "x)", 13}));

TEST(Syntax, WellFormedPatternsCompileCleanly) {
    for (const char* p : {"", "[%artist% - ]%title%", "$if($strcmp(a,b),x,[y])", "'unclosed [ inside quotes'",
                          "$crlf()", "%%"}) {
        bool ok = false;
        SyntaxError error{7, "stale"};
        Script::compile(p, &ok, &error);
        EXPECT_TRUE(ok) << p;
        EXPECT_EQ(error.offset, 0u) << p;
        EXPECT_TRUE(error.message.empty()) << p;
    }
}

TEST(Syntax, DeepNestingIsRefusedWithoutExhaustingTheStack) {
    TrackInfo t = sampleTrack();
    for (std::string open : {"[", "$upper(", "$if(1,"}) {
        std::string pattern;
        for (int i = 0; i < 20000; ++i) pattern += open;
        pattern += "%title%";
        bool ok = true;
        SyntaxError error;
        auto script = Script::compile(pattern, &ok, &error);
        EXPECT_FALSE(ok) << open;
        EXPECT_GT(error.offset, 0u) << open;
        script.format(TrackFields(t));
    }
    std::string sections(20000, '[');
    EXPECT_NE(run(sections + "%title%", t).find("Easy Way Out"), std::string::npos);
}

// Random token soup from the language's alphabet: whatever comes out, compiling
// and running it must neither crash nor read out of bounds (the sanitizer
// builds catch the latter), and the result stays bounded.
TEST(Syntax, RandomPatternsAlwaysCompileAndRun) {
    static const char* kTokens[] = {
        "[",
        "]",
        "%",
        "%artist%",
        "%title%",
        "%comment%",
        "%mood%",
        "'",
        "''",
        "$",
        "(",
        ")",
        ",",
        "$if(",
        "$if2(",
        "$if3(",
        "$upper(",
        "$repeat(",
        "$pad(",
        "$num(",
        "$div(",
        "$mod(",
        "$replace(",
        "$insert(",
        "$right(",
        "$meta(",
        "$meta_sep(",
        "$put(",
        "$get(",
        "$puts(",
        "$char(",
        "$select(",
        "$abbr(",
        "$tab(",
        "$caps(",
        "$left(",
        "$nosuch(",
        "a",
        " ",
        "-",
        "0",
        "-1",
        "99999",
        "1000000",
        "\xC3",
        "\xA9",
        "\xE2\x80\x93",
        "\n",
        "$strchr(",
        "$directory(",
        "$ext(",
        "9223372036854775807",
    };
    TrackInfo t = sampleTrack();
    t.addTag("mood", "calm");
    PlaybackState playing{12.5, true};
    TrackFields source(t, &playing);
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kTokens) - 1);
    std::uniform_int_distribution<int> length(0, 40);
    std::string out;
    std::size_t failures = 0;
    for (int i = 0; i < 5000; ++i) {
        std::string pattern;
        for (int n = length(rng); n > 0; --n) pattern += kTokens[pick(rng)];
        bool ok = true;
        auto script = Script::compile(pattern, &ok);
        failures += !ok;
        script.format(source, out);
        ASSERT_LT(out.size(), std::size_t(64) << 20) << pattern;
    }
    // The soup must actually exercise the error paths.
    EXPECT_GT(failures, 1000u);
}

TEST(Syntax, OneScriptFormatsOnManyThreadsAtOnce) {
    auto script =
        Script::compile("$upper([%artist% - ]%title%)$repeat(x,$len(%album%))$puts(v,%genre%)$get(v)");
    TrackInfo t = sampleTrack();
    const std::string expected = "LOW ROAR - EASY WAY OUTxAmbient";
    std::vector<std::thread> threads;
    std::atomic<int> wrong{0};
    for (int i = 0; i < 4; ++i) {
        threads.emplace_back([&] {
            std::string out;
            for (int n = 0; n < 2000; ++n) {
                script.format(TrackFields(t), out);
                if (out != expected) ++wrong;
            }
        });
    }
    for (auto& th : threads) th.join();
    EXPECT_EQ(wrong.load(), 0);
}

TEST(Syntax, FormatReusesTheCallersStringAndReplacesItsContent) {
    auto script = Script::compile("%title%");
    std::string out = "old content that is long enough to own a heap buffer";
    const char* storage = out.data();
    script.format(TrackFields(sampleTrack()), out);
    EXPECT_EQ(out, "Easy Way Out");
    EXPECT_EQ(out.data(), storage);
    EXPECT_EQ(Script().format(TrackFields(sampleTrack())), "");
}

}  // namespace
}  // namespace titleformat::test
