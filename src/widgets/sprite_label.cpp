#include "widgets/sprite_label.h"

#include <QCoreApplication>

namespace tessel {

QString spriteLabel(const SpriteNames& names, int sprite)
{
    const QString name = QString::fromStdString(names.name(sprite));
    const bool star = names.starred(sprite);
    if (name.isEmpty()) return star ? QStringLiteral("\u2605") : QString();
    return star ? QCoreApplication::translate("SpriteLabel", "\u201c%1\u201d \u2605").arg(name)
                : QCoreApplication::translate("SpriteLabel", "\u201c%1\u201d").arg(name);
}

} // namespace tessel
