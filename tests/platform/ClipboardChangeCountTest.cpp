#include "ClipboardChangeCount.h"

#include "TestApplication.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

using platform::clipboardChangeCount;

TEST(ClipboardChangeCount, EveryWriteCountsOnceAndReadingNever) {
    testApplication();
    QClipboard* clipboard = QGuiApplication::clipboard();
    const qint64 start = clipboardChangeCount();

    clipboard->setText(QStringLiteral("first"));
    EXPECT_EQ(clipboardChangeCount(), start + 1);

    EXPECT_EQ(clipboard->text(), QStringLiteral("first"));
    EXPECT_NE(clipboard->mimeData(), nullptr);
    EXPECT_EQ(clipboardChangeCount(), start + 1);

    auto* files = new QMimeData;
    files->setUrls({QUrl::fromLocalFile(QStringLiteral("/music/a.flac"))});
    clipboard->setMimeData(files);
    EXPECT_EQ(clipboardChangeCount(), start + 2);
    // The same text again is still a write: the tracks kept with the first are not these.
    clipboard->setText(QStringLiteral("first"));
    clipboard->clear();
    EXPECT_EQ(clipboardChangeCount(), start + 4);
}
