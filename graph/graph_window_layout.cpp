// SPDX-License-Identifier: GPL-3.0-or-later
// The window's controls at their places, and their content at creation (InitGraph).
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringListModel>
#include <QTabWidget>
#include <cmath>
#include <utility>

#include "graph/graph_window.h"
#include "ui/look.h"
#include "ui/scroll_bar.h"

namespace zentu {

namespace {

// Captions drawn straight on the fixed colours of the panels and group boxes (labels,
// check boxes, group titles) are fixed too, in the window text of the design, so a dark
// desktop palette does not turn them light.
constexpr QColor kCaptionText = ui::kBlack;

// What the drawing controls show when the window is created.
const PlotSettings kInitial{};

void CaptionColour(QWidget* w) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, kCaptionText);
    w->setPalette(pal);
}

template <class W>
W* Place(W* widget, int left, int top, int width, int height) {
    widget->setGeometry(left, top, width, height);
    return widget;
}

void Colour(QWidget* w, const QColor& c) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, c);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

QGroupBox* Group(QWidget* parent, const char* caption, int l, int t, int w, int h,
                 const QColor& colour) {
    auto* box = Place(new TGroupBox(QString::fromUtf8(caption), parent), l, t, w, h);
    Colour(box, colour);
    box->setCaptionColor(kCaptionText);
    return box;
}

QFrame* Panel(QWidget* parent, int l, int t, int w, int h, const QColor& colour) {
    auto* panel = Place(new QFrame(parent), l, t, w, h);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Raised);
    Colour(panel, colour);
    return panel;
}

void Label(QWidget* parent, const char* caption, int l, int t) {
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    CaptionColour(label);
    // Room above the text for the dots of "Ö" and "İ", which some fonts draw above their
    // ascent; the text itself stays at (l, t).
    constexpr int kAccentRoom = 3;
    label->setContentsMargins(0, kAccentRoom, 0, 0);
    label->move(l, t - kAccentRoom);
    label->adjustSize();
}

QLineEdit* Edit(QWidget* parent, const char* text, int l, int t, int w, int h,
                bool rightAligned = false) {
    auto* edit = Place(new QLineEdit(QString::fromUtf8(text), parent), l, t, w, h);
    if (rightAligned) edit->setAlignment(Qt::AlignRight);
    return edit;
}

QLineEdit* ReadOnlyEdit(QWidget* parent, const char* text, int l, int t, int w, int h) {
    QLineEdit* edit = Edit(parent, text, l, t, w, h);
    edit->setReadOnly(true);
    // Text to read, not to fill in: a click still selects it, Tab passes it by.
    edit->setFocusPolicy(Qt::ClickFocus);
    return edit;
}

QPushButton* Button(QWidget* parent, const char* caption, int l, int t, int w, int h) {
    auto* button = Place(new QPushButton(QString::fromUtf8(caption), parent), l, t, w, h);
    button->setAutoDefault(false);
    return button;
}

QScrollBar* ScrollBar(QWidget* parent, int l, int t, int w, int h, int min, int max, int pos,
                      const char* hint) {
    auto* bar = Place(new ui::TScrollBar(parent), l, t, w, h);
    bar->setRange(min, max);
    bar->setPageStep(1);
    bar->setValue(pos);
    bar->setToolTip(QString::fromUtf8(hint));
    // The hint turns into the position once the bar moves; the name keeps telling what it sets.
    bar->setAccessibleName(QString::fromUtf8(hint));
    return bar;
}

QComboBox* List(QWidget* parent, int l, int t, int w, int h) {
    auto* list = Place(new QComboBox(parent), l, t, w, h);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    return list;
}

// Check boxes keep the classic four pixels between box and caption (Qt's styles keep six),
// so that the designed captions, "Otomatik Ölçeklendir" the longest, fit the designed widths.
QStyle* CheckBoxes() {
    // Over the application's style, whichever it is; it lives as long as the application.
    static QStyle* style = [] {
        auto* s = new ui::PixelMetricStyle(QStyle::PM_CheckBoxLabelSpacing, 4);
        s->setParent(qApp);
        return s;
    }();
    return style;
}

QCheckBox* Check(QWidget* parent, const char* caption, int l, int t, int w, int h, bool on) {
    auto* box = Place(new QCheckBox(QString::fromUtf8(caption), parent), l, t, w, h);
    box->setStyle(CheckBoxes());
    CaptionColour(box);
    box->setChecked(on);
    return box;
}

// The kept plot image: the plot area's size in logical pixels, held at the screen's device
// pixel ratio so that the plot is drawn as finely as the screen shows it. Its resolution
// tells the same ratio, so the picture keeps the designed size where it is pasted or saved.
QImage KeptImage(QSize size, qreal ratio) {
    QImage image((QSizeF(size) * ratio).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    const int dotsPerMeter = qRound(ratio * 96 / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

QPlainTextEdit* Memo(QWidget* parent, int l, int t, int w, int h) {
    auto* memo = Place(new QPlainTextEdit(parent), l, t, w, h);
    memo->setTabChangesFocus(true);
    return memo;
}

const char* const kPenStyles[] = {"Normal", "Noktalı", "Kesikli", "Kesikli/Noktalı",
                                  "Kesikli/Noktalı Noktalı"};

void Fill(QComboBox* list, std::initializer_list<const char*> items) {
    for (const char* item : items) list->addItem(QString::fromUtf8(item));
}

void FillPenStyles(QComboBox* list) {
    for (const char* item : kPenStyles) list->addItem(QString::fromUtf8(item));
}

}  // namespace

void TFGraphics::BuildControls() {
    Colour(this, ui::kMaroon);
    pgGraph = Place(new QTabWidget(this), 5, 5, 844, 572);
    GraphXY = new QWidget;
    pgGraph->addTab(GraphXY, QStringLiteral("Graph (X,Y)"));
    Panel1 = Panel(GraphXY, 3, -1, 830, 553, ui::kOlive);

    // Function definition.
    GroupBox2 = Group(Panel1, "[ Fonksiyon Tanımı ]", 8, 8, 297, 246, ui::kMoneyGreen);
    GroupBox3 = Group(GroupBox2, "[ Girişler ]", 8, 18, 286, 220, ui::kMoneyGreen);
    QWidget* g3 = GroupBox3;
    Label(g3, "Sabit1/Değer", 13, 21);
    Label(g3, "Sabit2/Değer", 13, 48);
    Label(g3, ":=", 143, 24);
    Label(g3, ":=", 143, 48);
    Label(g3, "Örnekleme", 13, 75);
    Label(g3, "FX", 13, 101);
    Label(g3, "Değişken", 47, 101);
    Label(g3, "Seriler (x1,y1) ...", 13, 166);
    ca = Edit(g3, "_a", 97, 21, 40, 21);
    eca = Edit(g3, "0", 162, 21, 40, 21, true);
    cb = Edit(g3, "_b", 97, 48, 40, 21);
    ecb = Edit(g3, "0", 162, 48, 40, 21, true);
    bCalculate = Place(new TWrapButton(QStringLiteral("F(x) HESAPLA"), g3), 208, 21, 65, 48);
    bCalculate->setAutoDefault(false);
    eSample = Edit(g3, "100", 96, 75, 35, 21, true);
    xa = ReadOnlyEdit(g3, "t1=", 136, 75, 25, 21);
    eex1 = Edit(g3, "0", 162, 75, 40, 21, true);
    xb = ReadOnlyEdit(g3, "t2=", 208, 75, 25, 21);
    eex2 = Edit(g3, "10", 234, 75, 40, 21, true);
    FName = Edit(g3, "F", 13, 120, 28, 21);
    FVar = Edit(g3, "t", 43, 120, 26, 21);
    Edit3 = Edit(g3, ":=", 70, 120, 21, 21);
    Edit3->setEnabled(false);
    mFormula = Memo(g3, 96, 98, 177, 43);
    mData = Memo(g3, 96, 143, 177, 50);
    scDecimal = ScrollBar(g3, 13, 145, 77, 17, 0, 6, 3, "Ondalık Gösterim");
    SLoadFile = Button(g3, "<<", 96, 195, 40, 22);
    SLoadFile->setToolTip(QStringLiteral("Dosyadan al"));
    SSaveFile = Button(g3, ">>", 136, 195, 40, 22);
    SSaveFile->setToolTip(QStringLiteral("Dosyaya kaydet"));
    bGetData = Button(g3, "SERİ AL", 208, 195, 65, 22);

    // Plot settings.
    GroupBox4 = Group(Panel1, "[ Grafik ]", 311, 8, 370, 246, ui::kSkyBlue);
    Panel2 = Panel(GroupBox4, 10, 13, 351, 225, ui::kSkyBlue);
    GroupBox5 = Group(Panel2, "[ Alan ]", 9, 5, 336, 91, ui::kSkyBlue);
    Label(GroupBox5, "Alan Renk", 9, 16);
    Label(GroupBox5, "Kenar Kalınlık", 9, 40);
    Label(GroupBox5, "Kenarlık Rengi", 9, 65);
    bcAlanRenk = Place(new TColorButton(GroupBox5), 87, 13, 25, 21);
    scDKalinlik =
        ScrollBar(GroupBox5, 90, 40, 75, 17, 1, 6, kInitial.borderWidth, "Dikdörtgen Kalınlığı");
    bDRenk = Place(new TColorButton(GroupBox5), 87, 63, 25, 21);
    GroupBox6 = Group(GroupBox5, "[ Grafik ]", 171, 13, 155, 75, ui::kSkyBlue);
    Label(GroupBox6, "Biçim", 10, 20);
    Label(GroupBox6, "Renk", 10, 43);
    GrafBicim = List(GroupBox6, 39, 20, 107, 21);
    GrafRenk = Place(new TColorButton(GroupBox6), 39, 45, 25, 21);
    GrafKalinlik =
        ScrollBar(GroupBox6, 70, 45, 75, 17, 1, 4, kInitial.curveWidth, "Çizgi Kalınlığı");

    GroupBox7 = Group(Panel2, "[ Koordinat Sistem ]", 9, 102, 336, 115, ui::kMoneyGreen);
    Label(GroupBox7, "Biçim", 16, 24);
    Label(GroupBox7, "X Orj", 15, 51);
    Label(GroupBox7, "Y Orj", 92, 51);
    Label(GroupBox7, "Renk", 15, 78);
    XYBicim = List(GroupBox7, 45, 24, 118, 21);
    xorj = List(GroupBox7, 45, 51, 41, 21);
    yorj = List(GroupBox7, 122, 51, 41, 21);
    XYRenk = Place(new TColorButton(GroupBox7), 45, 78, 25, 21);
    XYKalinlik = ScrollBar(GroupBox7, 88, 78, 75, 17, 1, 5, kInitial.axesWidth, "XY Kalınlığı");
    GroupBox8 = Group(GroupBox7, "[ Grid ]", 170, 13, 161, 92, ui::kMoneyGreen);
    Label(GroupBox8, "Biçim", 10, 40);
    Label(GroupBox8, "Renk", 10, 67);
    cGridCiz = Check(GroupBox8, "Grid Çiz", 10, 17, 63, 17, kInitial.gridOn);
    GridSayisi = ScrollBar(GroupBox8, 73, 17, 75, 17, 1, 12, kInitial.gridCount, "Grid Sayısı");
    cGridBicim = List(GroupBox8, 40, 40, 110, 21);
    GridRenk = Place(new TColorButton(GroupBox8), 40, 67, 25, 21);
    GridKalinlik = ScrollBar(GroupBox8, 73, 67, 75, 17, 0, 3, kInitial.gridWidth, "Grid Kalınlık");

    // Plot area.
    Panel3 = Panel(Panel1, 8, 260, 673, 249, ui::kMoneyGreen);
    GBitMap = KeptImage(QSize(657, 233), devicePixelRatioF());
    GBitMap.fill(ui::kMoneyGreen);
    GBox2 = Place(new TPaintBox(GBitMap, Panel3), 8, 8, 657, 233);
    pmGBox2 = new QMenu(this);
    miKopyala = pmGBox2->addAction(QStringLiteral("Panoya Kopyala"));
    miPngKaydet = pmGBox2->addAction(QStringLiteral("PNG Olarak Kaydet..."));
    miSvgKaydet = pmGBox2->addAction(QStringLiteral("SVG Olarak Kaydet..."));
    GBox2->setContextMenuPolicy(Qt::CustomContextMenu);

    // Markers.
    GroupBox11 = Group(Panel1, "[ İşaretler ]", 688, 8, 137, 192, ui::kOlive);
    Label(GroupBox11, "Biçim", 16, 41);
    Label(GroupBox11, "Büyüklük", 16, 68);
    Label(GroupBox11, "İşaretçi Rengi", 16, 96);
    Label(GroupBox11, "Fonksiyon Serisi [i: x ; y]", 16, 144);
    cSeriDraw = Check(GroupBox11, "Serileri Çiz", 16, 18, 97, 17, kInitial.seriesOn);
    SeriColor = Place(new TColorButton(GroupBox11), 104, 16, 25, 21);
    cSeriStil = List(GroupBox11, 45, 41, 84, 21);
    SeriMark = ScrollBar(GroupBox11, 64, 68, 64, 17, 2, 5, kInitial.markerSize, "İşaret Büyüklüğü");
    SeriMarkColor = Place(new TColorButton(GroupBox11), 104, 93, 25, 21);
    cBezierDraw = Check(GroupBox11, "Bezier Çiz", 16, 115, 105, 17, kInitial.bezierOn);
    BezierColor = Place(new TColorButton(GroupBox11), 104, 114, 25, 21);
    FuncSeries = List(GroupBox11, 16, 163, 113, 21);
    samplesList_ = new QStringListModel(this);
    FuncSeries->setModel(samplesList_);
    if (auto* view = qobject_cast<QListView*>(FuncSeries->view()))
        view->setUniformItemSizes(true);  // a compute can list 65,536 lines

    // Scale, on the page itself.
    GroupBox9 = Group(GraphXY, "[ Ölçek ]", 690, 205, 139, 303, ui::kOlive);
    Label(GroupBox9, "Ölçek Stili", 10, 39);
    Label(GroupBox9, "*[X]:=", 55, 94);
    Label(GroupBox9, "*[Y]:=", 55, 121);
    ScaleOk = Check(GroupBox9, "Otomatik Ölçeklendir", 10, 16, 120, 17, true);
    cScaleStil = List(GroupBox9, 70, 39, 60, 21);
    Edit4 = ReadOnlyEdit(GroupBox9, "F(x)", 9, 67, 40, 21);
    Edit5 = ReadOnlyEdit(GroupBox9, "Seri", 90, 67, 40, 21);
    xX = Edit(GroupBox9, "1.0", 9, 94, 40, 21, true);
    xY = Edit(GroupBox9, "1.0", 9, 121, 40, 21, true);
    SxX = Edit(GroupBox9, "1.0", 90, 94, 40, 21, true);
    SxY = Edit(GroupBox9, "1.0", 90, 121, 40, 21, true);
    QFont bold = font();
    bold.setBold(true);
    Edit2 = ReadOnlyEdit(GroupBox9, "X", 9, 168, 60, 18);
    Edit6 = ReadOnlyEdit(GroupBox9, "Y", 70, 168, 60, 18);
    Edit2->setFont(bold);
    Edit6->setFont(bold);
    Edit1 = ReadOnlyEdit(GroupBox9, "F(X) Grid Pixel/Değer", 9, 190, 121, 18);
    Edit7 = ReadOnlyEdit(GroupBox9, "Seri Grid Pixel/Değer", 9, 242, 121, 18);
    QFont small = font();
    small.setPointSize(7);
    small.setBold(true);
    eGridValX = ReadOnlyEdit(GroupBox9, "", 9, 213, 60, 18);
    eGridValY = ReadOnlyEdit(GroupBox9, "", 70, 213, 60, 18);
    eGridSValX = ReadOnlyEdit(GroupBox9, "", 9, 265, 60, 18);
    eGridSValY = ReadOnlyEdit(GroupBox9, "", 71, 265, 60, 18);
    for (QLineEdit* e : {eGridValX, eGridValY, eGridSValX, eGridSValY}) e->setFont(small);

    // Commands on the page.
    bGrafClear = Button(GraphXY, "Grafik Temizle", 19, 514, 325, 27);
    bGrafDraw = Button(GraphXY, "Grafik Çiz", 350, 514, 325, 27);
    bCopyBitMap = Button(GraphXY, "Grafiği Panoya Kopyala", 699, 514, 122, 27);

    // Names for assistive technology, which would otherwise announce each field by the
    // caption of its group box: fields by the labels before or above them, the file buttons
    // by their hints, read-only label edits by their text. The scroll bars have theirs. A
    // label showing the name is tied to its field as well, which is how a screen reader on
    // Linux learns the label of a list (Qt names a list by its text there).
    const std::pair<QWidget*, const char*> names[] = {
        {pgGraph, "Grafik Kokpit"},
        {ca, "Sabit1/Değer"},
        {eca, "Sabit1/Değer :="},
        {cb, "Sabit2/Değer"},
        {ecb, "Sabit2/Değer :="},
        {eSample, "Örnekleme"},
        {xa, "t1="},
        {eex1, "t1="},
        {xb, "t2="},
        {eex2, "t2="},
        {FName, "FX"},
        {FVar, "Değişken"},
        {Edit3, ":="},
        {mFormula, "Fonksiyon Tanımı"},
        {mData, "Seriler (x1,y1) ..."},
        {SLoadFile, "Dosyadan al"},
        {SSaveFile, "Dosyaya kaydet"},
        {bcAlanRenk, "Alan Renk"},
        {scDKalinlik, "Kenar Kalınlık"},
        {bDRenk, "Kenarlık Rengi"},
        {GrafBicim, "Biçim"},
        {GrafRenk, "Renk"},
        {XYBicim, "Biçim"},
        {xorj, "X Orj"},
        {yorj, "Y Orj"},
        {XYRenk, "Renk"},
        {cGridBicim, "Biçim"},
        {GridRenk, "Renk"},
        {SeriColor, "Seri Rengi"},
        {cSeriStil, "Biçim"},
        {SeriMark, "Büyüklük"},
        {SeriMarkColor, "İşaretçi Rengi"},
        {BezierColor, "Bezier Rengi"},
        {FuncSeries, "Fonksiyon Serisi [i: x ; y]"},
        {cScaleStil, "Ölçek Stili"},
        {Edit4, "F(x)"},
        {Edit5, "Seri"},
        {xX, "F(x) *[X]:="},
        {xY, "F(x) *[Y]:="},
        {SxX, "Seri *[X]:="},
        {SxY, "Seri *[Y]:="},
        {Edit2, "X"},
        {Edit6, "Y"},
        {Edit1, "F(X) Grid Pixel/Değer"},
        {eGridValX, "F(X) Grid Pixel/Değer X"},
        {eGridValY, "F(X) Grid Pixel/Değer Y"},
        {Edit7, "Seri Grid Pixel/Değer"},
        {eGridSValX, "Seri Grid Pixel/Değer X"},
        {eGridSValY, "Seri Grid Pixel/Değer Y"},
    };
    for (const auto& [control, name] : names) {
        const QString text = QString::fromUtf8(name);
        control->setAccessibleName(text);
        for (QLabel* label :
             control->parentWidget()->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
            if (label->text() == text && label->buddy() == nullptr) label->setBuddy(control);
    }

    // Wiring: every handler runs guarded, its errors going to the error dialog.
    const auto guarded = [this](auto handler) { return ui::Guarded(this, errors_, handler); };
    connect(bCalculate, &QPushButton::clicked, this, guarded([this] { CalcXYClick(); }));
    connect(bGetData, &QPushButton::clicked, this, guarded([this] { bGetDataClick(); }));
    connect(bGrafDraw, &QPushButton::clicked, this, guarded([this] { DoGraphClick(); }));
    connect(bGrafClear, &QPushButton::clicked, this, guarded([this] { GrafClearClick(); }));
    connect(bCopyBitMap, &QPushButton::clicked, this, guarded([this] { bCopyBitMapClick(); }));
    connect(GBox2, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        ui::RunGuarded(this, errors_, [&] { pmGBox2->popup(GBox2->mapToGlobal(at)); });
    });
    connect(miKopyala, &QAction::triggered, this, guarded([this] { bCopyBitMapClick(); }));
    connect(miPngKaydet, &QAction::triggered, this, guarded([this] { miPngKaydetClick(); }));
    connect(miSvgKaydet, &QAction::triggered, this, guarded([this] { miSvgKaydetClick(); }));
    connect(SLoadFile, &QPushButton::clicked, this, guarded([this] { SLoadFileClick(); }));
    connect(SSaveFile, &QPushButton::clicked, this, guarded([this] { SSaveFileClick(); }));
    connect(mData, &QPlainTextEdit::textChanged, this, guarded([this] { mDataChange(); }));
    for (TColorButton* b :
         {bcAlanRenk, bDRenk, GrafRenk, XYRenk, GridRenk, SeriColor, SeriMarkColor, BezierColor})
        connect(b, &QPushButton::clicked, this, guarded([this, b] { ColorButtonClick(b); }));
    // Hint setters: each scroll bar shows its position once it is moved, and all but the
    // grid count also when the pointer enters them.
    for (QScrollBar* bar :
         {scDecimal, GrafKalinlik, scDKalinlik, XYKalinlik, GridKalinlik, SeriMark, GridSayisi}) {
        connect(bar, &QScrollBar::valueChanged, bar,
                guarded([bar] { bar->setToolTip(QString::number(bar->value())); }));
        if (bar != GridSayisi) bar->installEventFilter(this);
    }
    for (QWidget* w : {static_cast<QWidget*>(FVar), static_cast<QWidget*>(Edit3),
                       static_cast<QWidget*>(xa), static_cast<QWidget*>(xb)})
        w->installEventFilter(this);
    for (QLineEdit* e : {eSample, xX, xY, SxX, SxY}) e->installEventFilter(this);
    mFormula->installEventFilter(this);
    mData->installEventFilter(this);
}

void TFGraphics::InitGraph() {
    // The lists' items and the colours; the scroll bars and check boxes are made at their
    // initial settings.
    bcAlanRenk->setColor(kInitial.areaColor);
    Fill(GrafBicim, {"Nokta", "Çizgi", "Seri Biçimi"});
    GrafBicim->setCurrentIndex(kInitial.curveStyle);
    GrafRenk->setColor(kInitial.curveColor);
    FillPenStyles(XYBicim);
    XYBicim->setCurrentIndex(kInitial.axesPenStyle);
    XYRenk->setColor(kInitial.axesColor);
    Fill(xorj, {"1/2", "1/4", "3/4"});
    xorj->setCurrentIndex(kInitial.originX);
    Fill(yorj, {"1/2", "1/4", "3/4"});
    yorj->setCurrentIndex(kInitial.originY);
    FillPenStyles(cGridBicim);
    cGridBicim->setCurrentIndex(kInitial.gridPenStyle);
    GridRenk->setColor(kInitial.gridColor);
    Fill(cSeriStil, {"Daire", "Kare"});
    Fill(cScaleStil, {"Max", "Ort"});
    cScaleStil->setCurrentIndex(0);
    SeriColor->setColor(kInitial.seriesColor);
    SeriMarkColor->setColor(kInitial.markerColor);
    cSeriStil->setCurrentIndex(kInitial.markerShape);
    bDRenk->setColor(kInitial.borderColor);
    BezierColor->setColor(kInitial.bezierColor);
    // The default sample count: the plot area's width to the nearest thousand.
    eSample->setText(NumberText(std::nearbyint(GBox2->width() / 1000.0) * 1000));
}

}  // namespace zentu
