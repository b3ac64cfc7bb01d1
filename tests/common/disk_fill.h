#pragma once

#include <QByteArray>
#include <QFile>
#include <QStorageInfo>
#include <QString>

#include <algorithm>

// Fills the disk holding `folder` so that `freeBytes` remain, as near as the
// disk's blocks allow, with a file "filler.bin" in that folder.
inline bool fillTo(const QString& folder, qint64 freeBytes)
{
    QFile filler(folder + QStringLiteral("/filler.bin"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray block(4096, 'x');
    QStorageInfo disk(folder);
    while (true) {
        disk.refresh();
        const qint64 room = disk.bytesAvailable() - freeBytes;
        if (room <= 0)
            break;
        const qint64 chunk = std::min<qint64>(room, block.size());
        if (filler.write(block.constData(), chunk) != chunk || !filler.flush())
            break;
    }
    return true;
}
