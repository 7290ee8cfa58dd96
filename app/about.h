// SPDX-License-Identifier: GPL-3.0-or-later
// The help window `FAbout`: a reference card of the expression language on five pages,
// a credits text and four tables of functions and one of constants. It is filled once
// when created and only hidden when closed, so it keeps its page, scroll position and
// selection from one opening to the next.
#pragma once

#include <QDialog>
#include <QString>
#include <QTableWidget>
#include <array>

class QAbstractButton;
class QTabWidget;
class QTextEdit;

namespace zentu::app {

inline constexpr int kAboutWidth = 386;
inline constexpr int kAboutHeight = 242;
inline constexpr int kGridRowHeight = 16;

// A read-only table of texts whose first row and first column are fixed headings that do
// not scroll. Cells are addressed as (column, row) with the headings in row 0 and column 0.
class TStringGrid : public QTableWidget {
  public:
    TStringGrid(QWidget* parent, const char* name, int row_count,
                const std::array<int, 3>& column_widths);

    int RowCount() const { return rowCount() + 1; }
    int ColCount() const { return columnCount() + 1; }
    void SetCell(int col, int row, const QString& text);
    QString Cell(int col, int row) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QString corner_text_;
    QAbstractButton* corner_ = nullptr;
};

class TFAbout : public QDialog {
  public:
    explicit TFAbout(QWidget* parent = nullptr);

    void FormCreate();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QTabWidget* PC = nullptr;
    QTextEdit* Memo1 = nullptr;
    TStringGrid* sgGenel = nullptr;
    TStringGrid* sgTrigo = nullptr;
    TStringGrid* sgLogar = nullptr;
    TStringGrid* sgStat = nullptr;
    TStringGrid* sgSabit = nullptr;
};

}  // namespace zentu::app
