// Reading and normalising a track's description: LoopControl::readTrackInfo and the
// text helpers it uses.
#include "loopcontrol.h"

#include "audioinfo.h"
#include "decoder.h"
#include "id3v2tag.h"
#include "textcodec.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <cstring>
#include <memory>

namespace {

// Control characters (random bytes in a version 1 tag, say) would reach the screen raw:
// after decoding they become spaces. In UTF-8 no byte below 0x20 is part of another
// character.
void replaceControls(TagText& field)
{
    QByteArray bytes = field.bytes();
    bool found = false;
    for (char& c : bytes) {
        if (c > 0 && c < 0x20) {
            c = ' ';
            found = true;
        }
    }
    if (found)
        field.assign(bytes);
}

void storeTag(TagText& field)
{
    const QByteArray bytes = field.bytes();
    QString text = TextCodec::toUnicode(LoopControl::guessCodec(bytes.constData()), bytes);
    LoopControl::capitalizeWords(text);
    AudioInfo::setText(field, text.toUtf8());
}

// Text from an ID3 version 2 frame: Unicode as it is, single-byte text through the same
// codec guess as version 1 text. Words are left as the tagger wrote them.
void storeId3v2Text(TagText& field, const Id3v2::Text& text)
{
    if (!text.latin1) {
        AudioInfo::setText(field, text.bytes);
        return;
    }
    AudioInfo::setText(field, TextCodec::toUnicode(LoopControl::guessCodec(text.bytes.constData()), text.bytes).toUtf8());
}

} // namespace

const char* LoopControl::guessCodec(const char* text)
{
    static const char* const candidates[] = {"SJIS", "eucJP"};
    const int length = int(std::strlen(text));
    // Valid UTF-8 with multi-byte sequences almost never comes about by chance in another
    // encoding, while its pairs often also fit SJIS or eucJP: it wins outright.
    if (TextCodec::heuristicContentMatch("UTF-8", text, length) > 0)
        return "UTF-8";
    const char* best = nullptr;
    int bestScore = 0;
    for (const char* name : candidates) {
        if (!TextCodec::exists(name))
            continue;
        const int score = TextCodec::heuristicContentMatch(name, text, length);
        if (score > bestScore) {
            best = name;
            bestScore = score;
        }
    }
    // Nothing multi-byte fits: single-byte tags (ID3 version 1) are Latin-1.
    return best ? best : "ISO-8859-1";
}

void LoopControl::capitalizeWords(QString& text)
{
    bool inWord = false;
    for (QChar& c : text) {
        if (!c.isLetterOrNumber()) {
            inWord = false;
            continue;
        }
        if (inWord)
            c = c.toLower();
        inWord = true;
    }
}

AudioInfo* LoopControl::readTrackInfo(Decoder* decoder, const QString& file)
{
    auto info = std::make_unique<AudioInfo>();
    info->setFileName(file.toUtf8());
    info->isUtf8 = 0;
    if (!decoder || !decoder->open(file, info.get())) {
        qDebug("Canot open %s", file.toLatin1().constData());
        return nullptr;
    }

    // An MP3 may carry a version 2 tag at its start as well as the version 1 tag that the
    // decoder read: each field it has wins, the others come from version 1.
    Id3v2::Tag v2;
    if (decoder->mimeType() == QLatin1String("audio/mpeg"))
        Id3v2::readFile(file, &v2);
    if (!v2.artist.isEmpty())
        storeId3v2Text(info->artist, v2.artist);
    else if (!info->isUtf8)
        storeTag(info->artist);
    if (!v2.album.isEmpty())
        storeId3v2Text(info->album, v2.album);
    else if (!info->isUtf8)
        storeTag(info->album);
    if (v2.year)
        info->year = v2.year;
    // ReplayGain: the user's text frames, else the volume frames, else the encoder's tag.
    for (const Id3v2::Gains* g : {&v2.volumeGains, &v2.userGains}) {
        if (g->flags & AudioInfo::TrackGain) {
            info->trackGain = g->trackGain;
            info->trackPeak = g->trackPeak;
        }
        if (g->flags & AudioInfo::AlbumGain) {
            info->albumGain = g->albumGain;
            info->albumPeak = g->albumPeak;
        }
        info->gains |= g->flags;
    }
    if (v2.track)
        info->track = v2.track;

    const QString baseName = QFileInfo(file).fileName();
    if (!v2.title.isEmpty()) {
        storeId3v2Text(info->title, v2.title);
    } else if (!info->title.isEmpty() && !info->isUtf8) {
        storeTag(info->title);
    } else if (info->title.isEmpty()) {
        const int dot = baseName.lastIndexOf(QLatin1Char('.'));
        QString title = dot >= 0 ? baseName.left(dot) : baseName;
        capitalizeWords(title);
        AudioInfo::setText(info->title, title.toUtf8());
    }

    // A version 2 track number is what it says, 32 included.
    if (!v2.track && (info->track == 0 || info->track == 32)) {
        static const QRegularExpression twoDigits(QStringLiteral("\\d\\d"));
        const QRegularExpressionMatch m = twoDigits.match(baseName);
        info->track = m.hasMatch() ? m.captured(0).toInt() : 0;
    }
    replaceControls(info->title);
    replaceControls(info->artist);
    replaceControls(info->album);
    decoder->close();
    return info.release();
}
