// SPDX-License-Identifier: GPL-3.0-or-later
// The "Grafik Kokpit" window: creation, the commands, auto scaling and its read-outs, the
// kept plot image, series files, and the small handlers. Dialogs go through the window's
// hooks; a watchdog closes any modal window that still opens and fails the test, unless
// the test works that window itself (the standard save dialogs).
#include "graph/graph_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QScrollBar>
#include <QStringEncoder>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTimer>
#include <QXmlStreamReader>
#include <QtTest>
#include <cstdlib>
#include <new>

#include "engine/engine.h"
#include "ui/application.h"

using namespace zentu;

namespace {

struct SeenBox {
    QString className;
    QString title;
    QString text;
    int icon = -1;
};

// The UTF-16 bytes of a text, without a mark, by Qt's own encoder.
QByteArray Utf16(const QString& text, bool little) {
    QStringEncoder encoder(little ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
    return encoder.encode(text);
}

}  // namespace

class GraphWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<Engine> engine;
    std::unique_ptr<TFGraphics> w;
    QStringList infos;
    QStringList errors;
    QString openPath;
    QString savePath;
    QColor chosenColour;
    QTimer watchdog;
    // A test that works a real dialog answers it here; true when it has done so.
    std::function<bool(QWidget*)> answer;
    QList<SeenBox> seen;
    bool boxExpected = false;
    QTemporaryDir dir;

    void SetUpFunction(const char* formula, const char* from, const char* to,
                       const char* samples = "10") {
        w->mFormula->setPlainText(QString::fromUtf8(formula));
        w->eex1->setText(QString::fromUtf8(from));
        w->eex2->setText(QString::fromUtf8(to));
        w->eSample->setText(QString::fromUtf8(samples));
        w->bCalculate->click();
    }
    QString WriteFile(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) return {};
        return path;
    }
    static QByteArray ReadFile(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    // The stroke colours of the lines in an SVG: the curves, grid and axes (the area's
    // rectangles are paths).
    static QStringList LineStrokes(const QByteArray& svg) {
        QStringList strokes;
        QXmlStreamReader xml(svg);
        QStringList groupStroke{"none"};
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement()) {
                const auto stroke = xml.attributes().value("stroke");
                groupStroke << (stroke.isEmpty() ? groupStroke.back() : stroke.toString());
                if (xml.name() == u"polyline") strokes << groupStroke.back();
            } else if (xml.isEndElement()) {
                groupStroke.removeLast();
            }
        }
        return xml.hasError() ? QStringList{"<" + xml.errorString() + ">"} : strokes;
    }
    // Whether a pixel within 2 of `at` is close to `colour`.
    static bool Near(const QImage& image, QPoint at, const QColor& colour) {
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx) {
                const QColor c = image.pixelColor(at + QPoint(dx, dy));
                if (std::abs(c.red() - colour.red()) < 80 &&
                    std::abs(c.green() - colour.green()) < 80 &&
                    std::abs(c.blue() - colour.blue()) < 80)
                    return true;
            }
        return false;
    }
    int CountColour(const QColor& c) const {
        int n = 0;
        for (int y = 0; y < w->GBitMap.height(); ++y)
            for (int x = 0; x < w->GBitMap.width(); ++x) n += w->GBitMap.pixelColor(x, y) == c;
        return n;
    }

  private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        connect(&watchdog, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) return;
            if (answer && answer(modal)) return;
            SeenBox box{modal->metaObject()->className(), modal->windowTitle(), {}, -1};
            if (auto* m = qobject_cast<QMessageBox*>(modal)) {
                box.text = m->text();
                box.icon = m->icon();
            }
            seen.append(box);
            if (auto* d = qobject_cast<QDialog*>(modal))
                d->done(0);
            else
                modal->close();
        });
    }

    void init() {
        answer = nullptr;
        engine = std::make_unique<Engine>();
        w = std::make_unique<TFGraphics>(*engine);
        w->setLocaleFormat(QLocale::c());
        infos.clear();
        errors.clear();
        seen.clear();
        boxExpected = false;
        w->Dialogs.information = [this](QWidget*, const QString& t) { infos << t; };
        w->Dialogs.error = [this](QWidget*, const QString& t) { errors << t; };
        w->Dialogs.openSeriesFile = [this](QWidget*) { return openPath; };
        w->Dialogs.saveSeriesFile = [this](QWidget*) { return savePath; };
        w->Dialogs.chooseColor = [this](QWidget*, const QColor&) { return chosenColour; };
        watchdog.start(50);
    }

    void cleanup() {
        watchdog.stop();
        w.reset();
        if (!boxExpected) {
            QStringList names;
            for (const SeenBox& b : seen) names << b.className + " \"" + b.title + "\"";
            QVERIFY2(seen.isEmpty(), qPrintable("modal window opened: " + names.join(", ")));
        }
    }

    void creation() {
        QCOMPARE(w->windowTitle(), QString("Grafik Kokpit"));
        QCOMPARE(w->size(), QSize(852, 582));
        QVERIFY(w->isHidden());
        QCOMPARE(w->eSample->text(), QString("1000"));
        QCOMPARE(w->cGridBicim->currentText(), QString("Noktalı"));
        QCOMPARE(w->cSeriStil->currentText(), QString("Daire"));
        QCOMPARE(w->GrafBicim->currentText(), QString("Nokta"));
        QCOMPARE(w->XYBicim->count(), 5);
        QCOMPARE(w->XYBicim->itemText(4), QString("Kesikli/Noktalı Noktalı"));
        QCOMPARE(w->cScaleStil->currentText(), QString("Max"));
        for (QLineEdit* e : {w->xX, w->xY, w->SxX, w->SxY}) QCOMPARE(e->text(), QString("1.0"));
        QCOMPARE(w->xa->text(), QString("t1="));
        QCOMPARE(w->xb->text(), QString("t2="));
        QCOMPARE(w->bcAlanRenk->color(), QColor(192, 220, 192));
        QCOMPARE(w->bDRenk->color(), QColor(255, 255, 0));
        QCOMPARE(w->GridRenk->color(), QColor(128, 128, 128));
        QCOMPARE(w->SeriColor->color(), QColor(128, 0, 0));
        QCOMPARE(w->SeriMarkColor->color(), QColor(255, 0, 0));
        QCOMPARE(w->BezierColor->color(), QColor(0, 128, 0));
        QCOMPARE(w->GrafRenk->color(), QColor(0, 0, 0));
        QCOMPARE(w->scDecimal->value(), 3);
        QCOMPARE(w->scDecimal->toolTip(), QString("Ondalık Gösterim"));
        QCOMPARE(w->SLoadFile->toolTip(), QString("Dosyadan al"));
        QVERIFY(w->ScaleOk->isChecked());
        QVERIFY(w->cGridCiz->isChecked());
        QVERIFY(!w->cSeriDraw->isChecked());
        QCOMPARE(w->FuncSeries->count(), 0);
        QCOMPARE(w->Graph.ScX, 1.0);
        QCOMPARE(w->GBox2->size(), QSize(657, 233));
        const PlotSettings s = w->CurrentSettings();
        QCOMPARE(s.gridPenStyle, 1);
        QCOMPARE(s.gridCount, 4);
        QCOMPARE(s.markerShape, 0);
    }

    void computeListsTheSamples() {
        SetUpFunction("t*t", "0", "10", "4");
        QVERIFY(errors.isEmpty());
        QCOMPARE(w->FuncSeries->count(), 5);
        QCOMPARE(w->FuncSeries->itemText(1), QString("[1: 2.5 ; 6.25]"));
        w->scDecimal->setValue(1);  // 6.25 goes to the even 6.2
        w->bCalculate->click();
        QCOMPARE(w->FuncSeries->itemText(1), QString("[1: 2.5 ; 6.2]"));
        w->setLocaleFormat(QLocale(QLocale::German));
        w->bCalculate->click();
        QCOMPARE(w->FuncSeries->itemText(1), QString("[1: 2,5 ; 6,2]"));
    }

    // A refused compute leaves the list and the samples as they were.
    void refusedComputeChangesNothing_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        // clang-format off
        QTest::newRow("count not a number") << "eSample" << ""      << "'' geçerli bir tam sayı değil";
        QTest::newRow("count too large")    << "eSample" << "70000" << "Örnekleme 0 ile 65535 arasında olmalı.";
        QTest::newRow("interval start")     << "eex1"    << "abc"   << "Geçersiz değer (t1=): Yazım Hatası...";
        QTest::newRow("interval end")       << "eex2"    << "2,5"   << "Geçersiz değer (t2=): Yazım hatası...";
        QTest::newRow("first constant")     << "eca"     << "LN(0)" << "Geçersiz değer (_a): Yazım Hatası...";
        QTest::newRow("second constant")    << "ecb"     << "(1"    << "Geçersiz değer (_b): Geçersiz parantez...";
        // clang-format on
    }

    void refusedComputeChangesNothing() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        SetUpFunction("t", "0", "10", "4");
        QLineEdit* edit = field == "eSample" ? w->eSample
                          : field == "eex1"  ? w->eex1
                          : field == "eex2"  ? w->eex2
                          : field == "eca"   ? w->eca
                                             : w->ecb;
        edit->setText(text);
        w->mFormula->setPlainText("t*2");
        w->bCalculate->click();
        QCOMPARE(errors, QStringList{message});
        QCOMPARE(w->FuncSeries->count(), 5);
        QCOMPARE(w->FuncSeries->itemText(1), QString("[1: 2.5 ; 2.5]"));
        QCOMPARE(w->Graph.FXY.size(), size_t(5));
        QCOMPARE(w->Graph.FXY[1].y, 2.5);
    }

    // The interval ends are named by their labels, which follow the variable.
    void intervalErrorNamesTheLabel() {
        w->FVar->setText("x");
        QFocusEvent out(QEvent::FocusOut);
        QCoreApplication::sendEvent(w->FVar, &out);
        SetUpFunction("x", "0", "1/0");
        QCOMPARE(errors, QStringList{"Geçersiz değer (x2): Yazım Hatası..."});
    }

    // Failed samples are listed with the engine's message and not drawn.
    // Every handler of the window runs guarded: what escapes one, a colour dialog's failure
    // as much as a command's, reaches the window's error dialog and nothing changes.
    void errorsOfEveryHandlerReachTheErrorDialog() {
        w->Dialogs.chooseColor = [](QWidget*, const QColor&) -> QColor { throw 42; };
        w->GrafRenk->click();
        QCOMPARE(errors, QStringList{"Beklenmeyen hata"});
        QCOMPARE(w->GrafRenk->color(), QColor(0, 0, 0));
        w->Dialogs.openSeriesFile = [](QWidget*) -> QString { throw std::bad_alloc(); };
        w->SLoadFile->click();
        QCOMPARE(errors, (QStringList{"Beklenmeyen hata", "Yetersiz bellek"}));
    }

    void failedSamplesAreListedAndLeftOut() {
        chosenColour = QColor(0, 0, 255);
        w->GrafRenk->click();
        w->GrafBicim->setCurrentText("Çizgi");
        SetUpFunction("SQRT(t)", "-1", "1", "100");
        QCOMPARE(w->FuncSeries->itemText(0), QString("[0: -1 ; Yazım Hatası...]"));
        QCOMPARE(w->FuncSeries->itemText(49), QString("[49: -0.02 ; Yazım Hatası...]"));
        QCOMPARE(w->FuncSeries->itemText(100), QString("[100: 1 ; 1]"));
        w->bGrafDraw->click();
        QCOMPARE(errors, QStringList());
        // Origin (328, 116), 164 pixels per unit in x: nothing left of the y axis.
        int left = 0, right = 0;
        for (int y = 0; y < 233; ++y)
            for (int x = 0; x < 657; ++x)
                (x < 327 ? left : right) += w->GBitMap.pixelColor(x, y) == QColor(0, 0, 255);
        QCOMPARE(left, 0);
        QVERIFY(right > 160);
    }

    void autoScale_data() {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("style");
        QTest::addColumn<double>("scX");
        QTest::addColumn<double>("scY");
        QTest::addColumn<QString>("readX");
        QTest::addColumn<QString>("readY");
        // clang-format off
        QTest::newRow("t, Max")                  << "t"  << "0"  << "10"   << "Max" << 32.8  << 11.6  << "164px/5"    << "58px/5";
        QTest::newRow("-t, Max: below the axis") << "-t" << "0"  << "10"   << "Max" << 32.8  << 11.6  << "164px/5"    << "58px/5";
        QTest::newRow("t, Ort")                  << "t"  << "0"  << "10"   << "Ort" << 32.8  << 23.2  << "164px/5"    << "58px/2.5";
        QTest::newRow("0..1000 spreads")         << "t"  << "0"  << "1000" << "Max" << 0.328 << 0.116 << "164px/500"  << "58px/500";
        QTest::newRow("zero y keeps 10")         << "0"  << "0"  << "10"   << "Max" << 32.8  << 10.0  << "164px/5"    << "58px/5.8";
        QTest::newRow("zero mean keeps 10")      << "0"  << "0"  << "10"   << "Ort" << 32.8  << 10.0  << "164px/5"    << "58px/5.8";
        QTest::newRow("zero x range keeps 10")   << "t"  << "5"  << "5"    << "Max" << 10.0  << 23.2  << "164px/16.4" << "58px/2.5";
        QTest::newRow("reversed interval")       << "t"  << "10" << "0"    << "Max" << -32.8 << 11.6  << "164px/-5"   << "58px/5";
        QTest::newRow("no style keeps 10")       << "t"  << "0"  << "10"   << "Mx"  << 32.8  << 10.0  << "164px/5"    << "58px/5.8";
        QTest::newRow("gaps left out")           << "2+SQRT(t)*0" << "-1" << "1" << "Ort" << 164.0 << 58.0 << "164px/1" << "58px/1";
        // clang-format on
    }

    void autoScale() {
        QFETCH(QString, formula);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, style);
        QFETCH(double, scX);
        QFETCH(double, scY);
        QFETCH(QString, readX);
        QFETCH(QString, readY);
        SetUpFunction(formula.toUtf8(), from.toUtf8(), to.toUtf8());
        w->cScaleStil->setCurrentText(style);
        w->bGrafDraw->click();
        QCOMPARE(errors, QStringList());
        QCOMPARE(w->Graph.ScX, scX);
        QCOMPARE(w->Graph.ScY, scY);
        QCOMPARE(w->eGridValX->text(), readX);
        QCOMPARE(w->eGridValY->text(), readY);
        QCOMPARE(w->xX->text(), QString::number(scX, 'g', 15));
        QCOMPARE(w->xY->text(), QString::number(scY, 'g', 15));
    }

    void curveBelowTheAxisIsDrawn() {
        SetUpFunction("-t", "0", "10");
        w->bGrafDraw->click();
        QCOMPARE(errors, QStringList());
        QCOMPARE(w->GBitMap.pixelColor(361, 128), QColor(0, 0, 0));  // t = 1
        QCOMPARE(w->GBitMap.pixelColor(492, 174), QColor(0, 0, 0));  // t = 5
    }

    void readOutsUseTheUsersSeparator() {
        w->setLocaleFormat(QLocale(QLocale::German));
        SetUpFunction("t", "0", "10");
        w->bGrafDraw->click();
        QCOMPARE(w->xX->text(), QString("32,8"));
        QCOMPARE(w->xY->text(), QString("11,6"));
        w->cScaleStil->setCurrentText("Ort");
        w->bGrafDraw->click();
        QCOMPARE(w->eGridValY->text(), QString("58px/2,5"));
    }

    void autoScaleOffKeepsTheFactors() {
        SetUpFunction("t", "0", "10");
        w->ScaleOk->setChecked(false);
        w->bGrafDraw->click();
        QCOMPARE(w->eGridValX->text(), QString("164px/164"));
        QCOMPARE(w->eGridValY->text(), QString("58px/58"));
        QCOMPARE(w->eGridSValX->text(), QString("164px/164"));
        QCOMPARE(w->xX->text(), QString("1.0"));
    }

    void singleSeriesPoint() {
        w->mData->setPlainText("(3,4)");
        w->bGetData->click();
        w->bGrafDraw->click();
        QCOMPARE(errors, QStringList());
        QCOMPARE(w->Graph.DScX, 164.0);
        QCOMPARE(w->Graph.DScY, 29.0);
        QCOMPARE(w->SxX->text(), QString("164"));
        QCOMPARE(w->SxY->text(), QString("29"));
        QCOMPARE(w->eGridSValX->text(), QString("164px/1"));
        QCOMPARE(w->eGridSValY->text(), QString("58px/2"));
        QCOMPARE(w->xX->text(), QString("1.0"));  // no samples: the function's boxes stay
    }

    void emptyPlotShowsTheInformationBox() {
        w->bGrafDraw->click();
        QCOMPARE(infos, QStringList{"Hesaplanan bir fonksiyon ya da bir seri bulunmuyor..."});
        QCOMPARE(errors, QStringList());
        QVERIFY(w->GraphCleared);  // the area was prepared before the check
        QCOMPARE(w->eGridValX->text(), QString());
    }

    void drawingsAddUpUntilCleared() {
        SetUpFunction("t", "0", "10", "100");
        w->GrafBicim->setCurrentText("Çizgi");
        w->bGrafDraw->click();
        w->Dialogs.chooseColor = [](QWidget*, const QColor&) { return QColor(0, 0, 255); };
        w->GrafRenk->click();
        SetUpFunction("10-t", "0", "10", "100");
        w->bGrafDraw->click();
        QCOMPARE(errors, QStringList());
        QVERIFY(CountColour(QColor(0, 0, 255)) > 100);
        QVERIFY(CountColour(QColor(0, 0, 0)) > 657 + 233 + 100);  // the first curve stays
        w->bGrafClear->click();
        QCOMPARE(CountColour(QColor(0, 0, 255)), 0);
    }

    void plotSurvivesHidingAndGoesToTheClipboard() {
        SetUpFunction("t*t", "-5", "5", "100");
        w->bGrafDraw->click();
        const QImage drawn = w->GBitMap.copy();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QVERIFY(!w->GraphCleared);  // showing the window makes the next drawing start afresh
        w->hide();
        w->show();
        QCOMPARE(w->GBitMap, drawn);
        QCOMPARE(w->GBox2->grab().toImage().convertToFormat(QImage::Format_RGB32), drawn);
        w->bCopyBitMap->click();
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
                 drawn);
        w->hide();
    }

    // A range that a double cannot hold scales as no range at all: by 10. Whatever the
    // factors, a drawing with a point to draw ends without an error box.
    void rangesBeyondTheDoublesDraw() {
        chosenColour = QColor(0, 0, 255);
        w->GrafRenk->click();
        w->GrafBicim->setCurrentText("Çizgi");
        SetUpFunction("t", "-1E308", "1E308");
        w->bGrafDraw->click();
        QCOMPARE(errors, QStringList());
        QCOMPARE(w->Graph.ScX, 10.0);
        QCOMPARE(w->xX->text(), QString("10"));
        // At that scale the curve is the x axis itself, across the whole area.
        QVERIFY(CountColour(QColor(0, 0, 255)) > 600);

        w->bGrafClear->click();
        SetUpFunction("t*1E300", "0", "1E10");  // the last samples are beyond the doubles
        w->bGrafDraw->click();
        QCOMPARE(errors, QStringList());
        QCOMPARE(w->Graph.ScY, 10.0);
        QVERIFY(CountColour(QColor(0, 0, 255)) > 100);

        w->ScaleOk->setChecked(false);
        SetUpFunction("t", "0", "10");
        w->Graph.ScY = 1e300;
        w->bGrafDraw->click();
        QCOMPARE(errors, QStringList());
    }

    void seriesMemo() {
        w->mData->setPlainText("(1,2)");
        QVERIFY(w->cSeriDraw->isChecked());
        w->bGetData->click();
        QCOMPARE(w->Graph.DataXY.size(), size_t(1));
        w->mData->setPlainText(" \n\t ");
        QVERIFY(!w->cSeriDraw->isChecked());
        w->mData->setPlainText("");
        w->bGetData->click();
        QCOMPARE(w->Graph.DataXY.size(), size_t(1));  // an empty memo keeps the series
        w->mData->setPlainText("(1,2)(5)");
        w->bGetData->click();
        QCOMPARE(errors, QStringList{"Geçersiz seri verisi: (5)"});
        QCOMPARE(w->Graph.DataXY.size(), size_t(1));
        w->setLocaleFormat(QLocale(QLocale::German));
        w->mData->setPlainText("(1,2,5)");
        w->bGetData->click();
        QCOMPARE(w->Graph.DataXY[0].y, 2.5);
    }

    void seriesFiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("memo");
        QTest::addColumn<QByteArray>("saved");
        const QString text = QString::fromUtf8("(1,2)\n(3,4) ç");
        const QString crlf = QString::fromUtf8("(1,2)\r\n(3,4) ç");
        QTest::newRow("UTF-8 with mark")
            << "\xEF\xBB\xBF" + crlf.toUtf8() << text << "\xEF\xBB\xBF" + crlf.toUtf8();
        QTest::newRow("UTF-16 LE") << QByteArray("\xFF\xFE") + Utf16(crlf, true) << text
                                   << QByteArray("\xFF\xFE") + Utf16(crlf, true);
        QTest::newRow("UTF-16 BE, LF breaks") << QByteArray("\xFE\xFF") + Utf16(text, false) << text
                                              << QByteArray("\xFE\xFF") + Utf16(crlf, false);
        QTest::newRow("no mark, UTF-8") << crlf.toUtf8() << text << crlf.toUtf8();
        QTest::newRow("no mark, Windows-1254")
            << QByteArray("(1,2)\r(3,4) \xE7") << text << QByteArray("(1,2)\r\n(3,4) \xE7");
        QTest::newRow("Windows-1254, Turkish letters")
            << QByteArray("(1,2) \xFE \xF0 \xFD \xDD \xDE \xD0\r\n")
            << QString::fromUtf8("(1,2) ş ğ ı İ Ş Ğ\n")
            << QByteArray("(1,2) \xFE \xF0 \xFD \xDD \xDE \xD0\r\n");
        QTest::newRow("UTF-16 LE, Turkish letters and a second mark")
            << QByteArray("\xFF\xFE") + Utf16(QString::fromUtf8("ş\uFEFFĞ\r\n"), true)
            << QString::fromUtf8("ş\uFEFFĞ\n")
            << QByteArray("\xFF\xFE") + Utf16(QString::fromUtf8("ş\uFEFFĞ\r\n"), true);
        const QByteArray marks = QByteArray("\xEF\xBB\xBF").repeated(3) + QByteArray(110, '\x1B');
        QTest::newRow("three UTF-8 marks")
            << marks << QString(2, QChar(0xFEFF)) + QString(110, QChar(0x1B)) << marks;
        QTest::newRow("ends in a break")
            << QByteArray("(1,2)\n") << QString("(1,2)\n") << QByteArray("(1,2)\r\n");
        QTest::newRow("empty") << QByteArray() << QString() << QByteArray();
    }

    void seriesFiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, memo);
        QFETCH(QByteArray, saved);
        openPath = WriteFile("in.txt", bytes);
        QVERIFY(!openPath.isEmpty());
        w->SLoadFile->click();
        QCOMPARE(errors, QStringList());
        QCOMPARE(w->mData->toPlainText(), memo);
        QCOMPARE(w->cSeriDraw->isChecked(), !memo.trimmed().isEmpty());
        savePath = dir.filePath("out.txt");
        w->SSaveFile->click();
        QCOMPARE(errors, QStringList());
        QCOMPARE(ReadFile(savePath), saved);
    }

    void saveKeepsTheEncodingOfTheLastLoad() {
        savePath = dir.filePath("plain");
        w->mData->setPlainText(QString::fromUtf8("(1,ş)"));
        w->SSaveFile->click();
        QCOMPARE(ReadFile(dir.filePath("plain.txt")), QString::fromUtf8("(1,ş)").toUtf8());

        openPath = WriteFile("le.txt", QByteArray("\xFF\xFE") + Utf16("(1,2)", true));
        w->SLoadFile->click();
        w->mData->setPlainText("(7,8)\n(9,0)");
        savePath = dir.filePath("le-out.txt");
        w->SSaveFile->click();
        QCOMPARE(ReadFile(savePath), QByteArray("\xFF\xFE") + Utf16("(7,8)\r\n(9,0)", true));

        openPath = WriteFile("plain-in.txt", "(1,2)");
        w->SLoadFile->click();
        w->SSaveFile->click();
        QCOMPARE(ReadFile(savePath), QByteArray("(1,2)"));

        // After a Windows-1254 load: what the code page holds is saved in it, a typed "π"
        // makes that save UTF-8, and the next save is Windows-1254 again.
        openPath = WriteFile("1254.txt", "(1,2) \xFE");
        w->SLoadFile->click();
        QCOMPARE(w->mData->toPlainText(), QString::fromUtf8("(1,2) ş"));
        w->mData->setPlainText(QString::fromUtf8("(1,π) ş"));
        w->SSaveFile->click();
        QCOMPARE(ReadFile(savePath), QString::fromUtf8("(1,π) ş").toUtf8());
        w->mData->setPlainText(QString::fromUtf8("(1,2) ğ"));
        w->SSaveFile->click();
        QCOMPARE(ReadFile(savePath), QByteArray("(1,2) \xF0"));
        QCOMPARE(errors, QStringList());
    }

    void seriesFileErrorsKeepTheMemo_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::newRow("too large") << QByteArray(kMaxSeriesFileBytes + 1, '1') << "çok büyük";
    }

    // Damaged files load without losing their readable part.
    void damagedSeriesFilesLoadTheirReadablePart_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<SeriesEncoding>("encoding");
        const QString bad(QChar::ReplacementCharacter);
        QTest::newRow("UTF-16 LE missing its last byte")
            << QByteArray("\xFF\xFE(\0001\0,\0002\0)\0\n", 13) << "(1,2)"
            << SeriesEncoding::Utf16LE;
        QTest::newRow("UTF-16 BE lone surrogate") << QByteArray(
                                                         "\xFE\xFF\xD8\x00\x00(\x00"
                                                         "5\x00,\x00"
                                                         "6\x00)",
                                                         14)
                                                  << bad + "(5,6)" << SeriesEncoding::Utf16BE;
        QTest::newRow("broken UTF-8 after a mark")
            << QByteArray("\xEF\xBB\xBF(1,2)\xFF(3,4)") << "(1,2)" + bad + "(3,4)"
            << SeriesEncoding::Utf8Mark;
    }

    void damagedSeriesFilesLoadTheirReadablePart() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(SeriesEncoding, encoding);
        openPath = WriteFile("damaged.txt", bytes);
        w->SLoadFile->click();
        QVERIFY(errors.isEmpty());
        QCOMPARE(w->mData->toPlainText(), text);
        QCOMPARE(w->SeriesFileEncoding, encoding);
        w->bGetData->click();
        QVERIFY(errors.isEmpty());
        QVERIFY(w->Graph.DataXY.size() >= 1);
    }

    void seriesFileErrorsKeepTheMemo() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        w->mData->setPlainText("(1,2)");
        openPath = WriteFile("bad.txt", bytes);
        w->SLoadFile->click();
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].contains(message), qPrintable(errors[0]));
        QCOMPARE(w->mData->toPlainText(), QString("(1,2)"));
        QCOMPARE(w->SeriesFileEncoding, SeriesEncoding::Plain);
    }

    void missingFilesAndFailedSaves() {
        w->mData->setPlainText("(1,2)");
        openPath = dir.filePath("none.txt");
        w->SLoadFile->click();
        savePath = dir.filePath("no-such-dir/out.txt");
        w->SSaveFile->click();
        QCOMPARE(errors.size(), 2);
        QVERIFY(errors[0].contains("açılamıyor"));
        QVERIFY(errors[1].contains("yazılamıyor"));
        QCOMPARE(w->mData->toPlainText(), QString("(1,2)"));
        openPath.clear();  // a cancelled dialog does nothing
        w->SLoadFile->click();
        QCOMPARE(errors.size(), 2);
    }

    void variableLabelsFollowTheVariable() {
        w->FVar->setText("x");
        QFocusEvent out(QEvent::FocusOut);
        QCoreApplication::sendEvent(w->FVar, &out);
        QCOMPARE(w->xa->text(), QString("x1"));
        QCOMPARE(w->xb->text(), QString("x2"));
    }

    void scaleBoxesTakeDigitsAndUntickAutoScale() {
        QTest::keyClick(w->xX, Qt::Key_5);
        QVERIFY(!w->ScaleOk->isChecked());
        QCOMPARE(w->xX->text(), QString("1.05"));
        QTest::keyClick(w->eSample, Qt::Key_A);
        QTest::keyClick(w->eSample, Qt::Key_Minus);
        QTest::keyClick(w->eSample, Qt::Key_7);
        QCOMPARE(w->eSample->text(), QString("10007"));
    }

    void enterDoesNotBreakTheFormula() {
        w->mFormula->setPlainText("t");
        w->mFormula->moveCursor(QTextCursor::End);
        QTest::keyClick(w->mFormula, Qt::Key_Return);
        QCOMPARE(w->mFormula->toPlainText(), QString("t"));
        QTest::keyClick(w->mFormula, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(w->mFormula->toPlainText(), QString("t\n"));
    }

    void colourButtons() {
        chosenColour = QColor(1, 2, 3);
        w->XYRenk->click();
        QCOMPARE(w->XYRenk->color(), QColor(1, 2, 3));
        QCOMPARE(w->CurrentSettings().axesColor, QColor(1, 2, 3));
        chosenColour = QColor();  // cancelled
        w->XYRenk->click();
        QCOMPARE(w->XYRenk->color(), QColor(1, 2, 3));
    }

    void listTextEditedByHandSelectsNothing() {
        w->GrafBicim->setEditText("Nokt");
        w->xorj->setEditText("1/3");
        const PlotSettings s = w->CurrentSettings();
        QCOMPARE(s.curveStyle, -1);
        QCOMPARE(s.originX, -1);
        QCOMPARE(s.originY, 0);
    }

    void scrollBarHints() {
        w->scDecimal->setValue(5);
        QCOMPARE(w->scDecimal->toolTip(), QString("5"));
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(w->GrafKalinlik, &enter);
        QCOMPARE(w->GrafKalinlik->toolTip(), QString("1"));
        QCOMPARE(w->XYKalinlik->toolTip(), QString("XY Kalınlığı"));  // only its own
        QCoreApplication::sendEvent(w->GridSayisi, &enter);
        QCOMPARE(w->GridSayisi->toolTip(), QString("Grid Sayısı"));
        w->GridSayisi->setValue(6);
        QCOMPARE(w->GridSayisi->toolTip(), QString("6"));
    }

    // A compute running past half a second shows the progress dialog. Cancelling it (the
    // watchdog rejects it) stops the integral inside the first sample through the engine's
    // poll, and the loop at its next step: the samples and their list stay as they were.
    void cancellingALongComputeKeepsThePreviousSamples() {
        // On a slow, loaded machine the quick compute before may take long enough to show
        // its progress dialog; it is left to finish, as the samples to keep come from it.
        answer = [](QWidget* modal) { return qobject_cast<QProgressDialog*>(modal) != nullptr; };
        SetUpFunction("t", "0", "10", "100");
        answer = nullptr;
        seen.clear();
        boxExpected = true;
        SetUpFunction("INT(u;u;0;1;2000000000)", "0", "10", "100");
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].className, QString("QProgressDialog"));
        QCOMPARE(seen[0].title, QString("Grafik Kokpit"));
        QVERIFY(errors.isEmpty());
        QCOMPARE(w->Graph.FXY.size(), size_t(101));
        QCOMPARE(w->Graph.FXY[100].y, 10.0);
        QCOMPARE(w->FuncSeries->count(), 101);
    }

    // ---- The plot area's context menu ----

    void rightClickOpensThePlotMenu() {
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(10, 10),
                                w->GBox2->mapToGlobal(QPoint(10, 10)));
        QCoreApplication::sendEvent(w->GBox2, &click);
        QVERIFY(w->pmGBox2->isVisible());
        QStringList items;
        for (QAction* a : w->pmGBox2->actions()) items << a->text();
        QCOMPARE(items,
                 (QStringList{"Panoya Kopyala", "PNG Olarak Kaydet...", "SVG Olarak Kaydet..."}));
        w->pmGBox2->hide();
    }

    // Two curves drawn over each other: t in blue, then 10 - t in red.
    void plotMenuCopiesAndSavesThePlot() {
        w->GrafBicim->setCurrentText("Çizgi");
        chosenColour = QColor(0, 0, 255);
        w->GrafRenk->click();
        SetUpFunction("t", "0", "10", "100");
        w->bGrafDraw->click();
        chosenColour = QColor(255, 0, 0);
        w->GrafRenk->click();
        SetUpFunction("10-t", "0", "10", "100");
        w->bGrafDraw->click();
        QString plotPath;
        w->Dialogs.savePlotFile = [&](QWidget*, const QString& format) {
            return plotPath = dir.filePath("plot." + format);
        };

        w->miKopyala->trigger();
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
                 w->GBitMap);

        w->miPngKaydet->trigger();
        QCOMPARE(plotPath, dir.filePath("plot.png"));
        const QImage png(plotPath, "PNG");
        QCOMPARE(png.size(), w->GBitMap.size());
        QCOMPARE(png.convertToFormat(QImage::Format_RGB32), w->GBitMap);

        w->miSvgKaydet->trigger();
        QCOMPARE(errors, QStringList());
        QSvgRenderer svg(plotPath);
        QVERIFY(svg.isValid());
        QCOMPARE(svg.viewBox(), QRect(0, 0, 657, 233));
        // Both curves, as vectors: at t = 2.5 the blue one is at (410, 87), the red one at
        // (410, 29).
        const QStringList strokes = LineStrokes(ReadFile(plotPath));
        QVERIFY2(strokes.contains("#0000ff") && strokes.contains("#ff0000"),
                 qPrintable(strokes.join(' ')));
        QImage shown(657, 233, QImage::Format_RGB32);
        shown.fill(Qt::white);
        QPainter painter(&shown);
        svg.render(&painter);
        painter.end();
        QVERIFY(Near(shown, {410, 87}, QColor(0, 0, 255)));
        QVERIFY(Near(shown, {410, 29}, QColor(255, 0, 0)));
        QCOMPARE(shown.pixelColor(100, 150), QColor(192, 220, 192));  // the area

        // A cleared area is saved without the curves.
        w->bGrafClear->click();
        w->miSvgKaydet->trigger();
        const QStringList cleared = LineStrokes(ReadFile(plotPath));
        QVERIFY(!cleared.contains("#0000ff") && !cleared.contains("#ff0000"));
        QVERIFY(cleared.contains("#808080"));  // the grid

        w->Dialogs.savePlotFile = [&](QWidget*, const QString& format) {
            return dir.filePath("no-such-dir/plot." + format);
        };
        w->miPngKaydet->trigger();
        w->miSvgKaydet->trigger();
        QCOMPARE(errors.size(), 2);
        QVERIFY(errors[0].contains("yazılamıyor") && errors[1].contains("yazılamıyor"));
    }

    // The kept image is exactly what the renderer draws straight onto an image.
    void keptImageIsTheRenderersDrawing() {
        w->GrafBicim->setCurrentText("Seri Biçimi");
        w->GrafKalinlik->setValue(3);
        w->XYBicim->setCurrentText("Kesikli/Noktalı");
        w->scDKalinlik->setValue(4);
        w->mData->setPlainText("(0,0)(1,2)(2,-1)(3,3)(4,-2)");
        w->bGetData->click();
        w->cBezierDraw->setChecked(true);
        SetUpFunction("SIN(t)*t", "-10", "10", "200");
        w->bGrafDraw->click();
        w->GrafBicim->setCurrentText("Çizgi");
        w->bGrafDraw->click();

        TGraph graph = w->Graph;
        QImage direct(w->GBitMap.size(), QImage::Format_RGB32);
        direct.fill(QColor(192, 220, 192));
        SurfaceState surface;
        QPainter painter(&direct);
        TPlotCanvas canvas(painter, surface, direct.width(), direct.height());
        PlotSettings settings = w->CurrentSettings();
        canvas.PrepareArea(graph, settings);
        settings.curveStyle = 2;
        canvas.DrawGraphXY(graph, settings);
        settings.curveStyle = 1;
        canvas.DrawGraphXY(graph, settings);
        painter.end();
        QCOMPARE(w->GBitMap, direct);
    }

    // The standard save dialogs add the suffix first and ask before replacing a file.
    void saveDialogsAskBeforeReplacing_data() {
        QTest::addColumn<QString>("format");
        QTest::newRow("series") << "txt";
        QTest::newRow("PNG") << "png";
        QTest::newRow("SVG") << "svg";
    }

    void saveDialogsAskBeforeReplacing() {
        QFETCH(QString, format);
        const QString existing = WriteFile("out." + format, "old");
        const QString before = QDir::currentPath();
        QDir::setCurrent(dir.path());
        const GraphDialogs standard = GraphDialogs::Standard();
        for (bool replace : {false, true}) {
            QStringList questions;
            bool typed = false;
            answer = [&](QWidget* modal) {
                if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                    questions << box->text();
                    box->button(replace ? QMessageBox::Yes : QMessageBox::No)->click();
                    return true;
                }
                auto* dialog = qobject_cast<QFileDialog*>(modal);
                if (dialog == nullptr) return false;
                if (typed) {  // the question was answered No: the dialog is still open
                    dialog->reject();
                    return true;
                }
                typed = true;
                dialog->findChild<QLineEdit*>("fileNameEdit")->setText("out");
                // From the dialog's own loop, so that this watchdog sees the question.
                QMetaObject::invokeMethod(dialog, &QDialog::accept, Qt::QueuedConnection);
                return true;
            };
            const QString chosen = format == "txt" ? standard.saveSeriesFile(w.get())
                                                   : standard.savePlotFile(w.get(), format);
            QCOMPARE(questions.size(), 1);
            QVERIFY2(questions[0].contains("out." + format), qPrintable(questions[0]));
            QCOMPARE(chosen, replace ? QFileInfo(existing).absoluteFilePath() : QString());
        }
        answer = nullptr;
        QDir::setCurrent(before);
        QCOMPARE(ReadFile(existing), QByteArray("old"));
    }

    void generalErrorBox() {
        boxExpected = true;
        ui::ShowErrorBox(w.get(), "Dosya bulunamadı");
        ui::ShowErrorBox(w.get(), "Geçersiz seri verisi: (5)");
        ui::ShowErrorBox(w.get(), "Bitti.");
        QCOMPARE(seen.size(), 3);
        QCOMPARE(seen[0].title, QString("Zentu Scientific Calculator"));
        QCOMPARE(seen[0].icon, int(QMessageBox::Critical));
        QCOMPARE(seen[0].text, QString("Dosya bulunamadı."));
        QCOMPARE(seen[1].text, QString("Geçersiz seri verisi: (5)"));
        QCOMPARE(seen[2].text, QString("Bitti."));
    }
};

QTEST_MAIN(GraphWindowTest)
#include "graph_window_test.moc"
