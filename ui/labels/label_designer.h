#pragma once

#include "name_labels.h"
#include "remembered_dialog.h"

#include <QWidget>
#include <array>
#include <functional>

struct AppContext;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
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
// the clerks of the marked posts, stores named layouts and prints them.
class LabelDesigner : public RememberedDialog {
    Q_OBJECT
public:
    LabelDesigner(AppContext& context, QWidget* parent = nullptr);

    AppContext& context() { return m_context; }
    name_labels::LabelLayout& layout() { return m_layout; }
    const std::vector<name_labels::Post>& posts() const { return m_posts; }
    int sample() const { return m_sample; }
    QString layoutFile() const;

    // Takes what the boxes say into the layout and redraws.
    void readBoxes();
    // Shows the layout in the boxes.
    void showLayout();
    void setItemRect(int item, const QRectF& mmRect);
    void redraw();

    void on_B_PRT_clicked();
    void on_B_SAVE_clicked();
    void on_B_DEL_clicked();
    void on_B_PRT_J_clicked();
    void on_S_CAPTION_chosen(const QString& name);
    void on_B_INC_clicked();
    void on_B_DEC_clicked();
    void choosePaper();

    // The colour dialog; tests answer.
    std::function<QColor(const QColor&)> chooseColour;

private:
    struct Row {
        QCheckBox *print, *bold, *spread;
        QLineEdit *top, *left, *width, *height;
        QPushButton* colour;
    };
    void fillNames();
    // Locks the size boxes unless the paper is 自由サイズ; true when free.
    bool lockSizes();
    void showSample();
    std::optional<std::vector<name_labels::LabelLayout>> readFile(bool mustExist);

    AppContext& m_context;
    name_labels::LabelLayout m_layout = name_labels::LabelLayout::defaults();
    std::vector<name_labels::Post> m_posts;
    int m_sample = 0;
    bool m_applying = false;
    std::array<Row, name_labels::kItems> m_rows{};
    std::array<QLineEdit*, 3> m_free{};
    QPushButton* m_mode;
    QLineEdit* m_honorific;
    QComboBox *m_paper, *m_font, *m_caption, *m_names;
    QLineEdit *m_height, *m_width;
    QRadioButton *m_portrait, *m_landscape;
    QLabel *m_schoolName, *m_postal, *m_address;
    QScrollArea* m_scroll;
    LabelPreview* m_preview;
};
