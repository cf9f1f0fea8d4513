#pragma once

// The passes every decoder target makes over an opened input: a few blocks from the start,
// then a block after a seek to one second and one after a seek back to the start.

#include "playinfo.h"

#include <QString>

// Up to `blocks` blocks of `block` bytes, stopping at the end or an error. A handful of
// blocks reaches every path a reader takes; more only repeats the sample arithmetic.
template<class Decoder>
void drain(Decoder& d, int block, int blocks)
{
    static char buf[8192];
    PlayInfo info;
    int produced = 0;
    for (int i = 0; i < blocks && d.decode(buf, block, &produced, &info) && produced > 0; ++i) {
    }
}

template<class Decoder>
void decodeAndSeek(Decoder& d, const QString& file, int block, int blocks)
{
    if (!d.open(file, nullptr))
        return;
    drain(d, block, blocks);
    if (d.seek(1) >= 0)
        drain(d, 2048, 1);
    if (d.seek(0) >= 0)
        drain(d, 1000, 1);
}
