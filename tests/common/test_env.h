#pragma once

#include <QByteArray>
#include <QString>

// Test mode is switched on before any test runs (see test_env.cpp).
namespace testenv {
QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);
// Text in code page 932, for hand-made test files.
QByteArray sjis(const QString& text);
} // namespace testenv
