#pragma once

// Restarting the host so that it loads newly installed components: a shell
// waits for this process to end, then starts the same executable with the same
// arguments in the same folder, while the application quits normally.

#include <QString>
#include <QStringList>

namespace dravik_update {

// Starts the waiting shell, detached. The process id, program and arguments
// reach it as positional parameters, never as script text. False when the
// shell could not be started.
bool startAfterExit(qint64 pid, const QString& program, const QStringList& arguments);

// Main thread: the waiting shell for this host, then the application is asked
// to quit (also when the shell could not be started).
void relaunch();

}  // namespace dravik_update
