#pragma once

#include <QByteArray>
#include <QByteArrayView>

// One text of a track's description (title, artist, album): the whole text as the tag
// gives it, up to MaxBytes, ending at its first NUL, never cut inside a UTF-8 character.
// Reads as a C string ("" when empty); an empty text takes no memory beyond the pointer,
// which matters with a hundred thousand tracks in the library.
class TagText
{
public:
    // Longer than any title people write in any script, short enough that a lying tag
    // cannot make the library grow without end.
    static constexpr int MaxBytes = 1024;

    TagText() = default;
    TagText(const TagText& other);
    TagText(TagText&& other) noexcept;
    TagText& operator=(const TagText& other);
    TagText& operator=(TagText&& other) noexcept;
    ~TagText();

    // text up to its first NUL, at most MaxBytes of it; when utf8 is set a cut steps back to
    // the start of the character it would split.
    void assign(const QByteArray& text, bool utf8 = true);
    void clear();

    operator const char*() const { return m_text ? m_text : ""; }
    operator QByteArrayView() const { return QByteArrayView(c_str(), size()); } // for QString::fromUtf8
    const char* c_str() const { return *this; }
    int size() const;
    bool isEmpty() const { return !m_text; }
    QByteArray bytes() const { return QByteArray(c_str(), size()); }

private:
    char* m_text = nullptr;
};
