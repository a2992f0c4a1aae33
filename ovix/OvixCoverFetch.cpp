#include "OvixCoverFetch.h"

#include "album_art.h"
#include "BundleWork.h"
#include "MainQueue.h"
#include "std_api.h"

#include <QBuffer>
#include <QImageReader>

QImage decodeCover(const QByteArray& bytes, QSize box) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    // Scaled while decoding: a camera-sized picture costs what a thumbnail does.
    if (size.isValid() && box.isValid() && (size.width() > box.width() || size.height() > box.height()))
        reader.setScaledSize(size.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    return reader.read();
}

void fetchCover(std::shared_ptr<abort_callback_impl> abort, service_ptr_t<metadb_handle> track, QSize box,
                QPointer<QObject> guard, std::function<void(const QImage&)> show) {
    // Looked up here: the worker then needs nothing of the host's but this service.
    auto art = qvn::std_api_get<album_art_manager_v2>();
    qvn::spawnWorker([art = std::move(art), abort = std::move(abort), track = std::move(track), box,
                      guard = std::move(guard), show = std::move(show)]() mutable {
        QByteArray bytes;
        try {
            auto extractor = art->open(metadb_handle_list{track}, {album_art_ids::cover_front}, *abort);
            auto data = extractor->query(album_art_ids::cover_front, *abort);
            bytes = QByteArray(static_cast<const char*>(data->get_ptr()), qsizetype(data->get_size()));
        } catch (const std::exception&) {
            return;  // no art, unreadable, or cancelled: the placeholder stays
        }
        if (bytes.isEmpty() || abort->is_aborting()) return;
        QImage image = decodeCover(bytes, box);
        if (image.isNull() || abort->is_aborting()) return;
        platform::async(guard, [abort, image = std::move(image), show = std::move(show)] {
            if (!abort->is_aborting()) show(image);
        });
    });
}
