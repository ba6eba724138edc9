#include "catalogue/data/UserText.h"

#include "catalogue/core/RateText.h"
#include "database/DbField.h"

QString userText(const TDbField &field)
{
    // A number reads as the user writes numbers, as every number shown to them does.
    return field.isNumber() ? localeNumberText(field.asText()) : field.asText();
}
