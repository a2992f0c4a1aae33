#include "DroppedFiles.h"

#include <QMimeData>

#include <gtest/gtest.h>

TEST(DroppedFiles, KeepsLocalFilesInOrderAndLeavesOutWhatNamesNoPlainFile) {
    QMimeData data;
    data.setData(QStringLiteral("text/uri-list"),
                 "file:///music/b%20c.mp3\r\n"
                 "# a comment\r\n"
                 "https://example.org/x.mp3\r\n"
                 "file:///music/nul%00.flac\r\n"
                 "file:\r\n"
                 "file:///music/a.flac\r\n");
    EXPECT_EQ(platform::droppedFiles(data), (std::vector<std::string>{"/music/b c.mp3", "/music/a.flac"}));
    EXPECT_TRUE(platform::droppedFiles(QMimeData()).empty());
}
