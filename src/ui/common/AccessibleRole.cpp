#include "ui/common/AccessibleRole.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace {

const char *const roleProperty = "lumiseraAccessibleRole";

QAccessibleInterface *roleFactory(const QString &, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    const QVariant role = object->property(roleProperty);
    if (!role.isValid())
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Role(role.toInt()));
}

} // namespace

void AccessibleRole::give(QWidget *widget, QAccessible::Role role)
{
    QAccessible::installFactory(&roleFactory);
    widget->setProperty(roleProperty, int(role));
}
