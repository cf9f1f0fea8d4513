#include "testmain.h"

#include "../qt/screenshot.h"
#include "audioinfo.h"
#include "framepainter.h"
#include "playinfo.h"
#include "trackdescription.h"
#include "trackinfo.h"

#include <tuple>

// The track display: texts, elision, time formats, panels and colours.
class TestTrackDisplay : public QObject
{
    Q_OBJECT
private:
    static PlayInfo play(int channels, int rate, int bitrate, int length)
    {
        PlayInfo p{};
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
        struct Case { const char *title, *artist, *album, *first, *second; };
        const Case cases[] = {{"  Title  ", " Artist ", " Album ", "Title", "Artist - Album"},
                              {"T", "", "X", "T", "X"},
                              {"T", "A", "", "T", "A"},
                              {"", "", "", "", ""},
                              {"Ça va", "Björk", "", "Ça va", "Björk"}};
        TrackDescription d;
        for (const Case& c : cases) {
            AudioInfo a;
            AudioInfo::setText(a.title, c.title);
            AudioInfo::setText(a.artist, c.artist);
            AudioInfo::setText(a.album, c.album);
            d.setDescription(&a);
            QCOMPARE(d.firstLine(), QString::fromUtf8(c.first));
            QCOMPARE(d.secondLine(), QString::fromUtf8(c.second));
        }
        d.setDescription(nullptr);
        QCOMPARE(d.firstLine() + d.secondLine(), QString());
    }

    void elision()
    {
        TrackDescription d;
        const QFontMetrics fm = d.fontMetrics();
        const QString text = QStringLiteral("A rather long title that will not fit");
        const int w = fm.horizontalAdvance(text);
        QCOMPARE(d.elideText(text, w + 1), text);
        // As wide as the text or narrower: the longest prefix that fits with "..." in
        // front of it (the text must be narrower than the width).
        for (int width : {w, 100}) {
            const QString cut = d.elideText(text, width);
            QVERIFY(cut.endsWith("..."));
            const QString prefix = cut.chopped(3);
            QVERIFY(text.startsWith(prefix));
            QVERIFY(fm.horizontalAdvance("..." + prefix) < width);
            QVERIFY(fm.horizontalAdvance("..." + text.left(prefix.size() + 1)) >= width);
        }
        // Narrower than any character: the first character and "...".
        QCOMPARE(d.elideText(text, 1), QStringLiteral("A..."));
        QCOMPARE(d.elideText(text, -5), QStringLiteral("A..."));
        QCOMPARE(d.elideText(QString(), 0), QStringLiteral("..."));
        QCOMPARE(d.elideText(QString(), 10), QString());

        // Text outside the Basic Multilingual Plane: at no width does a cut split a
        // surrogate pair (a lone half draws as a replacement box).
        // (Emoji, and mathematical letters, which the installed fonts do draw.)
        const QString emoji = QString::fromUtf8("\xF0\x9F\x8E\xB5 Song \xF0\x9F\x8E\xB6\xF0\x9F\x8E\xB8"
                                                "\xF0\x9F\x8E\xB9 \xF0\x9D\x90\x80\xF0\x9D\x90\x81"
                                                "\xF0\x9D\x90\x82\xF0\x9D\x90\x83 end");
        for (int width = -1; width <= fm.horizontalAdvance(emoji) + 1; ++width) {
            QString prefix = d.elideText(emoji, width);
            if (prefix.endsWith(QLatin1String("...")))
                prefix.chop(3);
            QVERIFY(!prefix.isEmpty());
            QVERIFY2(!prefix.back().isHighSurrogate(), qPrintable(QString::number(width)));
        }
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
        // Channels other than one count as stereo; rates in whole kHz.
        const std::tuple<int, int, int, const char*> cases[] = {
            {2, 44100, 128000, "128 kbps 44 kHz stereo 03:35"}, {1, 22050, 0, "0 kbps 22 kHz mono 03:35"},
            {0, 8000, 999, "0 kbps 8 kHz stereo 03:35"}, {6, 48000, 320000, "320 kbps 48 kHz stereo 03:35"}};
        TrackInfo t;
        for (const auto& [channels, rate, bitrate, text] : cases) {
            PlayInfo p = play(channels, rate, bitrate, 215);
            t.setPosition(65, &p);
            QCOMPARE(t.infoText(), QLatin1String(text));
            QCOMPARE(t.timeText(), QStringLiteral("01:05"));
        }
        t.setPosition(10, nullptr);
        QCOMPARE(t.infoText() + t.timeText(), QString());
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
            AudioInfo a;
            AudioInfo::setText(a.title, "Northern Lights Over the Harbour at Dawn");
            AudioInfo::setText(a.artist, "The Examples");
            desc->setDescription(&a);
            PlayInfo p = play(2, 44100, 128000, 215);
            info->setPosition(65, &p);
            panel.show();
            QVERIFY(QTest::qWaitForWindowExposed(&panel));
            // The time panel fits "000:00"; the info panel takes the rest after a gap.
            const int w0 = info->fontMetrics().horizontalAdvance("000:00");
            QCOMPARE(info->timePanel(), QRect(0, 0, w0 + 14, info->height()));
            QCOMPARE(info->infoPanel(), QRect(w0 + 14 + 7, 0, w - (w0 + 14) - 14, info->height()));
            const QImage dimg = saveScreenshot(desc, "trackdescription", d);
            const QImage iimg = saveScreenshot(info, "trackinfo", d);
            saveScreenshot(&panel, "trackdisplay", d);
            const int ls = desc->fontMetrics().lineSpacing();
            QCOMPARE(desc->height(), 2 * ls + 10);
            // Text in the text colour on both lines; the panel colour in the frame's middle.
            QVERIFY(hasTextColour(dimg, QRect(11, 5, w - 22, ls)));
            QVERIFY(hasTextColour(dimg, QRect(11, ls + 5, w - 22, ls)));
            QCOMPARE(QColor(dimg.pixel(13, desc->height() / 2)), FramePainter::panelColor());
            QVERIFY(hasTextColour(iimg, info->timePanel().adjusted(3, 3, -3, -3)));
            QVERIFY(hasTextColour(iimg, info->infoPanel()));
            // A narrow panel drops whole fields from the right, never part of a number.
            const QString shown = info->shownInfo();
            QVERIFY(info->fontMetrics().horizontalAdvance(shown) <= info->infoPanel().width());
            QVERIFY2(shown.startsWith(QLatin1String("128 kbps")), qPrintable(shown));
            QVERIFY(info->infoText().startsWith(shown));
            const QString rest = info->infoText().mid(shown.size());
            QVERIFY2(rest.isEmpty() || rest.startsWith(QLatin1Char(' ')), qPrintable(shown));
            if (d.width() >= 480)
                QCOMPARE(shown, info->infoText());
            info->resize(120, info->height());
            QCOMPARE(info->shownInfo(), QStringLiteral("128 kbps"));
            info->resize(w, info->height());
            info->setPosition(0, nullptr);
            const QImage blank = info->grab().toImage();
            QCOMPARE(QColor(blank.pixel(info->timePanel().center())), FramePainter::panelColor());
            QCOMPARE(QColor(blank.pixel(info->infoPanel().center())), FramePainter::panelColor());
            // The gap between the two panels is the frame's edge, not the panel colour.
            QVERIFY(QColor(blank.pixel(info->timePanel().right(), info->height() / 2)) != FramePainter::panelColor());
        }
    }
};

QUAVRIX_TEST_MAIN(TestTrackDisplay)
#include "tst_trackdisplay.moc"
