#pragma once

#include <QByteArray>
#include <QString>

class QPrinter;

// A PDF file written whole or not at all. The job draws into a temporary file
// beside the file the user chose; only once the document is finished, on the
// disk and complete does it replace that file. On a failure, a stop, or a
// job that printed nothing, the temporary goes and a PDF already at the
// place stays byte for byte as it was.
class PdfFile {
public:
    explicit PdfFile(const QString& target);
    PdfFile(const PdfFile&) = delete;
    PdfFile& operator=(const PdfFile&) = delete;
    ~PdfFile(); // a file not committed is discarded

    // Checks the place and sets `printer` up to draw into the temporary file
    // (at 600 dots an inch, A4 unless the caller sets another paper). False,
    // with error(), when the place cannot take a PDF (a folder, a device, a
    // read-only file, a folder that does not exist).
    bool prepare(QPrinter& printer);
    // After the job ended its document: the temporary is read back, made
    // sure of and renamed over the target. False, with error(), when any of
    // it failed; the target is then as it was.
    bool commit();
    // Drops the temporary; the target stays as it was.
    void discard();

    const QString& target() const { return m_target; }
    // A sentence for the user naming the file ("ディスクの空きが足りません: …";
    // for a link, the file it leads to).
    const QString& error() const { return m_error; }

private:
    QString m_target;
    QString m_resolved; // the file replaced (a link's own file)
    QString m_staged;
    QString m_error;
};

// Whether `bytes` hold a whole PDF document as a PDF writer finishes one: the
// header, the cross-reference table where the trailer says it starts, and the
// end-of-file mark. A file cut short or with a lost piece fails.
bool isWholePdf(const QByteArray& bytes);
