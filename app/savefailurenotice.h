#pragma once

#include <QObject>
#include <QSet>
#include <QStringList>

class QWidget;

// Tells the user, once per file and run, that settings could not be saved and why. The
// settings store reports every failed write; the words are shown from the event loop (a
// save may fail in the middle of a track change), or by showPending() before the window
// closes. Quiet, only the debug output has them.
class SaveFailureNotice : public QObject
{
    Q_OBJECT
public:
    // Takes the settings store's reports until destroyed.
    explicit SaveFailureNotice(QWidget* parent);
    ~SaveFailureNotice() override;

    void report(const QString& path, const QString& reason);
    // Shows what is waiting, over parent.
    void showPending(QWidget* parent);
    void setQuiet(bool quiet) { m_quiet = quiet; }

    // The messages shown so far (for tests).
    const QStringList& shown() const { return m_shown; }

private:
    QWidget* m_parent;
    QSet<QString> m_told;
    QStringList m_pending;
    QStringList m_shown;
    bool m_quiet = false;
};
