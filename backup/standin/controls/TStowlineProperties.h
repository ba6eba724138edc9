#pragma once
// A control's properties by dispatch id, as the host reaches them: each declared with
// its name and kind; an unknown id, a read-only property or a value of the other kind
// is refused with EPosError, as a failed IDispatch call is.
#include "backup/core/Stowline_TLB.h"

#include <QHash>
#include <QString>

class TStowlineProperties
{
public:
    // The owner's title starts every refusal.
    explicit TStowlineProperties(const QString &owner);

    void declare(TDispId id, const QString &name, const TOleValue &initial, bool readOnly = false);

    // What the host sets and gets.
    void set(TDispId id, const TOleValue &value);
    TOleValue get(TDispId id) const;
    qint32 intValue(TDispId id) const;
    QString textValue(TDispId id) const;

    // Sets a property from inside the control (read-only ones included).
    void store(TDispId id, const TOleValue &value);

private:
    struct TProperty
    {
        QString name;
        TOleValue value;
        bool readOnly = false;
    };

    QString fOwner;
    QHash<TDispId, TProperty> fProperties;
};
