// The three pages of the running player at the smallest and a large display, with real
// files from the fixtures: nothing may need more room than the display has; the track's
// cover where the hidden analyzer leaves room. The pictures
// land in <build>/screenshots (scripts/screenshots.sh copies them to docs/).
#include "testmain.h"
#include "../qt/screenshot.h"

#include "config.h"
#include "coverview.h"
#include "medialibrary.h"
#include "player.h"
#include "playlist.h"
#include "settingskeys.h"
#include "trackdescription.h"
#include "trackinfo.h"
#include "visualization.h"
#include "vrtabwidget.h"
#include "vrxplayerwindow.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QSlider>

class TestScreens : public QObject
{
    Q_OBJECT

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

    void pagesFitTheDisplay_data()
    {
        QTest::addColumn<QSize>("display");
        QTest::newRow("240x320") << QSize(240, 320);
        QTest::newRow("480x640") << QSize(480, 640);
    }
    void pagesFitTheDisplay()
    {
        QFETCH(QSize, display);
        useDisplay(display);
        VRXPlayerWindow w;
        w.resize(display);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTRY_VERIFY(!w.library()->catalogue().empty());
        w.library()->addAll();
        w.setFile(quavrixTestRoot() + QStringLiteral("/music/stereo.ogg"));
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
            shot.save(screenshotPath(QString::fromLatin1(page->metaObject()->className()).toLower(), display));
        }
        TrackInfo* info = w.player()->infoDisplay();
        QVERIFY(info->fontMetrics().horizontalAdvance(info->shownInfo()) <= info->infoPanel().width());
        QVERIFY(info->shownInfo().contains(QLatin1String("kbps")));
        w.stop();
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
