// The three pages of the running player at the smallest and a large display, with real
// files from the fixtures: nothing may need more room than the display has; the track's
// cover where the hidden analyzer leaves room. The pictures
// land in <build>/screenshots (scripts/screenshots.sh copies them to docs/).
#include "testmain.h"
#include "../qt/screenshot.h"

#include "audioinfo.h"
#include "bookamrks.h"
#include "config.h"
#include "copyremovedialogbase.h"
#include "coverview.h"
#include "medialibrary.h"
#include "vrfiledialog.h"
#include "vrxcolorbutton.h"
#include "vrxinputdialog.h"
#include "vrxlistview.h"
#include "vrxmessagebox.h"
#include "vrxpushbutton.h"
#include "vrxrenamedialog.h"
#include "player.h"
#include "playlist.h"
#include "settingskeys.h"
#include "trackdescription.h"
#include "trackinfo.h"
#include "translations.h"
#include "visualization.h"
#include "vrtabwidget.h"
#include "vrxplayerwindow.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QPainter>
#include <QRegularExpression>
#include <QSlider>
#include <QTimer>

namespace {
// The shown buttons that a parent cuts off or squeezes: the contents of a scroll area count
// whole, since they scroll into view.
QStringList unreachableButtons(QWidget* dialog)
{
    QStringList out;
    for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>()) {
        if (!b->isVisibleTo(dialog))
            continue;
        QRect r = b->rect();
        bool cut = b->height() < b->minimumSizeHint().height();
        for (QWidget* c = b; c != dialog && !cut; c = c->parentWidget()) {
            QWidget* p = c->parentWidget();
            r.translate(c->pos());
            const auto* area = qobject_cast<QAbstractScrollArea*>(p->parentWidget());
            if (area && area->viewport() == p)
                r = p->rect();
            else
                cut = !p->rect().contains(r);
        }
        if (cut)
            out << b->objectName() + QLatin1Char('/') + b->text();
    }
    return out;
}

// Where the popup that open() shows appears; the popup is closed again. A menu that runs
// its own loop is measured from inside it.
QRect popupGeometry(const std::function<void()>& open)
{
    QRect at;
    QTimer probe;
    probe.setInterval(20);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            at = popup->geometry();
            popup->close();
        }
    });
    probe.start();
    open();
    return QTest::qWaitFor([&] { return at.isValid(); }, 3000) ? at : QRect(0, 0, -1, -1);
}
} // namespace

class TestScreens : public QObject
{
    Q_OBJECT

    // Installs the row's language; returns the screenshots' name suffix ("-de", none for English).
    static QString speak()
    {
        QFETCH(QString, lang);
        qputenv("QUAVRIX_LANG", lang.toUtf8());
        Translations::install();
        return lang == QLatin1String("en") ? QString() : QLatin1Char('-') + lang;
    }

private slots:
    void initTestCase()
    {
        const QString music = quavrixTestRoot() + QStringLiteral("/music");
        QDir().mkpath(music);
        for (const char* f : {"ogg/stereo.ogg", "mp3/tagged-v1.mp3", "mp4/stereo-tagged.m4a", "mp3/vbr.mp3"})
            QVERIFY(QFile::copy(QStringLiteral(QUAVRIX_TEST_DATA "/") + QLatin1String(f),
                                music + QLatin1Char('/') + QFileInfo(QLatin1String(f)).fileName()));
        qputenv("QUAVRIX_DOCUMENTS", music.toUtf8());
        // No device at all: playback runs in real time, paced by the clock.
        qputenv("QUAVRIX_DSP", (music + QStringLiteral("/no/dsp")).toUtf8());
        qputenv("QUAVRIX_AACDECODER", QUAVRIX_BIN_DIR "/aacdecoder");
        Config(QStringLiteral("Quavrix")).write(Settings::Analyzer::Visible(false), 1);
    }

    void everythingFitsTheDisplay_data()
    {
        QTest::addColumn<QSize>("display");
        QTest::addColumn<QString>("lang");
        for (const QSize s : {QSize(240, 320), QSize(320, 240), QSize(480, 640), QSize(640, 480)})
            QTest::newRow(qPrintable(QStringLiteral("%1x%2").arg(s.width()).arg(s.height()))) << s << "en";
        for (const char* lang : {"de", "ru", "ja"})
            QTest::newRow(qPrintable(QStringLiteral("240x320 ") + QLatin1String(lang))) << QSize(240, 320) << lang;
    }
    // Without a window manager nothing moves a window back into view or offers to close it:
    // every window the program opens must lie inside the display with its buttons in reach,
    // and no page may need more room than the display has.
    void everythingFitsTheDisplay()
    {
        QFETCH(QSize, display);
        const QString suffix = speak();
        useDisplay(display);
        VRXPlayerWindow w;
        w.resize(display);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTRY_VERIFY(!w.library()->catalogue().empty());
        const QRect area(w.mapToGlobal(QPoint(0, 0)), display);
        const QString track = quavrixTestRoot() + QStringLiteral("/music/stereo.ogg");
        for (int i = 1; i <= 3; ++i)
            w.bookmarks()->append(QStringLiteral("Chapter %1 of the long recording").arg(i), track, 60 * i);
        QStringList faults;
        auto checkMenu = [&](const QString& name, const std::function<void()>& open) {
            const QRect at = popupGeometry(open);
            if (!area.contains(at))
                faults << QStringLiteral("%1 menu at %2,%3 %4x%5").arg(name).arg(at.x()).arg(at.y()).arg(at.width()).arg(at.height());
        };
        auto check = [&](QWidget* d, const QString& name) {
            d->show();
            QVERIFY(QTest::qWaitForWindowExposed(d));
            // The frame the test platform draws around windows is no part of the display.
            const QRect at = d->geometry();
            if (!area.contains(at))
                faults << QStringLiteral("%1 at %2,%3 %4x%5").arg(name).arg(at.x()).arg(at.y()).arg(at.width()).arg(at.height());
            auto* tabs = d->findChild<VRTabWidget*>();
            for (int page = 0; page < (tabs ? tabs->count() : 1); ++page) {
                const QString shown = tabs ? name + QLatin1Char('-') + tabs->label(page).toLower() : name;
                if (tabs)
                    tabs->setCurrentIndex(page);
                QTest::qWait(20);
                for (const QString& b : unreachableButtons(d))
                    faults << shown + QStringLiteral(": ") + b;
                saveScreenshot(d, shown.split(QRegularExpression(QStringLiteral("\\W+"), QRegularExpression::UseUnicodePropertiesOption), Qt::SkipEmptyParts).join(QLatin1Char('-')) + suffix, display);
                const auto colors = d->findChildren<VRXColorButton*>();
                if (!colors.isEmpty() && colors.first()->isVisible())
                    checkMenu(QStringLiteral("colour"), [&] { QTest::mousePress(colors.first(), Qt::LeftButton); });
            }
        };
        {
            // Every dialog opened through run() is checked where the program opens it.
            VRXDialogAnswer answer([&](VRXDialog* d) {
                check(d, d->windowTitle().toLower());
                d->done(0);
            });
            Config(QStringLiteral("Quavrix")).write(Settings::MediaFolders::Folders, QLatin1Char('1') + track.section(QLatin1Char('/'), 0, -2));
            w.mediaFolders();
            Config(QStringLiteral("Quavrix")).write(Settings::MediaFolders::Folders, QString());
            w.options();
            w.bookmarkActivated(Bookamrks::OrganizeId);
            w.playList()->organize();
            VRXMessageBox::about(&w);
            VRXMessageBox::confirmDelete(&w, QStringLiteral("Chapter 1 of the long recording"));
            QString renamed;
            VRXRenameDialog::getNewName(QStringLiteral("Chapter 1 of the long recording"), renamed, &w);
            VRXInputDialog::getText(QStringLiteral("Bookmark Name"), QString(), QStringLiteral("Bookmark"), nullptr, &w);
            VRFileDialog::getExistingDirectory(quavrixTestRoot(), QStringLiteral("Select Media Folder"), &w);
        }
        CopyRemoveDialogBase progress(&w);
        check(&progress, QStringLiteral("search"));
        checkMenu(QStringLiteral("bookmark"), [&] { QTest::mousePress(w.player()->bookmarkButton(), Qt::LeftButton); });
        QTest::mouseRelease(w.player()->bookmarkButton(), Qt::LeftButton);
        w.tabs()->showPage(w.playList());
        checkMenu(QStringLiteral("play list"), [&] { w.playList()->showMenu(); });
        w.playList()->removeAll();
        for (const auto& record : w.library()->catalogue()) {
            if (QByteArray(record->fileName).endsWith("stereo-tagged.m4a"))
                w.playList()->addRecords({record.get()});
        }
        QTest::qWait(50);
        saveScreenshot(&w, QStringLiteral("one-entry") + suffix, display);
        // Columns past the list's edge would be cut off without an ellipsis.
        const auto* list = w.playList()->findChild<VRXListView*>();
        if (list->header()->length() > list->viewport()->width())
            faults << QStringLiteral("play list columns %1 wide").arg(list->header()->length());
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));

        w.library()->addAll();
        w.setFile(track);
        QCOMPARE(w.playState(), int(VRXPlayerWindow::Playing));
        QTest::qWait(2500);
        for (QWidget* page : {static_cast<QWidget*>(w.player()), static_cast<QWidget*>(w.playList()),
                              static_cast<QWidget*>(w.library())}) {
            w.tabs()->showPage(page);
            QTest::qWait(100);
            // A page wider or taller than the display would push the window past it.
            QCOMPARE(w.size(), display);
            QVERIFY2(w.minimumSizeHint().width() <= display.width(),
                     qPrintable(QString::number(w.minimumSizeHint().width())));
            // A grab repaints the analyzer from scratch (bars grow again from nothing): show
            // what the screen shows instead.
            const Visualization* analyzer = w.player()->analyzer();
            const QPixmap bars = analyzer->canvas();
            QImage shot = w.grab().toImage();
            if (page == w.player() && analyzer->isVisible()) {
                QPainter p(&shot);
                p.drawPixmap(analyzer->mapTo(&w, QPoint(0, 0)), bars);
            }
            shot.save(screenshotPath(QString::fromLatin1(page->metaObject()->className()).toLower() + suffix, display));
        }
        TrackInfo* info = w.player()->infoDisplay();
        QVERIFY(info->fontMetrics().horizontalAdvance(info->shownInfo()) <= info->infoPanel().width());
        QVERIFY(info->shownInfo().contains(TrackInfo::tr("kbps")));
        w.stop();
    }

    void cleanup()
    {
        qputenv("QUAVRIX_LANG", "en");
        Translations::install();
    }

    void coverOnThePlayerPage_data()
    {
        QTest::addColumn<QSize>("display");
        QTest::addColumn<QString>("track");
        QTest::addColumn<bool>("shown");
        QTest::newRow("480x640 APIC") << QSize(480, 640) << "apic.mp3" << true;
        QTest::newRow("640x480 FLAC PICTURE") << QSize(640, 480) << "picture.flac" << true;
        QTest::newRow("480x640 picture size lies") << QSize(480, 640) << "lying.mp3" << false;
        QTest::newRow("240x320 small display: as before") << QSize(240, 320) << "apic.mp3" << false;
    }
    void coverOnThePlayerPage()
    {
        QFETCH(QSize, display);
        QFETCH(QString, track);
        QFETCH(bool, shown);
        for (bool small : {false, true})
            Config(QStringLiteral("Quavrix")).write(Settings::Analyzer::Visible(small), 0);
        useDisplay(display);
        VRXPlayerWindow w;
        w.resize(display);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.tabs()->showPage(w.player());
        const QString file = QStringLiteral(QUAVRIX_TEST_DATA "/covers/") + track;
        w.setFile(file);
        // Paused, so the two-second track cannot end (and clear the page) before the look.
        w.playPause();
        QCOMPARE(w.playState(), int(VRXPlayerWindow::Paused));
        const CoverView* cover = w.player()->coverView();
        QTRY_VERIFY(cover->track() == file && !cover->isLooking());
        QTest::qWait(100);
        QCOMPARE(cover->isVisible(), shown);
        const QImage shot = w.grab().toImage();
        shot.save(screenshotPath(QStringLiteral("player-cover-") + QFileInfo(track).baseName(), display));
        if (!shown)
            return;
        // The 120x90 picture keeps its 4:3 shape, centred, between the text and the slider.
        const QRect r(cover->mapTo(&w, cover->pictureRect().topLeft()), cover->pictureRect().size());
        QVERIFY2(qAbs(r.width() * 3 - r.height() * 4) <= 4, qPrintable(QStringLiteral("%1x%2").arg(r.width()).arg(r.height())));
        QVERIFY(qMin(r.width(), r.height()) >= 96);
        QVERIFY(qAbs(cover->pictureRect().center().x() - cover->width() / 2) <= 1);
        QVERIFY(r.bottom() < w.player()->slider()->mapTo(&w, QPoint(0, 0)).y());
        QVERIFY(r.top() > w.player()->descriptionDisplay()->mapTo(&w, QPoint(0, w.player()->descriptionDisplay()->height())).y());
        // The light disc in the middle, the dark lower ground near a bottom corner.
        const QRgb middle = shot.pixel(r.center()), corner = shot.pixel(r.bottomLeft() + QPoint(3, -3));
        QVERIFY2(qRed(middle) > 180 && qGreen(middle) > 180 && qBlue(middle) < 150, qPrintable(QString::number(middle, 16)));
        QVERIFY2(qRed(corner) < 80 && qBlue(corner) > 60, qPrintable(QString::number(corner, 16)));
        w.stop();
    }
};

QUAVRIX_TEST_MAIN(TestScreens)
#include "tst_screens.moc"
