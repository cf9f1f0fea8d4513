#pragma once

// Answers the message boxes and text questions a test makes appear: each is closed with
// its first button (OK for a question: the text proposed), and the text of its "text"
// label is kept. Other dialogs (a search's progress) run on.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QStringList>
#include <QTimer>

class ModalWatch
{
public:
    ModalWatch()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            const QByteArray kind = dialog->metaObject()->className();
            if (kind != "VRXMessageBox" && kind != "VRXInputDialog")
                return;
            const auto* label = dialog->findChild<QLabel*>(QStringLiteral("text"));
            texts << (label ? label->text() : dialog->windowTitle());
            dialog->done(1);
        });
        m_timer.start();
    }
    QStringList texts;

private:
    QTimer m_timer;
};
