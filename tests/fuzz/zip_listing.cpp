// An update package as a hostile or broken server sends it: the listing must
// read what is there, or refuse, without reading past the archive.

#include "FuzzTarget.h"

#include "ZipListing.h"

QOV_FUZZ_TARGET(zip_listing) {
    const QByteArray archive(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const auto entries = dravik_update::listZip(archive)) dravik_update::isSafeToUnpack(*entries);
    return 0;
}
