#include "anotheroptionswidget.h"

#include "config.h"
#include "settingskeys.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
QGroupBox* makeGroup(QWidget* parent, const QString& name, const QString& title)
{
    auto* g = new QGroupBox(title, parent);
    g->setObjectName(name);
    return g;
}

QSpinBox* makeSpin(QWidget* parent, const QString& name, int min, int max)
{
    auto* s = new QSpinBox(parent);
    s->setObjectName(name);
    s->setRange(min, max);
    return s;
}

QCheckBox* makeCheck(QWidget* parent, const QString& name, const QString& text)
{
    auto* c = new QCheckBox(text, parent);
    c->setObjectName(name);
    return c;
}

// The text of a check box as a label beside it that wraps (a check box's own text does
// not, and runs past a narrow display); a click on the text still toggles the box.
class CheckText : public QLabel
{
public:
    CheckText(QCheckBox* box, const QString& text, QWidget* parent)
        : QLabel(text, parent)
        , m_box(box)
    {
        setWordWrap(true);
        box->setAccessibleName(text);
    }

protected:
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        QLabel::mouseReleaseEvent(e);
        if (rect().contains(e->position().toPoint()))
            m_box->toggle();
    }

private:
    QCheckBox* m_box;
};

QCheckBox* addWrappingCheck(QBoxLayout* layout, QWidget* parent, const QString& name, const QString& text)
{
    auto* box = makeCheck(parent, name, QString());
    auto* row = new QHBoxLayout;
    row->addWidget(box, 0, Qt::AlignTop);
    row->addWidget(new CheckText(box, text, parent), 1);
    layout->addLayout(row);
    return box;
}
} // namespace

AnotherOptionsWidgetBase::AnotherOptionsWidgetBase(QWidget* parent, const QString& name)
    : QWidget(parent)
{
    setObjectName(name.isEmpty() ? QStringLiteral("AnotherOptionsWidgetBase") : name);
    auto* box = new QVBoxLayout(this);
    loop = makeCheck(this, QStringLiteral("loop"), tr("Playlist looping"));
    rnd = makeCheck(this, QStringLiteral("rnd"), tr("Random order"));
    box->addWidget(loop);
    box->addWidget(rnd);

    QGroupBox* seek = makeGroup(this, QStringLiteral("GroupBox3"), tr("Fast Forward / Rewind"));
    auto* seekRow = new QHBoxLayout(seek);
    interval = makeSpin(seek, QStringLiteral("interval"), 1, 700);
    seekRow->addWidget(new QLabel(tr("Interval:"), seek));
    seekRow->addWidget(interval);
    // The unit's symbol reads right after any number, where a word would need its plural.
    seekRow->addWidget(new QLabel(tr("s", "unit symbol of seconds, after the number"), seek));
    seekRow->addStretch(1);
    box->addWidget(seek);

    // Short labels in a grid: the page is 240 pixels wide on the smallest displays.
    QGroupBox* gain = makeGroup(this, QStringLiteral("GroupBoxGain"), tr("ReplayGain"));
    auto* gainGrid = new QGridLayout(gain);
    replayGain = new QComboBox(gain);
    replayGain->setObjectName(QStringLiteral("replaygain"));
    replayGain->addItems({tr("Off"), tr("Track", "gain of the track"), tr("Album", "gain of the album")});
    gainGrid->addWidget(replayGain, 0, 0, 1, 3);
    rgPreamp = makeSpin(gain, QStringLiteral("rgpreamp"), -12, 12);
    gainGrid->addWidget(new QLabel(tr("Pre-amp:"), gain), 1, 0);
    gainGrid->addWidget(rgPreamp, 1, 1);
    gainGrid->addWidget(new QLabel(tr("dB"), gain), 1, 2);
    rgPreampNone = makeSpin(gain, QStringLiteral("rgpreampnone"), -12, 12);
    gainGrid->addWidget(new QLabel(tr("Untagged:"), gain), 2, 0);
    gainGrid->addWidget(rgPreampNone, 2, 1);
    gainGrid->addWidget(new QLabel(tr("dB"), gain), 2, 2);
    rgClip = makeCheck(gain, QStringLiteral("rgclip"), tr("Prevent clipping"));
    gainGrid->addWidget(rgClip, 3, 0, 1, 3);
    gainGrid->setColumnStretch(2, 1);
    box->addWidget(gain);

    QGroupBox* display = makeGroup(this, QStringLiteral("GroupBox2"), tr("Display while playing"));
    auto* displayBox = new QVBoxLayout(display);
    backlightOff = makeCheck(display, QStringLiteral("backlightOff"), tr("Backlight off"));
    displayBox->addWidget(backlightOff);
    displayOff = addWrappingCheck(displayBox, display, QStringLiteral("displayOff"), tr("Display off (only for C7xx devices)"));
    box->addWidget(display);

    QGroupBox* power = makeGroup(this, QStringLiteral("GroupBox3_2"), tr("Delay after power on"));
    auto* powerRow = new QHBoxLayout(power);
    pi = makeSpin(power, QStringLiteral("pi"), 0, 60);
    powerRow->addWidget(pi);
    powerRow->addWidget(new QLabel(tr("s", "unit symbol of seconds, after the number"), power));
    powerRow->addStretch(1);
    box->addWidget(power);
    box->addStretch(1);
}

AnotherOptionsWidget::AnotherOptionsWidget(QWidget* parent, const QString& name)
    : AnotherOptionsWidgetBase(parent, name)
{
    using namespace Settings::Options;
    Config cfg(QString::fromLatin1(Settings::AppFile));
    interval->setValue(cfg.read(Interval));
    loop->setChecked(cfg.read(Loop) != 0);
    rnd->setChecked(cfg.read(Random) != 0);
    backlightOff->setChecked(cfg.read(Backlight) != 0);
    displayOff->setChecked(cfg.read(DisplayOff) != 0);
    pi->setValue(cfg.read(PowerOnDelay));
    replayGain->setCurrentIndex(qBound(0, cfg.read(ReplayGainMode), 2));
    rgPreamp->setValue(cfg.read(ReplayGainPreamp));
    rgPreampNone->setValue(cfg.read(ReplayGainPreampNone));
    rgClip->setChecked(cfg.read(ReplayGainClip));
}

void AnotherOptionsWidget::save()
{
    using namespace Settings::Options;
    Config cfg(QString::fromLatin1(Settings::AppFile));
    cfg.write(Interval, interval->value());
    cfg.write(PowerOnDelay, pi->value());
    cfg.write(Loop, loop->isChecked() ? 1 : 0);
    cfg.write(Random, rnd->isChecked() ? 1 : 0);
    cfg.write(Backlight, backlightOff->isChecked() ? 1 : 0);
    cfg.write(DisplayOff, displayOff->isChecked() ? 1 : 0);
    cfg.write(ReplayGainMode, replayGain->currentIndex());
    cfg.write(ReplayGainPreamp, rgPreamp->value());
    cfg.write(ReplayGainPreampNone, rgPreampNone->value());
    cfg.write(ReplayGainClip, rgClip->isChecked());
}
