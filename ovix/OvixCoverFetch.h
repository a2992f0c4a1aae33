#pragma once

// The Ovix header's cover art, fetched off the main thread: the host's front
// cover of one track, decoded no larger than the header shows it, handed back
// on the main thread unless the fetch was cancelled meanwhile. A newer track
// raises the older fetch's abort flag; that fetch then shows nothing, whenever
// it ends.

#include "abort_callback.h"
#include "metadb_handle.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QSize>

#include <functional>
#include <memory>

// Starts one worker and returns. `show` runs on the main thread with a
// non-null image, only while `guard` lives and `abort` is down; a track
// without art, unreadable art or data that does not decode shows nothing.
// `box` is the largest size worth decoding, in pixels.
void fetchCover(std::shared_ptr<abort_callback_impl> abort, service_ptr_t<metadb_handle> track, QSize box,
                QPointer<QObject> guard, std::function<void(const QImage&)> show);

// The bytes as an image no larger than `box` (aspect kept); null when they do
// not decode. Any thread.
QImage decodeCover(const QByteArray& bytes, QSize box);
