#pragma once

#include <QWidget>

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class SeriesGraph;
class SeriesModel;
class SwingSeries;

// The きろく window: the series as a graph and a table, its figures in large
// type, a field for the pendulum's length and g from it, 「はじめから」 for a
// new series and 「コピー」 (or Ctrl+C) for the whole as text to paste into a
// spreadsheet. Modeless; closing it only hides it, so that it opens again
// with the length as typed.
class KirokuWindow : public QWidget {
    Q_OBJECT
public:
    // Sizes for a projector: the figures are read from the back of the room.
    static constexpr int TextPoints = 14;
    static constexpr int FigurePoints = 26;
    static constexpr int NotePoints = 11;
    static constexpr int FigureSpacing = 24;
    static constexpr int Width = 800;
    static constexpr int Height = 600;

    // `series` outlives the window; 「はじめから」 starts it again.
    explicit KirokuWindow(SwingSeries& series);

    // The series has one passage more.
    void passageAdded();

    // Handlers.
    void CmdRestart_Click();
    void CmdCopy_Click();

    SeriesGraph* Graph = nullptr;
    QTableView* Table = nullptr;
    QLineEdit* TextLength = nullptr; // L in metres
    QPushButton* CmdRestart = nullptr;
    QPushButton* CmdCopy = nullptr;
    QAction* CopyKey = nullptr; // Ctrl+C anywhere in the window

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    QLabel* figureValue();
    void showFigures();
    void fitTableWidth();
    void scrollTableToEnd();

    SwingSeries& m_series;
    SeriesModel* m_model = nullptr;
    QLabel* m_count = nullptr;
    QLabel* m_average = nullptr;
    QLabel* m_spread = nullptr;
    QLabel* m_period = nullptr;
    QLabel* m_gravity = nullptr;
};
