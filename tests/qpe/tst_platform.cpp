// File types, tag-text codecs and key codes.
#include "testmain.h"

#include "keycodes.h"
#include "mimetype.h"
#include "textcodec.h"

static const QByteArray sjis("\x93\xfa\x96\x7b\x8c\xea");              // 日本語
static const QByteArray eucjp("\xc6\xfc\xcb\xdc\xb8\xec");             // 日本語
static const QByteArray utf8("\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e"); // 日本語
static const QByteArray latin1("Caf\xe9 \xdc" "ber");                  // Café Über

class TestPlatform : public QObject
{
    Q_OBJECT

private slots:
    void mimeTypesByExtension_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("id");
        QTest::newRow("mp3") << "/m/a.mp3" << "audio/mpeg";
        QTest::newRow("MP3 upper") << "/m/A.MP3" << "audio/mpeg";
        QTest::newRow("ogg") << "x.ogg" << "audio/ogg";
        QTest::newRow("oga") << "x.Oga" << "audio/ogg";
        QTest::newRow("m4a") << "x.m4a" << "audio/quicktime";
        QTest::newRow("m4b") << "x.M4B" << "audio/quicktime";
        QTest::newRow("mp4") << "x.mp4" << "audio/quicktime";
        QTest::newRow("wav") << "x.wav" << "";
        QTest::newRow("no extension") << "/m/mp3" << "";
        QTest::newRow("dot in folder only") << "/m.mp3/file" << "";
        QTest::newRow("trailing dot") << "/m/a." << "";
    }
    void mimeTypesByExtension()
    {
        QFETCH(QString, file);
        QFETCH(QString, id);
        QCOMPARE(MimeType(file).id(), id);
    }

    // How well tag bytes fit each codec: -1 not at all, 0 no evidence (ASCII), 1 a fit.
    void codecScores_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<int>>("fits"); // SJIS, eucJP, UTF-8; 9: not looked at
        QTest::newRow("SJIS") << sjis << QList<int>{1, -1, -1};
        QTest::newRow("eucJP") << eucjp << QList<int>{-1, 1, -1}; // its pairs have an SJIS shape, but no clean decoding
        QTest::newRow("UTF-8") << utf8 << QList<int>{-1, -1, 1};
        QTest::newRow("Latin-1 accents") << latin1 << QList<int>{-1, -1, -1};
        QTest::newRow("Latin-1 DE D3 52: no continuation byte") << QByteArray("\xde\xd3R") << QList<int>{0, 1, -1};
        QTest::newRow("Latin-1 with SJIS-unmapped pairs") << QByteArray("Bj\xf6rk M\xfcller") << QList<int>{-1, -1, -1};
        QTest::newRow("SJIS user-defined pair") << QByteArray("\xf0\x40") << QList<int>{-1, -1, -1};
        QTest::newRow("ASCII") << QByteArray("Hello") << QList<int>{0, 0, 0};
        QTest::newRow("UTF-8 cut short") << QByteArray("\xe6\x97") << QList<int>{9, 9, -1};
        QTest::newRow("UTF-8 overlong two bytes") << QByteArray("\xc0\xaf") << QList<int>{9, 9, -1};
        QTest::newRow("UTF-8 overlong three bytes") << QByteArray("\xe0\x80\x80") << QList<int>{9, 9, -1};
        QTest::newRow("UTF-8 overlong four bytes") << QByteArray("\xf0\x80\x80\x80") << QList<int>{9, 9, -1};
        QTest::newRow("UTF-8 surrogate") << QByteArray("\xed\xa0\x80") << QList<int>{9, 9, -1};
    }
    void codecScores()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<int>, fits);
        QList<int> got;
        for (const char* codec : {"SJIS", "eucJP", "UTF-8"})
            got << qBound(-1, TextCodec::heuristicContentMatch(codec, bytes.constData(), int(bytes.size())), 1);
        for (int i = 0; i < 3; ++i)
            got[i] = fits[i] == 9 ? 9 : got[i];
        QCOMPARE(got, fits);
        QVERIFY(!TextCodec::exists("KOI8-R"));
    }

    // Qt's keys and modifiers to the platform's codes and back.
    void keyCodesConvertAtTheEdge()
    {
        const std::pair<int, int> keys[] = {{Qt::Key_Escape, 0x1000}, {Qt::Key_Backspace, 0x1003}, {Qt::Key_Left, 0x1012},
                                            {Qt::Key_Up, 0x1013}, {Qt::Key_Right, 0x1014}, {Qt::Key_Down, 0x1015},
                                            {Qt::Key_Shift, 0x1020}, {Qt::Key_F1, 0x1030}, {Qt::Key_F11, 0x103a},
                                            {Qt::Key_Space, 0x20}, {Qt::Key_A, 0x41}};
        for (const auto& [qt, code] : keys) {
            QCOMPARE(qt2Key(qt), code);
            QCOMPARE(qt6Key(code), qt);
        }
        QCOMPARE(qt2Modifiers(Qt::ShiftModifier | Qt::KeypadModifier), 0x100);
        QCOMPARE(qt2Modifiers(Qt::ControlModifier | Qt::AltModifier), 0x600);
        QCOMPARE(qt2Modifiers(Qt::MetaModifier), 0x800);
    }

    // Keys Qt 6 numbers outside its 0x01000000 + n block must not be folded onto classic
    // keys (Context1 onto Escape, Select onto Escape, Cancel onto Tab).
    void extendedKeysHaveCodesOfTheirOwn()
    {
        const QList<int> extended = {Qt::Key_Context1, Qt::Key_Context2, Qt::Key_Call,
                                     Qt::Key_Hangup, Qt::Key_Flip, Qt::Key_Camera,
                                     Qt::Key_Select, Qt::Key_Yes, Qt::Key_No, Qt::Key_Cancel,
                                     Qt::Key_Play, Qt::Key_Sleep, Qt::Key_Multi_key};
        QSet<int> seen;
        for (int k = 0x01000000; k <= 0x0100011f; ++k)
            seen.insert(qt2Key(k));
        for (int k = 0x20; k <= 0xff; ++k)
            seen.insert(qt2Key(k));
        for (int k : extended) {
            const int code = qt2Key(k);
            QVERIFY2(!seen.contains(code), qPrintable(QString::number(k, 16)));
            seen.insert(code);
            QVERIFY(code > 0 && code < KeyShiftBit);
            QCOMPARE(qt6Key(code), k);
        }
        QCOMPARE(qt2Key(Qt::Key_Call), 0x110004);
        QCOMPARE(qt2Key(Qt::Key_Select), 0x101000);
        QCOMPARE(keyName(qt2Key(Qt::Key_Call)), QKeySequence(Qt::Key_Call).toString(QKeySequence::NativeText));
    }

    void keyCodeRules_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("code");
        QTest::newRow("no modifier") << 0x1013 << 0 << 0x1013;
        QTest::newRow("shift adds 0x200000") << 0x1014 << 0x100 << 0x201014;
        QTest::newRow("control adds 0x400000") << 0x41 << 0x200 << 0x400041;
        QTest::newRow("alt adds 0x800000") << 0x1014 << 0x400 << 0x801014;
        QTest::newRow("old shift state") << 0x41 << 8 << 0x200041;
        QTest::newRow("old control state") << 0x41 << 16 << 0x400041;
        QTest::newRow("old alt state") << 0x41 << 32 << 0x800041;
        QTest::newRow("shift+control adds nothing") << 0x1014 << 0x300 << 0x1014;
        QTest::newRow("shift+alt adds nothing") << 0x41 << 0x500 << 0x41;
        QTest::newRow("meta adds nothing") << 0x41 << 0x800 << 0x41;
        QTest::newRow("shift key excluded") << 0x1020 << 0x100 << -1;
        QTest::newRow("control key excluded") << 0x1021 << 0 << -1;
        QTest::newRow("alt key excluded") << 0x1023 << 0 << -1;
        QTest::newRow("0x1045 excluded") << 0x1045 << 0 << -1;
        QTest::newRow("meta key bindable") << 0x1022 << 0 << 0x1022;
    }
    void keyCodeRules()
    {
        QFETCH(int, key);
        QFETCH(int, state);
        QFETCH(int, code);
        QCOMPARE(keyCode(key, state), code);
    }

    void keyNames()
    {
        QCOMPARE(keyName(0), QString());
        QCOMPARE(keyName(0x1014), QStringLiteral("Right"));
        QCOMPARE(keyName(0x201014), QStringLiteral("Shift+Right"));
        QCOMPARE(keyName(0x400041), QStringLiteral("Ctrl+A"));
        QCOMPARE(keyName(0x20), QStringLiteral("Space"));
        QCOMPARE(keyName(0x1003), QStringLiteral("Backspace"));
        QCOMPARE(keyName(0x200000), QStringLiteral("Shift+0x0000"));
    }
};

QUAVRIX_TEST_MAIN(TestPlatform)
#include "tst_platform.moc"
