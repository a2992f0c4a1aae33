#pragma once

// The classic-playlist element shown in a window of its own, against the
// Classic test host, and the pointer positions of its rows.

#include "ClassicHost.h"
#include "QovClassicPlaylist.h"

#include <QApplication>

#include <gtest/gtest.h>

class PlaylistTest : public ::testing::Test {
protected:
    ~PlaylistTest() override { delete controller; }

    QovClassicPlaylist* show() {
        controller = new QovClassicPlaylist;
        QWidget* view = controller->view();
        view->resize(900, 400);
        view->show();
        return controller;
    }
    QovClassicTableView* table() const { return controller->table(); }
    QWidget* viewport() const { return table()->viewport(); }
    QovClassicPlaylistModel* model() const { return controller->model(); }
    // Host events rebuild at the next turn.
    static void settle() { QApplication::processEvents(); }

    QRect rowRect(int row) const {
        return {0, table()->rowViewportPosition(row), viewport()->width(), table()->rowHeight(row)};
    }
    QPoint rowCenter(int row) const { return rowRect(row).center(); }
    // A point that drops into the gap before the row.
    QPoint gapBefore(int row) const { return rowRect(row).topLeft() + QPoint(20, 2); }

    ClassicHost host;
    QovClassicPlaylist* controller = nullptr;
};
