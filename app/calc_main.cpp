// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/calc_main.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <string>

#include "app/glyphs.h"
#include "engine/engine.h"
#include "ui/application.h"
#include "ui/engine_progress.h"
#include "ui/look.h"
#include "ui/scroll_bar.h"

namespace zentu::app {

using ui::ApplicationTitle;
using ui::EngineProgress;

namespace {

// A panel that paints its own colour without handing it down to its children through
// the palette, so buttons and scroll bars keep their usual look on any panel.
class TPanel : public QFrame {
  public:
    TPanel(QWidget* parent, const char* name, QColor colour) : QFrame(parent), colour_(colour) {
        setObjectName(QString::fromLatin1(name));
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        if (colour_.isValid()) QPainter(this).fillRect(rect(), colour_);
        QFrame::paintEvent(event);
    }

  private:
    QColor colour_;
};

bool IsEnterKey(const QKeyEvent* e) {
    return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
}

// Enter without Shift, Ctrl or Alt (the keypad's Enter counts as plain).
bool IsPlainEnter(const QKeyEvent* e) {
    return IsEnterKey(e) && (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

}  // namespace

TCalcMain::TCalcMain(zentu::Engine& engine, QWidget* parent) : QWidget(parent), engine_(engine) {
    setObjectName(QStringLiteral("CalcMain"));
    setWindowTitle(QStringLiteral("Zentu"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kCalcMainWidth, kCalcMainHeight);
    setFont(ui::PixelFont(ui::kTahoma, 11));
    BuildControls();
    engine_.ShowBox = [this](zentu::BoxKind kind, const std::string& text) {
        ShowEngineBox(kind, text);
    };
    init();
}

TCalcMain::~TCalcMain() {
    engine_.ShowBox = nullptr;
}

void TCalcMain::init() {
    ResultFormat = QLocale(QLocale::English, QLocale::UnitedStates);
    ResultFormat.setNumberOptions(QLocale::OmitGroupSeparator);
}

void TCalcMain::BuildControls() {
    Main = new TPanel(this, "Main", ui::kBlack);
    Main->setGeometry(2, 3, 284, 526);

    Screen = new TPanel(Main, "Screen", QColor());
    Screen->setGeometry(5, 3, 275, 180);

    EnterFormula = new QPlainTextEdit(Screen);
    EnterFormula->setObjectName(QStringLiteral("EnterFormula"));
    EnterFormula->setGeometry(4, 2, 269, 175);
    EnterFormula->setFont(ui::PixelFont(ui::kEstrangelo, 13));
    EnterFormula->setLineWrapMode(QPlainTextEdit::NoWrap);
    EnterFormula->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    EnterFormula->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    EnterFormula->setTabChangesFocus(true);
    {
        QPalette palette = EnterFormula->palette();
        palette.setColor(QPalette::Base, QApplication::palette().color(QPalette::ToolTipBase));
        palette.setColor(QPalette::Text, QApplication::palette().color(QPalette::ToolTipText));
        EnterFormula->setPalette(palette);
    }
    EnterFormula->installEventFilter(this);
    EnterFormula->setAccessibleName(QStringLiteral("Hesap satırları"));

    Body = new TPanel(Main, "Body", ui::kMoneyGreen);
    Body->setGeometry(6, 301, 272, 219);

    Numeric = new TPanel(Body, "Numeric", ui::kInactiveCaptionGradient);
    Numeric->setGeometry(4, 79, 155, 138);
    Numeric->setFrameStyle(QFrame::Box | QFrame::Plain);
    Numeric->setLineWidth(1);
    {
        // The border line in the design's black, whatever the desktop's window text is.
        QPalette palette = Numeric->palette();
        palette.setColor(QPalette::WindowText, ui::kBlack);
        Numeric->setPalette(palette);
    }

    // Created before the keys so that the tab order runs memo, Body, Main.
    DecNum = new ui::TScrollBar(Body);
    DecNum->setObjectName(QStringLiteral("DecNum"));
    DecNum->setAccessibleName(QStringLiteral("Ondalık Sayısı"));
    DecNum->setGeometry(165, 83, 103, 25);
    DecNum->setRange(-1, 12);
    DecNum->setSingleStep(1);
    DecNum->setPageStep(1);
    DecNum->setValue(-1);
    DecNum->installEventFilter(this);
    connect(DecNum, &QScrollBar::valueChanged, this,
            ui::Guarded(this, ui::ShowErrorBox, [this] { DecNumChange(); }));

    for (const KeyDef& key : KeypadTable()) {
        QPushButton* button = BuildKey(key);
        if (key.id == Key::Exec) Exec = button;
        if (key.id == Key::BGraph) BGraph = button;
        if (key.id == Key::bUp) bUp = button;
    }
    Exec->setDefault(true);
    BGraph->setEnabled(false);
    bUp->setEnabled(false);
}

QPushButton* TCalcMain::BuildKey(const KeyDef& key) {
    QWidget* parent = key.parent == KeyParent::Main   ? static_cast<QWidget*>(Main)
                      : key.parent == KeyParent::Body ? static_cast<QWidget*>(Body)
                                                      : static_cast<QWidget*>(Numeric);
    auto* button = new QPushButton(QString::fromUtf8(key.caption), parent);
    button->setObjectName(QString::fromLatin1(key.name));
    // Places inside the bordered Numeric panel count from inside its border.
    const QPoint origin =
        key.parent == KeyParent::Numeric ? Numeric->contentsRect().topLeft() : QPoint(0, 0);
    button->setGeometry(origin.x() + key.left, origin.y() + key.top, key.width, key.height);
    switch (key.font) {
        case FontGroup::Window:
            break;
        case FontGroup::Digit: {
            button->setFont(ui::PixelFont(ui::kTahoma, 11, true));
            // The blue text is fixed, so the face is too: a dark desktop palette's button
            // face would swallow the blue.
            QPalette palette = button->palette();
            palette.setColor(QPalette::Button, ui::kButtonFace);
            palette.setColor(QPalette::ButtonText, ui::kBlue);
            button->setPalette(palette);
            break;
        }
        case FontGroup::Function:
            button->setFont(ui::PixelFont(ui::kVerdana, 9, true, true));
            break;
        case FontGroup::Large:
            button->setFont(ui::PixelFont(ui::kArialRounded, 19, true));
            break;
    }
    if (*key.hint) button->setToolTip(QString::fromUtf8(key.hint));
    // A glyph button is named by its hint for assistive technology; the others by their
    // caption, which Qt takes by itself.
    if (!*key.caption) button->setAccessibleName(QString::fromUtf8(key.hint));
    if (key.glyph != NoGlyph) {
        button->setIcon(GlyphIcon(key.glyph));
        button->setIconSize(QSize(kGlyphWidth, kGlyphHeight));
    }
    connect(button, &QPushButton::clicked, this,
            ui::Guarded(this, ui::ShowErrorBox, [this, &key] { RunKey(key); }));
    return button;
}

void TCalcMain::RunKey(const KeyDef& key) {
    switch (key.action) {
        case KeyAction::TypeKey:
            EnterFormulaEnter();
            SimulateKey(key.qt_key, key.keypad, QString::fromUtf8(key.text));
            break;
        case KeyAction::InsertText:
            EnterFormulaEnter();
            InsertText(QString::fromUtf8(key.text));
            break;
        case KeyAction::Edit:
            EnterFormulaEnter();
            break;
        case KeyAction::Clear:
            BClrEnterFormulaClick();
            break;
        case KeyAction::Graph:
            BGraphClick();
            break;
        case KeyAction::Help:
            bInfoClick();
            break;
        case KeyAction::Exec:
            ExecClick();
            break;
    }
}

void TCalcMain::setGraphWindow(QDialog* window) {
    graph_window_ = window;
    BGraph->setEnabled(window != nullptr);
}

void TCalcMain::setHelpWindow(QDialog* window) {
    help_window_ = window;
    bUp->setEnabled(window != nullptr);
}

void TCalcMain::EnterFormulaEnter() {
    EnterFormula->setFocus(Qt::OtherFocusReason);
}

void TCalcMain::EnterFormulaKeyPress(const QString& typed) {
    // The comma is inserted as typed; the keys posted here are handled after it, so the
    // Backspace deletes it again and a full stop takes its place.
    if (typed == QStringLiteral(",")) {
        BBackSpaceClick();
        BCommaClick();
    }
}

void TCalcMain::BBackSpaceClick() {
    RunKey(KeyOf(Key::BBackSpace));
}

void TCalcMain::BCommaClick() {
    RunKey(KeyOf(Key::BComma));
}

void TCalcMain::SimulateKey(int key, bool keypad, const QString& text) {
    QWidget* target = QApplication::focusWidget();
    if (target == nullptr) target = EnterFormula;
    QCoreApplication::postEvent(
        target,
        new QKeyEvent(QEvent::KeyPress, key, keypad ? Qt::KeypadModifier : Qt::NoModifier, text));
}

void TCalcMain::InsertText(const QString& text) {
    // Replaces the selection, or inserts at the caret, leaving the caret after the text, as
    // one undo step after the steps before it.
    QTextCursor cursor = EnterFormula->textCursor();
    cursor.beginEditBlock();
    cursor.insertText(text);
    cursor.endEditBlock();
    // While the document counts as modified, it merges a character typed next into the
    // insertion's undo step; unmodified, the typed character starts a step of its own.
    EnterFormula->document()->setModified(false);
    EnterFormula->setTextCursor(cursor);
}

void TCalcMain::DecNumChange() {
    DecNum->setToolTip(QStringLiteral("Ondalık Sayısı:") + ResultFormat.toString(DecNum->value()));
}

void TCalcMain::ExecClick() {
    QTextDocument* document = EnterFormula->document();
    const QTextBlock block = document->findBlock(EnterFormula->textCursor().selectionStart());
    // The whole line, however long: a cut would lose the rest of what the user typed.
    const QString line = block.text();
    std::string rewritten;
    {
        EngineProgress progress(engine_, this, QStringLiteral("Hesaplanıyor..."));
        rewritten = zentu::LineExecution(engine_, line.toStdString(), DecNum->value());
    }

    QTextCursor edit(block);
    edit.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    edit.insertText(QString::fromStdString(rewritten));

    // Leave the memo ending in one empty line with the caret on it.
    QTextCursor end(document);
    end.movePosition(QTextCursor::End);
    const bool ends_with_break =
        document->blockCount() > 1 && document->lastBlock().text().isEmpty();
    if (!ends_with_break) end.insertBlock();
    EnterFormula->setTextCursor(end);
}

void TCalcMain::BClrEnterFormulaClick() {
    EnterFormula->clear();
    EnterFormulaEnter();
}

void TCalcMain::BGraphClick() {
    ShowModally(graph_window_);
}

void TCalcMain::bInfoClick() {
    ShowModally(help_window_);
}

void TCalcMain::ShowModally(QDialog* window) {
    if (window == nullptr) return;
    window->exec();
    window->close();
}

void TCalcMain::ShowEngineBox(zentu::BoxKind kind, const std::string& text) {
    const bool information = kind == zentu::BoxKind::Information;
    QMessageBox box(information ? QMessageBox::Information : QMessageBox::NoIcon,
                    information ? QStringLiteral("Bilgi") : ApplicationTitle(),
                    QString::fromStdString(text), QMessageBox::Ok, this);
    box.exec();
}

bool TCalcMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == EnterFormula && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (IsPlainEnter(key)) {
            Exec->click();
            return true;
        }
        if (IsEnterKey(key)) {
            // Enter with Shift, Ctrl or Alt breaks the line instead of executing it.
            QTextCursor cursor = EnterFormula->textCursor();
            cursor.insertBlock();
            EnterFormula->setTextCursor(cursor);
            return true;
        }
        // Only a key that types its character reaches the key-press handler.
        const bool types =
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        if (types && !key->text().isEmpty()) EnterFormulaKeyPress(key->text());
        return false;
    }
    if (watched == DecNum && event->type() == QEvent::Enter) DecNumChange();
    return QWidget::eventFilter(watched, event);
}

void TCalcMain::keyPressEvent(QKeyEvent* event) {
    // Plain Enter presses the focused button, or else the default button EXEC.
    if (IsPlainEnter(event)) {
        auto* button = qobject_cast<QPushButton*>(focusWidget());
        (button != nullptr && isAncestorOf(button) ? button : Exec)->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TCalcMain::paintEvent(QPaintEvent*) {
    // Lime shows only as the thin frame around Main.
    QPainter(this).fillRect(rect(), ui::kLime);
}

void TCalcMain::showEvent(QShowEvent* event) {
    if (!centred_) {
        centred_ = true;
        if (QScreen* desktop = screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(desktop->availableGeometry().center());
            move(ui::KeepInside(frame, desktop->availableGeometry()));
        }
    }
    QWidget::showEvent(event);
}

}  // namespace zentu::app
