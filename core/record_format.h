#pragma once

#include "date.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The comma-separated record format of every data file: strings in double
// quotes (no escaping), decimal numbers, dates as #yyyy-mm-dd#, records ended
// by CR LF, text in code page 932. On reading, commas and line ends both
// separate values; only the order and type of the values matter.

// Reads typed values one after another from decoded text. The first failure
// sticks: every later read fails too, and error() says what went wrong where.
class RecordReader {
public:
    explicit RecordReader(QString text);

    // Decodes `bytes` from code page 932; on failure the reader starts in the
    // error state.
    static RecordReader fromBytes(const QByteArray& bytes);

    bool atEnd();
    bool readString(QString& out);
    bool readI16(qint16& out);
    bool readI32(qint32& out);
    bool readDate(Date& out);
    bool readSingle(float& out);
    // Skips `count` values of any type.
    bool skip(int count);

    bool ok() const { return m_error.isEmpty(); }
    const QString& error() const { return m_error; }
    int line() const { return m_line; }
    void fail(const QString& what);

private:
    enum class Kind { Quoted, Hash, Bare };
    bool next(Kind& kind, QStringView& token);
    bool nextNumber(QStringView& token);
    bool refuseNumber(const QString& what, QStringView token);
    template <typename T>
    bool readInteger(T& out);
    void skipSpace();

    QString m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
    int m_value = 0;
    QString m_error;
};

// Builds the bytes of a file record by record. A string code page 932 cannot
// hold is never written as substitute bytes: it is noted with the record and
// field it came from, and the caller refuses to save.
class RecordWriter {
public:
    // A name for the record being written, used when a value cannot be encoded.
    void beginRecord(const QString& label) { m_label = label; }
    void string(const QString& value, const QString& field = QString());
    void number(qint64 value);
    void date(Date value);
    void single(float value);
    void strings(int count, const QString& filler = QString()); // filler values ""
    void numbers(int count);                                    // filler values 0
    void endRecord();

    bool ok() const { return m_problems.isEmpty(); }
    // "record: field (character)" for every value that could not be encoded.
    const QStringList& problems() const { return m_problems; }
    const QByteArray& bytes() const { return m_bytes; }

private:
    void separator();
    QByteArray m_bytes;
    QString m_label;
    QStringList m_problems;
    bool m_lineStart = true;
};

// Writes `bytes` to `path` atomically: the file is written beside the target
// and renamed over it, so a failure leaves the previous file whole.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);
// Writes a temporary file that is deleted again within the same operation.
bool writeFileDirectly(const QString& path, const QByteArray& bytes, QString* error = nullptr);
// Reads a whole file no larger than cap::kMaxFileBytes.
bool readWholeFile(const QString& path, QByteArray& bytes, QString* error = nullptr);

// The end of every reading: `value` when the reader met no failure, otherwise
// nullopt with the reader's reason in `error`.
template <typename T>
std::optional<T> readingResult(const RecordReader& r, T&& value, QString* error)
{
    if (!r.ok()) {
        if (error)
            *error = r.error();
        return std::nullopt;
    }
    return std::optional<T>(std::forward<T>(value));
}

// How many records a file may hold and what a longer file means: a failure
// saying `tooMany`, or, when `tooMany` is empty, the rest of the file unread.
struct RecordLimit {
    RecordLimit(size_t count, QString tooMany = QStringLiteral("記録が多すぎます"))
        : count(count),
          tooMany(std::move(tooMany))
    {
    }
    static RecordLimit readingUpTo(size_t count) { return RecordLimit(count, QString()); }
    size_t count;
    QString tooMany;
};

// Reads records one after another until the end of the text: `readOne(reader,
// record)` fills a record (and may fail the reader when a value is out of
// range). The first failure, or a record beyond the limit, gives nullopt with
// the reason in `error`.
template <typename T, typename ReadOne>
std::optional<std::vector<T>> readRecords(RecordReader& r, const RecordLimit& limit, ReadOne readOne, QString* error)
{
    std::vector<T> records;
    while (r.ok() && !r.atEnd()) {
        if (records.size() >= limit.count) {
            if (!limit.tooMany.isEmpty())
                r.fail(limit.tooMany);
            break;
        }
        T record;
        readOne(r, record);
        if (!r.ok())
            break;
        records.push_back(std::move(record));
    }
    return readingResult(r, std::move(records), error);
}
