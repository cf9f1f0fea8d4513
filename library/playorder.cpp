#include "playorder.h"

#include <cstdlib>
#include <ctime>

std::vector<int> drawRandomRanks(int n)
{
    return drawRandomRanks(n, unsigned(std::time(nullptr)));
}

std::vector<int> drawRandomRanks(int n, unsigned seed)
{
    std::srand(seed);
    const size_t size = n > 0 ? size_t(n) : 0;
    // The pool of free ranks as a Fenwick tree of ones: taking the r-th free rank and
    // removing it is a logarithmic walk instead of moving the rest of the pool down, so
    // a list of 100,000 entries draws its order at once. The ranks drawn are the same.
    std::vector<int> tree(size + 1, 0);
    for (size_t i = 1; i <= size; ++i) {
        tree[i] += 1;
        const size_t parent = i + (i & (~i + 1));
        if (parent <= size)
            tree[parent] += tree[i];
    }
    size_t top = 1;
    while (top * 2 <= size)
        top *= 2;
    std::vector<int> ranks;
    ranks.reserve(size);
    for (size_t left = size; left > 0; --left) {
        // The r-th (from 0) of the ranks still free.
        int r = int(unsigned(std::rand()) % left);
        size_t at = 0;
        for (size_t step = top; step > 0; step /= 2) {
            if (at + step <= size && tree[at + step] <= r) {
                at += step;
                r -= tree[at];
            }
        }
        ranks.push_back(int(at)); // tree index at + 1 holds rank at
        for (size_t i = at + 1; i <= size; i += i & (~i + 1))
            tree[i] -= 1;
    }
    return ranks;
}
