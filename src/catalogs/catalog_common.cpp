#include "catalogs/catalog_common.h"

#include "widgets/messages.h"

namespace sdelka {

QPushButton* catalogButton(const QString& text, const char* name) {
    auto* b = new QPushButton(text);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

bool nameFits(const QString& name, const QString& what) {
    if (name.size() <= NameLength)
        return true;
    showError(QStringLiteral("%1 длиннее %2 символов.").arg(what).arg(NameLength));
    return false;
}

} // namespace sdelka
