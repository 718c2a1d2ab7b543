#pragma once

#include "core/roles.h"

#include <QList>
#include <QWidget>

namespace sdelka {

// Disables the controls a role may not use, on whichever of the given screens exist. A menu
// is disabled through its own action, so it can no longer be opened.
void applyRestrictions(Role role, const QList<QWidget*>& screens);

} // namespace sdelka
