#pragma once

#include "contact_network.h"
#include "remembered_dialog.h"

#include <QImage>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

struct AppContext;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QVBoxLayout;

// 連絡網作成 (NET_SELF): a new network, an existing file, or nothing.
class NetworkChooser : public QDialog {
    Q_OBJECT
public:
    enum Mode { Cancel = 0, New = 1, Existing = 2 };
    explicit NetworkChooser(QWidget* parent = nullptr);
    Mode mode() const { return m_mode; }
    void takeChoice(); // Command1

private:
    QRadioButton *m_new, *m_existing, *m_cancel;
    Mode m_mode = Cancel;
};

// Where a dragged item comes from or goes to.
struct NetworkPlace {
    enum Kind { List, Grid, Top } kind = List;
    int level = 0; // Grid
    int index = 0; // the candidate position, the chain, or the head
    bool operator==(const NetworkPlace&) const = default;
};

// The tree's columns (levels) and the boxes of each (chains).
inline constexpr int kNetworkLevels = SchoolNetwork::kLevels;
inline constexpr int kNetworkChains = SchoolNetwork::kChains;
using NetworkGridFlags = std::array<std::array<bool, kNetworkChains>, kNetworkLevels>;

// The vertical connectors: [level][chain] is the line in front of column
// `level` between chain - 1 and chain.
using Connectors = NetworkGridFlags;
Connectors connectorsFor(const NetworkGridFlags& filled);

class NetworkWindow;

// The tree: two heads, seven columns of eight boxes, the lines between them.
class NetworkTree : public QWidget {
    Q_OBJECT
public:
    explicit NetworkTree(NetworkWindow& window);
    QRect boxRect(const NetworkPlace& place) const;
    std::optional<NetworkPlace> placeAt(const QPoint& p) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    NetworkWindow& m_window;
};

// 連絡網 (NET_F for schools, NET_F2 for officers): builds a phone tree by
// dragging schools or officers into its boxes, prints it and saves it.
class NetworkWindow : public RememberedDialog {
    Q_OBJECT
public:
    // The school network of the school list's extraction, or the officer
    // network of the officers the officer list shows.
    NetworkWindow(AppContext& context, std::vector<OfficerEntry> officers, bool officerNetwork,
                  QWidget* parent = nullptr);

    bool officerNetwork() const { return m_officers; }
    SchoolNetwork& schoolNetwork() { return m_school; }
    OfficerNetwork& officerNetworkModel() { return m_officer; }
    QListWidget* candidateList() const { return m_list; }
    QLineEdit* remarkBox(int line) const { return m_remarks[size_t(line)]; } // NET_MSG
    int candidateCount() const;
    bool changed() const { return m_changed; }
    NetworkTree* tree() const { return m_tree; }
    const Connectors& connectors() const { return m_connectors; }

    // The chooser and the file dialog of the first activation; tests answer.
    std::function<NetworkChooser::Mode()> chooseMode;
    std::function<QString()> choosePicture;

    // The first activation: the chooser, the file, the candidates.
    bool start();
    // A drag let go over `to`; false when nothing moved.
    bool drop(const NetworkPlace& from, const NetworkPlace& to);
    bool filled(const NetworkPlace& place) const;
    QStringList boxText(const NetworkPlace& place) const;

    void printNetwork();  // B_PRT
    void changePicture(); // IMG, double-clicked

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QVBoxLayout* buildSide();
    QHBoxLayout* buildBottomRow();
    void keepRemark(int line, const QString& text); // NET_MSG
    void refreshAll();
    void refreshList();

    AppContext& m_context;
    bool m_officers;
    std::vector<OfficerEntry> m_officerInput;
    SchoolNetwork m_school;
    OfficerNetwork m_officer;
    std::vector<NetworkNode> m_schoolCandidates;
    std::vector<OfficerNetworkNode> m_officerCandidates;
    Connectors m_connectors{};
    QImage m_picture;
    bool m_changed = false;
    bool m_remarksChanged = false;
    bool m_activated = false;
    bool m_closing = false;
    NetworkTree* m_tree;
    QListWidget* m_list;
    std::array<QLineEdit*, 3> m_remarks{};
    QLabel* m_image;
};
