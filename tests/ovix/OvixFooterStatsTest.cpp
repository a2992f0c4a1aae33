#include "OvixFooterStats.h"

#include <gtest/gtest.h>

namespace {

// Formats to its one text whatever the pattern.
class TextTrack : public metadb_handle {
public:
    TextTrack(std::string text, double length, t_filesize size)
        : _text(std::move(text)), _length(length), _size(size) {}
    const char* get_path() const override { return "file:///t.flac"; }
    uint32_t get_subsong_index() const override { return 0; }
    double get_length() const override { return _length; }
    t_filesize get_filesize() const override { return _size; }
    bool format_title(titleformat_hook*, cvk::string_base& out, const service_ptr_t<titleformat_object>&,
                      titleformat_text_filter*) const override {
        out.set_string(_text.c_str());
        return true;
    }

private:
    std::string _text;
    double _length;
    t_filesize _size;
};

service_ptr_t<metadb_handle> track(std::string text, double length = 0, t_filesize size = filesize_invalid) {
    return service_new<TextTrack>(std::move(text), length, size);
}

TEST(FooterTotals, CountLengthAndSizeOfKnownValues) {
    EXPECT_EQ(formatTotals(totalsOf({track("a", 200, 5'000'000), track("b", 100.4, 3'000'000)})),
              QStringLiteral("2 / 5:00 / 8 MB"));
    EXPECT_EQ(
        formatTotals(totalsOf({track("a", 0), track("b", -1, filesize_invalid), track("c", 59.5, 1500)})),
        QStringLiteral("3 / 1:00 / 2 KB"));
    EXPECT_EQ(formatTotals(totalsOf({})), QStringLiteral("0 / 0:00 / Zero KB"));
    EXPECT_EQ(formatTotals(totalsOf({track("a", 86400 * 2 + 1, 4'000'000'000)})),
              QStringLiteral("1 / 2:00:00:01 / 4 GB"));
}

TEST(FooterSearch, FirstTrackHoldingTheTextIgnoringCaseAndAccents) {
    const metadb_handle_list items{track("Alpha Song Album"),
                                   track("Big B\xc3\xa9"
                                         "at Club"),
                                   track("BEAT Two Other"), track("beat three")};
    for (const char* query : {"beat", "Beat", "BEAT",
                              "b\xc3\xa9"
                              "at",
                              "B\xc3\x89"
                              "AT"})
        EXPECT_EQ(firstMatch(items, {}, QString::fromUtf8(query)), 1u) << query;
    EXPECT_EQ(firstMatch(items, {}, QStringLiteral("beat t")), 2u);
    EXPECT_EQ(firstMatch(items, {}, QStringLiteral("song")), 0u);
    EXPECT_EQ(firstMatch(items, {}, QStringLiteral("nowhere")), SIZE_MAX);
    EXPECT_EQ(firstMatch(items, {}, QString()), SIZE_MAX);
    EXPECT_EQ(firstMatch({}, {}, QStringLiteral("beat")), SIZE_MAX);
}

}  // namespace
