#include "savefailurenotice.h"

#include "config.h"
#include "vrxmessagebox.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

SaveFailureNotice::SaveFailureNotice(QWidget* parent)
    : QObject(parent), m_parent(parent)
{
    QPointer<SaveFailureNotice> self(this);
    Config::setSaveFailureHandler([self](const QString& path, const QString& reason) {
        if (self)
            self->report(path, reason);
    });
}

SaveFailureNotice::~SaveFailureNotice()
{
    Config::setSaveFailureHandler(nullptr);
}

void SaveFailureNotice::report(const QString& path, const QString& reason)
{
    // Later failures of the same file say nothing new: the changes are kept and saved
    // with the next write that succeeds.
    if (m_told.contains(path))
        return;
    m_told.insert(path);
    m_pending << tr("Could not save the settings: %1").arg(reason);
    QTimer::singleShot(0, this, [this] { showPending(m_parent); });
}

void SaveFailureNotice::showPending(QWidget* parent)
{
    const QStringList messages = m_pending;
    m_pending.clear();
    for (const QString& text : messages) {
        qWarning("%s", qPrintable(text));
        m_shown << text;
        if (!m_quiet)
            VRXMessageBox::error(parent, tr("Settings"), text);
    }
}
