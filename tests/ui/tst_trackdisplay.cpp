#include "testmain.h"

#include "../qt/screenshot.h"
#include "audioinfo.h"
#include "framepainter.h"
#include "playinfo.h"
#include "trackdescription.h"
#include "trackinfo.h"

// The track display: texts, elision, time formats, panels and colours.
class TestTrackDisplay : public QObject
{
    Q_OBJECT
private:
    static AudioInfo info(const char* title, const char* artist, const char* album)
    {
        AudioInfo a;
        AudioInfo::setText(a.title, title);
        AudioInfo::setText(a.artist, artist);
        AudioInfo::setText(a.album, album);
        return a;
    }
    static PlayInfo play(int channels, int rate, int bitrate, int length)
    {
        PlayInfo p;
        p.channels = channels;
        p.rate = rate;
        p.bitrate = bitrate;
        p.length = length;
        return p;
    }
    // Whether any pixel of the rectangle has the text colour (anti-aliased text has it
    // at the core of the strokes).
    static bool hasTextColour(const QImage& img, const QRect& r)
    {
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (img.pixel(x, y) == qRgb(0x50, 0x50, 0x50))
                    return true;
        return false;
    }

private slots:
    void initTestCase()
    {
        qputenv("QUAVRIX_QPEDIR", QByteArray(QUAVRIX_BUILD_DIR "/share/quavrix"));
        useDisplay(QSize(240, 320));
    }

    void descriptionTexts()
    {
        TrackDescription d;
        QCOMPARE(d.height(), 2 * d.fontMetrics().lineSpacing() + 10);
        AudioInfo a = info("  Title  ", " Artist ", " Album ");
        d.setDescription(&a);
        QCOMPARE(d.firstLine(), QStringLiteral("Title"));
        QCOMPARE(d.secondLine(), QStringLiteral("Artist - Album"));
        AudioInfo onlyAlbum = info("T", "", "X");
        d.setDescription(&onlyAlbum);
        QCOMPARE(d.secondLine(), QStringLiteral("X"));
        AudioInfo onlyArtist = info("T", "A", "");
        d.setDescription(&onlyArtist);
        QCOMPARE(d.secondLine(), QStringLiteral("A"));
        AudioInfo empty = info("", "", "");
        d.setDescription(&empty);
        QCOMPARE(d.firstLine(), QString());
        QCOMPARE(d.secondLine(), QString());
        AudioInfo utf = info("Ça va", "Björk", "");
        d.setDescription(&utf);
        QCOMPARE(d.firstLine(), QString::fromUtf8("Ça va"));
        d.setDescription(nullptr);
        QCOMPARE(d.firstLine(), QString());
        QCOMPARE(d.secondLine(), QString());
    }

    void elision()
    {
        TrackDescription d;
        const QFontMetrics fm = d.fontMetrics();
        const QString text = QStringLiteral("A rather long title that will not fit");
        QCOMPARE(d.elideText(text, fm.horizontalAdvance(text) + 1), text);
        // Exactly as wide: cut (the text must be narrower than the width).
        const int w = fm.horizontalAdvance(text);
        const QString cut = d.elideText(text, w);
        QVERIFY(cut.endsWith("..."));
        const QString prefix = cut.chopped(3);
        QVERIFY(text.startsWith(prefix));
        QVERIFY(fm.horizontalAdvance("..." + prefix) < w);
        QVERIFY(fm.horizontalAdvance("..." + text.left(prefix.size() + 1)) >= w);
        const QString narrow = d.elideText(text, 100);
        QVERIFY(fm.horizontalAdvance("..." + narrow.chopped(3)) < 100);
        QVERIFY(fm.horizontalAdvance("..." + text.left(narrow.size() - 2)) >= 100);
        // Narrower than any character: the first character and "...".
        QCOMPARE(d.elideText(text, 1), QStringLiteral("A..."));
        QCOMPARE(d.elideText(text, -5), QStringLiteral("A..."));
        QCOMPARE(d.elideText(QString(), 0), QStringLiteral("..."));
        QCOMPARE(d.elideText(QString(), 10), QString());
    }

    void timeFormats_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << 0 << "00:00";
        QTest::newRow("59") << 59 << "00:59";
        QTest::newRow("215") << 215 << "03:35";
        QTest::newRow("1h2m5s") << 3725 << "02:05";
        QTest::newRow("24h") << 86400 << "00:00";
        QTest::newRow("24h+61") << 86461 << "01:01";
    }
    void timeFormats()
    {
        QFETCH(int, seconds);
        QFETCH(QString, text);
        QCOMPARE(TrackInfo::minutesSeconds(seconds), text);
        TrackInfo t;
        PlayInfo p = play(2, 44100, 128000, seconds);
        t.setPosition(seconds, &p);
        QCOMPARE(t.timeText(), text);
        QVERIFY(t.infoText().endsWith(text));
    }

    void infoTexts()
    {
        TrackInfo t;
        QCOMPARE(t.height(), t.fontMetrics().lineSpacing() + 10);
        PlayInfo p = play(2, 44100, 128000, 215);
        t.setPosition(65, &p);
        QCOMPARE(t.infoText(), QStringLiteral("128 kbps 44 kHz stereo 03:35"));
        QCOMPARE(t.timeText(), QStringLiteral("01:05"));
        p = play(1, 22050, 0, 0);
        t.setPosition(0, &p);
        QCOMPARE(t.infoText(), QStringLiteral("0 kbps 22 kHz mono 00:00"));
        p = play(0, 8000, 999, 1);
        t.setPosition(0, &p);
        QCOMPARE(t.infoText(), QStringLiteral("0 kbps 8 kHz stereo 00:01"));
        p = play(6, 48000, 320000, 60);
        t.setPosition(0, &p);
        QCOMPARE(t.infoText(), QStringLiteral("320 kbps 48 kHz stereo 01:00"));
        t.setPosition(10, nullptr);
        QCOMPARE(t.infoText(), QString());
        QCOMPARE(t.timeText(), QString());
    }

    void panels()
    {
        TrackInfo t;
        t.resize(240, t.height());
        t.show();
        QVERIFY(QTest::qWaitForWindowExposed(&t));
        const int w0 = t.fontMetrics().horizontalAdvance("000:00");
        QCOMPARE(t.timePanel(), QRect(0, 0, w0 + 14, t.height()));
        QCOMPARE(t.infoPanel(), QRect(w0 + 14 + 7, 0, 240 - (w0 + 14) - 14, t.height()));
    }

    void screenshots()
    {
        for (QSize d : {QSize(240, 320), QSize(480, 640)}) {
            useDisplay(d);
            QVERIFY2(!FramePainter::frameImage().isNull(), "pictures not rendered");
            QWidget panel;
            auto* desc = new TrackDescription(&panel);
            auto* info = new TrackInfo(&panel);
            const int w = d.width() - 8;
            desc->setGeometry(4, 4, w, desc->height());
            info->setGeometry(4, 8 + desc->height(), w, info->height());
            panel.resize(d.width(), 12 + desc->height() + info->height());
            AudioInfo a = info_("Northern Lights Over the Harbour at Dawn", "The Examples", "Sample Album");
            desc->setDescription(&a);
            PlayInfo p = play(2, 44100, 128000, 215);
            info->setPosition(65, &p);
            panel.show();
            QVERIFY(QTest::qWaitForWindowExposed(&panel));
            const QImage dimg = saveScreenshot(desc, "trackdescription", d);
            const QImage iimg = saveScreenshot(info, "trackinfo", d);
            saveScreenshot(&panel, "trackdisplay", d);
            const int ls = desc->fontMetrics().lineSpacing();
            // Text in the text colour on both lines; the panel colour in the frame's middle.
            QVERIFY(hasTextColour(dimg, QRect(11, 5, w - 22, ls)));
            QVERIFY(hasTextColour(dimg, QRect(11, ls + 5, w - 22, ls)));
            QCOMPARE(QColor(dimg.pixel(13, desc->height() / 2)), FramePainter::panelColor());
            QVERIFY(hasTextColour(iimg, info->timePanel().adjusted(3, 3, -3, -3)));
            QVERIFY(hasTextColour(iimg, info->infoPanel()));
            info->setPosition(0, nullptr);
            const QImage blank = info->grab().toImage();
            QCOMPARE(QColor(blank.pixel(info->timePanel().center())), FramePainter::panelColor());
            QCOMPARE(QColor(blank.pixel(info->infoPanel().center())), FramePainter::panelColor());
            // The gap between the two panels is the frame's edge, not the panel colour.
            QVERIFY(QColor(blank.pixel(info->timePanel().right(), info->height() / 2)) != FramePainter::panelColor());
        }
    }

private:
    static AudioInfo info_(const char* t, const char* a, const char* al) { return info(t, a, al); }
};

QUAVRIX_TEST_MAIN(TestTrackDisplay)
#include "tst_trackdisplay.moc"
