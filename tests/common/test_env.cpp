#include "test_env.h"

#include "cp932.h"

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>

namespace {
void enterTestMode()
{
    QStandardPaths::setTestModeEnabled(true);
}
} // namespace
Q_CONSTRUCTOR_FUNCTION(enterTestMode)

namespace testenv {
QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

QByteArray sjis(const QString& text)
{
    QByteArray out;
    cp932::encode(text, out);
    return out;
}
} // namespace testenv
