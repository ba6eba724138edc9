#include "tests/catalogue/differential/RandomTicks.h"

#include "catalogue/core/SectionNames.h"

#include <random>

namespace {

class TTicker
{
public:
    TTicker(const std::vector<TPlannedNode> &plan, const TSelectionStore &seeded, quint32 seed)
        : fPlan(plan), fStore(seeded), fTicked(plan.size(), false), fRandom(seed)
    {
    }

    TRandomTicks run(bool startTicked)
    {
        const int kind = startTicked ? 0 : between(0, 9);
        if (kind == 0)
            for (int i = 0; i < int(fPlan.size()); ++i)
                tickNode(i);
        if (kind != 1)
            for (int clicks = between(0, int(fPlan.size()) + 6); clicks > 0; --clicks)
                click();
        TRandomTicks ticks;
        addInDisplayOrder(-1, ticks.nodes);
        ticks.store = fStore;
        return ticks;
    }

private:
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(fRandom); }

    QString section(int node) const { return sectionName(fPlan[size_t(node)].level, fPlan[size_t(node)].id); }

    void click()
    {
        const QStringList sections = fStore.sections();
        const int kind = between(0, 9);
        if (kind < 3 && !fPlan.empty()) {
            tickNode(between(0, int(fPlan.size()) - 1));
        } else if (kind < 4 && !fPlan.empty()) {
            fTicked[size_t(between(0, int(fPlan.size()) - 1))] = false;
        } else if (!sections.isEmpty()) {
            const QString name = sections[between(0, int(sections.size()) - 1)];
            const QStringList keys = fStore.keys(name);
            const QString key = keys[between(0, int(keys.size()) - 1)];
            if (kind < 7)
                fStore.setInAllSections(key, sections, between(0, 1) ? QStringLiteral("Y") : QStringLiteral("N"));
            else
                fStore.write(name, key, QStringList{"Y", "N", "y"}[between(0, 2)]);
        }
    }

    void tickNode(int node)
    {
        fTicked[size_t(node)] = true;
        const QStringList sections = fStore.sections();
        for (const QString &key : fStore.keys(section(node)))
            fStore.setInAllSections(key, sections, QStringLiteral("Y"));
        for (int i = 0; i < int(fPlan.size()); ++i)
            if (isBelow(i, node))
                fTicked[size_t(i)] = true;
    }

    bool isBelow(int node, int ancestor) const
    {
        for (int up = fPlan[size_t(node)].parent; up >= 0; up = fPlan[size_t(up)].parent)
            if (up == ancestor)
                return true;
        return false;
    }

    void addInDisplayOrder(int parent, QList<TChangeoverNode> &nodes) const
    {
        for (int i = 0; i < int(fPlan.size()); ++i) {
            if (fPlan[size_t(i)].parent != parent)
                continue;
            nodes.append({fPlan[size_t(i)].id, fPlan[size_t(i)].level - 1, bool(fTicked[size_t(i)])});
            addInDisplayOrder(i, nodes);
        }
    }

    const std::vector<TPlannedNode> &fPlan;
    TSelectionStore fStore;
    std::vector<bool> fTicked;
    std::mt19937 fRandom;
};

} // namespace

TRandomTicks randomTicks(const std::vector<TPlannedNode> &plan, const TSelectionStore &seeded, quint32 seed,
                         bool startTicked)
{
    return TTicker(plan, seeded, seed).run(startTicked);
}
