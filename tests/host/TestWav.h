#pragma once

#include <QString>

// A 16-bit stereo PCM file at 44.1 kHz of a quiet square tone, `seconds` long.
void writeTestWav(const QString& path, double seconds);
