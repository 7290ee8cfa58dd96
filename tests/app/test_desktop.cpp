// SPDX-License-Identifier: GPL-3.0-or-later
// The three windows on a desktop: captions readable on their backgrounds under a light and
// a dark palette, bold captions drawn with a bold face, every caption inside its control,
// a name for every control on the screen reader, and the graph window by keyboard.
#include <QAccessible>
#include <QColorDialog>
#include <QComboBox>
#include <QMenu>
#include <QMessageBox>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>
#include <map>
#include <memory>

#include "app/about.h"
#include "app/calc_main.h"
#include "engine/engine.h"
#include "graph/graph_window.h"
#include "tests/app/window_probe.h"
#include "ui/application.h"
#include "ui/look.h"

using zentu::app::TCalcMain;
using zentu::app::TFAbout;

namespace {

// A dark desktop colour scheme, as KDE's Breeze Dark sets it.
QPalette DarkPalette() {
    QPalette p;
    const QColor window(49, 54, 59), text(239, 240, 241);
    for (auto role :
         {QPalette::Window, QPalette::Button, QPalette::AlternateBase, QPalette::ToolTipBase})
        p.setColor(role, window);
    for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text,
                      QPalette::ToolTipText, QPalette::HighlightedText})
        p.setColor(role, text);
    p.setColor(QPalette::Base, QColor(35, 38, 41));
    p.setColor(QPalette::Light, QColor(64, 69, 75));
    p.setColor(QPalette::Midlight, QColor(56, 61, 67));
    p.setColor(QPalette::Mid, QColor(37, 40, 43));
    p.setColor(QPalette::Dark, QColor(26, 28, 30));
    p.setColor(QPalette::Shadow, QColor(18, 19, 20));
    p.setColor(QPalette::Highlight, QColor(61, 174, 233));
    p.setColor(QPalette::BrightText, Qt::white);
    p.setColor(QPalette::PlaceholderText, QColor(150, 150, 150));
    for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        p.setColor(QPalette::Disabled, role, QColor(110, 112, 114));
    return p;
}

// The program's three windows as start-up makes them, with something in every caption:
// a line in the memo, and a computed and drawn function in the graph window.
struct Windows {
    zentu::Engine engine;
    TCalcMain calc{engine};
    zentu::TFGraphics graph{engine, &calc};
    TFAbout help{&calc};

    Windows() {
        calc.setGraphWindow(&graph);
        calc.setHelpWindow(&help);
        graph.setLocaleFormat(QLocale::c());
        calc.findChild<QPlainTextEdit*>(QStringLiteral("EnterFormula"))
            ->setPlainText(QStringLiteral("2+3=5"));
        graph.mFormula->setPlainText(QStringLiteral("t"));
        graph.bCalculate->click();
        graph.bGrafDraw->click();
        for (QWidget* w : {static_cast<QWidget*>(&calc), static_cast<QWidget*>(&graph),
                           static_cast<QWidget*>(&help)})
            w->show();
    }

    QWidget* window(const QString& name) {
        if (name == QStringLiteral("calculator")) return &calc;
        if (name == QStringLiteral("graph")) return &graph;
        return &help;
    }
    QTabWidget* helpPages() { return help.findChild<QTabWidget*>(QStringLiteral("PC")); }

    // Runs `check` on each page of the window (the help window shows one page at a time).
    void forEachPage(QWidget* w, const std::function<void()>& check) {
        if (w != &help) return check();
        for (int i = 0; i < helpPages()->count(); ++i) {
            helpPages()->setCurrentIndex(i);
            check();
        }
    }

    // The graph window's controls by their member names.
    std::map<QString, QWidget*> graphControls() {
        zentu::TFGraphics& g = graph;
        return {{"ca", g.ca},
                {"eca", g.eca},
                {"cb", g.cb},
                {"ecb", g.ecb},
                {"eSample", g.eSample},
                {"xa", g.xa},
                {"eex1", g.eex1},
                {"eex2", g.eex2},
                {"FName", g.FName},
                {"FVar", g.FVar},
                {"mFormula", g.mFormula},
                {"mData", g.mData},
                {"scDecimal", g.scDecimal},
                {"SLoadFile", g.SLoadFile},
                {"SSaveFile", g.SSaveFile},
                {"bcAlanRenk", g.bcAlanRenk},
                {"scDKalinlik", g.scDKalinlik},
                {"bDRenk", g.bDRenk},
                {"GrafBicim", g.GrafBicim},
                {"GrafRenk", g.GrafRenk},
                {"GrafKalinlik", g.GrafKalinlik},
                {"XYBicim", g.XYBicim},
                {"xorj", g.xorj},
                {"yorj", g.yorj},
                {"XYKalinlik", g.XYKalinlik},
                {"XYRenk", g.XYRenk},
                {"GridSayisi", g.GridSayisi},
                {"cGridBicim", g.cGridBicim},
                {"GridKalinlik", g.GridKalinlik},
                {"SeriColor", g.SeriColor},
                {"cSeriStil", g.cSeriStil},
                {"SeriMark", g.SeriMark},
                {"SeriMarkColor", g.SeriMarkColor},
                {"BezierColor", g.BezierColor},
                {"FuncSeries", g.FuncSeries},
                {"cScaleStil", g.cScaleStil},
                {"xX", g.xX},
                {"SxY", g.SxY},
                {"eGridValX", g.eGridValX},
                {"eGridSValY", g.eGridSValY},
                {"bGrafDraw", g.bGrafDraw}};
    }

    // The controls a user reaches, on each page of `w`: whatever takes the focus, parts
    // of a compound control (a list's edit field, a table's scroll bars) left out.
    QList<QWidget*> controls(QWidget* w) {
        QList<QWidget*> out;
        for (QWidget* c : w->findChildren<QWidget*>()) {
            const QWidget* parent = c->parentWidget();
            if (c->window() != w || !c->isVisibleTo(w) || c->focusPolicy() == Qt::NoFocus ||
                qobject_cast<const QComboBox*>(parent) != nullptr ||
                parent->objectName().startsWith(QStringLiteral("qt_scrollarea")))
                continue;
            out << c;
        }
        return out;
    }
};

QString AccessibleName(QWidget* w) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a != nullptr ? a->text(QAccessible::Name) : QString();
}

// What a screen reader announces a control by: its name, or for a list, which Qt on Linux
// names by its text, the label tied to it.
QString Announced(QWidget* w) {
    if (qobject_cast<QComboBox*>(w) == nullptr) return AccessibleName(w);
    const auto labels = QAccessible::queryAccessibleInterface(w)->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
}

}  // namespace

class DesktopTest : public QObject {
    Q_OBJECT
    QPalette light_;

  private slots:
    void initTestCase() {
        zentu::ui::InstallFonts();
        light_ = QApplication::palette();
    }
    void cleanup() { QApplication::setPalette(light_); }

    void captionsStandOutFromTheirBackgrounds_data() {
        QTest::addColumn<bool>("dark");
        QTest::addColumn<QString>("window");
        for (bool dark : {false, true})
            for (const char* window : {"calculator", "graph", "help"})
                QTest::addRow("%s palette, %s", dark ? "dark" : "light", window)
                    << dark << QString::fromLatin1(window);
    }
    void captionsStandOutFromTheirBackgrounds() {
        QFETCH(bool, dark);
        QFETCH(QString, window);
        if (dark) QApplication::setPalette(DarkPalette());
        Windows w;
        QWidget* shown = w.window(window);
        QStringList poor;
        int measured = 0;
        w.forEachPage(shown, [&] {
            for (const probe::Caption& c : probe::Captions(shown)) {
                const double contrast = probe::TextContrast(probe::Render(shown, c));
                ++measured;
                if (contrast < 4.5)
                    poor << probe::Describe(c.widget, c.text) +
                                QStringLiteral(" %1:1").arg(contrast, 0, 'f', 2);
            }
        });
        QVERIFY(measured > 0);
        QVERIFY2(poor.isEmpty(), qPrintable(poor.join(QStringLiteral("; "))));
    }

    // Bold captions put down clearly more ink than the same text in the regular weight.
    void boldCaptionsUseABoldFace_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::newRow("digit key") << "calculator"
                                   << "B8";
        QTest::newRow("operator key") << "calculator"
                                      << "BArti";
        QTest::newRow("000 key") << "calculator"
                                 << "B000";
        QTest::newRow("function key") << "calculator"
                                      << "BSin";
        QTest::newRow("credits") << "help"
                                 << "Memo1";
    }
    void boldCaptionsUseABoldFace() {
        QFETCH(QString, window);
        QFETCH(QString, control);
        Windows w;
        QWidget* shown = w.window(window);
        auto* widget = shown->findChild<QWidget*>(control);
        QVERIFY(widget != nullptr);
        QVERIFY(widget->font().bold());
        probe::Caption caption;
        for (const probe::Caption& c : probe::Captions(shown))
            if (c.widget == widget) caption = c;
        QVERIFY(caption.widget != nullptr);
        const double bold = probe::Ink(probe::Render(shown, caption));
        const QFont designed = widget->font();
        QFont regular = designed;
        regular.setWeight(QFont::Normal);
        widget->setFont(regular);
        const double thin = probe::Ink(probe::Render(shown, caption));
        widget->setFont(designed);
        QVERIFY2(bold > 1.3 * thin,
                 qPrintable(QStringLiteral("bold ink %1, regular %2").arg(bold).arg(thin)));
    }

    void everyControlHasAName() {
        Windows w;
        QStringList unnamed;
        int named = 0;
        for (QWidget* shown : {static_cast<QWidget*>(&w.calc), static_cast<QWidget*>(&w.graph),
                               static_cast<QWidget*>(&w.help)})
            w.forEachPage(shown, [&] {
                for (QWidget* c : w.controls(shown)) {
                    const QString name = Announced(c);
                    // A field announced by the caption of the group around it is unnamed too.
                    const auto* group = qobject_cast<const QGroupBox*>(c->parentWidget());
                    if (name.isEmpty() || (group != nullptr && name == group->title()))
                        unnamed << probe::Describe(c, name);
                    else
                        ++named;
                }
            });
        QVERIFY(named > 100);
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral("; "))));
    }

    void namesSayWhatEachControlIs_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        const auto row = [](const char* window, const char* control, const char* name) {
            QTest::addRow("%s %s", window, control)
                << QString::fromLatin1(window) << QString::fromLatin1(control)
                << QString::fromUtf8(name);
        };
        // The arrow cross by its hints, which cross over like the key names.
        row("calculator", "BPoint", "Yukarı");
        row("calculator", "bRight", "Sağ");
        row("calculator", "bUp", "Yardım");
        row("calculator", "bLeft", "Sol");
        row("calculator", "bDn", "Aşağı");
        row("calculator", "EnterFormula", "Hesap satırları");
        row("calculator", "DecNum", "Ondalık Sayısı");
        row("calculator", "B7", "7");
        row("calculator", "bFlor", "FLOOR");
        // Graph fields by their labels, buttons by their captions or hints.
        row("graph", "ca", "Sabit1/Değer");
        row("graph", "eca", "Sabit1/Değer :=");
        row("graph", "eSample", "Örnekleme");
        row("graph", "eex1", "t1=");
        row("graph", "eex2", "t2=");
        row("graph", "mFormula", "Fonksiyon Tanımı");
        row("graph", "mData", "Seriler (x1,y1) ...");
        row("graph", "scDecimal", "Ondalık Gösterim");
        row("graph", "SeriMark", "Büyüklük");
        row("graph", "SLoadFile", "Dosyadan al");
        row("graph", "bcAlanRenk", "Alan Renk");
        row("graph", "XYRenk", "Renk");
        row("graph", "xorj", "X Orj");
        row("graph", "FuncSeries", "Fonksiyon Serisi [i: x ; y]");
        row("graph", "xX", "F(x) *[X]:=");
        row("graph", "eGridSValY", "Seri Grid Pixel/Değer Y");
        row("graph", "bGrafDraw", "Grafik Çiz");
        row("help", "Memo1", "Hakkında");
        row("help", "sgSabit", "Sabitler");
    }
    void namesSayWhatEachControlIs() {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(QString, name);
        Windows w;
        QWidget* c = window == QStringLiteral("graph")
                         ? w.graphControls().at(control)
                         : w.window(window)->findChild<QWidget*>(control);
        QVERIFY(c != nullptr);
        QCOMPARE(Announced(c), name);
    }

    // A name stays when its scroll bar's hint turns into a number, and the interval fields
    // follow their labels when the variable changes.
    void namesFollowWhatTheLabelsSay() {
        Windows w;
        w.graph.GridSayisi->setValue(6);
        QCOMPARE(w.graph.GridSayisi->toolTip(), QStringLiteral("6"));
        QCOMPARE(AccessibleName(w.graph.GridSayisi), QStringLiteral("Grid Sayısı"));
        w.graph.FVar->setText(QStringLiteral("x"));
        w.graph.FncVarExit();
        QCOMPARE(AccessibleName(w.graph.eex1), QStringLiteral("x1"));
        QCOMPARE(AccessibleName(w.graph.eex2), QStringLiteral("x2"));
    }

    // Tab reaches every scroll bar of the graph window and passes the read-only label
    // edits by; the arrow keys move a bar as its arrows do.
    void graphWindowWorksByKeyboard() {
        Windows w;
        zentu::TFGraphics& g = w.graph;
        g.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&g));
        g.ca->setFocus();
        QSet<QWidget*> reached;
        for (int i = 0; i < 100; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached << QApplication::focusWidget();
        }
        for (QScrollBar* bar : {g.scDecimal, g.scDKalinlik, g.GrafKalinlik, g.XYKalinlik,
                                g.GridSayisi, g.GridKalinlik, g.SeriMark})
            QVERIFY2(reached.contains(bar), qPrintable(AccessibleName(bar)));
        for (QLineEdit* label : {g.xa, g.xb, g.Edit1, g.Edit2, g.Edit4, g.Edit5, g.Edit6, g.Edit7,
                                 g.eGridValX, g.eGridValY, g.eGridSValX, g.eGridSValY})
            QVERIFY2(!reached.contains(label), qPrintable(label->text()));
        QVERIFY(reached.contains(g.eSample) && reached.contains(g.mData));

        g.GridSayisi->setFocus();
        const std::pair<Qt::Key, int> steps[] = {
            {Qt::Key_Right, 5}, {Qt::Key_Left, 4}, {Qt::Key_End, 12}, {Qt::Key_Home, 1}};
        for (const auto& [key, value] : steps) {
            QTest::keyClick(g.GridSayisi, key);
            QCOMPARE(g.GridSayisi->value(), value);
        }
        QCOMPARE(g.CurrentSettings().gridCount, 1);
    }

    // With Qt's Turkish translation loaded, as start-up does, the texts Qt itself shows are
    // Turkish: the memo's edit menu, the buttons of message boxes and dialogs.
    void toolkitTextsAreTurkish() {
        QVERIFY(zentu::ui::LoadToolkitTranslation());
        Windows w;
        auto* memo = w.calc.findChild<QPlainTextEdit*>(QStringLiteral("EnterFormula"));
        const std::unique_ptr<QMenu> menu(memo->createStandardContextMenu());
        QStringList items;
        for (const QAction* a : menu->actions())
            if (!a->isSeparator()) items << a->text().section(u'\t', 0, 0).remove(u'&');
        QCOMPARE(items, (QStringList{"Geri al", "Yinele", "Kes", "Kopyala", "Yapıştır", "Sil",
                                     "Tümünü Seç"}));
        QMessageBox box(QMessageBox::Information, QString(), QString(), QMessageBox::Ok);
        QCOMPARE(box.button(QMessageBox::Ok)->text(), QStringLiteral("Tamam"));
        QColorDialog colours;
        QStringList buttons;
        for (const QPushButton* b : colours.findChildren<QPushButton*>()) buttons << b->text();
        QVERIFY2(buttons.contains(QStringLiteral("İptal")), qPrintable(buttons.join(u',')));
    }

    void captionsFitTheirControls_data() {
        QTest::addColumn<QString>("window");
        for (const char* window : {"calculator", "graph", "help"})
            QTest::newRow(window) << QString::fromLatin1(window);
    }
    void captionsFitTheirControls() {
        QFETCH(QString, window);
        Windows w;
        QWidget* shown = w.window(window);
        QStringList over;
        w.forEachPage(shown, [&] { over << probe::Overflows(shown); });
        over.removeDuplicates();
        QVERIFY2(over.isEmpty(), qPrintable(over.join(QStringLiteral("; "))));
    }
};

QTEST_MAIN(DesktopTest)
#include "test_desktop.moc"
