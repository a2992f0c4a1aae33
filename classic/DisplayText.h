#pragma once

// Texts from the host as the playlist shows them.

#include "cvk_string.h"

#include <QString>

// The host's UTF-8; empty when it is not valid UTF-8.
QString textOf(const cvk::string_base& utf8);

// A location as people read it: "file://" dropped, the home folder shown as
// "~" ("/home/ann/Music" → "~/Music" for home "/home/ann", but "/home/anna"
// stays).
QString displayLocation(QString text, const QString& home);

// The text as a menu item shows it: a menu takes "&" for the mark of its
// shortcut letter, so a name's own "&" is doubled ("Rock && Roll" shows as
// "Rock & Roll").
QString menuItemText(QString text);
