#include "network_files.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace contact_network {

PathChooser& pathChooser()
{
    static PathChooser chooser = [](bool save, const QString& folder, const QString& name, const QString& filter) {
        const QString start = name.isEmpty() ? folder : name;
        return save ? QFileDialog::getSaveFileName(nullptr, u"名前を付けて保存"_s, start, filter)
                    : QFileDialog::getOpenFileName(nullptr, u"ファイルを開く"_s, start, filter);
    };
    return chooser;
}

namespace {
template <typename Network>
int open(Network& network, const QString& dataFolder, bool officers)
{
    network.fileName = pathChooser()(false, dataFolder, QString(), fileFilter(officers));
    // The dialog may have wandered: the program's folder is the data folder again.
    QDir::setCurrent(dataFolder);
    if (network.fileName.isEmpty() || !QFileInfo(network.fileName).isFile())
        return 0;
    return readFile(network.fileName, network);
}

template <typename Network>
int save(Network& network, const QString& dataFolder, bool officers, QString* error)
{
    network.fileName = pathChooser()(true, dataFolder, network.fileName, fileFilter(officers));
    QDir::setCurrent(dataFolder);
    if (network.fileName.isEmpty())
        return 0;
    return writeFile(network.fileName, network, error);
}
} // namespace

int openNetworkFile(SchoolNetwork& network, const QString& dataFolder)
{
    return open(network, dataFolder, false);
}
int openNetworkFile(OfficerNetwork& network, const QString& dataFolder)
{
    return open(network, dataFolder, true);
}
int saveNetworkFile(SchoolNetwork& network, const QString& dataFolder, QString* error)
{
    return save(network, dataFolder, false, error);
}
int saveNetworkFile(OfficerNetwork& network, const QString& dataFolder, QString* error)
{
    return save(network, dataFolder, true, error);
}

} // namespace contact_network
