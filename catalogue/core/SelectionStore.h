#pragma once
// The operator's product ticks: an in-memory store of sections, each an ordered list
// of keys with a text value. Sections and keys keep the order of their first write;
// writing a key again replaces its value in place. Nothing is ever saved.
#include <QHash>
#include <QString>
#include <QStringList>

class TSelectionStore
{
public:
    void write(const QString &section, const QString &key, const QString &value);
    // The value under the key, or defaultValue when the section or key is missing.
    QString read(const QString &section, const QString &key, const QString &defaultValue) const;
    // Keys of a section in order; empty for a section that does not exist.
    QStringList keys(const QString &section) const;
    QStringList sections() const;

    // Gives the key the value in each named section that already holds a non-empty
    // value for it; never adds a key. This is how one tick reaches every node
    // that lists the same product.
    void setInAllSections(const QString &key, const QStringList &sectionNames, const QString &value);

private:
    struct Section
    {
        QStringList keys;
        QHash<QString, QString> values;
    };
    QStringList fSectionOrder;
    QHash<QString, Section> fSections;
};
