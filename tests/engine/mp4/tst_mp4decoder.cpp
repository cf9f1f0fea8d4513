// MP4 files taken apart: the user-data walk and the decoder configuration on hand-built
// data; the sample tables against the frames ffmpeg's demuxer reported for the fixtures,
// on built tables, and with lying fields that must be refused or cut, never believed.
// Mp4Decoder with the real AAC decoder program on ffmpeg-made files (tests/data/mp4/README),
// against FAAD2 decoding the same frames in this process, and through the controller; and
// the player's side of the program's protocol against a scripted program
// (fakeaacdecoder.cpp): a track ends whatever the program does.

#include "mp4damage.h"

#include "aacdecoder.h"
#include "mp4atoms.h"
#include "mp4decoder.h"
#include "mp4sampletable.h"

#include <neaacdec.h>

using namespace Mp4Atoms;
using namespace Mp4Damage;

namespace {
const char* const kStereo = "mp4/stereo-tagged.m4a"; // 3 s at 44.1 kHz, 132300 frames of samples
const char* const kMono = "mp4/mono.m4a";            // 2 s at 22.05 kHz, 44100

// The frames of the file, found through the table ffmpeg's demuxer reported for it,
// decoded straight from its decoder configuration (AAC LC at the fixture's rate and
// channels, as the README's commands made it). The decoder's first frame only primes it
// and yields nothing: it stands for the stream's first frame of samples, which the edit
// list of these files marks as encoder priming, so the rest is the track itself, cut to
// the edit's length.
QByteArray referencePcm(bool mono)
{
    QByteArray pcm;
    const QByteArray bytes = readFile(fixture(mono ? kMono : kStereo));
    unsigned char config[2] = {0x12, 0x10};
    if (mono)
        config[0] = 0x13, config[1] = 0x88;
    NeAACDecHandle dec = NeAACDecOpen();
    NeAACDecConfigurationPtr c = NeAACDecGetCurrentConfiguration(dec);
    c->outputFormat = FAAD_FMT_16BIT;
    c->dontUpSampleImplicitSBR = 1;
    NeAACDecSetConfiguration(dec, c);
    unsigned long rate = 0;
    unsigned char channels = 0;
    if (NeAACDecInit2(dec, config, 2, &rate, &channels) == 0) {
        for (const Packet& p : packets(mono ? "mp4/mono.packets" : "mp4/stereo-tagged.packets")) {
            QByteArray frame = bytes.mid(int(p.position), int(p.size));
            NeAACDecFrameInfo info = {};
            auto* out = static_cast<int16_t*>(NeAACDecDecode(dec, &info, reinterpret_cast<unsigned char*>(frame.data()),
                                                             static_cast<unsigned long>(frame.size())));
            for (unsigned long i = 0; !info.error && out && i < info.samples; i += info.channels) // FAAD2 makes mono stereo
                pcm.append(reinterpret_cast<const char*>(out + i), mono ? 2 : 4);
        }
    }
    NeAACDecClose(dec);
    return pcm.left(mono ? 44100 * 2 : 132300 * 4);
}

// An atom whose length field says something else than its real size.
QByteArray lyingAtom(const QByteArray& type, const QByteArray& body, uint32_t claimed)
{
    return be32(claimed) + type + body;
}

// Text length, language code, text.
QByteArray classicText(const QByteArray& type, const QByteArray& text)
{
    return atom(type, be32(uint32_t(text.size()) << 16 | 0x15c7) + text);
}

QByteArray item(const QByteArray& type, const QByteArray& text)
{
    return atom(type, atom("data", be32(1) + be32(0) + text));
}

QByteArray meta(const QByteArray& children)
{
    return atom("meta", be32(0) + atom("hdlr", be32(0) + "mdirappl" + QByteArray(9, 0)) + children);
}

// The fields the walk found: name|artist|album|notice|info, then |track|year when either is set.
QByteArray walk(const QByteArray& udta)
{
    Tags t;
    parseUserData(reinterpret_cast<const uint8_t*>(udta.constData()), size_t(udta.size()), &t);
    const QByteArray numbers = t.track || t.year ? '|' + QByteArray::number(t.track) + '|' + QByteArray::number(t.year) : QByteArray();
    return t.name + '|' + t.artist + '|' + t.album + '|' + t.notice + '|' + t.info + numbers;
}

// An atom with version and flags 0, then 32-bit fields.
QByteArray fullAtom(const QByteArray& type, const QList<uint32_t>& fields)
{
    QByteArray body = be32(0);
    for (uint32_t f : fields)
        body += be32(f);
    return atom(type, body);
}

// The payload of a movie whose one sound track has the stereo fixture's sample entry and
// the tables given, at 44.1 kHz.
QByteArray movie(const QByteArray& tables)
{
    const QByteArray f = readFile(fixture("mp4/stereo-tagged.m4a"));
    const int stsd = payload(f, "stsd") - 8;
    const QByteArray stbl = atom("stbl", f.mid(stsd, int(get32(f, stsd))) + tables);
    return atom("trak", atom("mdia", fullAtom("mdhd", {0, 0, 44100, 10240}) + fullAtom("hdlr", {0, 0x736f756e, 0, 0, 0})
                                         + atom("minf", stbl)));
}
} // namespace

using namespace AacProtocol;

class TestMp4 : public QObject
{
    Q_OBJECT

    QString m_key;
    int m_case = 0;
    int m_defaultTimeout = AACDecoder::turnTimeoutMs();

    // The scripted program, with a key file (and so a segment), script and log of its own.
    void useScript(const QStringList& steps)
    {
        AACDecoder::removeSharedObjects(); // the previous key's, if any
        m_key = quavrixTestRoot() + QStringLiteral("/key%1").arg(++m_case);
        qputenv(KeyFileVariable, QFile::encodeName(m_key));
        qputenv("QUAVRIX_AACDECODER", QUAVRIX_TESTS_BIN_DIR "/fake_aacdecoder");
        AACDecoder::setTurnTimeoutMs(400);
        writeFile(QStringLiteral("key%1.script").arg(m_case), steps.join(QLatin1Char('\n')).toUtf8() + '\n');
    }

private slots:
    void init()
    {
        qputenv("QUAVRIX_AACDECODER", QUAVRIX_BIN_DIR "/aacdecoder");
        qunsetenv(KeyFileVariable);
        AACDecoder::setTurnTimeoutMs(m_defaultTimeout);
    }
    void cleanup() { AACDecoder::removeSharedObjects(); }

    void positionAndSeek()
    {
        const QByteArray reference = referencePcm(false);
        const int second = 44100 * 4;
        Mp4Decoder decoder;
        QVERIFY(decoder.open(fixture(kStereo), nullptr));
        PlayInfo info;
        QCOMPARE(decodeAll(decoder, &info, 2048, second / 2048 + 1).size(), (second / 2048 + 1) * 2048);
        QCOMPARE(info.position, 1);
        // Forward to second 2, back to the start after the end, back into the middle of a
        // frame: the byte count of that position and the PCM from there. A decoder started
        // mid-stream differs from one that ran from the start only by a few units where the
        // encoder used noise substitution.
        const struct { int to, calls, tolerance, position; } seeks[] = {{2, 1 << 30, 32, 3}, {0, 1 << 30, 2, 3}, {1, 1, 32, 1}};
        for (const auto& s : seeks) {
            QCOMPARE(decoder.seek(s.to), int64_t(s.to) * second);
            const QByteArray pcm = decodeAll(decoder, &info, 2048, s.calls);
            QCOMPARE(pcm.size(), s.calls == 1 ? 2048 : reference.size() - s.to * second);
            QVERIFY(maxDifference(pcm, reference.mid(s.to * second)) <= s.tolerance);
            QCOMPARE(info.position, s.position);
        }
        // Beyond the end: the end.
        QCOMPARE(decoder.seek(60), int64_t(3) * second);
        decoder.close();
        QCOMPARE(decoder.seek(1), int64_t(-1));
    }

    // Damaged copies of the fixtures, and files that are not MP4 at all: each is refused
    // at open, or plays what it holds, never a crash, a hang or a success that played
    // nothing; and the decoder plays the next good file whole.
    void damagedFiles_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("bytes");           // exact PCM bytes, -1 refused, -2 "some, less than the track"
        QTest::addColumn<int>("sameAsReference"); // leading bytes equal to the whole file's PCM
        const QByteArray stereo = readFile(fixture(kStereo));
        const QByteArray mono = readFile(fixture(kMono));
        const int stereoAsc = stereo.indexOf(QByteArray("\x05\x80\x80\x80\x05\x12\x10", 7)) + 5;
        auto withAsc = [&](uint8_t a, uint8_t b) {
            QByteArray f = stereo;
            f[stereoAsc] = char(a);
            f[stereoAsc + 1] = char(b);
            return f;
        };
        QTest::newRow("Ogg file named .m4a") << readFile(fixture("ogg/stereo.ogg")) << -1 << 0;
        QTest::newRow("garbage") << readFile(fixture("ogg/garbage.ogg")) << -1 << 0;
        QTest::newRow("first half of the file") << stereo.left(stereo.size() / 2) << -1 << 0;
        QTest::newRow("configuration 00 00") << withAsc(0, 0) << -1 << 0;
        QTest::newRow("configuration ff ff") << withAsc(0xff, 0xff) << -1 << 0;
        // AAC LC at 7350 Hz: a rate no device takes.
        QTest::newRow("configuration at 7350 Hz") << withAsc(0x16, 0x10) << -1 << 0;
        // AAC SSR, which the decoder refuses: the track ends at once, having played nothing.
        QTest::newRow("configuration the decoder refuses") << withAsc(0x1a, 0x10) << 0 << 0;
        // 16 zeroed bytes inside the 21st frame: that frame (and the one after it, whose
        // overlap it spoils) differs, the track plays to its end.
        QByteArray zeroed = mono;
        zeroed.replace(int(packets("mp4/mono.packets")[20].position) + 4, 16, QByteArray(16, 0));
        QTest::newRow("undecodable frame: silence, then the rest") << zeroed << 44100 * 2 << 18 * 1024 * 2;
        QTest::newRow("cut to 73 %, movie first: what is there") << fastStart(stereo).left(stereo.size() * 73 / 100) << -2 << 44100 * 4;
        // A frame of 8185 bytes cannot carry an ADTS header; the frames after it in its
        // chunk move past the end of the file.
        QTest::newRow("frame of 8185 bytes") << with32(stereo, "stsz", 12 + 10 * 4, 8185) << -2 << 8 * 1024 * 4;
        QTest::newRow("stts delta 0xffffffff") << with32(stereo, "stts", 12, 0xffffffff) << 132300 * 4 << 132300 * 4;
        // The track proper then starts 2^32 seconds in: nothing of it is reached.
        QTest::newRow("time scale 1, delta 0xffffffff: no overflow") << with32(with32(stereo, "stts", 12, 0xffffffff), "mdhd", 12, 1) << 0 << 0;
    }
    void damagedFiles()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, bytes);
        QFETCH(int, sameAsReference);
        static int n = 0;
        const QString path = writeFile(QStringLiteral("damaged%1.m4a").arg(++n), file);
        Mp4Decoder decoder;
        AudioInfo tags;
        decoder.open(path, &tags); // whatever it finds, safely
        QCOMPARE(decoder.open(path, nullptr), bytes != -1);
        if (bytes != -1) {
            PlayInfo info;
            const QByteArray pcm = decodeAll(decoder, &info, 2048, 100000);
            QVERIFY(info.length >= 0);
            if (bytes >= 0)
                QCOMPARE(pcm.size(), bytes);
            else
                QVERIFY2(pcm.size() > 0 && pcm.size() < 60 * 44100 * 4, QByteArray::number(pcm.size()).constData());
            const bool mono = info.channels == 1;
            QCOMPARE(maxDifference(pcm.left(sameAsReference), referencePcm(mono).left(sameAsReference)), 0);
        }
        QVERIFY(decoder.open(fixture(kMono), nullptr));
        QVERIFY(decodeAll(decoder) == referencePcm(true));
    }

    void playsThroughLoopControl()
    {
        // What reached the device is the track, whole.
        QByteArray device;
        QVERIFY(playThroughLoopControl(fixture(kMono), 20000, &device));
        QVERIFY(device == referencePcm(true));
        // A decoder program that dies mid-track ends it.
        useScript({"want 4096", "out 4096", "want 4096", "die"});
        QVERIFY(playThroughLoopControl(fixture(kStereo), 10000, &device));
        QVERIFY(device.size() <= 4096);
    }

    // The track ends whatever the program does: dies, stops answering, never starts.
    void failingProgramEndsTheTrack_data()
    {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QString>("program");
        QTest::addColumn<int>("turnsBeforeEnd");
        const QString fake = QStringLiteral(QUAVRIX_TESTS_BIN_DIR "/fake_aacdecoder");
        QTest::newRow("dies") << QStringList({"want 4096", "die"}) << fake << 1;
        QTest::newRow("hangs") << QStringList({"hang"}) << fake << 0;
        QTest::newRow("cannot start") << QStringList() << quavrixTestRoot() + "/no-such-program" << 0;
    }
    void failingProgramEndsTheTrack()
    {
        QFETCH(QStringList, script);
        QFETCH(QString, program);
        QFETCH(int, turnsBeforeEnd);
        useScript(script);
        qputenv("QUAVRIX_AACDECODER", QFile::encodeName(program));
        // Under qemu user emulation the failed start shows as a program that ended at once.
        if (script.isEmpty() && qEnvironmentVariableIsEmpty("QUAVRIX_EMULATED"))
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Can not start .*no-such-program, error '.+'$"));
        AACDecoder proxy;
        proxy.init();
        char out[1024];
        int outLength = 0;
        for (int i = 0; i < turnsBeforeEnd; ++i) {
            proxy.decode(out, &outLength, "abc", 3, sizeof out);
            QVERIFY(!proxy.finished());
        }
        QCOMPARE(proxy.decode(out, &outLength, "def", 3, sizeof out), 3);
        QVERIFY(proxy.finished());
        QCOMPARE(outLength, 0);
        QCOMPARE(proxy.process(), -1); // killed and reaped
    }

    void userData_data()
    {
        QTest::addColumn<QByteArray>("udta");
        QTest::addColumn<QByteArray>("fields");
        const QByteArray ilst = atom("ilst", item("\251nam", "New Title") + item("\251ART", "An Artist")
                                                 + item("covr", QByteArray(100, 'p')) + item("\251alb", "An Album"));
        QTest::newRow("classic items") << classicText("\251nam", "Old Title") + classicText("\251cpy", "(c) Someone")
                + classicText("\251inf", "Info text") << QByteArray("Old Title|||(c) Someone|Info text");
        QTest::newRow("text length beyond the item: cut there") << atom("\251nam", QByteArray("\x01\x00\x00\x00", 4) + "Short") << QByteArray("Short||||");
        QTest::newRow("classic text not UTF-8: taken as Latin-1") << classicText("\251nam", "Caf\xe9") << QByteArray("Caf\xc3\xa9||||");
        QTest::newRow("Latin-1 capitals DE D3 52 are not UTF-8") << classicText("\251nam", "\xde\xd3R") << QByteArray("\xc3\x9e\xc3\x93R||||");
        QTest::newRow("text stops at a NUL") << classicText("\251nam", QByteArray("ab\0cd", 5)) << QByteArray("ab||||");
        QTest::newRow("item too short for its header: empty") << classicText("\251nam", "x") + atom("\251nam", "ab") << QByteArray("||||");
        QTest::newRow("item list") << meta(ilst) << QByteArray("New Title|An Artist|An Album||");
        QTest::newRow("item list after a classic item wins") << classicText("\251nam", "First") + meta(atom("ilst", item("\251nam", "Second")))
                                                             << QByteArray("Second||||");
        QTest::newRow("meta without version and flags") << atom("meta", atom("hdlr", be32(0) + "mdirappl" + QByteArray(9, 0)) + ilst)
                                                        << QByteArray("New Title|An Artist|An Album||");
        QTest::newRow("data atom shorter than the item: its end counts")
            << meta(atom("ilst", atom("\251ART", atom("data", be32(1) + be32(0) + "Padded") + QByteArray(12, 'z')))) << QByteArray("|Padded|||");
        QTest::newRow("nothing after the data header: field kept") << meta(atom("ilst", item("\251alb", "Kept") + item("\251alb", "")))
                                                                   << QByteArray("||Kept||");
        // Lying lengths. The lying items hold sound text, which shows if the lie is believed.
        QTest::newRow("longer than its parent: the walk stops there")
            << meta(atom("ilst", item("\251nam", "Good") + lyingAtom("\251ART", atom("data", be32(1) + be32(0) + "Liar"), 5000)))
            << QByteArray("Good||||");
        QTest::newRow("shorter than a header") << lyingAtom("\251nam", "abcdefgh", 4) + classicText("\251nam", "After") << QByteArray("||||");
        QTest::newRow("zero: to the end of the parent") << lyingAtom("\251nam", QByteArray("\x00\x03\x00\x00" "abc", 7), 0) << QByteArray("abc||||");
        QTest::newRow("64-bit length larger than the data")
            << be32(1) + "\251nam" + QByteArray(8, '\xff') + be32(4 << 16 | 0x15c7) + "Liar" << QByteArray("||||");
        QTest::newRow("data atom longer than the item: the item's end counts")
            << meta(atom("ilst", atom("\251alb", lyingAtom("data", be32(1) + be32(0) + "Album", 9999)))) << QByteArray("||Album||");
        QTest::newRow("meta too short for its version word") << atom("meta", "ab") << QByteArray("||||");
        QTest::newRow("trailing bytes too few for a header") << classicText("\251nam", "Tail") + "abc" << QByteArray("Tail||||");
        // Track and year.
        const QByteArray trkn = item("trkn", QByteArray("\0\0\0\x05\0\x0c\0\0", 8));
        QTest::newRow("track of a count, date with month and day") << meta(atom("ilst", trkn + item("\251day", "1987-03-02"))) << QByteArray("|||||5|1987");
        QTest::newRow("year alone") << meta(atom("ilst", item("\251day", "2004"))) << QByteArray("|||||0|2004");
        QTest::newRow("track value cut short: none") << meta(atom("ilst", item("trkn", QByteArray("\0\0\0", 3)))) << QByteArray("||||");
        QTest::newRow("track in a data atom longer than its item: not read")
            << meta(atom("ilst", atom("trkn", lyingAtom("data", be32(0) + be32(0) + QByteArray("\0\0\0\x09\0\0\0\0", 8), 400)))) << QByteArray("||||");
        QTest::newRow("date without a year") << meta(atom("ilst", item("\251day", "unknown"))) << QByteArray("||||");
        QByteArray nested = item("\251nam", "Deep");
        for (int i = 0; i < 2000; ++i)
            nested = atom("ilst", nested);
        QTest::newRow("deeply nested item lists end") << meta(nested) << QByteArray("||||");
    }
    void userData()
    {
        QFETCH(QByteArray, udta);
        QTEST(walk(udta), "fields");
    }

    void filesAsAWhole()
    {
        // In the file too, a user-data atom longer than its movie atom is not read (its
        // text would show); a media atom cut short counts up to the end of the file.
        const QByteArray udta = lyingAtom("udta", classicText("\251nam", "Liar"), 5000);
        const QString file = writeFile(QStringLiteral("lying.m4a"), atom("moov", atom("free", "xx") + udta)
                                                                       + lyingAtom("mdat", QByteArray(100, 'm'), 10000));
        FileSummary summary;
        QVERIFY(readFileSummary(file, &summary));
        QVERIFY(summary.hasMovie);
        QCOMPARE(summary.mediaBytes, int64_t(100));
        QVERIFY(summary.tags.name.isEmpty());
        // Files that are not there or not files, and no movie at all.
        Mp4SampleTable::Track track;
        QVERIFY(!Mp4SampleTable::read(QStringLiteral("/no/such/file.m4a"), &track));
        QVERIFY(!Mp4SampleTable::read(quavrixTestRoot(), &track));
        QVERIFY(!Mp4SampleTable::readMovie(nullptr, 0, 0, &track));
    }

    // The decoder configuration: object type|rate|channels|core rate with SBR (0 none)|PS.
    void audioSpecificConfig_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("config"); // empty: refused
        QTest::newRow("LC 44100 stereo, as ffmpeg writes it") << QByteArray("\x12\x10\x56\xe5\x00", 5) << QByteArray("2|44100|2|0|0");
        QTest::newRow("LC 22050 mono") << QByteArray("\x13\x88") << QByteArray("2|22050|1|0|0");
        QTest::newRow("explicit HE-AAC, LC core") << QByteArray("\x2b\x92\x08\x00", 4) << QByteArray("2|44100|2|22050|0");
        QTest::newRow("HE-AAC v2: mono core made stereo") << QByteArray("\xeb\x8a\x08\x00", 4) << QByteArray("2|44100|2|22050|1");
        QTest::newRow("SBR and PS signalled after the core") << QByteArray("\x13\x90\x56\xe5\xa5\x48\x80") << QByteArray("2|44100|2|22050|1");
        QTest::newRow("too short") << QByteArray("\x12") << QByteArray();
        QTest::newRow("reserved rate index") << QByteArray("\x16\x90") << QByteArray();
        QTest::newRow("no channel layout") << QByteArray("\x12\x00", 2) << QByteArray();
    }
    void audioSpecificConfig()
    {
        QFETCH(QByteArray, bytes);
        AudioConfig c;
        const bool ok = parseAudioSpecificConfig(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()), &c);
        QTEST(ok ? QByteArray::number(c.objectType) + '|' + QByteArray::number(c.rate) + '|' + QByteArray::number(c.channels) + '|'
                      + QByteArray::number(c.sbr ? c.coreRate : 0) + '|' + QByteArray::number(c.ps)
                 : QByteArray(),
              "config");
    }

    // The fixtures were made as AAC LC at their rate (time scale the same) and channel
    // count. The sample tables give the frames ffmpeg's demuxer reported; the decoder
    // gives exactly the track, priming and end padding gone, equal to the reference, and
    // the bit rate is audio bytes over the duration (the files were made at 64 and 32
    // kbit/s).
    void fixtures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("fastStart");
        QTest::addColumn<QByteArray>("config"); // AudioSpecificConfig: LC, the rate's index, the channels
        QTest::addColumn<QByteArray>("record"); // item lists are UTF-8
        QTest::addColumn<QList<int>>("played"); // channels, rate, length, range, position
        const QByteArray stereo("\x12\x10\x56\xe5\x00", 5), tags("Stereo Title|Stereo Artist|Stereo Album|0|0|1");
        QTest::newRow("stereo, tagged") << "stereo-tagged" << false << stereo << tags << QList<int>{2, 44100, 3, 3, 3};
        QTest::newRow("mono") << "mono" << false << QByteArray("\x13\x88\x56\xe5\x00", 5) << QByteArray("|||0|0|1")
                              << QList<int>{1, 22050, 2, 2, 2};
        QTest::newRow("stereo, movie first") << "stereo-tagged" << true << stereo << tags << QList<int>{2, 44100, 3, 3, 3};
    }
    void fixtures()
    {
        QFETCH(QString, name);
        QFETCH(bool, fastStart);
        QFETCH(QList<int>, played);
        const bool mono = name == QLatin1String("mono");
        const QList<Packet> expected = packets(qPrintable(QStringLiteral("mp4/%1.packets").arg(name)));
        QByteArray bytes = readFile(fixture(qPrintable(QStringLiteral("mp4/%1.m4a").arg(name))));
        QVERIFY(expected.size() > 40);
        const int shift = fastStart ? int(get32(bytes, payload(bytes, "moov") - 8)) : 0;
        if (fastStart)
            bytes = Mp4Damage::fastStart(bytes);
        const QString file = writeFile(QStringLiteral("fixture.m4a"), bytes);

        Mp4SampleTable::Track track;
        QByteArray why;
        QVERIFY2(Mp4SampleTable::read(file, &track, &why), why.constData());
        QCOMPARE(track.fourcc, QByteArray("mp4a"));
        QTEST(track.decoderConfig, "config");
        QCOMPARE(track.objectTypeIndication, 0x40);
        QCOMPARE(int(track.timescale), played[1]);
        QVERIFY(!track.truncated);
        QCOMPARE(track.frames(), expected.size());
        // ffmpeg shows times shifted by the edit list's start: 1024 samples of priming.
        QCOMPARE(track.editStart, int64_t(-expected.first().dts));
        for (int i = 0; i < expected.size(); ++i) {
            const Packet& p = expected[i];
            QCOMPARE(track.offset[size_t(i)], p.position + shift);
            QCOMPARE(track.size[size_t(i)], p.size);
            QCOMPARE(track.time[size_t(i)] - track.editStart, p.dts);
            QCOMPARE(track.time[size_t(i) + 1] - track.time[size_t(i)], p.duration);
        }
        // Seeking looks frames up by time.
        QCOMPARE(track.frameAt(0), 0);
        QCOMPARE(track.frameAt(expected[5].dts - expected[0].dts), 5);
        QCOMPARE(track.frameAt(expected[5].dts - expected[0].dts + 1), 5);
        QCOMPARE(track.frameAt(int64_t(1) << 50), expected.size() - 1);

        // A key file of its own shows that an information read makes no connection, and
        // leaves the decoder closed.
        Mp4Decoder decoder;
        const QString fresh = quavrixTestRoot() + "/info-key";
        qputenv(KeyFileVariable, QFile::encodeName(fresh));
        AudioInfo tags;
        QVERIFY(decoder.open(file, &tags));
        QTEST(describe(tags), "record");
        QVERIFY(!QFile::exists(fresh));
        QVERIFY(decodeAll(decoder).isEmpty());
        qunsetenv(KeyFileVariable);
        QVERIFY(decoder.open(file, nullptr));
        PlayInfo info;
        const QByteArray pcm = decodeAll(decoder, &info);
        QVERIFY(pcm == referencePcm(mono));
        QCOMPARE(pcm.size(), mono ? 44100 * 2 : 132300 * 4);
        QCOMPARE((QList<int>{info.channels, info.rate, info.length, info.range, info.position}), played);
        QVERIFY2(info.bitrate > info.channels * 24000 && info.bitrate < info.channels * 40000, QByteArray::number(info.bitrate).constData());
        decoder.close();
        decoder.close();
    }

    // Ten frames of 6 to 15 bytes in four chunks at 1000, 2000, 3000 and 4000, with the
    // chunk map's runs (first chunk, frames a chunk) and a size table of each kind.
    void chunkMap_data()
    {
        QTest::addColumn<QList<uint32_t>>("runs");
        QTest::addColumn<int>("sizeBits"); // 32: stsz, else stz2 of that width
        QTest::addColumn<QList<qint64>>("offsets"); // empty: refused
        const QList<uint32_t> threeTwoTwoThree = {1, 3, 2, 2, 4, 3};
        const QList<qint64> expected = {1000, 1006, 1013, 2000, 2009, 3000, 3011, 4000, 4013, 4027};
        QTest::newRow("runs of 3, 2, 2 and 3 frames") << threeTwoTwoThree << 32 << expected;
        QTest::newRow("one run for every chunk, the last one short")
            << QList<uint32_t>{1, 3} << 32 << QList<qint64>{1000, 1006, 1013, 2000, 2009, 2019, 3000, 3012, 3025, 4000};
        QTest::newRow("a run of one chunk between others")
            << QList<uint32_t>{1, 2, 2, 4, 3, 2} << 32 << QList<qint64>{1000, 1006, 2000, 2008, 2017, 2027, 3000, 3012, 4000, 4014};
        QTest::newRow("compact 16-bit sizes") << threeTwoTwoThree << 16 << expected;
        QTest::newRow("compact 8-bit sizes") << threeTwoTwoThree << 8 << expected;
        QTest::newRow("compact 4-bit sizes") << threeTwoTwoThree << 4 << expected;
        QTest::newRow("compact 12-bit sizes: refused") << threeTwoTwoThree << 12 << QList<qint64>();
        QTest::newRow("first run at chunk 2: refused") << QList<uint32_t>{2, 3} << 32 << QList<qint64>();
        QTest::newRow("first run at chunk 0: refused") << QList<uint32_t>{0, 3} << 32 << QList<qint64>();
    }
    void chunkMap()
    {
        QFETCH(QList<uint32_t>, runs);
        QFETCH(int, sizeBits);
        QFETCH(QList<qint64>, offsets);
        QList<uint32_t> stsc = {uint32_t(runs.size() / 2)};
        for (int i = 0; i < runs.size(); i += 2)
            stsc << runs[i] << runs[i + 1] << 1;
        const QByteArray packed = sizeBits == 4 ? "\x67\x89\xab\xcd\xef"
            : sizeBits == 8 ? QByteArray("\x06\x07\x08\x09\x0a\x0b\x0c\x0d\x0e\x0f")
                            : QByteArray::fromHex("0006000700080009000a000b000c000d000e000f");
        const QByteArray sizes = sizeBits == 32 ? fullAtom("stsz", {0, 10, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15})
                                                : atom("stz2", be32(0) + be32(uint32_t(sizeBits)) + be32(10) + packed);
        const QByteArray moov = movie(fullAtom("stts", {1, 10, 1024}) + fullAtom("stsc", stsc) + sizes
                                      + fullAtom("stco", {4, 1000, 2000, 3000, 4000}));
        Mp4SampleTable::Track track;
        QByteArray why;
        QCOMPARE(Mp4SampleTable::readMovie(reinterpret_cast<const uint8_t*>(moov.constData()), size_t(moov.size()), 5000, &track, &why),
                 !offsets.isEmpty());
        if (offsets.isEmpty())
            return;
        QCOMPARE(QList<qint64>(track.offset.begin(), track.offset.end()), offsets);
        QCOMPARE(QList<uint32_t>(track.size.begin(), track.size.end()), (QList<uint32_t>{6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
        QCOMPARE(track.time.back(), int64_t(10240));
    }

    // Each row sets one field of the stereo fixture (131 frames in one chunk) to a lie.
    void lyingFields_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("frames"); // -1: refused
        QTest::addColumn<bool>("truncated");
        const QByteArray f = readFile(fixture("mp4/stereo-tagged.m4a"));
        // stsz payload: version, constant size, count, sizes; stco/stsc/stts: version, count.
        QTest::newRow("stsz count 0x7fffffff: no allocation of 2^31 sizes") << with32(f, "stsz", 8, 0x7fffffff) << -1 << false;
        QTest::newRow("stsz count 0xffffffff") << with32(f, "stsz", 8, 0xffffffff) << -1 << false;
        QTest::newRow("stsz constant size 0xfffffff0: no frame fits") << with32(f, "stsz", 4, 0xfffffff0) << -1 << false;
        QTest::newRow("stco count 0xffffffff") << with32(f, "stco", 4, 0xffffffff) << -1 << false;
        QTest::newRow("stsc count 0x7fffffff") << with32(f, "stsc", 4, 0x7fffffff) << -1 << false;
        QTest::newRow("stsc count 0") << with32(f, "stsc", 4, 0) << -1 << false;
        QTest::newRow("stts count 0xffffffff") << with32(f, "stts", 4, 0xffffffff) << -1 << false;
        QTest::newRow("stsd count 0") << with32(f, "stsd", 4, 0) << -1 << false;
        QTest::newRow("stsd count 0xffffffff: the first entry still reads") << with32(f, "stsd", 4, 0xffffffff) << 131 << false;
        QTest::newRow("trak length 0x7fffffff: longer than the movie") << with32(f, "trak", -8, 0x7fffffff) << -1 << false;
        QTest::newRow("mdhd time scale 0") << with32(f, "mdhd", 12, 0) << -1 << false;
        // One sample size of 0xfffffff0 (the sixth): the frames before it are what is there.
        QTest::newRow("sixth sample size 0xfffffff0: five frames") << with32(f, "stsz", 12 + 5 * 4, 0xfffffff0) << 5 << true;
        QTest::newRow("chunk offset past the end of the file") << with32(f, "stco", 8, 0x7ffffff0) << -1 << false;
        // stsc says 0xffffffff frames a chunk: still only the 131 frames stsz has.
        QTest::newRow("frames per chunk 0xffffffff") << with32(f, "stsc", 12, 0xffffffff) << 131 << false;
        // The durations cover only 130 frames (the first run 0x82 long, the second 0).
        QTest::newRow("durations for fewer frames") << with32(f, "stts", 16, 0) << 130 << false;
        QTest::newRow("stts delta 0xffffffff: times still rise") << with32(f, "stts", 12, 0xffffffff) << 131 << false;
        // esds: descriptor lengths past their parents.
        QByteArray longInfo = f;
        const int info = longInfo.indexOf(QByteArray("\x05\x80\x80\x80\x05\x12\x10", 7));
        QVERIFY(info > 0);
        longInfo[info + 4] = char(0x7f);
        QTest::newRow("decoder specific info longer than its descriptor") << longInfo << -1 << false;
        QByteArray zeroed = f;
        const int moov = payload(f, "moov");
        zeroed.replace(moov + 100, 400, QByteArray(400, 0));
        QTest::newRow("a zeroed range over the movie") << zeroed << -1 << false;
        QTest::newRow("cut to 73 %, movie first: the whole frames") << fastStart(f).left(f.size() * 73 / 100) << 93 << true;
        QTest::newRow("movie atom cut off") << f.left(f.size() - 100) << -1 << false;
        QTest::newRow("empty file") << QByteArray() << -1 << false;
    }
    void lyingFields()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, frames);
        QFETCH(bool, truncated);
        Mp4SampleTable::Track track;
        QByteArray why;
        QCOMPARE(Mp4SampleTable::read(writeFile(QStringLiteral("lying.m4a"), file), &track, &why), frames >= 0);
        if (frames < 0) {
            QVERIFY(!why.isEmpty());
            return;
        }
        QCOMPARE(track.frames(), frames);
        QCOMPARE(track.truncated, truncated);
        QCOMPARE(track.offset.size(), size_t(frames));
        QCOMPARE(track.time.size(), size_t(frames) + 1);
        for (int i = 0; i < frames; ++i) {
            QVERIFY(track.offset[size_t(i)] + track.size[size_t(i)] <= file.size());
            QVERIFY(track.time[size_t(i) + 1] >= track.time[size_t(i)]);
        }
    }
};

QUAVRIX_TEST_MAIN(TestMp4)
#include "tst_mp4decoder.moc"
