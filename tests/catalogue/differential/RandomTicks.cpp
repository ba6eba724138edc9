#include "tests/catalogue/differential/RandomTicks.h"

#include <random>

namespace {

class TTicker
{
public:
    TTicker(const TSelection &seeded, quint32 seed) : fSelection(seeded), fRandom(seed) {}

    TSelection run(bool startTicked)
    {
        const int kind = startTicked ? 0 : between(0, 9);
        if (kind == 0)
            for (int node = 0; node < fSelection.nodeCount(); ++node)
                tickNode(node);
        if (kind != 1)
            for (int clicks = between(0, fSelection.nodeCount() + 6); clicks > 0; --clicks)
                click();
        return fSelection;
    }

private:
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(fRandom); }

    void click()
    {
        const int nodes = fSelection.nodeCount();
        const int kind = between(0, 9);
        if (kind < 3 && nodes > 0) {
            tickNode(between(0, nodes - 1));
        } else if (kind < 4 && nodes > 0) {
            const int node = between(0, nodes - 1);
            if (fSelection.isMarked(node))
                fSelection.clickNode(node);
        } else if (nodes > 0) {
            const QList<int> &listed = fSelection.productsOf(between(0, nodes - 1));
            if (!listed.isEmpty())
                fSelection.toggleProduct(listed[between(0, int(listed.size()) - 1)]);
        }
    }

    void tickNode(int node)
    {
        if (fSelection.isMarked(node))
            fSelection.clickNode(node); // unticked first, so that the click ticks it
        fSelection.clickNode(node);
    }

    TSelection fSelection;
    std::mt19937 fRandom;
};

} // namespace

TSelection randomTicks(const TSelection &seeded, quint32 seed, bool startTicked)
{
    return TTicker(seeded, seed).run(startTicked);
}
