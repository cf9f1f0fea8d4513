#include "bookamrks.h"

#include "atomicfile.h"
#include "global.h"
#include "screen.h"
#include "vrxinputdialog.h"
#include "vrxmessagebox.h"
#include "vrxresource.h"

#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QFontMetrics>
#include <QMenu>

Bookamrks::Bookamrks(QObject* parent)
    : QObject(parent)
{
    loadBookmarks();
}

QString Bookamrks::filePath()
{
    QString app = qApp ? qApp->objectName() : QString();
    if (app.isEmpty())
        app = QStringLiteral("Quavrix");
    return Global::applicationFileName(app + QStringLiteral("Data"), QStringLiteral("bookmarks"));
}

void Bookamrks::loadBookmarks()
{
    m_list.clear();
    const QString path = filePath();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return;
    const QByteArray data = f.read(BookmarkFile::MaxFileSize);
    const bool whole = BookmarkFile::parse(data, &m_list) && f.atEnd();
    f.close();
    if (whole)
        return;
    qWarning("Bookmark file %s is damaged; %d bookmarks kept", qPrintable(path), int(m_list.size()));
    const QString aside = path + QStringLiteral(".damaged");
    QFile::remove(aside);
    if (QFile::rename(path, aside))
        saveBookmarks();
}

bool Bookamrks::saveBookmarks(QWidget* reportTo)
{
    QString reason;
    if (!AtomicFile::write(filePath(), BookmarkFile::serialise(m_list), &reason)) {
        qWarning("Cannot write bookmark file %s: %s", qPrintable(filePath()), qPrintable(reason));
        if (reportTo)
            VRXMessageBox::error(reportTo, tr("Bookmarks"), tr("Could not save the bookmarks: %1").arg(reason));
        return false;
    }
    return true;
}

bool Bookamrks::add(const QString& file, qint64 positionMs, QWidget* parent)
{
    VRXInputDialog dlg(tr("Bookmark Name"), QString(), tr("Bookmark"), parent);
    dlg.lineEdit()->selectAll();
    const QSize display = displaySize();
    dlg.setMinimumWidth(qMin(display.width(), display.height()) - 20);
    if (dlg.run() != QDialog::Accepted || dlg.text().isEmpty())
        return false;
    m_list.append(Bookmark{dlg.text(), file, int(positionMs / 1000)});
    saveBookmarks(parent);
    return true;
}

void Bookamrks::append(const QString& name, const QString& file, int position)
{
    m_list.append(Bookmark{name, file, position});
    saveBookmarks();
}

const Bookmark* Bookamrks::at(int index) const
{
    return index >= 0 && index < m_list.size() ? &m_list.at(index) : nullptr;
}

void Bookamrks::fillMenu(QMenu* menu, bool canAdd) const
{
    menu->clear();
    QAction* add = menu->addAction(findIconSet(QStringLiteral("bookmark_add")), tr("Add Bookmark") + QStringLiteral(" ..."));
    add->setData(int(AddId));
    add->setEnabled(canAdd);
    QAction* organize = menu->addAction(findIconSet(QStringLiteral("bookmark")), tr("Organize Bookmarks") + QStringLiteral(" ..."));
    organize->setData(int(OrganizeId));
    organize->setEnabled(!m_list.isEmpty());
    if (m_list.isEmpty())
        return;
    menu->addSeparator();
    const QIcon icon = findIconSet(QStringLiteral("bookmark"));
    QList<QAction*> entries;
    for (int i = 0; i < m_list.size() && i < MenuBookmarks; ++i) {
        entries << menu->addAction(icon, m_list.at(i).name);
        entries.last()->setData(FirstBookmarkId + i);
    }
    // Long names are shortened so that the menu is no wider than the display.
    const int excess = menu->sizeHint().width() - displaySize().width();
    if (excess <= 0)
        return;
    const QFontMetrics fm(menu->font());
    int widest = 0;
    for (const QAction* a : entries)
        widest = qMax(widest, fm.horizontalAdvance(a->text()));
    for (QAction* a : entries)
        a->setText(fm.elidedText(a->text(), Qt::ElideRight, widest - excess));
}
