// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the desktop program: the application with its desktop entry and icon, Qt's
// own texts in Turkish and the fonts, then the windows in their order (the calculator window first,
// which makes it the main window, then the graph window and the help window, hidden), and the event
// loop until the calculator window is closed.
#include <QLocale>

#include "app/about.h"
#include "app/calc_main.h"
#include "app/glyphs.h"
#include "engine/engine.h"
#include "graph/graph_window.h"
#include "ui/application.h"
#include "ui/look.h"

int main(int argc, char** argv) {
    using namespace zentu::app;
    using namespace zentu::ui;
    ZentuApplication app(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral(ZENTU_APP_ID));
    QApplication::setWindowIcon(ApplicationIcon());
    LoadToolkitTranslation();
    InstallFonts();

    static zentu::Engine engine;
    // Numbers shown to the user in message boxes follow the regional settings.
    engine.LocaleDecimalSeparator = QLocale::system().decimalPoint().toStdString();

    TCalcMain CalcMain(engine);
    zentu::TFGraphics FGraphics(engine, &CalcMain);
    CalcMain.setGraphWindow(&FGraphics);
    TFAbout FAbout(&CalcMain);
    CalcMain.setHelpWindow(&FAbout);

    CalcMain.show();
    return QApplication::exec();
}
