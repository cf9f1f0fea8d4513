#include "keyswidget.h"

#include "config.h"
#include "keycodes.h"
#include "screen.h"
#include "settingskeys.h"
#include "vrxpushbutton.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace {
const char* const CodeProperty = "keyCode";

const IntKey* const Keys[7] = {&Settings::Options::KeyVolumeUp, &Settings::Options::KeyVolumeDown,
                               &Settings::Options::KeyPlay, &Settings::Options::KeyNext,
                               &Settings::Options::KeyPrev, &Settings::Options::KeyForward,
                               &Settings::Options::KeyRewind};
} // namespace

KeysWidgetBase::KeysWidgetBase(QWidget* parent, const QString& name)
    : QWidget(parent)
{
    setObjectName(name.isEmpty() ? QStringLiteral("KeysWidgetBase") : name);
    group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("group"));
    const QString texts[7] = {tr("Volume Up:"), tr("Volume Down:"), tr("Play / Pause :"), tr("Next:"),
                              tr("Prev:"), tr("Fast Forward:"), tr("Rewind:")};
    for (int i = 0; i < 7; ++i) {
        l[i] = new QLabel(texts[i], group);
        l[i]->setObjectName(QStringLiteral("l%1").arg(i + 1));
        k[i] = new VRXPushButton(group, QStringLiteral("k%1").arg(i + 1));
        k[i]->setCheckable(true);
    }
    line1 = new QFrame(group);
    line1->setObjectName(QStringLiteral("line1"));
    line1->setFrameShape(QFrame::VLine);
    line1->setFrameShadow(QFrame::Sunken);
    line2 = new QFrame(this);
    line2->setObjectName(QStringLiteral("line2"));
    line2->setFrameShape(QFrame::HLine);
    line2->setFrameShadow(QFrame::Sunken);
    cancel = new QCheckBox(tr("Cancel key stops playback"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
}

KeysWidget::KeysWidget(QWidget* parent, const QString& name)
    : KeysWidgetBase(parent, name)
{
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(3, 3, 3, 3);
    box->setSpacing(3);
    box->addWidget(group);
    box->addWidget(line2);
    box->addWidget(cancel);
    box->addStretch(1);

    auto* grid = new QGridLayout(group);
    grid->setVerticalSpacing(2);
    // Next, Prev, Fast Forward, Rewind; then Volume Up, Volume Down, Play / Pause.
    const int order[7] = {3, 4, 5, 6, 0, 1, 2};
    // Two columns of keys need more than a small display's width: one column scrolls instead.
    if (isPortrait() || isSmallScreen()) {
        for (int row = 0; row < 7; ++row) {
            grid->addWidget(l[order[row]], row, 0);
            grid->addWidget(k[order[row]], row, 1);
        }
        line1->hide();
    } else {
        for (int row = 0; row < 4; ++row) {
            grid->addWidget(l[order[row]], row, 0);
            grid->addWidget(k[order[row]], row, 1);
        }
        grid->addWidget(line1, 0, 2, 4, 1);
        for (int row = 0; row < 3; ++row) {
            grid->addWidget(l[order[4 + row]], row, 3);
            grid->addWidget(k[order[4 + row]], row, 4);
        }
    }

    for (QPushButton* b : k) {
        // The buttons never take the focus: Space or an arrow key must reach the capture,
        // not click or leave the button.
        b->setFocusPolicy(Qt::NoFocus);
        b->setProperty(CodeProperty, QStringLiteral("0"));
        connect(b, &QPushButton::toggled, this, [this, b](bool on) { buttonToggled(b, on); });
    }

    Config cfg(QString::fromLatin1(Settings::AppFile));
    for (int i = 0; i < 7; ++i)
        assignKey(k[i], cfg.read(*Keys[i]), true);
    cancel->setChecked(cfg.read(Settings::Options::Cancel));
}

int KeysWidget::code(int n) const
{
    return n >= 1 && n <= 7 ? k[n - 1]->property(CodeProperty).toString().toInt() : 0;
}

void KeysWidget::assignKey(QPushButton* button, int code, bool initial)
{
    if (code == KeyBackspace && !initial && button->property(CodeProperty).toString() != QLatin1String("0"))
        code = 0;
    if (code == 0) {
        button->setText(tr("None"));
        button->setProperty(CodeProperty, QStringLiteral("0"));
    } else {
        button->setText(keyName(code));
        button->setProperty(CodeProperty, QString::number(code));
        for (QPushButton* other : k)
            if (other != button && other->property(CodeProperty).toString() == QString::number(code))
                assignKey(other, 0, false);
    }
    button->setChecked(false);
}

QPushButton* KeysWidget::activeKeyButton() const
{
    for (int i = 1; i <= 7; ++i)
        if (auto* b = findChild<QPushButton*>(QStringLiteral("k%1").arg(i)); b && b->isChecked())
            return b;
    return nullptr;
}

void KeysWidget::buttonToggled(QPushButton* button, bool on)
{
    if (on) {
        // One button waits for a key at a time; while it does, every key comes here.
        for (QPushButton* other : k)
            if (other != button)
                other->setChecked(false);
        grabKeyboard();
    } else if (!activeKeyButton()) {
        releaseKeyboard();
    }
}

void KeysWidget::keyPressEvent(QKeyEvent* e)
{
    const int key = qt2Key(e->key());
    if (key == KeyEscape) {
        // Escape closes the dialog as usual.
        if (QPushButton* b = activeKeyButton())
            b->setChecked(false);
        QWidget::keyPressEvent(e);
        return;
    }
    e->accept();
    const int code = keyCode(e);
    if (code < 0)
        return;
    if (QPushButton* b = activeKeyButton())
        assignKey(b, code, false);
}

void KeysWidget::hideEvent(QHideEvent* e)
{
    if (QPushButton* b = activeKeyButton())
        b->setChecked(false);
    QWidget::hideEvent(e);
}

void KeysWidget::saveKeys()
{
    Config cfg(QString::fromLatin1(Settings::AppFile));
    for (int i = 0; i < 7; ++i)
        cfg.write(*Keys[i], code(i + 1));
    cfg.write(Settings::Options::Cancel, cancel->isChecked());
}
