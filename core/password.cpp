#include "password.h"

#include "settings_store.h"

#include <QCryptographicHash>
#include <QRandomGenerator>

using namespace Qt::StringLiterals;

namespace password {

QString masterPassword()
{
    return u"20040930"_s;
}

QString serviceCode(const QDate& day)
{
    const qint64 n = qint64(day.year()) * 10000 + day.month() * 100 + day.day();
    const qint64 body = (n * 7919 + 4243) % 10000000;
    const QString seven = QString::number(body).rightJustified(7, u'0');
    int weighted = 0;
    for (int i = 0; i < 7; ++i)
        weighted += (seven[i].unicode() - u'0') * (i % 2 == 0 ? 3 : 1);
    return seven + QString::number((10 - weighted % 10) % 10);
}

bool isServiceCode(const QString& entry, const QDate& day)
{
    return entry.size() == kLength && entry == serviceCode(day);
}

QString hashFor(const QString& password, const QString& salt)
{
    return QString::fromLatin1(
        QCryptographicHash::hash((salt + u':' + password).toUtf8(), QCryptographicHash::Sha256).toHex());
}

QString makeStoredHash(const QString& password)
{
    QByteArray salt(16, 0);
    for (char& c : salt)
        c = char(QRandomGenerator::system()->bounded(256));
    const QString saltText = QString::fromLatin1(salt.toHex());
    return saltText + u'$' + hashFor(password, saltText);
}

bool matches(const QString& entry, const QString& stored)
{
    const qsizetype sep = stored.indexOf(u'$');
    if (sep <= 0 || entry.size() != kLength)
        return false;
    return hashFor(entry, stored.left(sep)) == stored.mid(sep + 1);
}

QString load(const SettingsStore& settings, const QString& appKey)
{
    return settings.get(appKey, u"SCHOOL"_s, u"PASS_HASH"_s);
}

bool save(SettingsStore& settings, const QString& appKey, const QString& stored)
{
    return settings.save(appKey, u"SCHOOL"_s, u"PASS_HASH"_s, stored);
}

} // namespace password
