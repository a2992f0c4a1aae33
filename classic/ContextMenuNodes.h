#pragma once

// The host's context-menu tree as a menu of our own. Main thread.

#include "contextmenu.h"

#include <QString>

class QMenu;
class QovClassicPlaylist;

// Adds the children of `node` to `menu`: commands run through the playlist's
// runContextNode, popups become submenus, no separator leads, doubles or
// trails. Commands whose name says "queue" are left out when `withoutQueue`:
// the playlist offers queue commands of its own.
void buildMenu(QMenu* menu, contextmenu_node* node, QovClassicPlaylist* target, bool withoutQueue);

// Whether a name of the host's menu is about the playback queue.
bool isQueueItem(const QString& name);
