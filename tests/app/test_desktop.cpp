// SPDX-License-Identifier: GPL-3.0-or-later
// The three windows on a desktop: captions readable on their backgrounds under a light and
// a dark palette, bold captions drawn with a bold face and every caption inside its control.
#include <QTabWidget>
#include <QtTest>
#include <memory>

#include "app/about.h"
#include "app/calc_main.h"
#include "app/fonts.h"
#include "engine.h"
#include "graph/graph_window.h"
#include "window_probe.h"

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

};

}  // namespace

class DesktopTest : public QObject {
    Q_OBJECT
    QPalette light_;

  private slots:
    void initTestCase() {
        zentu::app::InstallFonts();
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
