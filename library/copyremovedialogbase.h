#pragma once

#include "vrxdialog.h"

class QFrame;
class QLabel;
class QProgressBar;
class VRXPushButton;

// The media search's progress form: icon, phase, folder and file being read, progress and
// a Cancel button. Subclasses override cancel().
class CopyRemoveDialogBase : public VRXDialog
{
    Q_OBJECT
public:
    explicit CopyRemoveDialogBase(QWidget* parent = nullptr, const QString& name = QString());

public slots:
    virtual void cancel() {}

protected:
    QLabel* icon;
    QLabel* text;
    QLabel* iSource;
    QLabel* source;
    QProgressBar* progress;
    QFrame* Line3;
    VRXPushButton* btnCancel;
};
