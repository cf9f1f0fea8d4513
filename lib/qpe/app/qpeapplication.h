#pragma once

#include <QApplication>
#include <QPointer>

class QLocalServer;
class DisplayPower;
class SleepInhibitor;

// The platform application: shows the main window at the display size, delivers the
// document named on the command line (and later ones, sent by a second start of the
// program) to the window's setDocument(const QString&) slot, and keeps one instance.
class QPEApplication : public QApplication
{
    Q_OBJECT
public:
    enum Type { GuiClient };

    QPEApplication(int& argc, char** argv, Type type = GuiClient);
    ~QPEApplication() override;

    static QString qpeDir();

    // Takes "--display WxH" (or "--display=WxH") out of the arguments before Qt can read it
    // as an X display name, and sets the emulated display from it; a value that is not a
    // size is warned about and ignored. Returns argc.
    static int& takeDisplayOption(int& argc, char** argv);

    // Another instance was running and has been given this start's document: this
    // process should end without showing anything.
    bool handedOver() const { return m_handedOver; }
    QString document() const { return m_document; }

    void showMainDocumentWidget(QWidget* window, bool noMaximize = false);

    // The name of the local socket that makes the program single-instance.
    static QString instanceName();

signals:
    void clockChanged(bool ampm);
    void dateFormatChanged(int format);
    void weekChanged(bool startOnMonday);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void parseArguments();
    bool handOverToRunningInstance();
    void listenForDocuments();
    void deliverDocument(const QString& file, bool later);

    QString m_document;
    bool m_handedOver = false;
    QLocalServer* m_server = nullptr;
    SleepInhibitor* m_sleep = nullptr;
    DisplayPower* m_display = nullptr;
    QPointer<QWidget> m_mainWindow;
};
