#pragma once

// Zip archives made the way a test needs them, hostile ones included: any
// entry name, any file type in the Unix mode, a declared size that lies.

#include <QByteArray>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

struct ZipItem {
    ZipItem(QByteArray name, QByteArray data = {}, uint32_t mode = 0100644, bool deflate = false,
            std::optional<uint32_t> declaredSize = {})
        : name(std::move(name)),
          data(std::move(data)),
          mode(mode),
          deflate(deflate),
          declaredSize(declaredSize) {}

    QByteArray name;
    QByteArray data;  // a link's target for links
    uint32_t mode = 0100644;
    bool deflate = false;
    std::optional<uint32_t> declaredSize;  // in place of the true size
};

QByteArray makeZip(const std::vector<ZipItem>& items);

// mac/NAME.component/NAME.so holding `library`, and the folder entries.
std::vector<ZipItem> bundleItems(const QByteArray& name, const QByteArray& library,
                                 const QByteArray& root = "mac/");
