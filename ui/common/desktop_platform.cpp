#include "desktop_platform.h"

#include <QNetworkInformation>

bool DesktopPlatform::internetConnected()
{
    // Asks the desktop's network service; nothing is sent anywhere.
    if (!QNetworkInformation::instance() &&
        !QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability))
        return false;
    const QNetworkInformation* info = QNetworkInformation::instance();
    return info && info->reachability() == QNetworkInformation::Reachability::Online;
}
