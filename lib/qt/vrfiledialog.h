#pragma once

#include "vrxdialog.h"

class QLabel;
class VRXListView;
class VRXListViewItem;
class VRXPushButton;

// Chooses a folder (or, in file mode, an existing file) by walking the folder tree with
// a stylus: a tap selects, a double tap or Return opens a folder, "up" goes to the parent.
class VRFileDialog : public VRXDialog
{
    Q_OBJECT
public:
    enum Mode { Directory, ExistingFile };

    VRFileDialog(Mode mode, const QString& startDir, const QString& caption, QWidget* parent = nullptr);

    // The folder shown.
    QString directory() const { return m_dir; }
    void setDirectory(const QString& dir);
    // What OK returns: the selected entry, or in folder mode the folder shown.
    QString selectedPath() const;
    void selectName(const QString& name);
    VRXListView* listView() const { return m_list; }

    // The chosen folder, or an empty string when cancelled.
    static QString getExistingDirectory(const QString& startDir, const QString& caption,
                                        QWidget* parent = nullptr);
    static QString getOpenFileName(const QString& startDir, const QString& caption,
                                   QWidget* parent = nullptr);

private slots:
    void up();
    void activated(VRXListViewItem* item);
    void currentChanged(VRXListViewItem* item);

private:
    void fill();

    Mode m_mode;
    QString m_dir;
    QLabel* m_path;
    VRXListView* m_list;
    VRXPushButton* m_up;
};
