// SPDX-License-Identifier: GPL-3.0-or-later
// A calculator window of its own for each test: a fresh engine, the window shown and
// active with the focus in the memo, and a watcher that closes every modal box. Test
// classes derive from AppWindowTest, which makes the fixture before each test and fails
// the test when a modal window opened that the test did not take.
#pragma once

#include <QApplication>
#include <QObject>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <memory>

#include "app/calc_main.h"
#include "engine/engine.h"
#include "tests/app/modal_watcher.h"
#include "ui/look.h"

struct AppFixture {
    zentu::Engine engine;
    std::unique_ptr<zentu::app::TCalcMain> window;
    ModalWatcher modals;

    AppFixture() {
        window = std::make_unique<zentu::app::TCalcMain>(engine);
        window->show();
        window->activateWindow();
    }
    ~AppFixture() { window.reset(); }

    bool ready() { return QTest::qWaitForWindowActive(window.get()); }

    QPlainTextEdit* memo() const {
        return window->findChild<QPlainTextEdit*>(QStringLiteral("EnterFormula"));
    }
    QScrollBar* decNum() const { return window->findChild<QScrollBar*>(QStringLiteral("DecNum")); }
    QPushButton* key(const char* name) const {
        return window->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    QString text() const { return memo()->toPlainText(); }
    int caret() const { return memo()->textCursor().position(); }

    // Puts text in the memo and selects [anchor, position) (a caret when equal).
    void setMemo(const QString& text, int anchor, int position) {
        memo()->setPlainText(text);
        QTextCursor cursor(memo()->document());
        cursor.setPosition(anchor);
        cursor.setPosition(position, QTextCursor::KeepAnchor);
        memo()->setTextCursor(cursor);
        memo()->setFocus();
    }
    void setMemo(const QString& text) { setMemo(text, int(text.size()), int(text.size())); }

    // The control that takes the keyboard. A closed modal box leaves no window active on
    // the offscreen platform, where a desktop would activate the calculator again.
    QWidget* keyboardTarget() {
        if (QApplication::focusWidget() == nullptr) {
            window->activateWindow();
            (void)QTest::qWaitForWindowActive(window.get());
        }
        QWidget* target = QApplication::focusWidget();
        return target != nullptr ? target : window->focusWidget();
    }

    // A key pressed on the keyboard, then everything it posted.
    void press(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(keyboardTarget(), k, mods);
        QCoreApplication::processEvents();
    }
    // Characters typed one by one, each handled fully before the next, as typing does.
    void type(const QString& chars) {
        for (QChar c : chars) {
            QTest::keyClick(keyboardTarget(), c.toLatin1());
            QCoreApplication::processEvents();
        }
    }
    // A mouse click on a keypad button; what it posted is handled afterwards.
    void click(const char* name) {
        QTest::mouseClick(key(name), Qt::LeftButton);
        QCoreApplication::processEvents();
    }
};

class AppWindowTest : public QObject {
    Q_OBJECT
  protected:
    std::unique_ptr<AppFixture> f;

  private slots:
    void initTestCase() { zentu::ui::InstallFonts(); }
    void init() {
        f = std::make_unique<AppFixture>();
        QVERIFY(f->ready());
    }
    void cleanup() {
        const QList<SeenModal> unexpected = f->modals.take();
        f.reset();
        for (const SeenModal& m : unexpected)
            QFAIL(
                qPrintable(QStringLiteral("unexpected modal window: ") + m.title + u' ' + m.text));
    }
};
