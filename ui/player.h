#pragma once

#include <QWidget>

class CoverView;
class LoopControl;
class QMenu;
class QSlider;
class TrackDescription;
class TrackInfo;
class Visualization;
class VRXPushButton;
struct AudioInfo;
struct PlayInfo;

// The "Player" page: analyzer, track displays, position slider and the control buttons.
// Buttons only emit signals; the main window decides what plays. Below the track displays,
// where the hidden analyzer leaves room, the track's cover (when it has one).
class Player : public QWidget
{
    Q_OBJECT
public:
    // Bound key actions (triggerAction).
    enum Action { VolumeUp, VolumeDown, Prev, Next, Forward, Rewind, Stop, Play };

    Player(LoopControl* controller, QWidget* parent = nullptr, const char* name = nullptr);

    // Performs a bound key's action: volume at once, the others as an animated click of
    // their button, so they reach the window along the same path as a tap. Other values
    // do nothing.
    void triggerAction(int action);

    Visualization* analyzer() const { return m_analyzer; }
    TrackInfo* infoDisplay() const { return m_info; }
    TrackDescription* descriptionDisplay() const { return m_description; }
    CoverView* coverView() const { return m_cover; }
    QSlider* slider() const { return m_slider; }
    QMenu* bookmarkMenu() const { return m_bookmarkMenu; }
    VRXPushButton* button(Action a) const { return m_buttons[a]; }
    VRXPushButton* bookmarkButton() const { return m_bookmarkButton; }

    // Where the bookmark menu of height menuHeight opens: below the button when it fits
    // on a display of displayHeight, else above.
    static QPoint menuPosition(const QRect& buttonGlobal, int menuHeight, int displayHeight);

public slots:
    void updatePosition(int seconds, PlayInfo* info);
    void setTrackDescription(AudioInfo* info);
    void stateChanged(int state);
    void sliderPressed();
    void changePosition();
    void popupPressed();

signals:
    void stop();
    void playPause();
    void next();
    void prev();
    void fastForward();
    void rewind();
    void volumeUp();
    void volumeDown();
    void fillBookmarkMenu(QMenu* menu);
    void bookmarkActivated(int id);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void updateCover();

    LoopControl* m_controller;
    QSlider* m_slider;
    Visualization* m_analyzer;
    TrackInfo* m_info;
    TrackDescription* m_description;
    CoverView* m_cover;
    bool m_dragging = false;
    bool m_seekPending = false;
    VRXPushButton* m_buttons[8];
    VRXPushButton* m_bookmarkButton;
    QMenu* m_bookmarkMenu;
};
