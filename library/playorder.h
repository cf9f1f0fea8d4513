#pragma once

#include <QList>

#include <vector>

struct AudioInfo;

// Records handed between the library and the play list; never owned by the receiver.
using RecordList = QList<AudioInfo*>;

// The random play order for n entries, as the rank of each entry in display order: the C
// library generator is seeded with the current time in seconds, then each entry in turn
// takes the rand()-th (modulo the pool size) of the ranks still free.
std::vector<int> drawRandomRanks(int n);
// The same with the generator seeded with seed (for a reproducible order).
std::vector<int> drawRandomRanks(int n, unsigned seed);
