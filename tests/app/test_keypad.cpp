// SPDX-License-Identifier: GPL-3.0-or-later
// The keypad: typing keys post their key after the focus step and are handled in posting
// order, inserting keys replace the selection at once, CLR, Edit, and the help key.
#include <QTabWidget>
#include <QtTest>
#include <iterator>

#include "app/about.h"
#include "app/glyphs.h"
#include "tests/app/app_fixture.h"
#include "ui/look.h"

class KeypadTest : public AppWindowTest {
    Q_OBJECT

  private slots:
    // Every button as the design lays it out: control name, caption, container, and place
    // and size in it (counted from inside the container's border). Written out here, not
    // read from the keypad table, so that a wrong row in the table fails.
    void everyKeyStandsAsDesigned() {
        struct Expected {
            const char* name;
            const char* caption;
            const char* parent;
            QRect place;
        };
        // clang-format off
        const Expected keys[] = {
            // Function keys, 38 x 25.
            {"BEdit",            "Edit",  "Body",    {3, 4, 38, 25}},
            {"BASin",            "ASIN",  "Body",    {41, 4, 38, 25}},
            {"BPow",             "POW",   "Body",    {79, 4, 38, 25}},
            {"BPi",              "PI",    "Body",    {117, 4, 38, 25}},
            {"BFact",            "(!)",   "Body",    {155, 4, 38, 25}},
            {"BInt",             "INT",   "Body",    {193, 4, 38, 25}},
            {"BDif",             "DIF",   "Body",    {231, 4, 38, 25}},
            {"BAtan",            "ATAN",  "Body",    {3, 28, 38, 25}},
            {"BACos",            "ACOS",  "Body",    {41, 28, 38, 25}},
            {"Blog",             "LOG",   "Body",    {79, 28, 38, 25}},
            {"BExp",             "EXP",   "Body",    {117, 28, 38, 25}},
            {"BLn",              "LN",    "Body",    {155, 28, 38, 25}},
            {"bSinh",            "SINH",  "Body",    {193, 28, 38, 25}},
            {"bCosh",            "COSH",  "Body",    {231, 28, 38, 25}},
            {"BSin",             "SIN",   "Body",    {3, 52, 38, 25}},
            {"BCos",             "COS",   "Body",    {41, 52, 38, 25}},
            {"BTan",             "TAN",   "Body",    {79, 52, 38, 25}},
            {"BCot",             "COT",   "Body",    {117, 52, 38, 25}},
            {"BSqrt",            "SQRT",  "Body",    {155, 52, 38, 25}},
            {"bSech",            "SECH",  "Body",    {193, 52, 38, 25}},
            {"bCsch",            "CSCH",  "Body",    {231, 52, 38, 25}},
            // Digit and operator keys, 35 x 25.
            {"BP1",              "(",     "Numeric", {2, 4, 35, 25}},
            {"BP2",              ")",     "Numeric", {37, 4, 35, 25}},
            {"B00",              ";",     "Numeric", {72, 4, 35, 25}},
            {"B000",             "000",   "Numeric", {113, 4, 35, 25}},
            {"B8",               "8",     "Numeric", {2, 29, 35, 25}},
            {"B9",               "9",     "Numeric", {37, 29, 35, 25}},
            {"B0",               "0",     "Numeric", {72, 29, 35, 25}},
            {"BMulti",           "*",     "Numeric", {113, 29, 35, 25}},
            {"B5",               "5",     "Numeric", {2, 54, 35, 25}},
            {"B6",               "6",     "Numeric", {37, 54, 35, 25}},
            {"B7",               "7",     "Numeric", {72, 54, 35, 25}},
            {"BBolu",            "/",     "Numeric", {113, 54, 35, 25}},
            {"B2",               "2",     "Numeric", {2, 79, 35, 25}},
            {"B3",               "3",     "Numeric", {37, 79, 35, 25}},
            {"B4",               "4",     "Numeric", {72, 79, 35, 25}},
            {"BEksi",            "-",     "Numeric", {113, 79, 35, 25}},
            {"B1",               "1",     "Numeric", {2, 104, 35, 25}},
            {"BComma",           ".",     "Numeric", {37, 104, 35, 25}},
            {"BBackSpace",       "C",     "Numeric", {72, 104, 35, 25}},
            {"BArti",            "+",     "Numeric", {113, 104, 35, 25}},
            // Right-hand column of Body.
            {"BClrEnterFormula", "CLR",   "Body",    {165, 114, 103, 25}},
            {"Exec",             "EXEC",  "Body",    {165, 139, 104, 78}},
            // Text buttons, 40 x 25.
            {"bFlor",            "FLOOR", "Main",    {5, 195, 40, 25}},
            {"bRnd",             "RND",   "Main",    {45, 195, 40, 25}},
            {"bDat",             "DAT",   "Main",    {200, 195, 40, 25}},
            {"bSum",             "SUM",   "Main",    {240, 195, 40, 25}},
            {"bTrunc",           "TRUNC", "Main",    {5, 218, 40, 25}},
            {"bCeil",            "CEIL",  "Main",    {45, 218, 40, 25}},
            {"bPerm",            "Perm",  "Main",    {200, 218, 40, 25}},
            {"bComb",            "Comb",  "Main",    {240, 218, 40, 25}},
            {"bMod",             "MOD",   "Main",    {5, 241, 40, 25}},
            {"bDiv",             "DIV",   "Main",    {45, 241, 40, 25}},
            {"bDSee",            "DSEE",  "Main",    {200, 242, 40, 25}},
            {"bAnswer",          "ANS",   "Main",    {240, 242, 40, 25}},
            {"BGraph",           "Graph", "Main",    {5, 264, 40, 25}},
            {"bSqr",             "SQR",   "Main",    {45, 264, 40, 25}},
            {"bSemiColon",       "DAVG",  "Main",    {200, 266, 40, 25}},
            {"bAbs",             "ABS",   "Main",    {240, 266, 40, 25}},
            // The arrow cross, 34 x 34, glyphs without a caption.
            {"BPoint",           "",      "Main",    {125, 186, 34, 34}},
            {"bRight",           "",      "Main",    {90, 222, 34, 34}},
            {"bUp",              "",      "Main",    {125, 222, 34, 34}},
            {"bLeft",            "",      "Main",    {160, 222, 34, 34}},
            {"bDn",              "",      "Main",    {125, 258, 34, 34}},
        };
        // clang-format on
        QCOMPARE(f->window->findChildren<QPushButton*>().size(), qsizetype(std::size(keys)));
        for (const Expected& k : keys) {
            QPushButton* button = f->key(k.name);
            QVERIFY2(button != nullptr, k.name);
            QCOMPARE(button->text(), QString::fromUtf8(k.caption));
            QWidget* parent = button->parentWidget();
            QCOMPARE(parent->objectName(), QString::fromLatin1(k.parent));
            const QPoint inside = parent->contentsRect().topLeft();
            QCOMPARE(QRect(button->pos() - inside, button->size()), k.place);
        }
        QCOMPARE(f->key("BInt")->toolTip(),
                 QStringLiteral("integral[ f(x) ;  x  ;  a  ;  b  ;  n) ]"));
        QCOMPARE(f->key("BDif")->toolTip(), QStringLiteral("dif [ f(x) ;  x  ;  a  ;  n) ]"));
        QCOMPARE(f->key("bRight")->toolTip(), QStringLiteral("Sağ"));
        QCOMPARE(f->key("bUp")->toolTip(), QStringLiteral("Yardım"));
    }

    void keysTypeAndInsertAtTheCaret_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("anchor");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("caret");
        // clang-format off
        // Typing keys: the posted key is handled like the keyboard's.
        QTest::newRow("7 at the caret") << "B7" << "12" << 1 << 1 << "172" << 2;
        QTest::newRow("7 replaces a selection") << "B7" << "abcd" << 1 << 3 << "a7d" << 2;
        QTest::newRow("0") << "B0" << "" << 0 << 0 << "0" << 1;
        QTest::newRow("9") << "B9" << "" << 0 << 0 << "9" << 1;
        QTest::newRow("+") << "BArti" << "1" << 1 << 1 << "1+" << 2;
        QTest::newRow("-") << "BEksi" << "1" << 1 << 1 << "1-" << 2;
        QTest::newRow("*") << "BMulti" << "1" << 1 << 1 << "1*" << 2;
        QTest::newRow("/") << "BBolu" << "1" << 1 << 1 << "1/" << 2;
        QTest::newRow(". is always a full stop") << "BComma" << "1" << 1 << 1 << "1." << 2;
        QTest::newRow("C deletes before the caret") << "BBackSpace" << "123" << 2 << 2 << "13" << 1;
        QTest::newRow("C deletes only the selection") << "BBackSpace" << "abcd" << 1 << 3 << "ad" << 1;
        // The horizontal caret keys are bound crosswise: bRight sends Left.
        QTest::newRow("bRight moves left") << "bRight" << "ab" << 2 << 2 << "ab" << 1;
        QTest::newRow("bLeft moves right") << "bLeft" << "ab" << 0 << 0 << "ab" << 1;
        QTest::newRow("BPoint moves up") << "BPoint" << "ab\ncd" << 4 << 4 << "ab\ncd" << 1;
        QTest::newRow("bDn moves down") << "bDn" << "ab\ncd" << 1 << 1 << "ab\ncd" << 4;
        // Inserting keys: the text exactly as listed, the caret after it.
        QTest::newRow("SIN replaces a selection") << "BSin" << "abcd" << 1 << 3 << "asin(d" << 5;
        QTest::newRow("SUM leaves the caret after ')'") << "bSum" << "" << 0 << 0 << "SUM()" << 5;
        QTest::newRow("DAT") << "bDat" << "" << 0 << 0 << "DAT(" << 4;
        QTest::newRow("FLOOR") << "bFlor" << "" << 0 << 0 << "flor(" << 5;
        QTest::newRow("TRUNC") << "bTrunc" << "" << 0 << 0 << "trnc(" << 5;
        QTest::newRow("Perm") << "bPerm" << "" << 0 << 0 << "Per(" << 4;
        QTest::newRow("Comb") << "bComb" << "" << 0 << 0 << "Com(" << 4;
        QTest::newRow("PI") << "BPi" << "2*" << 2 << 2 << "2*Pi" << 4;
        QTest::newRow("POW") << "BPow" << "2" << 1 << 1 << "2^" << 2;
        QTest::newRow("(!)") << "BFact" << "4" << 1 << 1 << "4!" << 2;
        QTest::newRow(";") << "B00" << "" << 0 << 0 << ";" << 1;
        QTest::newRow("000") << "B000" << "1" << 1 << 1 << "1000" << 4;
        QTest::newRow("ABS") << "bAbs" << "" << 0 << 0 << "ABS(" << 4;
        QTest::newRow("DAVG") << "bSemiColon" << "" << 0 << 0 << "DAVG()" << 6;
        QTest::newRow("ANS") << "bAnswer" << "" << 0 << 0 << "ANS()" << 5;
        QTest::newRow("DSEE") << "bDSee" << "" << 0 << 0 << "DSEE()" << 6;
        QTest::newRow("LOG") << "Blog" << "" << 0 << 0 << "log(" << 4;
        QTest::newRow("CSCH") << "bCsch" << "" << 0 << 0 << "csch(" << 5;
        QTest::newRow("INT") << "BInt" << "" << 0 << 0 << "int(" << 4;
        QTest::newRow("Edit types nothing") << "BEdit" << "ab" << 1 << 1 << "ab" << 1;
        // clang-format on
    }
    void keysTypeAndInsertAtTheCaret() {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(int, anchor);
        QFETCH(int, position);
        QFETCH(QString, expected);
        QFETCH(int, caret);
        f->setMemo(text, anchor, position);
        f->click(qPrintable(key));
        QCOMPARE(f->text(), expected);
        QCOMPARE(f->caret(), caret);
        QVERIFY(!f->memo()->textCursor().hasSelection());
        QCOMPARE(QApplication::focusWidget(), f->memo());
    }

    // Each insertion is one undo step between the typed ones, and the history before it
    // stays: Ctrl+Z takes back the typed 3, then the inserted "sin(", then the typed 12.
    void insertingKeysAreOneUndoStepEach() {
        f->type(QStringLiteral("12"));
        f->click("BSin");
        f->type(QStringLiteral("3"));
        QCOMPARE(f->text(), QStringLiteral("12sin(3"));
        for (const char* expected : {"12sin(", "12", ""}) {
            f->press(Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(f->text(), QString::fromLatin1(expected));
        }
        f->press(Qt::Key_Y, Qt::ControlModifier);
        f->press(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(f->text(), QStringLiteral("12sin("));
        QCOMPARE(f->caret(), 6);
        // An insertion over a selection comes back as one step with the selected text.
        f->type(QStringLiteral("45"));
        QTextCursor cursor = f->memo()->textCursor();
        cursor.setPosition(2);
        cursor.setPosition(5, QTextCursor::KeepAnchor);
        f->memo()->setTextCursor(cursor);
        f->click("bSum");
        QCOMPARE(f->text(), QStringLiteral("12SUM()(45"));
        f->press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f->text(), QStringLiteral("12sin(45"));
    }

    void postedKeysAreHandledAfterTheHandlerInPostingOrder() {
        // Clicks whose posted keys wait in the queue: "7" twice types 77, and an inserting
        // key clicked meanwhile acts at once, before the queued digits arrive.
        QTest::mouseClick(f->key("B7"), Qt::LeftButton);
        QTest::mouseClick(f->key("B7"), Qt::LeftButton);
        QCOMPARE(f->text(), QString());
        QTest::mouseClick(f->key("BSin"), Qt::LeftButton);
        QCOMPARE(f->text(), QStringLiteral("sin("));
        QCoreApplication::processEvents();
        QCOMPARE(f->text(), QStringLiteral("sin(77"));
    }

    void keysReturnTheFocusToTheMemoWhereItWas() {
        f->setMemo(QStringLiteral("1+2"), 1, 1);
        f->key("bAbs")->setFocus();
        f->click("B5");
        QCOMPARE(f->text(), QStringLiteral("15+2"));
        f->press(Qt::Key_Return);  // the memo has the focus again: Enter executes
        QCOMPARE(f->text(), QStringLiteral("15+2=17\n"));
    }

    void clrEmptiesTheMemoAndKeepsTheAnswerAndDecimals() {
        f->decNum()->setValue(3);
        f->type(QStringLiteral("DAT(2;4)"));
        f->press(Qt::Key_Return);
        f->type(QStringLiteral("1/8"));
        f->press(Qt::Key_Return);
        f->click("BClrEnterFormula");
        QCOMPARE(f->text(), QString());
        QCOMPARE(QApplication::focusWidget(), f->memo());
        QCOMPARE(f->decNum()->value(), 3);
        f->click("bAnswer");
        f->click("BArti");
        f->click("bSum");
        f->press(Qt::Key_Return);
        QCOMPARE(f->text(), QStringLiteral("ANS()+SUM()=6.125\n"));
    }

    void helpKeyShowsTheHelpWindowModallyAndItKeepsItsPage() {
        QVERIFY(!f->key("bUp")->isEnabled());  // nothing to show yet
        zentu::app::TFAbout about(f->window.get());
        f->window->setHelpWindow(&about);
        f->setMemo(QStringLiteral("12"), 1, 1);
        int page_seen = -1;
        f->modals.inspect = [&](QWidget* w) {
            auto* pages = w->findChild<QTabWidget*>(QStringLiteral("PC"));
            page_seen = pages->currentIndex();
            pages->setCurrentIndex(3);
        };
        f->click("bUp");
        QCOMPARE(page_seen, 0);
        f->click("bUp");
        QCOMPARE(page_seen, 3);
        const QList<SeenModal> seen = f->modals.take();
        QCOMPARE(seen.size(), 2);
        QCOMPARE(seen[0].title, QStringLiteral("Hakkında"));
        QVERIFY(!about.isVisible());
        QCOMPARE(f->window->focusWidget(), f->key("bUp"));
        QCOMPARE(f->text(), QStringLiteral("12"));
    }

    void glyphsAreDrawnOnMoneyGreen() {
        using namespace zentu::app;
        for (int i = GlyphDown; i <= GlyphBall; ++i) {
            const QImage glyph = IconGlyph(i).toImage();
            QCOMPARE(glyph.size(), QSize(32, 40));
            QCOMPARE(glyph.pixelColor(0, 0), zentu::ui::kMoneyGreen);
            int blue = 0;
            for (int y = 0; y < glyph.height(); ++y)
                for (int x = 0; x < glyph.width(); ++x) {
                    const QColor c = glyph.pixelColor(x, y);
                    blue += c.blue() > 150 && c.red() < 60 && c.green() < 60;
                }
            QCOMPARE(blue > 40, i != GlyphBall);
        }
        const QColor centre = IconGlyph(GlyphBall).toImage().pixelColor(16, 20);
        QVERIFY(centre.red() > 200 && centre.green() > 200 && centre.blue() < 120);
    }
};

QTEST_MAIN(KeypadTest)
#include "test_keypad.moc"
