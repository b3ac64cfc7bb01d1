#pragma once

#include "contact_network.h"

#include <functional>

class QWidget;

// Opening and saving a network through the file dialogs, starting in the data
// folder and showing only files of the network's kind.
namespace contact_network {

// Asks for a path; "" when the user cancelled. Tests replace it.
using PathChooser =
    std::function<QString(bool save, const QString& folder, const QString& name, const QString& filter)>;
PathChooser& pathChooser();

// 1 read, 0 nothing chosen (or no such file: the network stays new), -1 a
// read error (what was read stays). `fileName` becomes the chosen path.
int openNetworkFile(SchoolNetwork& network, const QString& dataFolder);
int openNetworkFile(OfficerNetwork& network, const QString& dataFolder);
// 1 written, 0 nothing chosen, -1 a write error (`error` says why).
int saveNetworkFile(SchoolNetwork& network, const QString& dataFolder, QString* error = nullptr);
int saveNetworkFile(OfficerNetwork& network, const QString& dataFolder, QString* error = nullptr);

} // namespace contact_network
