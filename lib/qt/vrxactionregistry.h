#pragma once

#include <QAction>
#include <QList>
#include <QObject>
#include <QString>

// Named actions: each has an object name, an icon looked up by name, a text and a
// receiver; menus and tool bars are built from the registry by object name.
class VRXActionRegistry : public QObject
{
    Q_OBJECT
public:
    explicit VRXActionRegistry(QObject* parent = nullptr);

    // Creates (or replaces) the action called name; member is a SLOT() string.
    QAction* add(const QString& name, const QString& iconName, const QString& text,
                 const QObject* receiver, const char* member);
    template <typename Receiver, typename Slot>
    QAction* add(const QString& name, const QString& iconName, const QString& text,
                 const Receiver* receiver, Slot slot)
    {
        QAction* a = create(name, iconName, text);
        connect(a, &QAction::triggered, receiver, slot);
        return a;
    }

    QAction* action(const QString& name) const;
    QList<QAction*> actions() const { return m_actions; }

private:
    QAction* create(const QString& name, const QString& iconName, const QString& text);
    QList<QAction*> m_actions;
};
