#pragma once
// The operator's choices, held in one place: the department nodes in display order with
// their marks, and the products they list with their ticks. The tree and the product
// grid show it and hand it their clicks; the changeover reads it.
//
// A department is known by its level (1 department, 2 sub-department, 3 third-level
// department) and id; its node stands at depth level - 1. A product is one and the same
// wherever it is listed when its number and its description are the same, a description
// the database does not hold (null) being another than an empty one; its tick is the
// same under every node that lists it.
#include "catalogue/core/ProductFiling.h"

#include <QHash>
#include <QList>
#include <map>
#include <tuple>
#include <vector>

class TSelection
{
public:
    // Adds a node, unmarked, after those added so far: nodes come in display order, each
    // followed by the nodes below it. It lists the products in the given order, each once;
    // a product new to the selection starts unticked. Adding a department again adds the
    // products it does not list yet to its node.
    void addNode(int level, qint32 id, const QList<TProductRow> &products);
    void clear();

    int nodeCount() const { return int(fNodes.size()); }
    int level(int node) const { return fNodes.at(size_t(node)).level; }
    qint32 id(int node) const { return fNodes.at(size_t(node)).id; }
    // The node of a department, or -1.
    int nodeOf(int level, qint32 id) const;
    bool isMarked(int node) const { return fNodes.at(size_t(node)).marked; }
    // The products a node lists, in their order, as product indexes.
    const QList<int> &productsOf(int node) const { return fNodes.at(size_t(node)).products; }

    int productCount() const { return int(fProducts.size()); }
    const TProductRow &product(int product) const { return fProducts.at(size_t(product)); }
    bool isTicked(int product) const { return fTicked.at(size_t(product)); }

    // A department's box: flips the node's mark. Ticking it also ticks every product it
    // lists and marks every node below it; unticking it changes nothing else.
    void clickNode(int node);
    // A product's box: flips its tick, under every node that lists it. Gives the new tick.
    bool toggleProduct(int product);
    // One mark or one tick set alone, as a selection restored or made up is set.
    void setMarked(int node, bool marked) { fNodes.at(size_t(node)).marked = marked; }
    void setTicked(int product, bool ticked) { fTicked.at(size_t(product)) = ticked; }

private:
    struct Node
    {
        int level = 0;
        qint32 id = 0;
        bool marked = false;
        QList<int> products;
    };
    // Number, whether the description is null, description.
    using ProductIdentity = std::tuple<qint32, bool, QString>;

    int productIndex(const TProductRow &row);

    std::vector<Node> fNodes;
    QHash<quint64, int> fNodeIndex;
    std::vector<TProductRow> fProducts;
    std::vector<bool> fTicked;
    std::map<ProductIdentity, int> fProductIndex;
};
