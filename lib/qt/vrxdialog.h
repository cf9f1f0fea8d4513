#pragma once

#include <QDialog>

#include <functional>

// The toolkit's dialog base. Captions end in " ..."; run() shows the dialog modally and
// returns its result. An answer hook, when installed, is handed each dialog instead of
// a modal loop: it may fill the dialog's fields and call done(); run() then returns the
// result without blocking. Tests drive dialogs this way.
class VRXDialog : public QDialog
{
    Q_OBJECT
public:
    explicit VRXDialog(QWidget* parent = nullptr, const QString& name = QString(), bool modal = true);

    // Sets the caption followed by " ...".
    void setCaption(const QString& caption);

    int run();

    using AnswerHook = std::function<void(VRXDialog*)>;
    static void setAnswerHook(AnswerHook hook);
    static bool hasAnswerHook();

    // A width that fits the display with a margin: dialogs are used at 240 pixels.
    static int comfortableWidth(int wanted);

    // Never larger than the display.
    QSize sizeHint() const override;

    // The program's display on the desktop: the main window's area (at the display size),
    // or the display size at the screen's corner before there is a main window.
    QRect displayArea() const;

    // A dialog shown maximised fills the display, not the whole desktop.
    void setVisible(bool visible) override;

protected:
    void changeEvent(QEvent* e) override;

private:
    void fitDisplay();

    bool m_fitting = false;
};

// Installs an answer hook for the lifetime of the object.
class VRXDialogAnswer
{
public:
    explicit VRXDialogAnswer(VRXDialog::AnswerHook hook) { VRXDialog::setAnswerHook(std::move(hook)); }
    ~VRXDialogAnswer() { VRXDialog::setAnswerHook(nullptr); }
    VRXDialogAnswer(const VRXDialogAnswer&) = delete;
    VRXDialogAnswer& operator=(const VRXDialogAnswer&) = delete;
};
