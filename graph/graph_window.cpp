// SPDX-License-Identifier: GPL-3.0-or-later
#include "graph/graph_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QScrollBar>
#include <QShowEvent>
#include <QStringListModel>
#include <QSvgGenerator>
#include <cmath>

#include "engine/engine.h"
#include "engine/number_text.h"
#include "ui/application.h"
#include "ui/engine_progress.h"
#include "ui/look.h"

namespace zentu {

namespace {

// A save dialog in the current directory. The default suffix is added by the dialog itself,
// before it asks whether to replace an existing file, so "veri" asks about "veri.txt".
QString AskSaveFileName(QWidget* parent, const QString& title, const QString& filter,
                        const QString& suffix) {
    QFileDialog dialog(parent, title, QDir::currentPath(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles().value(0);
}

// Plays a recorded drawing in the plot area's logical pixels. Qt plays a picture scaled by
// the ratio of the target's resolution to the picture's own; the kept image declares the
// screen's pixel ratio in its resolution (and an SVG has a resolution of its own), so the
// painter undoes that scaling first.
void PlayInLogicalPixels(QPicture& drawing, QPainter& painter) {
    const QPaintDevice& target = *painter.device();
    painter.save();
    painter.scale(qreal(drawing.logicalDpiX()) / target.logicalDpiX(),
                  qreal(drawing.logicalDpiY()) / target.logicalDpiY());
    drawing.play(&painter);
    painter.restore();
}

}  // namespace

GraphDialogs GraphDialogs::Standard() {
    GraphDialogs d;
    d.openSeriesFile = [](QWidget* parent) {
        return QFileDialog::getOpenFileName(parent, QString(), QDir::currentPath(),
                                            QStringLiteral("Text dosyalar (*.txt)"));
    };
    d.saveSeriesFile = [](QWidget* parent) {
        return AskSaveFileName(parent, QStringLiteral("Serileri Dosyaya Kaydedin"),
                               QStringLiteral("Text dosya (*.txt)"), QStringLiteral("txt"));
    };
    d.savePlotFile = [](QWidget* parent, const QString& format) {
        const QString name = format.toUpper();
        return AskSaveFileName(parent, "Grafiği " + name + " Olarak Kaydedin",
                               name + " dosya (*." + format + ")", format);
    };
    d.chooseColor = [](QWidget* parent, const QColor& current) {
        return QColorDialog::getColor(current, parent);
    };
    d.information = [](QWidget* parent, const QString& text) {
        QMessageBox::information(parent, QStringLiteral("Bilgi"), text);
    };
    d.error = ui::ShowErrorBox;
    return d;
}

namespace {

bool IsBlankText(const QString& text) {
    for (QChar c : text)
        if (c.unicode() > ' ') return false;
    return true;
}

}  // namespace

TFGraphics::TFGraphics(Engine& engine, QWidget* parent)
    : QDialog(parent),
      Graph(engine),
      engine_(engine),
      errors_([this](QWidget* window, const QString& message) { Dialogs.error(window, message); }) {
    setWindowTitle(QStringLiteral("Grafik Kokpit"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(852, 582);
    setFont(ui::PointFont(ui::kTahoma, 8));
    BuildControls();
    InitGraph();
}

void TFGraphics::setLocaleFormat(const QLocale& locale) {
    locale_ = locale;
}

std::string TFGraphics::DecimalSeparator() const {
    return locale_.decimalPoint().toStdString();
}

QString TFGraphics::NumberText(long double v) const {
    return QString::fromStdString(ResultText(v, DecimalSeparator()));
}

int TFGraphics::SelectedIndex(const QComboBox* list) {
    const QString text = list->currentText();
    for (int i = 0; i < list->count(); ++i)
        if (list->itemText(i) == text) return i;
    return -1;
}

PlotSettings TFGraphics::CurrentSettings() const {
    PlotSettings s;
    s.areaColor = bcAlanRenk->color();
    s.borderColor = bDRenk->color();
    s.borderWidth = scDKalinlik->value();
    s.curveStyle = SelectedIndex(GrafBicim);
    s.curveColor = GrafRenk->color();
    s.curveWidth = GrafKalinlik->value();
    s.axesPenStyle = SelectedIndex(XYBicim);
    s.axesColor = XYRenk->color();
    s.axesWidth = XYKalinlik->value();
    s.originX = SelectedIndex(xorj);
    s.originY = SelectedIndex(yorj);
    s.gridOn = cGridCiz->isChecked();
    s.gridCount = GridSayisi->value();
    s.gridPenStyle = SelectedIndex(cGridBicim);
    s.gridColor = GridRenk->color();
    s.gridWidth = GridKalinlik->value();
    s.seriesOn = cSeriDraw->isChecked();
    s.markerShape = SelectedIndex(cSeriStil);
    s.markerSize = SeriMark->value();
    s.markerColor = SeriMarkColor->color();
    s.seriesColor = SeriColor->color();
    s.bezierOn = cBezierDraw->isChecked();
    s.bezierColor = BezierColor->color();
    return s;
}

// ---- Commands ---------------------------------------------------------------------------

void TFGraphics::Paint(const std::function<void(TPlotCanvas&)>& drawing, bool wholeArea) {
    if (wholeArea) plotRecord_.clear();
    // The drawing goes into a recording, which is then played onto the kept image and kept
    // for saving the plot as SVG; what a failing drawing did by then is kept as well.
    QPicture picture;
    QPainter painter(&picture);
    struct Keep {
        TFGraphics& window;
        QPicture& picture;
        QPainter& painter;
        ~Keep() {
            painter.end();
            QPainter image(&window.GBitMap);
            PlayInLogicalPixels(picture, image);
            image.end();
            window.plotRecord_.push_back(std::move(picture));
            window.GBox2->update();
        }
    } keep{*this, picture, painter};
    // The canvas works in the plot area's logical pixels; playing the recording onto the
    // kept image maps them onto its device pixels.
    const QSize area = GBitMap.deviceIndependentSize().toSize();
    TPlotCanvas canvas(painter, Surface, area.width(), area.height());
    drawing(canvas);
}

void TFGraphics::FormActivate() {
    GraphCleared = false;
}

void TFGraphics::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormActivate();
}

void TFGraphics::CalcXYClick() {
    ComputeRequest request;
    request.formula = mFormula->toPlainText().toStdString();
    request.const1Name = ca->text().toStdString();
    request.const1Value = eca->text().toStdString();
    request.const2Name = cb->text().toStdString();
    request.const2Value = ecb->text().toStdString();
    request.start = eex1->text().toStdString();
    request.end = eex2->text().toStdString();
    request.sampleCount = eSample->text().toStdString();
    request.variable = FVar->text().toStdString();
    request.decimals = scDecimal->value();
    request.decimalSeparator = DecimalSeparator();
    request.startLabel = xa->text().toStdString();
    request.endLabel = xb->text().toStdString();

    // The bar counts the samples; a long evaluation inside one sample (INT, DIF) is
    // cancelled from the same dialog through the engine's poll.
    ui::EngineProgress progress(engine_, this, QStringLiteral("Fonksiyon hesaplanıyor..."),
                                windowTitle(), ui::EngineProgress::Bar::Caller);

    std::vector<std::string> lines;
    const ComputeResult result =
        Graph.Compute(request, lines, [&progress](std::size_t done, std::size_t total) {
            return progress.Continue(done, total);
        });
    if (result != ComputeResult::Done) return;
    QStringList list;
    list.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines) list.append(QString::fromStdString(line));
    samplesList_->setStringList(list);
}

void TFGraphics::bGetDataClick() {
    const QString text = mData->toPlainText();
    if (text.isEmpty()) return;
    Graph.GetDataXY(text.toStdString(), DecimalSeparator());
}

void TFGraphics::GrafClearClick() {
    const PlotSettings settings = CurrentSettings();
    Paint([&](TPlotCanvas& canvas) { canvas.PrepareArea(Graph, settings); }, true);
    GraphCleared = true;
}

void TFGraphics::DoGraphClick() {
    if (!GraphCleared) GrafClearClick();
    if (Graph.FXY.empty() && Graph.DataXY.empty()) {
        Dialogs.information(
            this, QStringLiteral("Hesaplanan bir fonksiyon ya da bir seri bulunmuyor..."));
        return;
    }
    if (ScaleOk->isChecked()) AutoScaleClick();
    ShowReadOuts();
    const PlotSettings settings = CurrentSettings();
    Paint([&](TPlotCanvas& canvas) { canvas.DrawGraphXY(Graph, settings); });
}

namespace {

// A factor of auto scaling: pixels / units, or 10 when there is no range to fit (zero,
// or a quotient that leaves the double range).
double ScaleFactor(long double pixels, double units) {
    if (units == 0) return 10.0;
    const auto q = static_cast<double>(pixels / units);
    return std::isfinite(q) && q != 0 ? q : 10.0;
}

}  // namespace

void TFGraphics::ShowFactor(QLineEdit* box, double factor) {
    box->setText(NumberText(factor));
    box->setCursorPosition(0);  // a long factor shows its leading digits
}

void TFGraphics::AutoScaleClick() {
    if (!GraphCleared) GrafClearClick();
    Graph.ScX = Graph.DScX = Graph.ScY = Graph.DScY = 10.0;
    const int style = SelectedIndex(cScaleStil);
    if (!Graph.FXY.empty()) {
        if (style == 0) Graph.ScY = ScaleFactor(Graph.oy, Graph.GetFXYMaxY());
        if (style == 1) Graph.ScY = ScaleFactor(Graph.oy, Graph.GetFXYOrtY());
        Graph.ScX = ScaleFactor(Graph.ox, Graph.FXY.back().x - Graph.FXY.front().x);
        ShowFactor(xX, Graph.ScX);
        ShowFactor(xY, Graph.ScY);
    }
    if (!Graph.DataXY.empty()) {
        if (style == 0) Graph.DScY = ScaleFactor(Graph.oy, Graph.GetSeriMaxY());
        if (style == 1) Graph.DScY = ScaleFactor(Graph.oy, Graph.GetSeriOrtY());
        const double range =
            Graph.DataXY.size() == 1 ? 1.0 : Graph.DataXY.back().x - Graph.DataXY.front().x;
        Graph.DScX = ScaleFactor(Graph.DeltaX, range);
        ShowFactor(SxX, Graph.DScX);
        ShowFactor(SxY, Graph.DScY);
    }
}

void TFGraphics::ShowReadOuts() {
    const auto readOut = [this](std::uint16_t pixels, double factor) {
        bool overflow = false;
        const long double units =
            RoundToDecimals(pixels / static_cast<long double>(factor), 2, overflow);
        return QString::number(pixels) + QStringLiteral("px/") + NumberText(units);
    };
    eGridValX->setText(readOut(Graph.DeltaX, Graph.ScX));
    eGridValY->setText(readOut(Graph.DeltaY, Graph.ScY));
    eGridSValX->setText(readOut(Graph.DeltaX, Graph.DScX));
    eGridSValY->setText(readOut(Graph.DeltaY, Graph.DScY));
}

void TFGraphics::bCopyBitMapClick() {
    QGuiApplication::clipboard()->setImage(GBitMap);
}

namespace {

[[noreturn]] void FailedSave(const QString& path, const QSaveFile& file) {
    throw GraphError(("'" + path + "' dosyası yazılamıyor: " + file.errorString()).toStdString());
}

}  // namespace

void TFGraphics::miPngKaydetClick() {
    const QString path = Dialogs.savePlotFile(this, QStringLiteral("png"));
    if (path.isEmpty()) return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !GBitMap.save(&file, "PNG") || !file.commit())
        FailedSave(path, file);
}

void TFGraphics::miSvgKaydetClick() {
    const QString path = Dialogs.savePlotFile(this, QStringLiteral("svg"));
    if (path.isEmpty()) return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) FailedSave(path, file);
    {
        const QRect area(QPoint(0, 0), GBox2->size());
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(area.size());
        svg.setViewBox(area);
        svg.setResolution(96);  // so that viewers show it at the plot area's size
        svg.setTitle(windowTitle());
        QPainter painter(&svg);
        // The kept image draws a line of x = 5 in the pixel column from 5 to 6; half a
        // pixel across, the vector lines lie where the image's lines do.
        painter.translate(0.5, 0.5);
        // Before its first preparation the area is one colour.
        if (plotRecord_.empty()) painter.fillRect(area, GBitMap.pixelColor(0, 0));
        for (QPicture& drawing : plotRecord_) PlayInLogicalPixels(drawing, painter);
    }
    if (!file.commit()) FailedSave(path, file);
}

void TFGraphics::SLoadFileClick() {
    const QString path = Dialogs.openSeriesFile(this);
    if (path.isEmpty()) return;
    SeriesFileText file = ReadSeriesFile(path);
    mData->setPlainText(file.text);
    SeriesFileEncoding = file.encoding;
}

void TFGraphics::SSaveFileClick() {
    QString path = Dialogs.saveSeriesFile(this);
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".txt");
    WriteSeriesFile(path, mData->toPlainText(), SeriesFileEncoding);
}

void TFGraphics::mDataChange() {
    cSeriDraw->setChecked(!IsBlankText(mData->toPlainText()));
}

void TFGraphics::FncVarExit() {
    xa->setText(FVar->text() + QLatin1Char('1'));
    xb->setText(FVar->text() + QLatin1Char('2'));
    // The interval ends are announced by the labels in front of them.
    for (QLineEdit* e : {xa, eex1}) e->setAccessibleName(xa->text());
    for (QLineEdit* e : {xb, eex2}) e->setAccessibleName(xb->text());
}

void TFGraphics::ScaleEditKeyPress() {
    ScaleOk->setChecked(false);
}

void TFGraphics::ColorButtonClick(TColorButton* button) {
    const QColor chosen = Dialogs.chooseColor(this, button->color());
    if (chosen.isValid() && chosen != button->color()) button->setColor(chosen);
}

bool TFGraphics::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::Enter:
            if (auto* bar = qobject_cast<QScrollBar*>(watched))
                bar->setToolTip(QString::number(bar->value()));
            break;
        case QEvent::FocusOut:
            if (watched == FVar || watched == Edit3 || watched == xa || watched == xb) FncVarExit();
            break;
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (watched == mFormula || watched == mData) {
                // Enter does not break the line; Ctrl+Enter does.
                if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                    if (key->modifiers() & Qt::ControlModifier)
                        static_cast<QPlainTextEdit*>(watched)->insertPlainText(
                            QStringLiteral("\n"));
                    return true;
                }
                break;
            }
            if (watched == xX || watched == xY || watched == SxX || watched == SxY)
                ScaleEditKeyPress();
            if (watched == eSample || watched == xX || watched == xY || watched == SxX ||
                watched == SxY) {
                // Digits only: other printable characters are not typed.
                const QString text = key->text();
                if (!text.isEmpty() && text.at(0).unicode() >= ' ' && text.at(0) != QChar(127) &&
                    !(key->modifiers() & Qt::ControlModifier) &&
                    !(text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('9')))
                    return true;
            }
            break;
        }
        default:
            break;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace zentu
