// SPDX-License-Identifier: GPL-3.0-or-later
// The calculator window `CalcMain`.
//
// The user writes one expression per line in the memo `EnterFormula`. EXEC (the button or
// plain Enter) hands the caret line to the engine's line logic (zentu::LineExecution),
// puts the rewritten line "expression=result" in its place and leaves the caret on an
// empty last line. The keypad (keypad.h) composes expressions: typing keys post key
// events to the focused control after moving the focus back into the memo, so they are
// handled after the click's handler returns and in posting order; inserting keys replace
// the memo's selection at once. `DecNum` chooses the decimals of EXEC's rounding.
//
// The engine's message boxes (DSEE, DIF) are shown modally through its ShowBox hook, and
// every error that escapes a handler reaches the general error box.
#pragma once

#include <QLocale>
#include <QWidget>

#include "app/keypad.h"

class QDialog;
class QFrame;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;

namespace zentu {
class Engine;
enum class BoxKind;
}  // namespace zentu

namespace zentu::app {

// The calculator window's client area.
inline constexpr int kCalcMainWidth = 289;
inline constexpr int kCalcMainHeight = 532;

class TCalcMain : public QWidget {
  public:
    explicit TCalcMain(zentu::Engine& engine, QWidget* parent = nullptr);
    ~TCalcMain() override;

    // The secondary windows, shown modally by BGraph and by the help key. Until one is
    // attached its key stays disabled.
    void setGraphWindow(QDialog* window);
    void setHelpWindow(QDialog* window);

    // ---- Handlers ------------------------------------------------------------------
    void init();
    void EnterFormulaEnter();
    void EnterFormulaKeyPress(const QString& typed);
    void DecNumChange();
    void ExecClick();
    void BBackSpaceClick();
    void BCommaClick();
    void BClrEnterFormulaClick();
    void BGraphClick();
    void bInfoClick();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void BuildControls();
    QPushButton* BuildKey(const KeyDef& key);
    void RunKey(const KeyDef& key);
    void SimulateKey(int key, bool keypad, const QString& text);
    void InsertText(const QString& text);
    void ShowModally(QDialog* window);
    void ShowEngineBox(zentu::BoxKind kind, const std::string& text);

    zentu::Engine& engine_;
    // "en-US" without group separators, built by init: the number in DecNum's hint. The
    // results themselves are written by the engine (zentu::LineExecution), always with ".".
    QLocale ResultFormat;
    bool centred_ = false;

    QFrame* Main = nullptr;
    QFrame* Screen = nullptr;
    QPlainTextEdit* EnterFormula = nullptr;
    QFrame* Body = nullptr;
    QFrame* Numeric = nullptr;
    QScrollBar* DecNum = nullptr;
    QPushButton* Exec = nullptr;
    QPushButton* BGraph = nullptr;
    QPushButton* bUp = nullptr;
    QDialog* graph_window_ = nullptr;
    QDialog* help_window_ = nullptr;
};

}  // namespace zentu::app
