// Times a 400-page document of ruled tables with about 60 text items a page
// from the first drawing call to the finished PDF.
#include "painter_device.h"
#include "print_framework.h"
#include "roster_store.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryDir>
#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const PrintRequest request = PrintRequest::forJob(PrintJobCode::TestPage, [](PrintJobContext& c) {
        PrintDevice& d = c.device;
        setupReportPage(d, u"A4"_s, u"V"_s);
        for (int page = 0; page < 400; ++page) {
            if (page > 0)
                d.newPage();
            resetPage(d);
            if (c.stopRequested())
                return;
            d.lineWidth = 4;
            d.box(10, 20, 200, 280);
            d.lineWidth = 1;
            d.font.size = 9;
            for (int row = 0; row < 20; ++row) {
                const double y = 20 + 13 * row;
                d.line(10, y, 200, y);
                const QStringList cells{u"瑠璃市立青葉小学校"_s, u"山田　太郎 %1"_s.arg(page * 20 + row),
                                        u"0123-45-6789"_s};
                for (int col = 0; col < 3; ++col) {
                    d.currentX = 12 + 63 * col;
                    d.currentY = y + 4;
                    d.print(cells[col]);
                }
            }
            for (int x : {73, 136})
                d.line(x, 20, x, 280);
        }
    });
    QTemporaryDir dir;
    RosterStore store;
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(u"bench.pdf"_s));
        printer.setResolution(600);
        QElapsedTimer t;
        t.start();
        {
            PainterDevice device(&printer);
            runPrintJob(device, store, request);
        }
        best = std::min(best, double(t.nsecsElapsed()) / 1e6);
    }
    std::printf("400 pages, 60 texts a page, to PDF: %.0f ms (best of 3), %lld bytes\n", best,
                QFileInfo(dir.filePath(u"bench.pdf"_s)).size());
    return 0;
}
