#include "LibraryTestSupport.h"
#include "Metadb.h"
#include "TrackHandle.h"

#include "std_api.h"
#include "titleformat.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

using library::Metadb;

namespace {

service_ptr_t<titleformat_object> compile(const char* pattern) {
    return qvn::std_api_get<titleformat_compiler>()->compile_safe(pattern);
}

// Knows the fields it was given; a field mapped to null is known but absent.
class MapHook : public titleformat_hook {
public:
    MapHook(std::initializer_list<std::pair<const std::string, const char*>> fields) : m_fields(fields) {}
    bool process_field(cvk::string_base& out, const char* name, size_t len, bool& found) override {
        const auto it = m_fields.find(std::string(name, len));
        if (it == m_fields.end()) return false;
        found = it->second != nullptr;
        if (found) out.add_string(it->second);
        return true;
    }

private:
    std::map<std::string, const char*> m_fields;
};

class UpperFilter : public titleformat_text_filter {
public:
    void write(cvk::string_base& out, const char* data, size_t len) override {
        std::string s(data, len);
        for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
        out.add_string(s.c_str());
    }
};

class FormatTitle : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new MediaFixtures::Scratch;
        s_track = Metadb::instance().handleFor(taggedTrack(s_dir->file("song.flac"), "Song", "Singer"));
    }
    static void TearDownTestSuite() {
        s_track.release();
        delete s_dir;
    }

    std::string format(const char* pattern, titleformat_hook* hook = nullptr,
                       titleformat_text_filter* filter = nullptr) {
        cvk::stringLite out;
        EXPECT_TRUE(s_track->format_title(hook, out, compile(pattern), filter));
        return out.str();
    }

    static inline MediaFixtures::Scratch* s_dir = nullptr;
    static inline metadb_handle_ptr s_track;
};

TEST_F(FormatTitle, TrackFieldsWithTheLanguagesFallbacks) {
    EXPECT_EQ(format("[%artist% - ]%title%"), "Singer - Song");
    EXPECT_EQ(format("%album artist%|%filename_ext%|%length%"), "Singer|song.flac|0:02");
    EXPECT_EQ(format("[%album%]x"), "x");
}

TEST_F(FormatTitle, HookFieldsComeBeforeTheTracks) {
    MapHook hook({{"title", "From Hook"}, {"queue_index", "3"}, {"artist", nullptr}});
    EXPECT_EQ(format("%title%", &hook), "From Hook");
    // Fields the hook does not know are the track's own.
    EXPECT_EQ(format("%filename%", &hook), "song");
    // Tags that are no built-in field reach the hook too.
    EXPECT_EQ(format("[%queue_index%. ]%title%", &hook), "3. From Hook");
    // A field the hook claims without a value hides the track's.
    EXPECT_EQ(format("[%artist% - ]%title%", &hook), "From Hook");
}

TEST_F(FormatTitle, FilterRewritesFieldValuesOnly) {
    UpperFilter upper;
    EXPECT_EQ(format("by %artist%: %title%", nullptr, &upper), "by SINGER: SONG");
    MapHook hook({{"title", "hooked"}});
    EXPECT_EQ(format("%title%", &hook, &upper), "HOOKED");
}

TEST_F(FormatTitle, APatternThatDoesNotCompileStillFormats) {
    service_ptr_t<titleformat_object> script;
    EXPECT_FALSE(qvn::std_api_get<titleformat_compiler>()->compile(script, "[%title%"));
    EXPECT_FALSE(script.is_valid());
    EXPECT_EQ(format("[%title%"), titleformat_compiler::kInvalidPatternText);

    cvk::stringLite out("left over");
    EXPECT_FALSE(s_track->format_title(nullptr, out, nullptr, nullptr));
    EXPECT_TRUE(out.is_empty());
}

TEST_F(FormatTitle, ScriptRunsOnAHookAlone) {
    MapHook hook({{"title", "Alone"}});
    cvk::stringLite out;
    compile("[%artist% - ]%title%")->run(&hook, out, nullptr);
    EXPECT_EQ(out.str(), "Alone");
    compile("$upper(abc)")->run(nullptr, out, nullptr);
    EXPECT_EQ(out.str(), "ABC");
}

TEST_F(FormatTitle, PlayingTrackAndListPositionFields) {
    const titleformat::PlaybackState playing{1.4, true};
    const titleformat::ListPosition list{4, 12};
    cvk::stringLite out;
    library::TrackHandle::from(s_track)->formatTitle(
        nullptr, out, compile("%list_index%/%list_total% %playback_time% $if(%ispaused%,paused)"), nullptr,
        &playing, &list);
    EXPECT_EQ(out.str(), "05/12 0:01 paused");
}

TEST_F(FormatTitle, StatisticsChangesShowAtOnce) {
    ASSERT_TRUE(Metadb::instance().setRating({s_track}, 4));
    EXPECT_EQ(format("%rating%"), "4");
    Metadb::instance().trackPlayed(s_track);
    EXPECT_EQ(format("%play_count%"), "1");
    EXPECT_NE(format("%last_played%"), "?");
    EXPECT_FALSE(Metadb::instance().setRating({s_track}, 6));
    EXPECT_EQ(format("%rating%"), "4");
}

}  // namespace
