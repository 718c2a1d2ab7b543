#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace sdelka {

enum class Role { FullAccess, Analyst, Foreman, Warehouse };

inline const QString ForemanCode = QStringLiteral("pondike");

// The role of a login code, compared after trimming and with letter case; none for an unknown
// code.
std::optional<Role> roleForCode(const QString& code);

// A control that a role may not use, named by its screen and its own object name.
struct RestrictedControl {
    QString screen;
    QString control;
};

std::vector<RestrictedControl> restrictionsOf(Role role);

} // namespace sdelka
