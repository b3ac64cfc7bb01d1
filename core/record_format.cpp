#include "record_format.h"

#include "file_ops.h"

#include "capacities.h"
#include "cp932.h"

#include <QFile>
#include <cmath>

using namespace Qt::StringLiterals;

RecordReader::RecordReader(QString text) : m_text(std::move(text))
{
    // A DOS end-of-file mark may close the text.
    if (m_text.endsWith(QChar(0x1A)))
        m_text.chop(1);
}

RecordReader RecordReader::fromBytes(const QByteArray& bytes)
{
    std::optional<QString> text = cp932::decode(bytes);
    RecordReader reader(text ? std::move(*text) : QString());
    if (!text)
        reader.fail(u"Shift-JIS として読めない文字があります"_s);
    return reader;
}

void RecordReader::fail(const QString& what)
{
    if (m_error.isEmpty())
        m_error = u"%1 行目、%2 番目の値: %3"_s.arg(m_line).arg(m_value).arg(what);
}

void RecordReader::skipSpace()
{
    while (m_pos < m_text.size() && (m_text[m_pos] == u' ' || m_text[m_pos] == u'\t'))
        ++m_pos;
}

bool RecordReader::atEnd()
{
    while (m_pos < m_text.size()) {
        const QChar c = m_text[m_pos];
        if (c == u'\n')
            ++m_line;
        else if (c != u' ' && c != u'\t' && c != u'\r')
            return false;
        ++m_pos;
    }
    return true;
}

bool RecordReader::next(Kind& kind, QStringView& token)
{
    if (!ok())
        return false;
    ++m_value;
    skipSpace();
    // Line ends before a value separate records: blank lines are skipped.
    while (m_pos < m_text.size() && (m_text[m_pos] == u'\r' || m_text[m_pos] == u'\n')) {
        if (m_text[m_pos] == u'\n')
            ++m_line;
        ++m_pos;
        skipSpace();
    }
    if (m_pos >= m_text.size()) {
        fail(u"値が足りません（ファイルの終わり）"_s);
        return false;
    }
    const QChar first = m_text[m_pos];
    if (first == u'"' || first == u'#') {
        const qsizetype close = m_text.indexOf(first, m_pos + 1);
        if (close < 0) {
            fail(first == u'"' ? u"閉じられていない引用符があります"_s : u"閉じられていない日付があります"_s);
            return false;
        }
        kind = first == u'"' ? Kind::Quoted : Kind::Hash;
        token = QStringView(m_text).mid(m_pos + 1, close - m_pos - 1);
        m_line += int(token.count(u'\n'));
        m_pos = close + 1;
        skipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] != u',' && m_text[m_pos] != u'\r' && m_text[m_pos] != u'\n') {
            fail(u"値の後に余分な文字があります"_s);
            return false;
        }
    } else {
        kind = Kind::Bare;
        qsizetype end = m_pos;
        while (end < m_text.size() && m_text[end] != u',' && m_text[end] != u'\r' && m_text[end] != u'\n')
            ++end;
        token = QStringView(m_text).mid(m_pos, end - m_pos).trimmed();
        m_pos = end;
        if (token.contains(u'"')) {
            fail(u"引用符の位置が正しくありません"_s);
            return false;
        }
    }
    // Consume one separator: a comma, or a line end (CR LF, CR or LF).
    if (m_pos < m_text.size()) {
        if (m_text[m_pos] == u',') {
            ++m_pos;
        } else if (m_text[m_pos] == u'\r') {
            ++m_pos;
            if (m_pos < m_text.size() && m_text[m_pos] == u'\n') {
                ++m_pos;
                ++m_line;
            }
        } else if (m_text[m_pos] == u'\n') {
            ++m_pos;
            ++m_line;
        }
    }
    return true;
}

bool RecordReader::readString(QString& out)
{
    Kind kind;
    QStringView token;
    if (!next(kind, token))
        return false;
    if (kind == Kind::Hash) {
        fail(u"文字列の位置に日付があります"_s);
        return false;
    }
    out = token.toString();
    return true;
}

bool RecordReader::nextNumber(QStringView& token)
{
    Kind kind;
    if (!next(kind, token))
        return false;
    if (kind != Kind::Bare) {
        fail(u"数値の位置に数値以外の値があります"_s);
        return false;
    }
    return true;
}

bool RecordReader::refuseNumber(const QString& what, QStringView token)
{
    fail(what + token.left(20).toString());
    return false;
}

template <typename T>
bool RecordReader::readInteger(T& out)
{
    QStringView token;
    if (!nextNumber(token))
        return false;
    // An empty value reads as 0.
    bool ok = token.isEmpty();
    const qint64 v = ok ? 0 : token.toLongLong(&ok);
    if (!ok)
        return refuseNumber(u"数値ではありません: "_s, token);
    if (v < std::numeric_limits<T>::min() || v > std::numeric_limits<T>::max())
        return refuseNumber(u"数値が範囲外です: "_s, token);
    out = T(v);
    return true;
}

bool RecordReader::readI16(qint16& out)
{
    return readInteger(out);
}

bool RecordReader::readI32(qint32& out)
{
    return readInteger(out);
}

bool RecordReader::readSingle(float& out)
{
    QStringView token;
    if (!nextNumber(token))
        return false;
    bool ok = token.isEmpty();
    const double v = ok ? 0 : token.toDouble(&ok);
    if (!ok || !std::isfinite(v) || std::fabs(v) > 3.4e38)
        return refuseNumber(u"数値ではありません: "_s, token);
    out = float(v);
    return true;
}

bool RecordReader::readDate(Date& out)
{
    Kind kind;
    QStringView token;
    if (!next(kind, token))
        return false;
    if (kind == Kind::Bare && token.isEmpty()) {
        out = Date();
        return true;
    }
    if (kind != Kind::Hash) {
        fail(u"日付の位置に日付以外の値があります"_s);
        return false;
    }
    const QStringView t = token.trimmed();
    // Forms older files hold for a date that was never set.
    if (t.isEmpty() || t.compare(u"NULL"_s, Qt::CaseInsensitive) == 0 || t == u"00:00:00"_s ||
        t == u"0:00:00"_s) {
        out = Date();
        return true;
    }
    // yyyy-mm-dd, possibly followed by a time of day.
    const QStringView datePart = t.left(t.indexOf(u' ') < 0 ? t.size() : t.indexOf(u' '));
    const auto parts = datePart.split(u'-');
    bool ok = parts.size() == 3;
    int ymd[3] = {0, 0, 0};
    for (int i = 0; ok && i < 3; ++i) {
        ymd[i] = parts[i].toInt(&ok);
        ok = ok && !parts[i].isEmpty() && parts[i].size() <= 4;
    }
    const QDate d = ok ? QDate(ymd[0], ymd[1], ymd[2]) : QDate();
    if (!d.isValid() || ymd[0] < 100) {
        fail(u"日付が正しくありません: "_s + t.left(20).toString());
        return false;
    }
    out = Date::fromQDate(d);
    return true;
}

bool RecordReader::skip(int count)
{
    Kind kind;
    QStringView token;
    for (int i = 0; i < count; ++i)
        if (!next(kind, token))
            return false;
    return true;
}

void RecordWriter::separator()
{
    if (!m_lineStart)
        m_bytes += ',';
    m_lineStart = false;
}

void RecordWriter::string(const QString& value, const QString& field)
{
    separator();
    m_bytes += '"';
    QString mapped = cp932::mapLookAlikes(value);
    // A double quote would end the value early; the full-width one reads the same.
    mapped.replace(u'"', QChar(0xFF02));
    QString bad;
    if (!cp932::encode(mapped, m_bytes, &bad)) {
        const QString where = field.isEmpty() ? m_label : m_label + u"の「"_s + field + u"」"_s;
        m_problems << where + u"（保存できない文字: "_s + bad + u"）"_s;
    }
    m_bytes += '"';
}

void RecordWriter::number(qint64 value)
{
    separator();
    m_bytes += QByteArray::number(value);
}

void RecordWriter::date(Date value)
{
    separator();
    // An unset date is written as day 0 itself, which reads back as 0.
    const QDate d = value.toQDate();
    if (!d.isValid() || d.year() < 100 || d.year() > 9999) {
        m_bytes += "#1899-12-30#";
        return;
    }
    m_bytes += '#';
    m_bytes += d.toString(u"yyyy-MM-dd"_s).toLatin1();
    m_bytes += '#';
}

void RecordWriter::single(float value)
{
    separator();
    m_bytes += QByteArray::number(double(value), 'g', 7);
}

void RecordWriter::strings(int count, const QString& filler)
{
    for (int i = 0; i < count; ++i)
        string(filler);
}

void RecordWriter::numbers(int count)
{
    for (int i = 0; i < count; ++i)
        number(0);
}

void RecordWriter::endRecord()
{
    m_bytes += "\r\n";
    m_lineStart = true;
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error)
{
    return fileops::writeFile(path, bytes, error);
}

bool writeFileDirectly(const QString& path, const QByteArray& bytes, QString* error)
{
    return fileops::writeTemporary(path, bytes, error);
}

bool readWholeFile(const QString& path, QByteArray& bytes, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (file.size() > cap::kMaxFileBytes) {
        if (error)
            *error = u"ファイルが大きすぎます"_s;
        return false;
    }
    bytes = file.read(cap::kMaxFileBytes + 1);
    if (bytes.size() > cap::kMaxFileBytes) {
        if (error)
            *error = u"ファイルが大きすぎます"_s;
        return false;
    }
    return true;
}
