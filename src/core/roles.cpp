#include "core/roles.h"

namespace sdelka {

std::optional<Role> roleForCode(const QString& code) {
    const QString c = code.trimmed();
    if (c == QLatin1String("53617280") || c == QLatin1String("8046"))
        return Role::FullAccess;
    if (c == QLatin1String("vilbur"))
        return Role::Analyst;
    if (c == ForemanCode)
        return Role::Foreman;
    if (c == QLatin1String("grufo"))
        return Role::Warehouse;
    return std::nullopt;
}

std::vector<RestrictedControl> restrictionsOf(Role role) {
    const QString reg = QStringLiteral("TForm1");
    const QString reports = QStringLiteral("TForm18");
    auto on = [](const QString& screen, std::initializer_list<const char*> names) {
        std::vector<RestrictedControl> list;
        for (const char* n : names)
            list.push_back({screen, QString::fromLatin1(n)});
        return list;
    };
    auto join = [](std::vector<RestrictedControl> a, const std::vector<RestrictedControl>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    // The report buttons that only the office may print: the detailed and summary reports and
    // the spreadsheet export.
    const auto reportButtons = on(reports, {"Button1", "Button2", "Button4", "Button6"});
    switch (role) {
    case Role::FullAccess:
        return {};
    case Role::Analyst:
        return on(reg, {"Button1", "Button2", "Button3", "Button8", "RadioButton1", "RadioButton2",
                        "RadioButton3", "RadioButton4", "CBox1", "DBGrid2", "DateT", "N2", "N11"});
    case Role::Foreman:
        return join(on(reg, {"Button2", "Button3", "N2", "N11"}), reportButtons);
    case Role::Warehouse:
        return join(join(on(reg, {"Button1", "Button2", "Button3", "N2", "N11"}), reportButtons),
                    on(reports, {"RadioGroup1"}));
    }
    return {};
}

} // namespace sdelka
