#pragma once

#include <QMainWindow>
#include <QString>

class LoopControl;
class QLabel;
struct AudioInfo;

// The one top-level window: owns the playback controller and decides what plays.
class VRXPlayerWindow : public QMainWindow
{
    Q_OBJECT
public:
    enum PlayState { Playing = 0, Stopped = 1, Paused = 2 };
    enum { ShowAboutEvent = 1000, RestoreEvent = 1001, DeferredCloseEvent = 1002 };

    explicit VRXPlayerWindow(QWidget* parent = nullptr);
    ~VRXPlayerWindow() override;

    LoopControl* controller() const { return m_controller; }
    int playState() const { return m_playState; }
    QString currentFile() const { return m_currentFile; }

    // Called for every SIGCONT with the running count; acts on 2.
    void resumeAfterPowerOn(int count);

public slots:
    void setDocument(const QString& file);
    void setFile(const QString& file);

protected slots:
    void stop();
    void playPause();
    void finished();

protected:
    bool event(QEvent* e) override;

private:
    void showDescription(AudioInfo* info);

    LoopControl* m_controller;
    QLabel* m_title;
    int m_playState = Stopped;
    QString m_documentFile;
    QString m_currentFile;
};
