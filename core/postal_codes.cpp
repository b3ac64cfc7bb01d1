#include "postal_codes.h"

QString PostalCodeTable::lookup(const QString& enteredCode) const
{
    if (enteredCode.size() != 8)
        return QString();
    const QStringView head = QStringView(enteredCode).left(3);
    const QStringView tail = QStringView(enteredCode).right(4);
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        const QStringView code(it->code);
        if (code.size() >= 7 && code.left(3) == head && code.right(4) == tail)
            return it->address;
    }
    return QString();
}
