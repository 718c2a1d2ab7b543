#include "app/restrictions.h"

#include <QAction>
#include <QMenu>

namespace sdelka {

void applyRestrictions(Role role, const QList<QWidget*>& screens) {
    for (const RestrictedControl& r : restrictionsOf(role)) {
        for (QWidget* screen : screens) {
            if (screen->objectName() != r.screen)
                continue;
            QObject* control = screen->findChild<QObject*>(r.control);
            if (auto* menu = qobject_cast<QMenu*>(control)) {
                menu->menuAction()->setEnabled(false);
                menu->setEnabled(false);
            } else if (auto* widget = qobject_cast<QWidget*>(control)) {
                widget->setEnabled(false);
            } else if (auto* action = qobject_cast<QAction*>(control)) {
                action->setEnabled(false);
            }
        }
    }
}

} // namespace sdelka
