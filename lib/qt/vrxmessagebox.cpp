#include "vrxmessagebox.h"

#include "vrxpushbutton.h"
#include "vrxresource.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

VRXMessageBox::VRXMessageBox(const QString& caption, const QString& text, const QString& iconName,
                             QWidget* parent)
    : VRXDialog(parent, QStringLiteral("vrxMessageBox"))
{
    setCaption(caption);
    auto* grid = new QGridLayout(this);
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(findPixmap(iconName));
    grid->addWidget(icon, 0, 0, Qt::AlignTop);
    m_text = new QLabel(text, this);
    m_text->setObjectName(QStringLiteral("text"));
    m_text->setWordWrap(true);
    // Texts may carry user data (playlist names): never read them as markup.
    m_text->setTextFormat(Qt::PlainText);
    grid->addWidget(m_text, 0, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);
    auto* row = new QHBoxLayout;
    row->setObjectName(QStringLiteral("buttons"));
    grid->addLayout(row, 2, 0, 1, 2);
    setMinimumWidth(comfortableWidth(220));
}

VRXPushButton* VRXMessageBox::addButton(const QString& text, const QString& iconName)
{
    if (m_count >= 2)
        return nullptr;
    const int number = ++m_count;
    auto* b = new VRXPushButton(iconName, text, this, QStringLiteral("button%1").arg(number));
    m_buttons[number - 1] = b;
    auto* row = findChild<QHBoxLayout*>(QStringLiteral("buttons"));
    row->addWidget(b);
    connect(b, &QPushButton::clicked, this, [this, number] { done(number); });
    return b;
}

VRXPushButton* VRXMessageBox::button(int number) const
{
    return number >= 1 && number <= 2 ? m_buttons[number - 1] : nullptr;
}

void VRXMessageBox::setDefaultButton(int number)
{
    if (VRXPushButton* b = button(number)) {
        b->setDefault(true);
        b->setFocus();
    }
}

QString VRXMessageBox::text() const
{
    return m_text->text();
}

void VRXMessageBox::reject()
{
    done(m_escape);
}

int VRXMessageBox::question(QWidget* parent, const QString& caption, const QString& text,
                            const QString& button2, const QString& button2Icon)
{
    VRXMessageBox box(caption, text, QStringLiteral("dialog_critical"), parent);
    box.addButton(tr("Cancel"), QStringLiteral("button_cancel"));
    box.addButton(button2, button2Icon);
    box.setDefaultButton(1);
    box.setEscapeButton(1);
    return box.run() == 2 ? 2 : 1;
}

bool VRXMessageBox::confirmDelete(QWidget* parent, const QString& text)
{
    VRXMessageBox box(tr("Delete"), text, QStringLiteral("remove2"), parent);
    box.addButton(tr("Ok"), QStringLiteral("button_ok"));
    box.addButton(tr("Cancel"), QStringLiteral("button_cancel"));
    box.setDefaultButton(1);
    box.setEscapeButton(2);
    return box.run() == 1;
}

void VRXMessageBox::error(QWidget* parent, const QString& caption, const QString& text)
{
    VRXMessageBox box(caption, text, QStringLiteral("dialog_critical"), parent);
    box.addButton(tr("Ok"), QStringLiteral("button_ok"));
    box.setDefaultButton(1);
    box.run();
}

void VRXMessageBox::about(QWidget* parent)
{
    QString app = qApp ? qApp->objectName() : QString();
    if (app.isEmpty())
        app = QStringLiteral("Quavrix");
    VRXMessageBox box(tr("About"),
                      tr("<b>%1</b><br>Music player for small screens.<br>"
                         "MP3, Ogg Vorbis and AAC.").arg(app),
                      QStringLiteral("Orblane"), parent);
    box.m_text->setTextFormat(Qt::RichText);
    box.addButton(tr("Ok"), QStringLiteral("button_ok"));
    box.setDefaultButton(1);
    box.run();
}
