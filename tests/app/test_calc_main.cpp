// SPDX-License-Identifier: GPL-3.0-or-later
// The calculator window: start, EXEC through Enter and the button, the comma key, the
// decimals scroll bar, message boxes and the error box.
#include <QClipboard>
#include <QDialog>
#include <QtTest>
#include <new>
#include <stdexcept>
#include <utility>

#include "tests/app/app_fixture.h"
#include "ui/application.h"

using zentu::ui::ApplicationTitle;

class CalcMainTest : public AppWindowTest {
    Q_OBJECT

  private slots:
    void startsEmptyWithTheFocusInTheMemo() {
        QCOMPARE(f->window->windowTitle(), QStringLiteral("Zentu"));
        QCOMPARE(f->window->size(), QSize(289, 532));
        QCOMPARE(QApplication::focusWidget(), f->memo());
        QCOMPARE(f->text(), QString());
        QCOMPARE(f->decNum()->value(), -1);
        QCOMPARE(f->decNum()->toolTip(), QString());
        f->type(QStringLiteral("12"));
        QCOMPARE(f->text(), QStringLiteral("12"));
    }

    void enterRewritesTheCaretLineAndLeavesAnEmptyLastLine() {
        f->type(QStringLiteral("2+3"));
        f->press(Qt::Key_Return);
        QCOMPARE(f->text(), QStringLiteral("2+3=5\n"));
        QCOMPARE(f->caret(), f->text().size());
        f->type(QStringLiteral("6*7"));
        f->press(Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(f->text(), QStringLiteral("2+3=5\n6*7=42\n"));
        QCOMPARE(f->caret(), f->text().size());
    }

    void execWorksOnTheLineWhereTheSelectionStarts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("anchor");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("expected");
        // The text already ends in a line break: nothing is appended.
        QTest::newRow("first line, memo ends in a break") << "1+1\n5*5\n"
                                                          << 1 << 1 << "1+1=2\n5*5\n";
        QTest::newRow("selection from line 2 into line 3")
            << "1\n2+2\n3+3" << 4 << 8 << "1\n2+2=4\n3+3\n";
        QTest::newRow("selection made backwards") << "1\n2+2\n3+3" << 8 << 4 << "1\n2+2=4\n3+3\n";
        // Everything from the first "=" on is replaced; blanks and case stay as written.
        QTest::newRow("old result replaced") << "2 * 4=99=x" << 0 << 0 << "2 * 4=8\n";
        QTest::newRow("empty line") << "" << 0 << 0 << "=0\n";
        // A long line is read and rewritten whole, nothing of it lost.
        const QString long_line = u'7' + QString(5000, u' ') + QStringLiteral("+1");
        QTest::newRow("long line") << long_line << 0 << 0 << long_line + QStringLiteral("=8\n");
        QTest::newRow("error text") << "(2" << 2 << 2 << "(2=Geçersiz parantez...\n";
    }
    void execWorksOnTheLineWhereTheSelectionStarts() {
        QFETCH(QString, text);
        QFETCH(int, anchor);
        QFETCH(int, position);
        QFETCH(QString, expected);
        f->setMemo(text, anchor, position);
        f->click("Exec");
        QCOMPARE(f->text(), expected);
        QCOMPARE(f->caret(), expected.size());
        QVERIFY(!f->engine.ErrorFlag);
    }

    void enterWithShiftCtrlOrAltDoesNotExecute_data() {
        QTest::addColumn<int>("modifier");
        QTest::newRow("shift") << int(Qt::ShiftModifier);
        QTest::newRow("ctrl") << int(Qt::ControlModifier);
        QTest::newRow("alt") << int(Qt::AltModifier);
    }
    void enterWithShiftCtrlOrAltDoesNotExecute() {
        QFETCH(int, modifier);
        f->type(QStringLiteral("2+3"));
        f->press(Qt::Key_Return, Qt::KeyboardModifiers(modifier));
        QVERIFY(!f->text().contains(u'='));
        QCOMPARE(f->memo()->document()->blockCount(), 2);  // a real line, no soft break
        QCOMPARE(f->engine.AnswerStore, 0.0L);
    }

    void enterOnAFocusedButtonPressesThatButton() {
        // Enter on the graph key opens the graph window again instead of executing.
        QDialog graph;
        graph.setObjectName(QStringLiteral("FGraphics"));
        f->window->setGraphWindow(&graph);
        f->type(QStringLiteral("1+1"));
        f->click("BGraph");
        QCOMPARE(f->modals.take().size(), 1);
        QVERIFY(!graph.isVisible());
        QCOMPARE(f->window->focusWidget(), f->key("BGraph"));
        f->press(Qt::Key_Return);
        const QList<SeenModal> seen = f->modals.take();
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].objectName, QStringLiteral("FGraphics"));
        QCOMPARE(f->text(), QStringLiteral("1+1"));
        // Enter on the scroll bar presses the default button EXEC.
        f->decNum()->setFocus();
        f->press(Qt::Key_Return);
        QCOMPARE(f->text(), QStringLiteral("1+1=2\n"));
    }

    void typedCommaBecomesAFullStopInPlace_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("anchor");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        // clang-format off
        QTest::newRow("3,5")                  << ""      << 0 << 0 << "3,5" << "3.5";
        QTest::newRow("in the middle")        << "12"    << 1 << 1 << ","   << "1.2";
        QTest::newRow("replaces a selection") << "12345" << 1 << 4 << ","   << "1.5";
        QTest::newRow("two commas")           << ""      << 0 << 0 << ",,7" << "..7";
        // clang-format on
    }
    void typedCommaBecomesAFullStopInPlace() {
        QFETCH(QString, text);
        QFETCH(int, anchor);
        QFETCH(int, position);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        f->setMemo(text, anchor, position);
        f->type(typed);
        QCOMPARE(f->text(), expected);
    }

    void ctrlCommaTypesNothing() {
        f->setMemo(QStringLiteral("12"));
        f->press(Qt::Key_Comma, Qt::ControlModifier);
        QCOMPARE(f->text(), QStringLiteral("12"));
    }

    void tabMovesTheFocusOn() {
        f->type(QStringLiteral("1"));
        f->press(Qt::Key_Tab);
        QCOMPARE(f->text(), QStringLiteral("1"));
        QVERIFY(QApplication::focusWidget() != f->memo());
        QVERIFY(f->window->isAncestorOf(QApplication::focusWidget()));
    }

    void commaExecutesAsAFullStop() {
        f->type(QStringLiteral("1,5*2"));
        f->press(Qt::Key_Return);
        QCOMPARE(f->text(), QStringLiteral("1.5*2=3\n"));
    }

    void pastedTextKeepsItsCommas() {
        QApplication::clipboard()->setText(QStringLiteral("1,5;2,5"));
        f->memo()->paste();
        QCoreApplication::processEvents();
        QCOMPARE(f->text(), QStringLiteral("1,5;2,5"));
    }

    void decimalsHintFollowsTheScrollBar() {
        QScrollBar* bar = f->decNum();
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(bar, &enter);
        QCOMPARE(bar->toolTip(), QStringLiteral("Ondalık Sayısı:-1"));
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);  // a click in the trough
        QCOMPARE(bar->value(), 0);
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // an arrow click
        QCOMPARE(bar->toolTip(), QStringLiteral("Ondalık Sayısı:1"));
        bar->setValue(99);
        QCOMPARE(bar->value(), 12);
        QCOMPARE(bar->toolTip(), QStringLiteral("Ondalık Sayısı:12"));
        bar->setValue(-7);
        QCOMPARE(bar->value(), -1);
    }

    // Reached by Tab from the memo, the decimals bar moves with the keys the way its arrows
    // move it: Left down, Right up, Home and End to -1 and 12.
    void decimalsScrollBarFollowsTheKeyboard() {
        f->press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), f->decNum());
        const std::pair<Qt::Key, int> steps[] = {
            {Qt::Key_Left, -1}, {Qt::Key_Right, 0},  {Qt::Key_Right, 1}, {Qt::Key_Left, 0},
            {Qt::Key_End, 12},  {Qt::Key_Right, 12}, {Qt::Key_Home, -1},
        };
        for (const auto& [key, value] : steps) {
            f->press(key);
            QCOMPARE(f->decNum()->value(), value);
        }
        QCOMPARE(f->decNum()->toolTip(), QStringLiteral("Ondalık Sayısı:-1"));
    }

    void execRoundsToTheChosenDecimals_data() {
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("expected");
        QTest::newRow("not rounded") << -1 << "2/3=0.666666666667\n";
        QTest::newRow("none") << 0 << "2/3=1\n";
        QTest::newRow("two") << 2 << "2/3=0.67\n";
        QTest::newRow("twelve") << 12 << "2/3=0.666666666667\n";
    }
    void execRoundsToTheChosenDecimals() {
        QFETCH(int, decimals);
        QFETCH(QString, expected);
        f->decNum()->setValue(decimals);
        f->type(QStringLiteral("2/3"));
        f->press(Qt::Key_Return);
        QCOMPARE(f->text(), expected);
    }

    void roundingOverflowReachesTheErrorBoxAndTheProgramGoesOn() {
        f->decNum()->setValue(12);
        f->type(QStringLiteral("1E4930"));
        f->press(Qt::Key_Return);
        const QList<SeenModal> seen = f->modals.take();
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].title, ApplicationTitle());
        QCOMPARE(seen[0].icon, QMessageBox::Critical);
        QCOMPARE(seen[0].text, QStringLiteral("Kayan nokta taşması."));
        QCOMPARE(f->text(), QStringLiteral("1E4930"));  // the line is left as it was
        f->decNum()->setValue(-1);
        f->memo()->setFocus();
        f->press(Qt::Key_Return);
        QCOMPARE(f->text(), QStringLiteral("1E4930=1E4930\n"));
    }

    // A long computation shows a progress dialog after half a second; its Cancel (the
    // watcher rejects the dialog) ends the line as a failure and keeps the answer store
    // and the series.
    void cancellingALongComputationKeepsAnswerAndSeries() {
        f->type(QStringLiteral("DAT(4;5)"));
        f->press(Qt::Key_Return);
        f->type(QStringLiteral("42"));
        f->press(Qt::Key_Return);
        f->type(QStringLiteral("1+INT(X;X;0;1;2000000000)"));
        f->press(Qt::Key_Return);
        const QList<SeenModal> seen = f->modals.take();
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].objectName, QStringLiteral("EngineProgress"));
        QCOMPARE(seen[0].title, ApplicationTitle());
        QVERIFY(f->text().endsWith(QStringLiteral("1+INT(X;X;0;1;2000000000)=Yazım Hatası...\n")));
        QCOMPARE(f->engine.AnswerStore, 42.0L);
        f->type(QStringLiteral("SUM()+ANS()"));
        f->press(Qt::Key_Return);
        QVERIFY(f->text().endsWith(QStringLiteral("SUM()+ANS()=51\n")));
        // A short line shows no dialog.
        QVERIFY(f->modals.empty());
    }

    void errorsEscapingAnyEventHandlerReachTheErrorBox() {
        struct Failing : QObject {
            bool eventFilter(QObject*, QEvent* event) override {
                if (event->type() == QEvent::User) throw std::runtime_error("Bellek yetersiz");
                return false;
            }
        } failing;
        f->memo()->installEventFilter(&failing);
        QEvent event(QEvent::User);
        QApplication::sendEvent(f->memo(), &event);
        const QList<SeenModal> seen = f->modals.take();
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].icon, QMessageBox::Critical);
        QCOMPARE(seen[0].title, QStringLiteral("Zentu Scientific Calculator"));
        QCOMPARE(seen[0].text, QStringLiteral("Bellek yetersiz."));
        f->type(QStringLiteral("1+1"));
        f->press(Qt::Key_Return);
        QCOMPARE(f->text(), QStringLiteral("1+1=2\n"));
    }

    void errorBoxTextEndsInAFullStop_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        // clang-format off
        QTest::newRow("letter")                 << "Bellek yetersiz" << "Bellek yetersiz.";
        QTest::newRow("Turkish letter")         << "taşma"           << "taşma.";
        QTest::newRow("digit (code 48 and up)") << "hata 7"          << "hata 7.";
        QTest::newRow("full stop (46)")         << "hata."           << "hata.";
        QTest::newRow("minus (45)")             << "hata -"          << "hata -";
        QTest::newRow("empty")                  << ""                << "";
        // clang-format on
    }
    void errorBoxTextEndsInAFullStop() {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(zentu::ui::ErrorBoxText(message), shown);
    }

    // What a guarded handler hands to its sink: the message of what escaped it, once, and
    // nothing when nothing escapes.
    void guardedHandlersHandWhatEscapesToTheirSink() {
        QStringList sunk;
        const zentu::ui::ErrorSink sink = [&](QWidget* parent, const QString& message) {
            QCOMPARE(parent, f->window.get());
            sunk << message;
        };
        const auto run = [&](auto handler) {
            zentu::ui::RunGuarded(f->window.get(), sink, handler);
        };
        run([] { throw std::runtime_error("Geçersiz seri verisi: (5)"); });
        run([] { throw std::bad_alloc(); });
        run([] { throw 7; });
        run([] {});
        QCOMPARE(sunk,
                 (QStringList{"Geçersiz seri verisi: (5)", "Yetersiz bellek", "Beklenmeyen hata"}));
        // Connected through Guarded, a handler runs at each emission and its errors go the
        // same way.
        QObject sender;
        int calls = 0;
        QObject::connect(&sender, &QObject::objectNameChanged, f->window.get(),
                         zentu::ui::Guarded(f->window.get(), sink, [&] {
                             if (++calls == 2) throw std::runtime_error("ikinci");
                         }));
        for (const char* name : {"a", "b", "c"}) sender.setObjectName(QString::fromLatin1(name));
        QCOMPARE(calls, 3);
        QCOMPARE(sunk.size(), 4);
        QCOMPARE(sunk.back(), QStringLiteral("ikinci"));
    }

    void engineBoxesAreShownInOrderWhileTheLineRuns() {
        QList<QPair<zentu::BoxKind, QString>> boxes;
        f->engine.ShowBox = [&](zentu::BoxKind kind, const std::string& text) {
            boxes.append({kind, QString::fromStdString(text)});
        };
        f->type(QStringLiteral("DAT(1;2)"));
        f->press(Qt::Key_Return);
        f->type(QStringLiteral("DSEE()+dif(x;x;1;10)"));
        f->press(Qt::Key_Return);
        QCOMPARE(f->text(), QStringLiteral("DAT(1;2)=2\nDSEE()+dif(x;x;1;10)=3\n"));
        QCOMPARE(boxes.size(), 6);
        QCOMPARE(boxes[0].first, zentu::BoxKind::Information);
        QVERIFY(boxes[0].second.contains(QStringLiteral("[2]")));
        for (int i = 1; i < 6; ++i) QCOMPARE(boxes[i].first, zentu::BoxKind::Plain);
        QVERIFY(boxes[1].second.startsWith(QStringLiteral("fx=")));
        QVERIFY(boxes[5].second.startsWith(QStringLiteral("doDif=")));
    }

    void engineBoxesAreModalMessageBoxes() {
        f->type(QStringLiteral("DAT(4)+DSEE()+dif(x;x;1;10)"));
        f->press(Qt::Key_Return);
        const QList<SeenModal> seen = f->modals.take();
        QCOMPARE(seen.size(), 6);
        QCOMPARE(seen[0].icon, QMessageBox::Information);
        QVERIFY(seen[0].text.contains(QStringLiteral("[4]")));
        for (int i = 1; i < 6; ++i) {
            QCOMPARE(seen[i].icon, QMessageBox::NoIcon);
            QCOMPARE(seen[i].title, ApplicationTitle());
        }
        QCOMPARE(f->text(), QStringLiteral("DAT(4)+DSEE()+dif(x;x;1;10)=3\n"));
    }

    void controlsStandWhereTheLayoutPutsThem_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("rect");  // in window coordinates
        // Main (2,3) > Screen (5,3) > memo (4,2)
        QTest::newRow("EnterFormula") << "EnterFormula" << QRect(11, 8, 269, 175);
        // Main (2,3) > Body (6,301)
        QTest::newRow("BEdit") << "BEdit" << QRect(11, 308, 38, 25);
        QTest::newRow("DecNum") << "DecNum" << QRect(173, 387, 103, 25);
        QTest::newRow("Exec") << "Exec" << QRect(173, 443, 104, 78);
        // ... > Numeric (4,79) inside its one-pixel border
        QTest::newRow("BArti") << "BArti"
                               << QRect(2 + 6 + 4 + 1 + 113, 3 + 301 + 79 + 1 + 104, 35, 25);
        QTest::newRow("bAbs") << "bAbs" << QRect(242, 269, 40, 25);
        QTest::newRow("bDn") << "bDn" << QRect(127, 261, 34, 34);
    }
    void controlsStandWhereTheLayoutPutsThem() {
        QFETCH(QString, name);
        QFETCH(QRect, rect);
        auto* control = f->window->findChild<QWidget*>(name);
        QVERIFY(control != nullptr);
        QCOMPARE(QRect(control->mapTo(f->window.get(), QPoint(0, 0)), control->size()), rect);
    }

    void longLinesScrollSideways() {
        f->type(QString(200, u'9'));
        QCOMPARE(f->memo()->document()->lineCount(), 1);
        QVERIFY(f->memo()->horizontalScrollBar()->maximum() > 0);
    }
};

// The program's own application object, which routes errors escaping event handlers
// into the error box.
int main(int argc, char** argv) {
    zentu::ui::ZentuApplication app(argc, argv);
    QTEST_DISABLE_KEYPAD_NAVIGATION
    CalcMainTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "test_calc_main.moc"
