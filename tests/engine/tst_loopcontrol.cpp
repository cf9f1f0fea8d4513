// The playback controller: states, the end of a track and the next one without a gap,
// pause, seek and the position, and the races between the worker and stop/open. (What it
// tells the display is checked through the player window.)
#include "decodehelpers.h"
#include "testdecoders.h"

#include <QElapsedTimer>
#include <QScopeGuard>
#include <QThread>

class TestLoopControl : public QObject
{
    Q_OBJECT

    QString m_dsp, m_track, m_track2;

    // What the pattern decoder plays from a byte offset on.
    static QByteArray pattern(int64_t from, int64_t n)
    {
        QByteArray b(int(n), Qt::Uninitialized);
        for (int64_t i = 0; i < n; ++i)
            b[int(i)] = TestTrack::byteAt(from + i);
        return b;
    }

    static QList<int> states(const QSignalSpy& spy)
    {
        QList<int> s;
        for (const auto& args : spy)
            s << args[0].toInt();
        return s;
    }

private slots:
    void initTestCase()
    {
        setDecoderFactory(makePatternDecoder);
        m_dsp = qEnvironmentVariable("QUAVRIX_DSP");
        m_track = writeFile(QStringLiteral("track.mp3"), QByteArray());
        m_track2 = writeFile(QStringLiteral("other.ogg"), QByteArray());
    }

    void init()
    {
        TestTrack::reset();
        PatternDecoder::closedDecodes = 0;
        QFile::remove(m_dsp);
    }

    void cleanup() { QCOMPARE(PatternDecoder::closedDecodes.load(), 0); }

    // Play, pause, resume and stop after an open that worked, failed or never was: the
    // states in order, no end, and a description only for the track that opened.
    void stateSequence_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("damaged");
        QTest::addColumn<QList<int>>("states");
        QTest::newRow("a track") << "track.mp3" << false << QList<int>{1, 0, 2, 3, 1};
        QTest::newRow("no track") << "" << false << QList<int>{0, 2, 3, 1};
        QTest::newRow("missing file") << "absent.mp3" << false << QList<int>{1, 0, 2, 3, 1};
        QTest::newRow("decoder cannot open it") << "track.mp3" << true << QList<int>{1, 0, 2, 3, 1};
    }
    void stateSequence()
    {
        QFETCH(QString, file);
        QFETCH(bool, damaged);
        TestTrack::totalBytes = 1 << 30; // does not end during the test
        TestTrack::blockDelayUs = 2000;
        TestTrack::tags.insert(m_track, makeTags("Song", "Band"));
        TestTrack::failOpen = damaged;
        LoopControl control;
        QSignalSpy state(&control, &LoopControl::stateChanged);
        QSignalSpy finished(&control, &LoopControl::finished);
        QStringList described;
        connect(&control, &LoopControl::setTrackDescription, this, [&](AudioInfo* info) { described << QString::fromUtf8(info->title); });
        if (damaged)
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^Canot open ")));
        if (!file.isEmpty())
            QCOMPARE(control.open(quavrixTestRoot() + QLatin1Char('/') + file), file == QLatin1String("track.mp3") && !damaged);
        control.play();
        control.setPaused(true);
        control.setPaused(false);
        QTest::qWait(20);
        control.stop();
        QTEST(states(state), "states");
        QCOMPARE(described, file == QLatin1String("track.mp3") && !damaged ? QStringList{QStringLiteral("Song")} : QStringList());
        QCOMPARE(finished.size(), 0);
        QCOMPARE(control.positionMs(), 0);
    }

    // A track plays to its last byte and finishes once, on the GUI thread. With a next file
    // the worker goes on at once: both tracks reach the device whole and back to back, and
    // finished() says which file it went on with; the last end says none.
    void endOfTrackAndTheNextWithoutAGap_data()
    {
        QTest::addColumn<int>("bytes");
        QTest::addColumn<QString>("next");
        QTest::addColumn<bool>("continues");
        QTest::newRow("ends inside a block") << 10 * 2048 + 100 << "" << false;
        QTest::newRow("empty track") << 0 << "" << false;
        QTest::newRow("next track of another type") << 6 * 2048 + 100 << "other.ogg" << true;
        QTest::newRow("next file gone: the track simply ends") << 6 * 2048 + 100 << "gone.mp3" << false;
    }
    void endOfTrackAndTheNextWithoutAGap()
    {
        QFETCH(int, bytes);
        QFETCH(QString, next);
        QFETCH(bool, continues);
        next = next.isEmpty() ? next : quavrixTestRoot() + QLatin1Char('/') + next;
        TestTrack::totalBytes = bytes;
        TestTrack::tags.insert(m_track, makeTags("First"));
        TestTrack::tags.insert(m_track2, makeTags("Second"));
        LoopControl control;
        QSignalSpy state(&control, &LoopControl::stateChanged);
        QStringList ends, titles;
        bool onGuiThread = true;
        connect(&control, &LoopControl::finished, this, [&] {
            ends << control.continuedWith() + QLatin1Char('|') + control.currentFile();
            onGuiThread = onGuiThread && QThread::currentThread() == qApp->thread();
        });
        connect(&control, &LoopControl::setTrackDescription, this, [&](AudioInfo* info) { titles << QString::fromUtf8(info->title); });
        QVERIFY(control.open(m_track));
        control.setNext(next);
        if (!next.isEmpty() && !continues)
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^\\+ cannot go on with ")));
        control.play();
        QTRY_COMPARE(ends.size(), continues ? 2 : 1);
        QTest::qWait(50);
        QVERIFY(onGuiThread);
        QCOMPARE(ends.join(QLatin1Char(' ')), continues ? next + QLatin1Char('|') + next + QStringLiteral(" |") : QStringLiteral("|"));
        QCOMPARE(titles.join(QLatin1Char(' ')), continues ? QStringLiteral("First Second") : QStringLiteral("First"));
        QCOMPARE(readFile(m_dsp), continues ? pattern(0, bytes) + pattern(0, bytes) : pattern(0, bytes));
        QCOMPARE(states(state).mid(1), (QList<int>{0, 1}));
    }

    // The worker has reported the end (of the track, or of the next one it went on with)
    // and the report waits in the queue when the user stops or opens another track: that
    // track was ended by the user, no finished() and no new description may follow.
    void userEndingATrackWinsOverItsReportedEnd_data()
    {
        QTest::addColumn<bool>("withNext");
        QTest::addColumn<bool>("byOpen");
        QTest::newRow("stop") << false << false;
        QTest::newRow("open of another track") << false << true;
        QTest::newRow("stop after it went on with the next file") << true << false;
    }
    void userEndingATrackWinsOverItsReportedEnd()
    {
        QFETCH(bool, withNext);
        QFETCH(bool, byOpen);
        TestTrack::totalBytes = 3 * 2048;
        LoopControl control;
        QSignalSpy finished(&control, &LoopControl::finished);
        QVERIFY(control.open(m_track));
        if (withNext)
            control.setNext(m_track2);
        control.play();
        // No events are handled here, so the report cannot be delivered before the stop.
        QElapsedTimer clock;
        clock.start();
        while (control.isPlaying() && clock.elapsed() < 5000)
            QThread::msleep(1);
        QVERIFY(!control.isPlaying());
        QSignalSpy described(&control, &LoopControl::setTrackDescription);
        if (byOpen)
            QVERIFY(control.open(m_track2));
        else
            control.stop();
        QTest::qWait(50);
        QCOMPARE(finished.size(), 0);
        QCOMPARE(described.size(), byOpen ? 1 : 0);
    }

    // The position is what has been heard, not what was handed to the output: without a
    // sound device the clock takes blocks up to 200 ms ahead, and the time shown, a
    // bookmark and "Prev within five seconds" must not run that far ahead. (Under load the
    // position can only fall behind the wall clock, never lead it.)
    void positionIsWhatIsHeard()
    {
        qputenv("QUAVRIX_DSP", QFile::encodeName(m_dsp + QStringLiteral("-missing/dsp")));
        const auto restore = qScopeGuard([this] { qputenv("QUAVRIX_DSP", QFile::encodeName(m_dsp)); });
        TestTrack::totalBytes = int64_t(60) * 44100 * 4;
        LoopControl control;
        QVERIFY(control.open(m_track));
        QElapsedTimer clock;
        clock.start();
        control.play();
        for (int i = 0; i < 30; ++i) {
            QTest::qWait(10);
            QVERIFY2(control.positionMs() <= clock.elapsed() + 30, qPrintable(QString::number(control.positionMs())));
        }
        QVERIFY(control.positionMs() > 0);
    }

    // A seek asked while paused is applied on resume, one asked while stopped to the
    // next track: what reaches the device next is the track from there, and the
    // position counts from there.
    void seekLandsWhereAsked_data()
    {
        QTest::addColumn<bool>("whilePaused");
        QTest::newRow("while paused") << true;
        QTest::newRow("while stopped") << false;
    }
    void seekLandsWhereAsked()
    {
        QFETCH(bool, whilePaused);
        TestTrack::totalBytes = int64_t(60) * 44100 * 4;
        TestTrack::blockDelayUs = 1000;
        LoopControl control;
        if (!whilePaused)
            control.seek(10);
        QVERIFY(control.open(m_track));
        control.play();
        int before = 0;
        if (whilePaused) {
            QTRY_VERIFY(readFile(m_dsp).size() > 4 * 2048);
            control.setPaused(true);
            QTest::qWait(30);
            before = int(readFile(m_dsp).size());
            control.seek(10);
            QTest::qWait(50);
            QCOMPARE(int(readFile(m_dsp).size()), before); // nothing happens while paused
            control.setPaused(false);
        }
        QTRY_VERIFY(readFile(m_dsp).size() > before + 2048);
        control.setPaused(true);
        QTest::qWait(30);
        const QByteArray all = readFile(m_dsp);
        const int64_t seekBytes = int64_t(10) * 44100 * 4;
        QCOMPARE(all.mid(before, 2048), pattern(seekBytes, 2048));
        QCOMPARE(control.positionMs(), (seekBytes + all.size() - before) * 1000 / 44100 / 4);
        control.stop();
    }
};

QUAVRIX_TEST_MAIN(TestLoopControl)
#include "tst_loopcontrol.moc"
