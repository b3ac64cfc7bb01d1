#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Finding a person or a school in a list by what the user types: a name, a
// reading or a code. Typed text and the row's texts are compared in one
// form, so "やまだ", "ヤマダ", "ﾔﾏﾀﾞ" and "山田 " in any width find the same
// rows: half-width kana widened, katakana as hiragana, letters and digits
// narrowed and in lower case, spaces of either width dropped.
namespace find_text {

QString comparisonForm(const QString& text);

// What a row is found by: names and readings hold the typed text anywhere,
// codes begin with it.
struct RowKeys {
    QStringList texts;
    QStringList codes;
};

class Matcher {
public:
    explicit Matcher(const QString& typed);
    // Nothing typed (or only spaces): every row would match, none is sought.
    bool isEmpty() const { return m_key.isEmpty(); }
    bool matches(const QString& text) const;
    bool matchesAny(const QStringList& texts) const;
    bool matches(const RowKeys& keys) const;

private:
    QString m_key;
};

// The first row, walking from `start` (itself included) forward or backward
// through `count` rows and wrapping past the end, for which `matches` holds;
// -1 when there is none.
int findRow(int count, int start, bool forward, const std::function<bool(int)>& matches);

} // namespace find_text
