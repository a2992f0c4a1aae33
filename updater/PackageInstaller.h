#pragma once

// Puts a downloaded update package in place below the host's profile folder:
//
//   PROFILE/user-components/NAME/NAME.component     the installed component
//   PROFILE/user-components-backup/NAME.component   the one it replaced
//
// The package is a zip archive holding mac/NAME.component. It is unpacked with
// the system's unzip into a fresh temporary folder, checked, and only then
// moved in; the previous component goes to the backup and comes back if the
// final move fails. An archive that could write outside its folder, holds
// links or device files, or unpacks to more than a bound is refused before
// anything is installed. The temporary folder goes on every path.
//
// Synchronous; main thread (it blocks while unzip runs).

#include <QByteArray>
#include <QString>

#include <filesystem>
#include <functional>
#include <system_error>

namespace dravik_update {

inline const char* const kUnpackFailed = "Could not unpack the update.";
inline const char* const kUnexpectedLayout = "The update package has an unexpected layout.";

class PackageInstaller {
public:
    using Move =
        std::function<std::error_code(const std::filesystem::path& from, const std::filesystem::path& to)>;

    explicit PackageInstaller(std::filesystem::path profileDir);

    // A null string on success, otherwise the reason to show.
    QString install(const QByteArray& package, const QString& fileName) const;

    // How folders move; across file systems they are copied, then removed.
    static std::error_code moveFolder(const std::filesystem::path& from, const std::filesystem::path& to);

    // Tests make moves fail and lower the bound.
    Move move = moveFolder;
    qint64 maxUnpackedBytes = 512ll << 20;

private:
    QString unpack(const QString& archive, const QString& folder) const;
    QString replace(const std::filesystem::path& bundle, const QString& fileName) const;

    std::filesystem::path m_profile;
};

// The host's profile folder, from core_api ("file://" removed).
std::filesystem::path profileFolder();

// installPackage as the offer and the manual check use it: into the host's profile.
QString installPackage(const QByteArray& package, const QString& fileName);

}  // namespace dravik_update
