#pragma once

#include "vrxlistview.h"

#include <QPixmap>

// The five-column track list (title, artist, album, year, track) of the play list, the
// library and the colours preview. Its name is always "listview", which selects the
// settings group of its colours. Every key press except the excluded modifier keys is
// offered to checkKey() first (its key code, keycodes.h); a key the receiver claims is left
// for the parents, any other the list handles itself. The columns share the list's width:
// each is as wide as its shown texts and a gap, and when they do not fit, the title, artist
// and album columns are narrowed (the title least) and their texts end in "…".
class ListView : public VRXListView
{
    Q_OBJECT
public:
    explicit ListView(QWidget* parent = nullptr, const QString& name = QString());
    ~ListView() override;

    void resetColumns();
    void loadIcons();
    // 0 "audio", 1 "file_audio", anything else a null pixmap.
    QPixmap icon(int which) const;

    // Sets the font, then reloads the icons for its size. The font change empties the list.
    void setFont(const QFont& font);

signals:
    void checkKey(bool& handled, int code);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool viewportEvent(QEvent* e) override;

private:
    // Sets the column widths (see above) once the events in hand are done.
    void scheduleFit();
    void fitColumns();

    bool m_fitPending = false;
    QPixmap m_audio;
    QPixmap m_fileAudio;
};
