// Shows the graph window with a plotted function, a series and its Bezier, for looking at
// the window as a user sees it (run under a display, take a screenshot). Not a test.
//   graph_preview [seconds]   closes itself after the given time (default 30)
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "engine/engine.h"
#include "graph/graph_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const char* tahoma = "/usr/share/wine/fonts/tahoma.ttf";
    if (QFile::exists(tahoma)) QFontDatabase::addApplicationFont(tahoma);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;

    zentu::Engine engine;
    zentu::TFGraphics window(engine);
    window.mFormula->setPlainText("sin(t)*t");
    window.bCalculate->click();
    window.mData->setPlainText("(0,0)(1,2)(2,-1)(3,3)(4,-2)(5,4)(6,-3)(7,2)(8,-4)(9,1)");
    window.bGetData->click();
    window.cBezierDraw->setChecked(true);
    window.GrafBicim->setCurrentIndex(1);
    window.show();
    window.bGrafDraw->click();
    QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
    return app.exec();
}
