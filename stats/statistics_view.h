#pragma once

#include <optional>

// The seven views of the statistics window, in the order of its view choice:
// the four tally sheets, then the three graphs. The printed sheets, the
// graphs and the window all go by these values.
enum class StatisticsView : int {
    Summary = 0,    // 集計表
    TitleGrade = 1, // 級・職名別
    Age = 2,        // 年齢別
    Experience = 3, // 経験年数別
    Graph1 = 4,     // グラフ
    Graph2 = 5,     // グラフ２
    Graph3 = 6,     // グラフ３
};
inline constexpr int kStatisticsViewCount = 7;

inline bool isGraphView(StatisticsView view)
{
    return view >= StatisticsView::Graph1;
}

// The view at a position of the view choice; nullopt for no choice (-1).
inline std::optional<StatisticsView> statisticsViewAt(int index)
{
    if (index < 0 || index >= kStatisticsViewCount)
        return std::nullopt;
    return StatisticsView(index);
}
