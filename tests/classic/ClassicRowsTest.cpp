#include "ClassicRows.h"
#include "DisplayText.h"
#include "Printers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A track whose every pattern formats to one fixed text: its group.
class GroupTrack : public metadb_handle {
public:
    explicit GroupTrack(std::string group) : m_group(std::move(group)) {}
    const char* get_path() const override { return "file:///music/track.flac"; }
    uint32_t get_subsong_index() const override { return 0; }
    double get_length() const override { return 1; }
    t_filesize get_filesize() const override { return filesize_invalid; }
    bool format_title(titleformat_hook*, cvk::string_base& out,
                      const service_ptr_t<titleformat_object>& script,
                      titleformat_text_filter*) const override {
        out.set_string(script.is_valid() ? m_group.c_str() : "");
        return script.is_valid();
    }

private:
    std::string m_group;
};

class AnyScript : public titleformat_object {
public:
    void run(titleformat_hook*, cvk::string_base& out, titleformat_text_filter*) override { out.reset(); }
};

metadb_handle_list groups(std::initializer_list<const char*> texts) {
    metadb_handle_list out;
    for (const char* t : texts) out.push_back(service_new<GroupTrack>(t));
    return out;
}

ClassicRows built(const metadb_handle_list& items, bool grouped, const QString& home = "/home/ann") {
    ClassicRows rows;
    rows.build(items, grouped ? service_ptr_t<titleformat_object>(service_new<AnyScript>()) : nullptr, home);
    return rows;
}

std::vector<int64_t> rowItems(const ClassicRows& rows) {
    std::vector<int64_t> out;
    for (size_t r = 0; r < rows.rowCount(); ++r) out.push_back(rows.itemForRow(int64_t(r)));
    return out;
}

TEST(ClassicRows, AHeaderStartsEachRunOfOneGroup) {
    const ClassicRows rows = built(groups({"A1", "A1", "B1", "A1"}), true);
    EXPECT_EQ(rowItems(rows), (std::vector<int64_t>{-1, 0, 1, -1, 2, -1, 3}));
    EXPECT_EQ(rows.headerRows(), (std::vector<size_t>{0, 3, 5}));
    std::vector<size_t> itemRows;
    for (size_t i = 0; i < 4; ++i) itemRows.push_back(rows.rowForItem(i));
    EXPECT_EQ(itemRows, (std::vector<size_t>{1, 2, 4, 6}));
    EXPECT_EQ(rows.headerText(3), "B1");
    EXPECT_EQ(rows.headerText(5), "A1");
    EXPECT_EQ(rows.headerText(4), "");  // an item row
}

TEST(ClassicRows, WithoutGroupingEveryRowIsAnItem) {
    const ClassicRows rows = built(groups({"A", "B", "C"}), false);
    EXPECT_EQ(rowItems(rows), (std::vector<int64_t>{0, 1, 2}));
    EXPECT_TRUE(rows.headerRows().empty());
    EXPECT_EQ(built({}, true).rowCount(), 0u);
}

TEST(ClassicRows, TheFirstTrackGetsAHeaderEvenForAnEmptyOrUnreadableGroup) {
    ClassicRows rows = built(groups({"", "", "x"}), true);
    EXPECT_EQ(rowItems(rows), (std::vector<int64_t>{-1, 0, 1, -1, 2}));
    EXPECT_EQ(rows.headerText(0), "");

    rows = built(groups({"\xFF\xFE broken", "\xFF\xFE broken"}), true);
    EXPECT_EQ(rowItems(rows), (std::vector<int64_t>{-1, 0, 1}));
    EXPECT_EQ(rows.headerText(0), "");
}

TEST(ClassicRows, FolderHeadersShowTheHomeFolderAsTilde) {
    const ClassicRows rows = built(
        groups({"file:///home/ann/Music/X", "/home/anna/Music", "file:///home/ann", "http://radio/ann"}),
        true);
    EXPECT_EQ(rows.headerText(0), "~/Music/X");
    EXPECT_EQ(rows.headerText(2), "/home/anna/Music");
    EXPECT_EQ(rows.headerText(4), "~");
    EXPECT_EQ(rows.headerText(6), "http://radio/ann");
    EXPECT_EQ(displayLocation("file:///home/ann/a.flac", ""), "/home/ann/a.flac");
}

TEST(ClassicRows, QueriesOutsideTheRowsAnswerNone) {
    const ClassicRows rows = built(groups({"A", "B"}), true);  // header 0, 1, header 2, 3
    EXPECT_EQ(rows.itemForRow(-1), -1);
    EXPECT_EQ(rows.itemForRow(4), -1);
    EXPECT_FALSE(rows.isHeaderRow(-1));
    EXPECT_FALSE(rows.isHeaderRow(4));
    EXPECT_TRUE(rows.isHeaderRow(2));
    EXPECT_EQ(rows.rowForItem(2), SIZE_MAX);
}

TEST(ClassicRows, InsertionBeforeAHeaderGoesBeforeItsGroupsFirstTrack) {
    const ClassicRows rows = built(groups({"A", "A", "B"}), true);  // h 0 1 h 2
    std::vector<size_t> at;
    for (int64_t r : {-3, 0, 1, 2, 3, 4, 5, 99}) at.push_back(rows.insertIndexForRow(r));
    EXPECT_EQ(at, (std::vector<size_t>{0, 0, 0, 1, 2, 2, 3, 3}));
}

TEST(ClassicRows, QueueLabelsCountEveryEntryOfTheWholeQueue) {
    ClassicRows rows = built(groups({"", "", "", ""}), false);
    const auto track = service_ptr_t<metadb_handle>(service_new<GroupTrack>("t"));
    rows.rebuildQueue(
        {{track, 0, 2}, {track, 1, 0}, {track, 0, 2}, {track, 0, 0}, {track, SIZE_MAX, SIZE_MAX}}, 0);
    EXPECT_EQ(rows.queueLabel(2), "1, 3");
    EXPECT_EQ(rows.queueLabel(0), "4");
    EXPECT_EQ(rows.queueLabel(1), "");
    rows.rebuildQueue({{track, 1, 0}}, 1);
    EXPECT_EQ(rows.queueLabel(2), "");
    EXPECT_EQ(rows.queueLabel(0), "1");
}

}  // namespace
