#include "vrxactionregistry.h"

#include "vrxresource.h"

VRXActionRegistry::VRXActionRegistry(QObject* parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("vrxActions"));
}

QAction* VRXActionRegistry::create(const QString& name, const QString& iconName, const QString& text)
{
    if (QAction* old = action(name)) {
        m_actions.removeAll(old);
        delete old;
    }
    auto* a = new QAction(findIconSet(iconName), text, this);
    a->setObjectName(name);
    a->setProperty("iconName", iconName);
    m_actions.append(a);
    return a;
}

QAction* VRXActionRegistry::add(const QString& name, const QString& iconName, const QString& text,
                                const QObject* receiver, const char* member)
{
    QAction* a = create(name, iconName, text);
    if (receiver && member)
        connect(a, SIGNAL(triggered()), receiver, member);
    return a;
}

QAction* VRXActionRegistry::action(const QString& name) const
{
    for (QAction* a : m_actions) {
        if (a->objectName() == name)
            return a;
    }
    return nullptr;
}
