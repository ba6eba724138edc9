#include "database/tools/SiteNames.h"

namespace {

const TSiteDepartmentName kDepartments[] = {
    {QStringLiteral("Food"), TSiteKind::Food},
    {QStringLiteral("Bar"), TSiteKind::Drink},
    {QStringLiteral("Coffee Dock"), TSiteKind::Food},
    {QStringLiteral("Restaurant"), TSiteKind::Food},
    {QStringLiteral("Gift Vouchers"), TSiteKind::Voucher},
    {QStringLiteral("Bakery & Pâtisserie"), TSiteKind::Food},
    {QStringLiteral("Wine Cellar"), TSiteKind::Drink},
    {QStringLiteral("Deli Counter"), TSiteKind::Food},
    {QStringLiteral("Minerals & Juices"), TSiteKind::Food},
    {QStringLiteral("Cocktail Lounge"), TSiteKind::Drink},
    {QStringLiteral("Function Room"), TSiteKind::Food},
    {QStringLiteral("Room Service"), TSiteKind::Food},
    {QStringLiteral("Takeaway"), TSiteKind::Food},
    {QStringLiteral("Crêperie"), TSiteKind::Food},
    {QStringLiteral("Off-Licence"), TSiteKind::Drink},
    {QStringLiteral("Ice Cream Parlour"), TSiteKind::Food},
    {QStringLiteral("Beer Garden"), TSiteKind::Drink},
    {QStringLiteral("Carvery"), TSiteKind::Food},
};

const QStringList kFoodGroups = {
    QStringLiteral("Breakfast"),      QStringLiteral("Lunch"),
    QStringLiteral("Dinner"),         QStringLiteral("Starters"),
    QStringLiteral("Mains"),          QStringLiteral("Desserts"),
    QStringLiteral("Sides & Extras"), QStringLiteral("Sandwiches & Wraps"),
    QStringLiteral("Salads"),         QStringLiteral("Soups"),
    QStringLiteral("Pastries"),       QStringLiteral("Cakes & Gâteaux"),
    QStringLiteral("Hot Drinks"),     QStringLiteral("Soft Drinks"),
    QStringLiteral("Specials"),       QStringLiteral("Early Bird €25"),
    QStringLiteral("Kids' Menu"),     QStringLiteral("Sunday Roast"),
};

const QStringList kDrinkGroups = {
    QStringLiteral("Draught"),
    QStringLiteral("Bottled Beer"),
    QStringLiteral("Spirits"),
    QStringLiteral("Wine by the Glass"),
    QStringLiteral("Wine by the Bottle"),
    QStringLiteral("Cocktails"),
    QStringLiteral("Liqueurs & Digestifs"),
    QStringLiteral("Cider"),
    QStringLiteral("Craft Beer"),
    QStringLiteral("Champagne & Crémant"),
};

const QStringList kVoucherGroups = {QStringLiteral("Vouchers"), QStringLiteral("Gift Cards")};

const QStringList kThirdLevels = {
    QStringLiteral("Hot"),
    QStringLiteral("Cold"),
    QStringLiteral("Vegetarian"),
    QStringLiteral("Vegan"),
    QStringLiteral("Gluten-Free"),
    QStringLiteral("House Choice"),
    QStringLiteral("Chef's Choice"),
    QStringLiteral("Local"),
    QStringLiteral("Imported"),
    QStringLiteral("Premium"),
    QStringLiteral("Seasonal"),
    QStringLiteral("Half Portions"),
    QStringLiteral("Sharing Plates"),
    QStringLiteral("Fait Maison"),
};

const QStringList kFoodItems = {
    QStringLiteral("Full Irish Breakfast"),
    QStringLiteral("Eggs Benedict"),
    QStringLiteral("Porridge & Honey"),
    QStringLiteral("Fish & Chips"),
    QStringLiteral("Bangers & Mash"),
    QStringLiteral("Seafood Chowder"),
    QStringLiteral("Soupe à l'Oignon"),
    QStringLiteral("Bœuf Bourguignon"),
    QStringLiteral("Crème Brûlée"),
    QStringLiteral("Jalapeño Poppers"),
    QStringLiteral("Crêpe Suzette"),
    QStringLiteral("Pâté de Campagne"),
    QStringLiteral("Smoked Salmon & Brown Soda Bread Platter"),
    QStringLiteral("Caesar Salad"),
    QStringLiteral("Club Sandwich"),
    QStringLiteral("Toasted Special"),
    QStringLiteral("Beef & Black Pepper Burger"),
    QStringLiteral("Chicken Goujons"),
    QStringLiteral("Vegetable Curry & Rice"),
    QStringLiteral("Lasagne"),
    QStringLiteral("Scone with Jam & Cream"),
    QStringLiteral("Apple Crumble"),
    QStringLiteral("Sticky Toffee Pudding"),
    QStringLiteral("Croissant"),
    QStringLiteral("Pain au Chocolat"),
    QStringLiteral("Éclair au Café"),
    QStringLiteral("Cappuccino"),
    QStringLiteral("Latte"),
    QStringLiteral("Café au Lait"),
    QStringLiteral("Americano"),
    QStringLiteral("Hot Chocolate"),
    QStringLiteral("Pot of Tea"),
    QStringLiteral("Fresh Orange Juice"),
    QStringLiteral("Sparkling Water"),
    QStringLiteral("Cola"),
    QStringLiteral("Lemonade"),
    QStringLiteral("Homemade Brown Bread"),
    QStringLiteral("Chips"),
    QStringLiteral("Garlic Bread"),
    QStringLiteral("Side Salad"),
    QStringLiteral("Onion Rings"),
    QStringLiteral("Mac & Cheese"),
    QStringLiteral("Chicken Wings"),
    QStringLiteral("Prawn Cocktail"),
    QStringLiteral("Steak & Kidney Pie"),
    QStringLiteral("Roast Turkey & Ham"),
    QStringLiteral("Strawberry Gâteau"),
    QStringLiteral("Tiramisù"),
    QStringLiteral("Vanilla Ice Cream"),
    QStringLiteral("Knickerbocker Glory"),
    QStringLiteral("Crudités & Dip"),
    QStringLiteral("Quiche Lorraine"),
    QStringLiteral("Soup of the Day"),
    QStringLiteral("Lunch Deal €9.95"),
};

const QStringList kDrinkItems = {
    QStringLiteral("Stout"),
    QStringLiteral("Lager"),
    QStringLiteral("Red Ale"),
    QStringLiteral("Pale Ale"),
    QStringLiteral("Cider"),
    QStringLiteral("Irish Whiskey"),
    QStringLiteral("Gin & Tonic"),
    QStringLiteral("Vodka & Soda"),
    QStringLiteral("Rosé"),
    QStringLiteral("Sauvignon Blanc"),
    QStringLiteral("Côtes du Rhône"),
    QStringLiteral("Rioja Crianza"),
    QStringLiteral("Prosecco"),
    QStringLiteral("Crémant de Loire"),
    QStringLiteral("Piña Colada"),
    QStringLiteral("Mojito"),
    QStringLiteral("Espresso Martini"),
    QStringLiteral("Irish Coffee"),
    QStringLiteral("Port"),
    QStringLiteral("Crème de Menthe"),
    QStringLiteral("Brandy & Port"),
    QStringLiteral("Hot Whiskey"),
};

const QStringList kVoucherItems = {
    QStringLiteral("Gift Voucher €10"),
    QStringLiteral("Gift Voucher €25"),
    QStringLiteral("Gift Voucher €50"),
    QStringLiteral("Dinner for Two Voucher"),
};

const QStringList kFoodStyles = {
    QString(),
    QString(),
    QString(),
    QStringLiteral("Vegan "),
    QStringLiteral("Gluten-Free "),
    QStringLiteral("Homemade "),
    QStringLiteral("Seasonal "),
    QStringLiteral("Kids' "),
};

const QStringList kFoodVariants = {
    QString(),
    QString(),
    QString(),
    QStringLiteral(" (Large)"),
    QStringLiteral(" (Small)"),
    QStringLiteral(" ½ Portion"),
    QStringLiteral(" - Takeaway"),
    QStringLiteral(" & Side"),
};

const QStringList kDrinkStyles = {
    QString(),
    QString(),
    QString(),
    QStringLiteral("Craft "),
    QStringLiteral("Premium "),
    QStringLiteral("House "),
    QStringLiteral("Organic "),
    QStringLiteral("Local "),
};

const QStringList kDrinkVariants = {
    QString(),
    QString(),
    QStringLiteral(" Pint"),
    QStringLiteral(" Glass"),
    QStringLiteral(" Bottle"),
    QStringLiteral(" Double"),
    QStringLiteral(" 175ml"),
};

const QString &pick(const QStringList &list, TSiteRandom &random)
{
    return list[random.below(list.size())];
}

} // namespace

int TSiteRandom::below(int bound)
{
    fState = fState * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<int>((fState >> 33) % static_cast<std::uint64_t>(bound));
}

namespace SiteNames {

TSiteDepartmentName department(int index)
{
    const int pool = static_cast<int>(std::size(kDepartments));
    TSiteDepartmentName name = kDepartments[index % pool];
    if (index >= pool)
        name.name += QStringLiteral(" %1").arg(index / pool + 1);
    return name;
}

namespace {

// Siblings walk the pool from a place that differs per parent; past its end they take a number.
QString childName(const QStringList &pool, int parent, int child)
{
    const int size = static_cast<int>(pool.size());
    const QString &name = pool[(parent * 3 + child) % size];
    return child < size ? name : name + QStringLiteral(" %1").arg(child / size + 1);
}

} // namespace

QString subDepartment(TSiteKind kind, int parent, int child)
{
    switch (kind) {
    case TSiteKind::Food:
        return childName(kFoodGroups, parent, child);
    case TSiteKind::Drink:
        return childName(kDrinkGroups, parent, child);
    case TSiteKind::Voucher:
        return childName(kVoucherGroups, parent, child);
    }
    return {};
}

QString thirdLevel(int parent, int child)
{
    return childName(kThirdLevels, parent, child);
}

int productNamesOfKind(TSiteKind kind)
{
    switch (kind) {
    case TSiteKind::Food:
        return int(kFoodStyles.size() * kFoodItems.size() * kFoodVariants.size());
    case TSiteKind::Drink:
        return int(kDrinkStyles.size() * kDrinkItems.size() * kDrinkVariants.size());
    case TSiteKind::Voucher:
        return int(kVoucherItems.size());
    }
    return 0;
}

QString product(TSiteKind kind, TSiteRandom &random)
{
    switch (kind) {
    case TSiteKind::Food:
        return pick(kFoodStyles, random) + pick(kFoodItems, random) + pick(kFoodVariants, random);
    case TSiteKind::Drink:
        return pick(kDrinkStyles, random) + pick(kDrinkItems, random) + pick(kDrinkVariants, random);
    case TSiteKind::Voucher:
        return pick(kVoucherItems, random);
    }
    return {};
}

} // namespace SiteNames
