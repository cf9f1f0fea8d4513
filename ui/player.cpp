#include "player.h"

#include "audioinfo.h"
#include "coverview.h"
#include "loopcontrol.h"
#include "playinfo.h"
#include "screen.h"
#include "trackdescription.h"
#include "trackinfo.h"
#include "visualization.h"
#include "vrxpopup.h"
#include "vrxpushbutton.h"

#include <QAction>
#include <QEvent>
#include <QGridLayout>
#include <QMenu>
#include <QProxyStyle>
#include <QSlider>
#include <QVBoxLayout>

namespace {
// A tap on the position slider's groove goes to the place tapped, as a stylus user
// expects, instead of stepping towards it; the handle can still be dragged.
class TapToPositionStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget, QStyleHintReturn* returnData) const override
    {
        if (hint == QStyle::SH_Slider_AbsoluteSetButtons)
            return Qt::LeftButton;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};
// Smaller than this, a cover is not worth the room.
constexpr int MinCoverSide = 96;
} // namespace

Player::Player(LoopControl* controller, QWidget* parent, const char* name)
    : QWidget(parent)
    , m_controller(controller)
{
    setObjectName(QString::fromLatin1(name));

    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setRange(0, 100);
    m_slider->setPageStep(1);
    m_slider->setValue(0);
    m_slider->setFocusPolicy(Qt::NoFocus);
    m_slider->setFixedHeight(isLargeScreen() ? 24 : 12);
    auto* tapStyle = new TapToPositionStyle;
    tapStyle->setParent(m_slider);
    m_slider->setStyle(tapStyle);
    connect(m_slider, &QSlider::sliderPressed, this, &Player::sliderPressed);
    connect(m_slider, &QSlider::sliderReleased, this, &Player::changePosition);

    m_analyzer = new Visualization(controller, this, "analyzer");
    m_info = new TrackInfo(this, "info");
    m_description = new TrackDescription(this, "description");
    m_cover = new CoverView(this);
    m_cover->hide();
    connect(m_cover, &CoverView::pictureChanged, this, &Player::updateCover);
    m_analyzer->installEventFilter(this);

    auto* box = new QVBoxLayout;
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(m_analyzer, 1);
    box->addWidget(m_info);
    box->addWidget(m_description);
    // The cover takes the free room below the text, so the text stays where it was.
    box->addWidget(m_cover, 1);
    box->addStretch();

    m_slider->setEnabled(false);

    // "Up" and "Down" raise and lower the volume: the note tells the translator so.
    struct Text { const char* source; const char* comment; };
    struct ButtonSpec { const char* icon; Text text; bool repeat; void (Player::*signal)(); };
    static const ButtonSpec specs[8] = {
        {"volume", QT_TRANSLATE_NOOP3("Player", "Up", "volume"), true, &Player::volumeUp},
        {"volume", QT_TRANSLATE_NOOP3("Player", "Down", "volume"), true, &Player::volumeDown},
        {"back", QT_TRANSLATE_NOOP3("Player", "Prev", "track"), false, &Player::prev},
        {"forward", QT_TRANSLATE_NOOP3("Player", "Next", "track"), false, &Player::next},
        {"forward", QT_TRANSLATE_NOOP3("Player", "Forward", "fast forward"), true, &Player::fastForward},
        {"back", QT_TRANSLATE_NOOP3("Player", "Rewind", ""), true, &Player::rewind},
        {"exit", QT_TRANSLATE_NOOP3("Player", "Stop", ""), false, &Player::stop},
        {"play", QT_TRANSLATE_NOOP3("Player", "Play", ""), false, &Player::playPause},
    };
    for (int i = 0; i < 8; ++i) {
        const ButtonSpec& s = specs[i];
        auto* b = new VRXPushButton(QLatin1String(s.icon), tr(s.text.source, s.text.comment), this, QLatin1String(s.text.source));
        b->setAutoRepeat(s.repeat);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QPushButton::clicked, this, s.signal);
        // Three labelled buttons must share a row of a 240-pixel display.
        if (isSmallScreen())
            b->setIconSize(QSize(16, 16));
        m_buttons[i] = b;
    }
    m_bookmarkButton = new VRXPushButton(QStringLiteral("bookmark"), QString(), this, QStringLiteral("Bookmark"));
    m_bookmarkButton->setFocusPolicy(Qt::NoFocus);
    m_bookmarkButton->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_buttons[Play]->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_bookmarkMenu = new QMenu(this);
    connect(m_bookmarkButton, &QPushButton::pressed, this, &Player::popupPressed);
    // A menu entry's id is its action's data.
    connect(m_bookmarkMenu, &QMenu::triggered, this,
            [this](QAction* a) { emit bookmarkActivated(a->data().toInt()); });

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(3, 3, 3, 3);
    grid->setSpacing(2);
    grid->addLayout(box, 0, 0, 1, 5);
    grid->addWidget(m_slider, 1, 0, 1, 5);
    grid->addWidget(m_buttons[Prev], 3, 0);
    grid->addWidget(m_buttons[Play], 3, 1, 1, 3);
    grid->addWidget(m_buttons[Next], 3, 4);
    grid->addWidget(m_buttons[Rewind], 4, 0);
    grid->addWidget(m_buttons[Stop], 4, 1, 1, 3);
    grid->addWidget(m_buttons[Forward], 4, 4);
    grid->addWidget(m_buttons[VolumeDown], 5, 0, 1, 2);
    grid->addWidget(m_bookmarkButton, 5, 2, Qt::AlignCenter);
    grid->addWidget(m_buttons[VolumeUp], 5, 3, 1, 2);
    grid->setRowStretch(0, 1);
}

void Player::triggerAction(int action)
{
    switch (action) {
    case VolumeUp:
        emit volumeUp();
        break;
    case VolumeDown:
        emit volumeDown();
        break;
    case Prev:
    case Next:
    case Forward:
    case Rewind:
    case Stop:
    case Play:
        m_buttons[action]->animateClick();
        break;
    default:
        break;
    }
}

void Player::updatePosition(int seconds, PlayInfo* info)
{
    m_info->setPosition(seconds, info);
    if (!info)
        return;
    if (m_slider->maximum() != info->range)
        m_slider->setMaximum(info->range);
    if (m_seekPending) {
        // The report may still carry the position from before the seek.
        m_seekPending = false;
        return;
    }
    if (!m_dragging)
        m_slider->setValue(info->position);
}

void Player::setTrackDescription(AudioInfo* info)
{
    m_description->setDescription(info);
    m_cover->setTrack(info ? QString::fromUtf8(info->fileNameBytes()) : QString());
}

bool Player::eventFilter(QObject* watched, QEvent* e)
{
    // Looked at once the layout has taken the change in.
    if (watched == m_analyzer && (e->type() == QEvent::ShowToParent || e->type() == QEvent::HideToParent))
        QMetaObject::invokeMethod(this, &Player::updateCover, Qt::QueuedConnection);
    return QWidget::eventFilter(watched, e);
}

void Player::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    updateCover();
}

void Player::updateCover()
{
    // The room is what the page leaves after everything else has its preferred height;
    // the cover asks for none, so the answer is the same whether it shows or not.
    // A small display keeps its page as it was: its room is for the controls and text.
    const int room = height() - layout()->sizeHint().height();
    const bool show = m_cover->hasPicture() && m_analyzer->isHidden() && !isSmallScreen()
        && room >= MinCoverSide && contentsRect().width() >= MinCoverSide;
    if (show == m_cover->isHidden())
        m_cover->setVisible(show);
}

void Player::stateChanged(int state)
{
    switch (state) {
    case LoopControl::Playing:
        m_slider->setEnabled(true);
        m_buttons[Play]->setText(tr("Pause"));
        break;
    case LoopControl::Resumed:
        m_buttons[Play]->setText(tr("Pause"));
        break;
    case LoopControl::Stopped:
        m_buttons[Play]->setText(tr("Play"));
        m_slider->setEnabled(false);
        m_slider->setValue(0);
        m_description->setDescription(nullptr);
        m_cover->setTrack(QString());
        m_info->setPosition(0, nullptr);
        break;
    case LoopControl::Paused:
        m_buttons[Play]->setText(tr("Play"));
        break;
    default:
        break;
    }
}

void Player::sliderPressed()
{
    m_dragging = true;
}

void Player::changePosition()
{
    m_dragging = false;
    m_seekPending = true;
    if (m_controller)
        m_controller->seek(m_slider->value());
}

QPoint Player::menuPosition(const QRect& button, int menuHeight, int displayHeight)
{
    const QPoint below = button.bottomLeft() + QPoint(0, 1);
    if (below.y() + menuHeight <= displayHeight)
        return below;
    return button.topLeft() - QPoint(0, menuHeight);
}

void Player::popupPressed()
{
    emit fillBookmarkMenu(m_bookmarkMenu);
    if (m_bookmarkButton->isDown()) {
        const QRect global(m_bookmarkButton->mapToGlobal(QPoint(0, 0)), m_bookmarkButton->size());
        // The display is the window on a desktop, so the menu stays inside it.
        const QRect display = displayAreaOf(m_bookmarkMenu);
        const QSize size = m_bookmarkMenu->sizeHint();
        const QPoint at = menuPosition(global, size.height(), display.bottom() + 1);
        m_bookmarkMenu->exec(popupPosition(m_bookmarkMenu, at, size));
    }
    m_bookmarkButton->setDown(false);
}
