#include "widgets/accessible_text.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QWidget>

namespace tessel {

namespace {

constexpr char kRoleProperty[] = "tesselAccessibleRole";

QAccessibleInterface* roleFactory(const QString&, QObject* object)
{
    // Asked once per class of the object's chain; answers for marked widgets.
    if (!object || !object->isWidgetType()) return nullptr;
    const QVariant role = object->property(kRoleProperty);
    if (!role.isValid()) return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), static_cast<QAccessible::Role>(role.toInt()));
}

} // namespace

void setAccessibleRole(QWidget* widget, QAccessible::Role role)
{
    static const bool installed = [] {
        QAccessible::installFactory(roleFactory);
        return true;
    }();
    (void)installed;
    widget->setProperty(kRoleProperty, static_cast<int>(role));
}

void setAccessibleDescriptionIfChanged(QWidget* widget, const QString& description)
{
    if (widget->accessibleDescription() != description) widget->setAccessibleDescription(description);
}

QString colourAccessibleName(int index, int red, int green, int blue)
{
    return QCoreApplication::translate("AccessibleText", "Color %1: red %2, green %3, blue %4").arg(index).arg(red).arg(green).arg(blue);
}

QString toolName(ToolId tool)
{
    switch (tool) {
    case ToolId::Pencil: return QCoreApplication::translate("AccessibleText", "Pencil");
    case ToolId::FloodFill: return QCoreApplication::translate("AccessibleText", "Flood fill");
    case ToolId::Line: return QCoreApplication::translate("AccessibleText", "Line");
    case ToolId::Rectangle: return QCoreApplication::translate("AccessibleText", "Rectangle");
    case ToolId::Ellipse: return QCoreApplication::translate("AccessibleText", "Ellipse");
    case ToolId::RoundedRectangle: return QCoreApplication::translate("AccessibleText", "Rounded rectangle");
    case ToolId::Select: return QCoreApplication::translate("AccessibleText", "Select");
    case ToolId::ColourPicker: return QCoreApplication::translate("AccessibleText", "Color picker");
    }
    return QString();
}

QString spriteDescription(const EditorState& state)
{
    if (!state.romOpen() || !state.hasSprite()) return QCoreApplication::translate("AccessibleText", "No sprite: no ROM is open");
    const SpriteRecord& r = state.current();
    return QCoreApplication::translate("AccessibleText", "Sprite %1: %2 × %3 pixels, palette %4")
        .arg(state.currentSprite)
        .arg(r.widthPixels())
        .arg(r.heightPixels())
        .arg(r.paletteIndex);
}

} // namespace tessel
