#pragma once

#include "mediafoldersbase.h"

// Edits the media folders the library search reads (each with or without its subfolders)
// and whether the platform's audio documents are taken too. The settings are written when
// the dialog goes away, however it was closed.
class MediaFoldersDialog : public MediaFoldersBase
{
    Q_OBJECT
public:
    explicit MediaFoldersDialog(QWidget* parent = nullptr);
    ~MediaFoldersDialog() override;

    // The entries as stored: flag ("1" with subfolders, "0" without) followed by the path.
    QStringList folderItems() const;

    // Whether the folders or the documents choice now differ from what the dialog opened
    // with: only then does the library need searching again.
    bool changed() const;

    // Forgets the remembered start folder of the folder chooser (tests).
    static void resetStartFolder();

public slots:
    void doNew() override;
    void doRemove() override;
    void recurrenceChanged() override;
    void currentChanged(VRXListViewItem* entry) override;

private:
    QStringList m_openedWith;
    bool m_documentsOpenedWith = false;

    VRXListViewItem* addEntry(const QString& path, const QString& flag);
};
