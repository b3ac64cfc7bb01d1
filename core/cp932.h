#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Code page 932 (Japanese Windows Shift-JIS), the encoding of every file the
// program reads or writes.
namespace cp932 {

// Replaces characters that Linux input methods type but code page 932 lacks
// with the code-page-932 character that looks the same (波ダッシュ and friends).
QString mapLookAlikes(const QString& text);

// The text of `bytes`, or nothing when they are not valid code page 932
// (including a file cut in the middle of a character).
std::optional<QString> decode(const QByteArray& bytes);

// Appends the encoding of `text` (look-alikes already mapped) to `out`.
// Returns false, appending nothing, when a character cannot be encoded; that
// character is then put in `bad`.
bool encode(const QString& text, QByteArray& out, QString* bad = nullptr);

bool canEncode(const QString& text);

} // namespace cp932
