// The three pages of the running player at the smallest and a large display, with real
// files from the fixtures: nothing may need more room than the display has. The pictures
// land in <build>/screenshots (scripts/screenshots.sh copies them to docs/).
#include "testmain.h"
#include "../qt/screenshot.h"

#include "config.h"
#include "medialibrary.h"
#include "player.h"
#include "playlist.h"
#include "settingskeys.h"
#include "trackinfo.h"
#include "visualization.h"
#include "vrtabwidget.h"
#include "vrxplayerwindow.h"

#include <QDir>
#include <QFile>
#include <QPainter>

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
};

QUAVRIX_TEST_MAIN(TestScreens)
#include "tst_screens.moc"
