#pragma once

#include "name_labels.h"
#include "remembered_dialog.h"

#include <QWidget>
#include <array>
#include <functional>

struct AppContext;
struct PrintRequest;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSpinBox;
class LabelDesigner;

// The full-scale preview of a label: the paper, the items' outlines and
// texts; items are moved and resized with the mouse.
class LabelPreview : public QWidget {
    Q_OBJECT
public:
    explicit LabelPreview(LabelDesigner& designer);
    // Preview millimetres (the paper starts at 2, 2) of a widget point, and back.
    QPointF toMm(const QPointF& p) const;
    double pixelsPerMm() const;
    // The item under a point and the zone of it (0 inside, 1..4 corners, 5..8 edges).
    std::pair<int, int> hit(const QPointF& mm) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRectF dragged(const QPointF& now) const;
    LabelDesigner& m_designer;
    int m_item = -1;
    int m_zone = -1;
    QPointF m_start;
    QRectF m_outline;
};

// 氏名印刷 (ST_PRT_S): lays out address labels, envelopes or postcards for
// the clerks of the marked posts, stores named layouts and prints them, one
// to a page or on a sheet of labels, for all the marked posts or those ticked.
class LabelDesigner : public RememberedDialog {
    Q_OBJECT
public:
    LabelDesigner(AppContext& context, QWidget* parent = nullptr);

    AppContext& context() { return m_context; }
    name_labels::LabelLayout& layout() { return m_layout; }
    const std::vector<name_labels::Post>& posts() const { return m_posts; }
    int sample() const { return m_sample; }
    QString layoutFile() const;
    QString userSheetFile() const;
    // The sheet chosen, with the start position and the posts left out.
    name_labels::SheetPrint sheetPrint() const;
    const name_labels::LabelSheet& userSheet() const { return m_userSheet; }
    // The sheet chosen in SHEET_LIST (the user's sheet as its boxes say).
    name_labels::LabelSheet chosenSheet() const;

    // Takes what the boxes say into the layout and redraws.
    void readBoxes();
    // Shows the layout in the boxes.
    void showLayout();
    void setItemRect(int item, const QRectF& mmRect);
    void redraw();

    void printSelected();                        // B_PRT
    void saveLayout();                           // B_SAVE
    void deleteLayout();                         // B_DEL
    void toggleAddressee();                      // B_PRT_J
    void applyStoredLayout(const QString& name); // S_CAPTION
    void nextSample();                           // B_INC
    void previousSample();                       // B_DEC
    void choosePaper();                          // P_SIZE, PRT_V, PRT_H
    void chooseSheet();                          // SHEET_LIST
    void saveUserSheet();                        // B_SHEET_SAVE

    // The colour dialog; tests answer.
    std::function<QColor(const QColor&)> chooseColour;
    // Where 印刷 sends the job: the printer, preview or PDF file chosen in
    // 出力先; tests record it instead.
    std::function<bool(const PrintRequest&)> sendToPrinter;

protected:
    void done(int result) override;

private:
    struct Row {
        QCheckBox *print, *bold, *spread;
        QLineEdit *top, *left, *width, *height;
        QPushButton* colour;
    };
    // The steps the form is built in, one for each group of controls.
    QGridLayout* buildItemRows();
    QGridLayout* buildPaperAndFont();
    QGroupBox* buildSheetBox();
    QGroupBox* buildPostBox();
    void buildPreview();
    QHBoxLayout* buildButtons();
    void connectControls();

    void fillNames();
    // Locks the size boxes unless the paper is 自由サイズ; true when free.
    bool lockSizes();
    void showSample();
    std::optional<std::vector<name_labels::LabelLayout>> readFile(bool mustExist);

    // The user's sheet from PRT_S.SHT; a file that cannot be read is told
    // and the default sheet is used.
    void readUserSheetFile();
    void showSheet(const name_labels::LabelSheet& sheet);
    // On a label sheet the design's paper is the label (自由サイズ, the
    // label's width and height); back on 1枚に1枚 the layout's own paper
    // returns.
    void fitPaperToSheet(const name_labels::LabelSheet& sheet);
    void showPaper(const QString& name, float height, float width);
    void readSheetBoxes();
    void enablePostList();
    // The choices of sheet, start, posts and destination, kept in the
    // settings store from one opening to the next.
    void restoreChoices();
    void saveChoices();

    AppContext& m_context;
    name_labels::LabelLayout m_layout = name_labels::LabelLayout::defaults();
    name_labels::LabelSheet m_userSheet = name_labels::defaultUserSheet();
    std::vector<name_labels::Post> m_posts;
    // The layout's own paper while a label sheet shows the label as paper.
    struct OwnPaper {
        QString name;
        float height = 0, width = 0;
    };
    std::optional<OwnPaper> m_ownPaper;
    int m_sample = 0;
    bool m_applying = false;
    std::array<Row, name_labels::kItems> m_rows{};
    std::array<QLineEdit*, 3> m_free{};
    QPushButton* m_mode = nullptr;
    QLineEdit* m_honorific = nullptr;
    QComboBox *m_paper = nullptr, *m_font = nullptr, *m_caption = nullptr, *m_names = nullptr;
    QLineEdit *m_height = nullptr, *m_width = nullptr;
    QRadioButton *m_portrait = nullptr, *m_landscape = nullptr;
    QPushButton *m_up = nullptr, *m_down = nullptr;
    QLabel *m_schoolName = nullptr, *m_postal = nullptr, *m_address = nullptr;
    QScrollArea* m_scroll = nullptr;
    LabelPreview* m_preview = nullptr;

    QComboBox* m_sheet = nullptr;
    // Paper width and height, rows, columns, top and left margins, pitch
    // across and down, label width and height.
    std::array<QLineEdit*, 10> m_sheetBoxes{};
    QPushButton* m_saveSheet = nullptr;
    QSpinBox *m_startRow = nullptr, *m_startColumn = nullptr;
    QRadioButton *m_allPosts = nullptr, *m_tickedPosts = nullptr;
    QListWidget* m_postList = nullptr;
    QComboBox* m_destination = nullptr;
    QPushButton *m_print = nullptr, *m_save = nullptr, *m_delete = nullptr, *m_printerSetup = nullptr,
                *m_close = nullptr;
};
