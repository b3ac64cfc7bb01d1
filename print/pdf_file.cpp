#include "pdf_file.h"

#include "file_ops.h"
#include "print_output.h"

#include <QFile>
#include <QPrinter>

using namespace Qt::StringLiterals;

PdfFile::PdfFile(const QString& target) : m_target(target)
{
}

PdfFile::~PdfFile()
{
    discard();
}

bool PdfFile::prepare(QPrinter& printer)
{
    m_error.clear();
    if (!fileops::replaceableTarget(m_target, &m_resolved, &m_error))
        return false;
    if (!fileops::createStaged(m_resolved, &m_staged, &m_error))
        return false;
    preparePdf(printer, m_staged);
    return true;
}

bool PdfFile::commit()
{
    if (m_staged.isEmpty()) {
        m_error = fileops::failureText(m_resolved.isEmpty() ? m_target : m_resolved, false);
        return false;
    }
    QByteArray bytes;
    if (!fileops::syncStaged(m_staged, m_resolved, &bytes, &m_error)) {
        discard();
        return false;
    }
    if (!isWholePdf(bytes)) {
        // The printing engine says nothing of a write that failed; a file
        // that came out short is how it shows. Ask the disk before the
        // temporary frees its space.
        m_error = fileops::failureText(m_resolved, fileops::diskIsFull(m_staged));
        discard();
        return false;
    }
    if (!fileops::renameStaged(m_staged, m_resolved, &m_error)) {
        discard();
        return false;
    }
    m_staged.clear();
    return true;
}

void PdfFile::discard()
{
    if (!m_staged.isEmpty())
        QFile::remove(m_staged);
    m_staged.clear();
}

bool isWholePdf(const QByteArray& bytes)
{
    if (!bytes.startsWith("%PDF-"))
        return false;
    const QByteArray end = bytes.right(64).trimmed();
    if (!end.endsWith("%%EOF"))
        return false;
    const qsizetype mark = bytes.lastIndexOf("startxref");
    if (mark < 0)
        return false;
    const QByteArray tail = bytes.mid(mark + 9);
    qsizetype i = 0;
    while (i < tail.size() && (tail[i] == ' ' || tail[i] == '\r' || tail[i] == '\n'))
        ++i;
    qsizetype digits = i;
    while (digits < tail.size() && tail[digits] >= '0' && tail[digits] <= '9')
        ++digits;
    bool ok = false;
    const qint64 offset = tail.mid(i, digits - i).toLongLong(&ok);
    if (!ok || offset <= 0 || offset >= mark)
        return false;
    // Every byte before the table was written where the writer counted it.
    return bytes.mid(offset, 4) == "xref";
}
