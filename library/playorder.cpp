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
    std::vector<int> pool;
    pool.reserve(n > 0 ? size_t(n) : 0);
    for (int i = 0; i < n; ++i)
        pool.push_back(i);
    std::vector<int> ranks;
    ranks.reserve(pool.size());
    while (!pool.empty()) {
        const size_t r = unsigned(std::rand()) % pool.size();
        ranks.push_back(pool[r]);
        pool.erase(pool.begin() + std::ptrdiff_t(r));
    }
    return ranks;
}
