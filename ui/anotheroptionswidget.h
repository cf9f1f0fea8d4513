#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QSpinBox;

// The "Setup" page's form: looping, random order, the seek interval, ReplayGain, the display
// while playing and the delay after power-on.
class AnotherOptionsWidgetBase : public QWidget
{
    Q_OBJECT
public:
    explicit AnotherOptionsWidgetBase(QWidget* parent = nullptr, const QString& name = QString());

protected:
    QCheckBox* loop;
    QCheckBox* rnd;
    QSpinBox* interval;
    QCheckBox* backlightOff;
    QCheckBox* displayOff;
    QSpinBox* pi;
    QComboBox* replayGain;
    QSpinBox* rgPreamp;
    QSpinBox* rgPreampNone;
    QCheckBox* rgClip;
};

// Reads the page from group "Options" on construction; save() writes it back.
class AnotherOptionsWidget : public AnotherOptionsWidgetBase
{
    Q_OBJECT
public:
    explicit AnotherOptionsWidget(QWidget* parent = nullptr, const QString& name = QString());
    void save();
};
