#include "PackageInstaller.h"

#include "ZipListing.h"

#include "core_api.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QUuid>

#include <string>

namespace fs = std::filesystem;

namespace dravik_update {

namespace {

constexpr int kUnzipTimeoutMs = 120000;

fs::path localPath(const QString& s) { return fs::path(QFile::encodeName(s).toStdString()); }

QString shown(const fs::path& p) { return QFile::decodeName(QByteArray::fromStdString(p.string())); }

bool isPlainName(const QString& name) {
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(QChar(0));
}

// Also when the archive left folders without write or search permission.
void removeTree(const fs::path& root) {
    std::error_code ec;
    if (fs::is_directory(fs::symlink_status(root, ec))) {
        fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ec);
        for (auto it = fs::recursive_directory_iterator(root, ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
            if (it->is_directory(ec) && !it->is_symlink(ec))
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::remove_all(root, ec);
}

struct RemovedOnExit {
    fs::path path;
    ~RemovedOnExit() { removeTree(path); }
};

enum class Unzip { NotStarted, Failed, Done };

// Stopped, and failed, once it prints more than outputLimit bytes or runs too long.
Unzip runUnzip(const QStringList& arguments, qint64 outputLimit) {
    QProcess p;
    p.setStandardInputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(QStringLiteral("/usr/bin/unzip"), arguments);
    if (!p.waitForStarted()) return Unzip::NotStarted;
    const QDeadlineTimer deadline(kUnzipTimeoutMs);
    qint64 output = 0;
    for (;;) {
        const bool more = p.waitForReadyRead(int(deadline.remainingTime()));
        output += p.readAllStandardOutput().size();
        if (output > outputLimit || deadline.hasExpired()) {
            p.kill();
            p.waitForFinished();
            return Unzip::Failed;
        }
        if (!more && p.state() == QProcess::NotRunning) break;
    }
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0 ? Unzip::Done : Unzip::Failed;
}

// Folders and regular files only: nothing that points elsewhere gets installed.
bool holdsOnlyPlainFiles(const fs::path& root) {
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (ec) return false;
        const fs::file_type type = it->symlink_status(ec).type();
        if (ec || (type != fs::file_type::regular && type != fs::file_type::directory)) return false;
    }
    return !ec;
}

QString moveFailure(const fs::path& from, const fs::path& to, const std::error_code& ec) {
    return QStringLiteral("Could not move %1 to %2: %3.")
        .arg(shown(from), shown(to), QString::fromLocal8Bit(ec.message()));
}

}  // namespace

PackageInstaller::PackageInstaller(fs::path profileDir) : m_profile(std::move(profileDir)) {}

QString PackageInstaller::install(const QByteArray& package, const QString& fileName) const {
    if (!isPlainName(fileName)) return QString::fromLatin1(kUnexpectedLayout);
    const auto entries = listZip(package);
    if (!entries || !isSafeToUnpack(*entries)) return QString::fromLatin1(kUnexpectedLayout);

    const QString folder =
        QDir::tempPath() + QStringLiteral("/dravik-update-%1-%2")
                               .arg(fileName, QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper());
    const RemovedOnExit removed{localPath(folder)};
    QDir().mkpath(folder);
    const QString archive = folder + QStringLiteral("/package.zip");
    QSaveFile file(archive);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(package);
        file.commit();
    }

    if (const QString reason = unpack(archive, folder); !reason.isNull()) return reason;
    const std::string name = QFile::encodeName(fileName).toStdString();
    const fs::path bundle = removed.path / "mac" / (name + ".component");
    std::error_code ec;
    if (!fs::is_directory(fs::symlink_status(bundle, ec)) ||
        !fs::is_regular_file(fs::symlink_status(bundle / (name + ".so"), ec)))
        return QString::fromLatin1(kUnexpectedLayout);
    return replace(bundle, fileName);
}

QString PackageInstaller::unpack(const QString& archive, const QString& folder) const {
    // A first pass only counts what would be written: the sizes an archive
    // declares may lie, the bytes unzip produces do not.
    switch (runUnzip({QStringLiteral("-p"), archive}, maxUnpackedBytes)) {
        case Unzip::NotStarted:
            return QString::fromLatin1(kUnpackFailed);
        case Unzip::Failed:
            return QString::fromLatin1(kUnexpectedLayout);
        case Unzip::Done:
            break;
    }
    // Never overwrite: an archive naming one path twice must not prompt.
    if (runUnzip({QStringLiteral("-q"), QStringLiteral("-n"), archive, QStringLiteral("-d"), folder},
                 maxUnpackedBytes) != Unzip::Done ||
        !holdsOnlyPlainFiles(localPath(folder)))
        return QString::fromLatin1(kUnexpectedLayout);
    return {};
}

QString PackageInstaller::replace(const fs::path& bundle, const QString& fileName) const {
    const std::string name = QFile::encodeName(fileName).toStdString();
    const fs::path folder = m_profile / "user-components" / name;
    const fs::path installed = folder / (name + ".component");
    const fs::path backups = m_profile / "user-components-backup";
    const fs::path backup = backups / (name + ".component");

    std::error_code ignored;
    fs::create_directories(folder, ignored);
    fs::create_directories(backups, ignored);
    removeTree(backup);
    const bool hadOne = fs::exists(fs::symlink_status(installed, ignored));

    if (hadOne)
        if (const std::error_code ec = move(installed, backup)) return moveFailure(installed, backup, ec);
    if (const std::error_code ec = move(bundle, installed)) {
        if (hadOne) move(backup, installed);
        return moveFailure(bundle, installed, ec);
    }
    return {};
}

std::error_code PackageInstaller::moveFolder(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::rename(from, to, ec);
    if (ec != std::errc::cross_device_link) return ec;
    // Another file system: copy beside the target, then rename it into place.
    const fs::path staging = to.parent_path() / (to.filename().string() + ".partial");
    removeTree(staging);
    fs::copy(from, staging, fs::copy_options::recursive, ec);
    if (!ec) fs::rename(staging, to, ec);
    if (ec) {
        removeTree(staging);
        return ec;
    }
    removeTree(from);
    return {};
}

fs::path profileFolder() {
    std::string path = core_api::get_profile_path();
    if (path.starts_with("file://")) path.erase(0, 7);
    return fs::path(path);
}

QString installPackage(const QByteArray& package, const QString& fileName) {
    return PackageInstaller(profileFolder()).install(package, fileName);
}

}  // namespace dravik_update
