// SPDX-License-Identifier: GPL-3.0-or-later
// Shows the graph window with a plotted function, a series and its Bezier, for looking at
// the window as a user sees it (run under a display, take a screenshot). Not a test.
//   graph_preview [seconds [formula [sample count [t1 t2]]]]
// closes itself after the given time (default 30). Without a formula it plots sin(t)*t
// with a series and its Bezier; with one, only that formula, in the line style.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "engine/engine.h"
#include "graph/graph_window.h"
#include "ui/application.h"
#include "ui/look.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The program's fonts and Qt's Turkish texts, as start-up sets them.
    zentu::ui::LoadToolkitTranslation();
    zentu::ui::InstallFonts();
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;

    zentu::Engine engine;
    zentu::TFGraphics window(engine);
    window.mFormula->setPlainText(argc > 2 ? QString::fromLocal8Bit(argv[2]) : "sin(t)*t");
    if (argc > 3) window.eSample->setText(QString::fromLocal8Bit(argv[3]));
    if (argc > 5) {
        window.eex1->setText(QString::fromLocal8Bit(argv[4]));
        window.eex2->setText(QString::fromLocal8Bit(argv[5]));
    }
    if (argc <= 2) {
        window.mData->setPlainText("(0,0)(1,2)(2,-1)(3,3)(4,-2)(5,4)(6,-3)(7,2)(8,-4)(9,1)");
        window.bGetData->click();
        window.cBezierDraw->setChecked(true);
    }
    window.GrafBicim->setCurrentIndex(1);
    window.show();
    // Compute inside the event loop, as a click would, so a long compute shows its progress.
    QTimer::singleShot(200, &window, [&window] {
        window.bCalculate->click();
        window.bGrafDraw->click();
    });
    QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
    return app.exec();
}
