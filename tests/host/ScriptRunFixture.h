#pragma once

// The host binary driven by --script, offscreen, with the real bundles beside
// it and the window fixture installed in a throw-away profile; files written
// and read in that profile's folder.

#include "FixtureLayout.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

struct HostRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the host binary offscreen and silent with `args`, for a minute or two
// at the most.
HostRun runHost(const QStringList& args);

// A 16-bit stereo PCM file at 44.1 kHz of a quiet square tone.
void writeTestWav(const QString& path, double seconds);

class ScriptRun : public ::testing::Test {
protected:
    void SetUp() override;

    QString path(const char* name) const;
    void write(const char* name, const char* text) const;
    // Runs the host on `script` with the extra arguments.
    HostRun run(const QString& script, QStringList extra = {}) const;
    QJsonObject readDump(const char* name) const;
    void writeWav(const char* name, int seconds) const;

    FixtureLayout layout;
};
