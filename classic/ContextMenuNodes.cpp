#include "ContextMenuNodes.h"

#include "DisplayText.h"
#include "QovClassicPlaylist.h"

#include <QMenu>

bool isQueueItem(const QString& name) { return name.contains(QLatin1String("queue"), Qt::CaseInsensitive); }

void buildMenu(QMenu* menu, contextmenu_node* node, QovClassicPlaylist* target, bool withoutQueue) {
    for (size_t i = 0; i < node->get_num_children(); ++i) {
        contextmenu_node* child = node->get_child(i);
        if (!child) continue;
        const contextmenu_node::t_type type = child->get_type();
        if (type == contextmenu_node::type_separator) {
            const QList<QAction*> items = menu->actions();
            if (!items.isEmpty() && !items.last()->isSeparator()) menu->addSeparator();
            continue;
        }
        if (type != contextmenu_node::type_command && type != contextmenu_node::type_popup) continue;
        cvk::stringLite name;
        uint32_t flags = 0;
        child->get_display_data(name, flags);
        const QString title = textOf(name).remove(u'&');
        if (withoutQueue && type == contextmenu_node::type_command && isQueueItem(title)) continue;

        QAction* item;
        if (type == contextmenu_node::type_popup) {
            QMenu* submenu = menu->addMenu(title);
            buildMenu(submenu, child, target, withoutQueue);
            item = submenu->menuAction();
        } else {
            item = menu->addAction(title);
            QObject::connect(item, &QAction::triggered, target,
                             [target, child] { target->runContextNode(child); });
        }
        if (flags & (contextmenu_node::flag_checked | contextmenu_node::flag_radiochecked)) {
            item->setCheckable(true);
            item->setChecked(true);
        }
        if (flags & (contextmenu_node::flag_disabled | contextmenu_node::flag_grayed))
            item->setEnabled(false);
    }
    while (!menu->actions().isEmpty() && menu->actions().last()->isSeparator()) delete menu->actions().last();
}
