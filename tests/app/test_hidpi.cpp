// SPDX-License-Identifier: GPL-3.0-or-later
// The windows on a screen scaled by 2 (run with QT_SCALE_FACTOR=2 on the offscreen
// platform, whose 800 x 600 screen then offers 400 x 300 logical pixels): the plot drawn
// at the screen's pixels and copied with them, windows larger than the screen opened at
// its top-left corner, and the captions still inside their controls.
#include <QClipboard>
#include <QComboBox>
#include <QPushButton>
#include <QScreen>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>

#include "app/about.h"
#include "app/calc_main.h"
#include "engine/engine.h"
#include "graph/graph_window.h"
#include "tests/app/window_probe.h"
#include "ui/application.h"
#include "ui/look.h"

using zentu::ui::KeepInside;

class HiDpiTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        zentu::ui::InstallFonts();
        QCOMPARE(QGuiApplication::primaryScreen()->devicePixelRatio(), 2.0);
    }

    void keepInside_data() {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QPoint>("placed");
        const QRect area(0, 30, 400, 270);  // below a 30-pixel panel
        // clang-format off
        QTest::newRow("inside stays")       << QRect(50, 40, 100, 100)   << area << QPoint(50, 40);
        QTest::newRow("past the right")     << QRect(350, 40, 100, 100)  << area << QPoint(300, 40);
        QTest::newRow("above the top")      << QRect(50, 0, 100, 100)    << area << QPoint(50, 30);
        QTest::newRow("taller than area")   << QRect(50, -100, 100, 532) << area << QPoint(50, 30);
        QTest::newRow("larger both ways")   << QRect(-226, -141, 852, 582) << area << QPoint(0, 30);
        QTest::newRow("second screen")      << QRect(1900, 10, 300, 300)
                                            << QRect(1280, 0, 1920, 1080) << QPoint(1900, 10);
        QTest::newRow("left of a second screen") << QRect(1200, 10, 300, 300)
                                            << QRect(1280, 0, 1920, 1080) << QPoint(1280, 10);
        // clang-format on
    }
    void keepInside() {
        QFETCH(QRect, frame);
        QFETCH(QRect, area);
        QFETCH(QPoint, placed);
        QCOMPARE(KeepInside(frame, area), placed);
    }

    void windowsOpenInsideTheScreen() {
        zentu::Engine engine;
        zentu::app::TCalcMain calc(engine);
        zentu::TFGraphics graph(engine, &calc);
        zentu::app::TFAbout help(&calc);
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        calc.show();
        QVERIFY(QTest::qWaitForWindowExposed(&calc));
        // Taller than the screen: at its top, still centred across.
        QVERIFY(calc.frameGeometry().height() > area.height());
        QCOMPARE(calc.frameGeometry().top(), area.top());
        QCOMPARE(calc.frameGeometry().center().x(), area.center().x());
        // Larger both ways: at the top-left corner.
        graph.show();
        QVERIFY(QTest::qWaitForWindowExposed(&graph));
        QCOMPARE(graph.frameGeometry().topLeft(), area.topLeft());
        graph.hide();
        // Small enough: wholly on screen, though centred over the calculator it would not be.
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        QVERIFY(area.contains(help.frameGeometry()));
    }

    // The kept image has the plot area's designed size in logical pixels and twice as many
    // device pixels, drawn at those pixels: not the 1x picture doubled. The paint box and
    // the clipboard show it with all its pixels and with the ratio that gives its size.
    void plotIsDrawnAtTheScreensPixels() {
        zentu::Engine engine;
        zentu::TFGraphics graph(engine);
        graph.setLocaleFormat(QLocale::c());
        QImage& kept = graph.GBitMap;
        QCOMPARE(kept.devicePixelRatio(), 2.0);
        QCOMPARE(kept.size(), QSize(1314, 466));
        QCOMPARE(kept.deviceIndependentSize(), QSizeF(657, 233));
        QCOMPARE(graph.eSample->text(), QStringLiteral("1000"));

        graph.mFormula->setPlainText(QStringLiteral("sin(t)*t"));
        graph.GrafBicim->setCurrentIndex(1);  // lines
        graph.bCalculate->click();
        graph.bGrafDraw->click();
        // The yellow border runs along the far edges (a line is centred on its coordinate,
        // so at 2x it covers the two device pixels around the last logical one): the drawing
        // covers the whole image, in logical coordinates.
        QCOMPARE(kept.pixelColor(1312, 200), QColor(255, 255, 0));
        QCOMPARE(kept.pixelColor(600, 464), QColor(255, 255, 0));
        const QImage doubled =
            kept.scaled(657, 233, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                .scaled(1314, 466, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        QVERIFY(kept.convertToFormat(QImage::Format_RGB32) !=
                doubled.convertToFormat(QImage::Format_RGB32));

        graph.show();
        QVERIFY(QTest::qWaitForWindowExposed(&graph));
        const QImage shown = graph.GBox2->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.devicePixelRatio(), 2.0);
        QCOMPARE(shown, kept.convertToFormat(QImage::Format_RGB32));

        graph.bCopyBitMap->click();
        const QImage copied = QGuiApplication::clipboard()->image();
        QCOMPARE(copied.size(), QSize(1314, 466));
        QCOMPARE(copied.convertToFormat(QImage::Format_RGB32),
                 kept.convertToFormat(QImage::Format_RGB32));
        // 192 dots per inch: at 96 the picture takes the designed 657 x 233.
        QCOMPARE(qRound(copied.dotsPerMeterX() * 0.0254), 192);
        QCOMPARE(qRound(copied.dotsPerMeterY() * 0.0254), 192);
    }

    // The exports at 2x: the PNG holds the kept image's sharp pixels, and the SVG the same
    // plot in the designed logical size (the drawing is not scaled by the screen's ratio).
    void exportsKeepTheLogicalSize() {
        zentu::Engine engine;
        zentu::TFGraphics graph(engine);
        graph.setLocaleFormat(QLocale::c());
        QTemporaryDir dir;
        QString path;
        graph.Dialogs.savePlotFile = [&](QWidget*, const QString& format) {
            return path = dir.filePath("plot." + format);
        };
        graph.mFormula->setPlainText(QStringLiteral("sin(t)*t"));
        graph.GrafBicim->setCurrentIndex(1);  // lines
        graph.bCalculate->click();
        graph.bGrafDraw->click();

        graph.miPngKaydet->trigger();
        QImage png(path, "PNG");
        QCOMPARE(png.size(), QSize(1314, 466));
        QCOMPARE(qRound(png.dotsPerMeterX() * 0.0254), 192);
        png.setDevicePixelRatio(2);
        QCOMPARE(png.convertToFormat(QImage::Format_RGB32),
                 graph.GBitMap.convertToFormat(QImage::Format_RGB32));

        graph.miSvgKaydet->trigger();
        QSvgRenderer svg(path);
        QVERIFY(svg.isValid());
        QCOMPARE(svg.viewBox(), QRect(0, 0, 657, 233));
        QImage shown(1314, 466, QImage::Format_RGB32);
        shown.setDevicePixelRatio(2);
        shown.fill(Qt::white);
        QPainter painter(&shown);
        svg.render(&painter, QRectF(0, 0, 657, 233));
        painter.end();
        // The yellow border along the far edges, as in the kept image.
        QCOMPARE(shown.pixelColor(1312, 200), QColor(255, 255, 0));
        QCOMPARE(shown.pixelColor(600, 464), QColor(255, 255, 0));
    }

    void arrowGlyphsAreDrawnForTheScreen() {
        zentu::Engine engine;
        zentu::app::TCalcMain calc(engine);
        auto* key = calc.findChild<QPushButton*>(QStringLiteral("bDn"));
        const QPixmap shown = key->icon().pixmap(key->iconSize(), 2.0);
        QCOMPARE(shown.deviceIndependentSize(), QSizeF(32, 40));
        QCOMPARE(shown.size(), QSize(64, 80));
        // Drawn at the pixels, not the 1x glyph doubled.
        const QImage fine = shown.toImage().convertToFormat(QImage::Format_RGB32);
        const QImage doubled = fine.scaled(32, 40, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                                   .scaled(64, 80, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        QVERIFY(fine != doubled);
    }

    void captionsStillFit() {
        zentu::Engine engine;
        zentu::app::TCalcMain calc(engine);
        zentu::TFGraphics graph(engine, &calc);
        zentu::app::TFAbout help(&calc);
        QStringList over;
        for (QWidget* w : {static_cast<QWidget*>(&calc), static_cast<QWidget*>(&graph),
                           static_cast<QWidget*>(&help)}) {
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w));
            over << probe::Overflows(w);
        }
        QVERIFY2(over.isEmpty(), qPrintable(over.join(QStringLiteral("; "))));
    }
};

QTEST_MAIN(HiDpiTest)
#include "test_hidpi.moc"
