#include "tagtext.h"

#include <cstdlib>
#include <cstring>
#include <utility>

TagText::TagText(const TagText& other)
{
    *this = other;
}

TagText::TagText(TagText&& other) noexcept
    : m_text(std::exchange(other.m_text, nullptr))
{
}

TagText& TagText::operator=(const TagText& other)
{
    if (this != &other)
        assign(other.bytes(), false);
    return *this;
}

TagText& TagText::operator=(TagText&& other) noexcept
{
    if (this != &other) {
        std::free(m_text);
        m_text = std::exchange(other.m_text, nullptr);
    }
    return *this;
}

TagText::~TagText()
{
    std::free(m_text);
}

void TagText::clear()
{
    std::free(m_text);
    m_text = nullptr;
}

void TagText::assign(const QByteArray& text, bool utf8)
{
    const char* p = text.constData();
    const int whole = int(strnlen(p, size_t(text.size())));
    int n = whole < MaxBytes ? whole : MaxBytes;
    if (utf8 && n < whole) {
        // Step back over continuation bytes to the start of the character that would be cut.
        while (n > 0 && (static_cast<unsigned char>(p[n]) & 0xC0) == 0x80)
            --n;
    }
    char* copy = nullptr;
    if (n > 0) {
        copy = static_cast<char*>(std::malloc(size_t(n) + 1));
        if (!copy)
            n = 0; // out of memory: an empty text rather than a crash
        else {
            std::memcpy(copy, p, size_t(n));
            copy[n] = '\0';
        }
    }
    std::free(m_text);
    m_text = copy;
}

int TagText::size() const
{
    return m_text ? int(std::strlen(m_text)) : 0;
}
