#pragma once

// Texts the Ovix elements share: patterns compiled by the host, host text made
// into platform text, and the durations they show. Any thread, except that
// compileTF asks the host's compiler (any thread too, by its contract).

#include "titleformat.h"

#include <QString>

#include <string_view>

// The host's safe compile: always a usable pattern.
service_ptr_t<titleformat_object> compileTF(const char* pattern);

// Null reads as empty; text that is not valid UTF-8 gives the empty string.
QString str(const char* utf8);
QString str(std::string_view utf8);
// Appends as str() reads it.
void appendUtf8(QString& to, std::string_view utf8);

// Rounded to whole seconds, half up: "0:05", "59:59", "1:00:00", "1:01:01:01"
// (days, hours, minutes, seconds). Negative and non-finite values read as 0.
QString formatDuration(double seconds);
