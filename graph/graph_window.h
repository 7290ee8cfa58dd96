// SPDX-License-Identifier: GPL-3.0-or-later
// The graph window "Grafik Kokpit": the formula and its interval, the point series, the
// drawing settings, the plot area and the scale read-outs.
//
// Commands: "F(x) HESAPLA" samples the formula (TGraph::Compute) and lists the samples;
// "SERİ AL" reads the series memo into the model; "Grafik Çiz" scales automatically when
// asked, shows the grid read-outs and draws; "Grafik Temizle" prepares the plot area afresh;
// "Grafiği Panoya Kopyala" puts the plot on the clipboard; "<<" and ">>" load and save the
// series memo. The plot is drawn into the kept image GBitMap, which the paint box GBox2
// only shows, so the picture survives being covered or hidden. Each drawing since the
// last preparation of the area is also kept as a recording, so the plot area's context
// menu can save the same plot as SVG with its lines as vectors, besides copying it and
// saving the kept image as PNG.
//
// The window is created once, hidden, and shown modally by the calculator window; closing it
// only hides it, so everything typed, computed and chosen stays for the next showing.
#pragma once

#include <QColor>
#include <QDialog>
#include <QImage>
#include <QLocale>
#include <QPicture>
#include <functional>
#include <vector>

#include "graph/graph_controls.h"
#include "graph/graph_model.h"
#include "graph/plot_canvas.h"
#include "graph/series_file.h"
#include "ui/application.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QPushButton;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QScrollBar;
class QStringListModel;
class QTabWidget;

namespace zentu {

class Engine;

// The dialogs the window opens. Standard() gives the platform's and the program's general
// error box (ui::ShowErrorBox); tests put in their own.
struct GraphDialogs {
    std::function<QString(QWidget*)> openSeriesFile;  // empty when cancelled
    std::function<QString(QWidget*)> saveSeriesFile;  // empty when cancelled
    // The plot as "png" or "svg"; empty when cancelled.
    std::function<QString(QWidget*, const QString& format)> savePlotFile;
    std::function<QColor(QWidget*, const QColor&)> chooseColor;  // invalid when cancelled
    std::function<void(QWidget*, const QString&)> information;
    std::function<void(QWidget*, const QString&)> error;

    static GraphDialogs Standard();
};

class TFGraphics : public QDialog {
    Q_OBJECT
  public:
    explicit TFGraphics(Engine& engine, QWidget* parent = nullptr);

    // The number format of every number shown in the window and of the series numbers;
    // the system's by default.
    void setLocaleFormat(const QLocale& locale);

    // ---- Handlers ----
    void InitGraph();
    void FormActivate();
    void CalcXYClick();
    void bGetDataClick();
    void DoGraphClick();
    void AutoScaleClick();
    void GrafClearClick();
    void bCopyBitMapClick();
    void miPngKaydetClick();
    void miSvgKaydetClick();
    void SLoadFileClick();
    void SSaveFileClick();
    void mDataChange();
    void FncVarExit();
    void ScaleEditKeyPress();
    void ColorButtonClick(TColorButton* button);

    // The settings of the drawing controls as they stand.
    PlotSettings CurrentSettings() const;
    // Item index of a list, or -1 when its text is not one of its items.
    static int SelectedIndex(const QComboBox* list);

    TGraph Graph;
    bool GraphCleared = false;
    QImage GBitMap;        // the plot, as drawn; the paint box shows it
    SurfaceState Surface;  // pen, brush and position carried between commands
    SeriesEncoding SeriesFileEncoding = SeriesEncoding::Plain;  // of the last file loaded
    GraphDialogs Dialogs = GraphDialogs::Standard();

    // ---- Controls ----
    QTabWidget* pgGraph;
    QWidget* GraphXY;
    QFrame* Panel1;
    QGroupBox *GroupBox2, *GroupBox3;
    QLineEdit *ca, *eca, *cb, *ecb, *eSample, *xa, *eex1, *xb, *eex2, *FName, *FVar, *Edit3;
    TWrapButton* bCalculate;
    QPlainTextEdit *mFormula, *mData;
    QScrollBar* scDecimal;
    QPushButton *SLoadFile, *SSaveFile, *bGetData;

    QGroupBox *GroupBox4, *GroupBox5, *GroupBox6, *GroupBox7, *GroupBox8;
    QFrame* Panel2;
    TColorButton *bcAlanRenk, *bDRenk, *GrafRenk, *XYRenk, *GridRenk;
    QScrollBar *scDKalinlik, *GrafKalinlik, *XYKalinlik, *GridSayisi, *GridKalinlik;
    QComboBox *GrafBicim, *XYBicim, *xorj, *yorj, *cGridBicim;
    QCheckBox* cGridCiz;

    QFrame* Panel3;
    TPaintBox* GBox2;
    QMenu* pmGBox2;  // GBox2's context menu
    QAction *miKopyala, *miPngKaydet, *miSvgKaydet;

    QGroupBox* GroupBox11;
    QCheckBox *cSeriDraw, *cBezierDraw;
    TColorButton *SeriColor, *SeriMarkColor, *BezierColor;
    QComboBox *cSeriStil, *FuncSeries;
    QScrollBar* SeriMark;

    QGroupBox* GroupBox9;
    QCheckBox* ScaleOk;
    QComboBox* cScaleStil;
    QLineEdit *xX, *xY, *SxX, *SxY, *eGridValX, *eGridValY, *eGridSValX, *eGridSValY;
    QLineEdit *Edit1, *Edit2, *Edit4, *Edit5, *Edit6, *Edit7;

    QPushButton *bGrafClear, *bGrafDraw, *bCopyBitMap;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void BuildControls();
    // Paints on the kept image and shows the result, also when the drawing fails halfway.
    // The drawing is recorded on the way; a preparation of the whole area starts the
    // record afresh, as it covers everything drawn before it.
    void Paint(const std::function<void(TPlotCanvas&)>& drawing, bool wholeArea = false);
    void ShowReadOuts();
    void ShowFactor(QLineEdit* box, double factor);
    QString NumberText(long double v) const;
    std::string DecimalSeparator() const;

    Engine& engine_;
    QLocale locale_ = QLocale::system();
    // Where the errors of the handlers go: Dialogs.error, read when an error comes.
    ui::ErrorSink errors_;
    QStringListModel* samplesList_;
    std::vector<QPicture> plotRecord_;  // the drawings on GBitMap since its last preparation
};

}  // namespace zentu
