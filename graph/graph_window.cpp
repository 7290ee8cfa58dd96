#include "graph/graph_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QScrollBar>
#include <QShowEvent>
#include <QStringListModel>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTabWidget>
#include <cmath>
#include <memory>

#include "engine/engine.h"
#include "engine/number_text.h"

namespace zentu {

TFGraphics* FGraphics = nullptr;

void ShowGeneralError(QWidget* parent, const QString& text) {
    QString message = text;
    if (!message.isEmpty() && message.back().unicode() > 46) message += QLatin1Char('.');
    QMessageBox::critical(parent, QString::fromUtf8(kApplicationTitle), message);
}

GraphDialogs GraphDialogs::Standard() {
    GraphDialogs d;
    d.openSeriesFile = [](QWidget* parent) {
        return QFileDialog::getOpenFileName(parent, QString(), QDir::currentPath(),
                                            QStringLiteral("Text dosyalar (*.txt)"));
    };
    d.saveSeriesFile = [](QWidget* parent) {
        return QFileDialog::getSaveFileName(
            parent, QStringLiteral("Serileri Dosyaya Kaydedin"), QDir::currentPath(),
            QStringLiteral("Text dosya (*.txt)"), nullptr, QFileDialog::DontConfirmOverwrite);
    };
    d.chooseColor = [](QWidget* parent, const QColor& current) {
        return QColorDialog::getColor(current, parent);
    };
    d.information = [](QWidget* parent, const QString& text) {
        QMessageBox::information(parent, QStringLiteral("Bilgi"), text);
    };
    d.error = ShowGeneralError;
    return d;
}

// ---- Small controls ---------------------------------------------------------------------

TColorButton::TColorButton(QWidget* parent) : QPushButton(parent) {
    setAutoDefault(false);
}

void TColorButton::setColor(const QColor& color) {
    color_ = color;
    update();
}

void TColorButton::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    QPainter p(this);
    const QRect swatch = rect().adjusted(4, 4, -5, -5);
    p.fillRect(swatch, color_);
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(swatch);
}

void TWrapButton::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    p.drawControl(QStyle::CE_PushButton, option);
    p.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    p.drawText(rect().adjusted(3, 3, -3, -3), Qt::AlignCenter | Qt::TextWordWrap, text());
}

void TGroupBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QFontMetrics metrics(font());
    const int lineY = metrics.height() / 2;
    // An etched frame: a dark line with a light one inside it.
    const QRect frame = rect().adjusted(0, lineY, -1, -1);
    p.setPen(QColor(128, 128, 128));
    p.drawRect(frame.adjusted(0, 0, -1, -1));
    p.setPen(QColor(255, 255, 255));
    p.drawRect(frame.adjusted(1, 1, 0, 0));
    const QString caption = title();
    if (caption.isEmpty()) return;
    const QRect captionBox(7, 0, metrics.horizontalAdvance(caption) + 2, metrics.height());
    p.fillRect(captionBox, palette().color(QPalette::Window));
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(captionBox, Qt::AlignCenter, caption);
}

TPaintBox::TPaintBox(const QImage& image, QWidget* parent) : QWidget(parent), image_(image) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPaintBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, image_);
}

// ---- Layout -----------------------------------------------------------------------------

namespace {

const QColor kMaroon(128, 0, 0);
const QColor kOlive(128, 128, 0);
const QColor kMoneyGreen(192, 220, 192);
const QColor kSkyBlue(166, 202, 240);

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
    return edit;
}

QPushButton* Button(QWidget* parent, const char* caption, int l, int t, int w, int h) {
    auto* button = Place(new QPushButton(QString::fromUtf8(caption), parent), l, t, w, h);
    button->setAutoDefault(false);
    return button;
}

QScrollBar* ScrollBar(QWidget* parent, int l, int t, int w, int h, int min, int max, int pos,
                      const char* hint) {
    auto* bar = Place(new QScrollBar(Qt::Horizontal, parent), l, t, w, h);
    bar->setRange(min, max);
    bar->setPageStep(1);
    bar->setValue(pos);
    bar->setToolTip(QString::fromUtf8(hint));
    return bar;
}

QComboBox* List(QWidget* parent, int l, int t, int w, int h) {
    auto* list = Place(new QComboBox(parent), l, t, w, h);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    return list;
}

QCheckBox* Check(QWidget* parent, const char* caption, int l, int t, int w, int h, bool on) {
    auto* box = Place(new QCheckBox(QString::fromUtf8(caption), parent), l, t, w, h);
    box->setChecked(on);
    return box;
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

bool IsBlankText(const QString& text) {
    for (QChar c : text)
        if (c.unicode() > ' ') return false;
    return true;
}

// Shows a progress dialog once a compute has run for half a second, and tells whether the
// user has cancelled it.
class ComputeProgressWindow {
  public:
    explicit ComputeProgressWindow(QWidget* parent) : parent_(parent) { clock_.start(); }

    bool Continue(std::size_t done, std::size_t total) {
        if (!dialog_) {
            if (clock_.elapsed() < 500) return true;
            dialog_ = std::make_unique<QProgressDialog>(QStringLiteral("Fonksiyon hesaplanıyor..."),
                                                        QStringLiteral("İptal"), 0,
                                                        static_cast<int>(total), parent_);
            dialog_->setWindowTitle(QStringLiteral("Grafik Kokpit"));
            dialog_->setWindowModality(Qt::WindowModal);
            dialog_->setMinimumDuration(0);
            dialog_->setAutoClose(false);
            dialog_->setAutoReset(false);
        }
        if (total != 0) dialog_->setMaximum(static_cast<int>(total));
        dialog_->setValue(static_cast<int>(done));  // lets the dialog's button work
        return !dialog_->wasCanceled();
    }

    // Polled by the engine inside a long evaluation (INT, DIF, DAT).
    bool Cancelled() {
        if (!dialog_) return !Continue(0, 0);
        if (poll_.isValid() && poll_.elapsed() < 50) return dialog_->wasCanceled();
        poll_.start();
        QCoreApplication::processEvents();
        return dialog_->wasCanceled();
    }

  private:
    QWidget* parent_;
    QElapsedTimer clock_;
    QElapsedTimer poll_;
    std::unique_ptr<QProgressDialog> dialog_;
};

}  // namespace

TFGraphics::TFGraphics(Engine& engine, QWidget* parent)
    : QDialog(parent), Graph(engine), engine_(engine) {
    setWindowTitle(QStringLiteral("Grafik Kokpit"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(852, 582);
    Colour(this, kMaroon);
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    BuildControls();
    InitGraph();
}

TFGraphics::~TFGraphics() {
    if (FGraphics == this) FGraphics = nullptr;
}

void TFGraphics::BuildControls() {
    pgGraph = Place(new QTabWidget(this), 5, 5, 844, 572);
    GraphXY = new QWidget;
    pgGraph->addTab(GraphXY, QStringLiteral("Graph (X,Y)"));
    Panel1 = Panel(GraphXY, 3, -1, 830, 553, kOlive);

    // Function definition.
    GroupBox2 = Group(Panel1, "[ Fonksiyon Tanımı ]", 8, 8, 297, 246, kMoneyGreen);
    GroupBox3 = Group(GroupBox2, "[ Girişler ]", 8, 18, 286, 220, kMoneyGreen);
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
    GroupBox4 = Group(Panel1, "[ Grafik ]", 311, 8, 370, 246, kSkyBlue);
    Panel2 = Panel(GroupBox4, 10, 13, 351, 225, kSkyBlue);
    GroupBox5 = Group(Panel2, "[ Alan ]", 9, 5, 336, 91, kSkyBlue);
    Label(GroupBox5, "Alan Renk", 9, 16);
    Label(GroupBox5, "Kenar Kalınlık", 9, 40);
    Label(GroupBox5, "Kenarlık Rengi", 9, 65);
    bcAlanRenk = Place(new TColorButton(GroupBox5), 87, 13, 25, 21);
    scDKalinlik = ScrollBar(GroupBox5, 90, 40, 75, 17, 1, 6, 1, "Dikdörtgen Kalınlığı");
    bDRenk = Place(new TColorButton(GroupBox5), 87, 63, 25, 21);
    GroupBox6 = Group(GroupBox5, "[ Grafik ]", 171, 13, 155, 75, kSkyBlue);
    Label(GroupBox6, "Biçim", 10, 20);
    Label(GroupBox6, "Renk", 10, 43);
    GrafBicim = List(GroupBox6, 39, 20, 107, 21);
    GrafRenk = Place(new TColorButton(GroupBox6), 39, 45, 25, 21);
    GrafKalinlik = ScrollBar(GroupBox6, 70, 45, 75, 17, 1, 4, 1, "Çizgi Kalınlığı");

    GroupBox7 = Group(Panel2, "[ Koordinat Sistem ]", 9, 102, 336, 115, kMoneyGreen);
    Label(GroupBox7, "Biçim", 16, 24);
    Label(GroupBox7, "X Orj", 15, 51);
    Label(GroupBox7, "Y Orj", 92, 51);
    Label(GroupBox7, "Renk", 15, 78);
    XYBicim = List(GroupBox7, 45, 24, 118, 21);
    xorj = List(GroupBox7, 45, 51, 41, 21);
    yorj = List(GroupBox7, 122, 51, 41, 21);
    XYRenk = Place(new TColorButton(GroupBox7), 45, 78, 25, 21);
    XYKalinlik = ScrollBar(GroupBox7, 88, 78, 75, 17, 1, 5, 1, "XY Kalınlığı");
    GroupBox8 = Group(GroupBox7, "[ Grid ]", 170, 13, 161, 92, kMoneyGreen);
    Label(GroupBox8, "Biçim", 10, 40);
    Label(GroupBox8, "Renk", 10, 67);
    cGridCiz = Check(GroupBox8, "Grid Çiz", 10, 17, 63, 17, true);
    GridSayisi = ScrollBar(GroupBox8, 73, 17, 75, 17, 1, 12, 4, "Grid Sayısı");
    cGridBicim = List(GroupBox8, 40, 40, 110, 21);
    GridRenk = Place(new TColorButton(GroupBox8), 40, 67, 25, 21);
    GridKalinlik = ScrollBar(GroupBox8, 73, 67, 75, 17, 0, 3, 1, "Grid Kalınlık");

    // Plot area.
    Panel3 = Panel(Panel1, 8, 260, 673, 249, kMoneyGreen);
    GBitMap = QImage(657, 233, QImage::Format_RGB32);
    GBitMap.fill(kMoneyGreen);
    GBox2 = Place(new TPaintBox(GBitMap, Panel3), 8, 8, 657, 233);

    // Markers.
    GroupBox11 = Group(Panel1, "[ İşaretler ]", 688, 8, 137, 192, kOlive);
    Label(GroupBox11, "Biçim", 16, 41);
    Label(GroupBox11, "Büyüklük", 16, 68);
    Label(GroupBox11, "İşaretçi Rengi", 16, 96);
    Label(GroupBox11, "Fonksiyon Serisi [i: x ; y]", 16, 144);
    cSeriDraw = Check(GroupBox11, "Serileri Çiz", 16, 18, 97, 17, false);
    SeriColor = Place(new TColorButton(GroupBox11), 104, 16, 25, 21);
    cSeriStil = List(GroupBox11, 45, 41, 84, 21);
    SeriMark = ScrollBar(GroupBox11, 64, 68, 64, 17, 2, 5, 2, "İşaret Büyüklüğü");
    SeriMarkColor = Place(new TColorButton(GroupBox11), 104, 93, 25, 21);
    cBezierDraw = Check(GroupBox11, "Bezier Çiz", 16, 115, 105, 17, false);
    BezierColor = Place(new TColorButton(GroupBox11), 104, 114, 25, 21);
    FuncSeries = List(GroupBox11, 16, 163, 113, 21);
    samplesList_ = new QStringListModel(this);
    FuncSeries->setModel(samplesList_);

    // Scale, on the page itself.
    GroupBox9 = Group(GraphXY, "[ Ölçek ]", 690, 205, 139, 303, kOlive);
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

    // Wiring.
    connect(bCalculate, &QPushButton::clicked, this, [this] { Run([this] { CalcXYClick(); }); });
    connect(bGetData, &QPushButton::clicked, this, [this] { Run([this] { bGetDataClick(); }); });
    connect(bGrafDraw, &QPushButton::clicked, this, [this] { Run([this] { DoGraphClick(); }); });
    connect(bGrafClear, &QPushButton::clicked, this, [this] { Run([this] { GrafClearClick(); }); });
    connect(bCopyBitMap, &QPushButton::clicked, this,
            [this] { Run([this] { bCopyBitMapClick(); }); });
    connect(SLoadFile, &QPushButton::clicked, this, [this] { Run([this] { SLoadFileClick(); }); });
    connect(SSaveFile, &QPushButton::clicked, this, [this] { Run([this] { SSaveFileClick(); }); });
    connect(mData, &QPlainTextEdit::textChanged, this, [this] { mDataChange(); });
    for (TColorButton* b :
         {bcAlanRenk, bDRenk, GrafRenk, XYRenk, GridRenk, SeriColor, SeriMarkColor, BezierColor})
        connect(b, &QPushButton::clicked, this, [this, b] { ColorButtonClick(b); });
    // Hint setters: each scroll bar shows its position once it is moved, and all but the
    // grid count also when the pointer enters them.
    for (QScrollBar* bar :
         {scDecimal, GrafKalinlik, scDKalinlik, XYKalinlik, GridKalinlik, SeriMark, GridSayisi}) {
        connect(bar, &QScrollBar::valueChanged, bar,
                [bar](int value) { bar->setToolTip(QString::number(value)); });
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
    bcAlanRenk->setColor(QColor(192, 220, 192));
    Fill(GrafBicim, {"Nokta", "Çizgi", "Seri Biçimi"});
    GrafBicim->setCurrentIndex(0);
    FillPenStyles(XYBicim);
    XYBicim->setCurrentIndex(0);
    Fill(xorj, {"1/2", "1/4", "3/4"});
    xorj->setCurrentIndex(0);
    Fill(yorj, {"1/2", "1/4", "3/4"});
    yorj->setCurrentIndex(0);
    FillPenStyles(cGridBicim);
    cGridBicim->setCurrentIndex(1);
    GridRenk->setColor(QColor(128, 128, 128));
    Fill(cSeriStil, {"Daire", "Kare"});
    Fill(cScaleStil, {"Max", "Ort"});
    cScaleStil->setCurrentIndex(0);
    SeriColor->setColor(QColor(128, 0, 0));
    SeriMarkColor->setColor(QColor(255, 0, 0));
    cSeriStil->setCurrentIndex(0);
    bDRenk->setColor(QColor(255, 255, 0));
    BezierColor->setColor(QColor(0, 128, 0));
    Graph.ScX = Graph.ScY = Graph.ScZ = Graph.DScX = Graph.DScY = 1.0;
    // The default sample count: the plot area's width to the nearest thousand.
    eSample->setText(NumberText(std::nearbyint(GBitMap.width() / 1000.0) * 1000));
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

void TFGraphics::Run(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::bad_alloc&) {
        Dialogs.error(this, QStringLiteral("Yetersiz bellek"));
    } catch (const std::exception& e) {
        Dialogs.error(this, QString::fromUtf8(e.what()));
    }
}

void TFGraphics::Paint(const std::function<void(TPlotCanvas&)>& drawing) {
    struct Refresh {
        QWidget* box;
        ~Refresh() { box->update(); }
    } refresh{GBox2};
    QPainter painter(&GBitMap);
    TPlotCanvas canvas(painter, Surface, GBitMap.width(), GBitMap.height());
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

    // Long evaluations inside one sample (INT, DIF) can be cancelled from the same dialog.
    ComputeProgressWindow progress(this);
    struct HookSwap {
        Engine& engine;
        std::function<bool()> saved;
        ~HookSwap() { engine.CancelRequested = std::move(saved); }
    } swap{engine_, engine_.CancelRequested};
    engine_.CancelRequested = [&progress] { return progress.Cancelled(); };

    std::vector<std::string> lines;
    ComputeResult result;
    try {
        result = Graph.Compute(request, lines, [&progress](std::size_t done, std::size_t total) {
            return progress.Continue(done, total);
        });
    } catch (const GraphError&) {
        samplesList_->setStringList({});
        throw;
    }
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
    Paint([&](TPlotCanvas& canvas) { canvas.PrepareArea(Graph, settings); });
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
