// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/about.h"

#include <QAbstractButton>
#include <QEvent>
#include <QHeaderView>
#include <QScreen>
#include <QStyleOptionHeader>
#include <QStylePainter>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QTextOption>
#include <initializer_list>

#include "ui/application.h"
#include "ui/look.h"

namespace zentu::app {

namespace {

struct HelpRow {
    const char* name;
    const char* description;
    const char* example;
};

// clang-format off
const std::initializer_list<HelpRow> kGenel = {
    {"POW", "Üs Alma", "2^3"},
    {"PI", "Pi Sayısı", "pi"},
    {"!", "Faktöriyel", "4!"},
    {"EXP", "Üstel Fonksiyon e^x", "exp(3)"},
    {";", "Parametre ayracı", "Fonksiyonlarda parametre ayracı"},
    {"ANS", "Sonuç Hafızası", "Önceki işlemin sonucu"},
    {"ABS", "Mutlak değer", "ABS(-3)=3"},
    {"GRAPH", "Grafik Çizme", ""},
    {"SQRT", "Kare Kök", "sqrt(5)"},
    {"SQR", "Kare Alma", "sqr(5)"},
    {"DIV", "Tam Bölme", "div(5;3)"},
    {"MOD", "Bölme Kalanı", "mod(15;4)"},
    {"SIGN", "İşaret", "sign(-5)"},
    {"TRNC", "Tam Kısım", "trnc(2.67)=2"},
    {"FLOR", "Aşağı yuvarla", "flor(2.67)=2"},
    {"CEIL", "Yukarı yuvarla", "ceil(2.67)=3"},
    {"PWR", "Üs alma", "pwr(2;3)=8"},
    {"RND", "Yuvarlama", "rnd(2.3)=2"},
    {"INT", "İntegral alma", "int(sin(x);x;0;pi;100)"},
    {"DIF", "Diferansiyel alma", "dif(sin(x);x;pi;100)"},
};

const std::initializer_list<HelpRow> kTrigo = {
    {"SIN", "Sinüs", "sin(pi/2)"},
    {"COS", "Kosinüs", "cos(pi/2)"},
    {"ASIN", "Ters Sinüs", "asin(0.3875)"},
    {"ACOS", "Ters Kosinüs", "acos(0.3875)"},
    {"ATAN", "Ters Tanjant", "atan(0.3875)"},
    {"SINH", "Hiperbolik Sinüs", "sinh(pi/6)"},
    {"COSH", "Hiperbolik Kosinüs", "cosh(pi/6)"},
    {"TANH", "Hiperbolik Tanjant", "tanh(pi/6)"},
    {"SINC", "=sin(x)/x", "sinc(pi/6)"},
    {"SECH", "SEC Hiperbolik", "sech(pi/6)"},
    {"CSCH", "COSEC Hiperbolik", "csch(pi/6)"},
};

const std::initializer_list<HelpRow> kLogar = {
    {"LN", "Doğal Logaritma", "LN(5)"},
    {"LOG", "10 Tabanlı logaritma", "LOG(5)"},
};

const std::initializer_list<HelpRow> kStat = {
    {"DAT", "Veri Serisi", "DAT(5;1;-1;3)=4 (Sonuç veri sayısıdır."},
    {"SUM", "Verilerin Toplamı", "SUM()=5+1-1+3=8"},
    {"PER", "Permütasyon", "Per(n;r)"},
    {"COM", "Kombinasyon", "Com(n;r)"},
    {"DSEE", "Verilere bak", "DSee()"},
    {"DSRT", "Verileri sırala", "DSrt()"},
    {"DSTD", "Standart sapma", "DStd()"},
    {"DVAR", "Varyans", "DVar()"},
    {"DAVG", "Aritmetik ortalama", "DAvg()"},
    {"DGEO", "Geometrik ortalama", "DGeo()"},
    {"DHAR", "Harmonik ortalama", "DHar()"},
};

const std::initializer_list<HelpRow> kSabit = {
    {"_Pi", "Pi Sayısı", ""},
    {"_e", "e Sayısı", ""},
    {"_AuRate", "Altın oran", ""},
    {"_Eul", "Euler sabiti", ""},
    {"_Avgd", "Avagadro sayısı", "g/mol"},
    {"_Clmb", "Coulomb Sabiti", "Nm2/c2"},
    {"_ME", "Elektron kütlesi", "g"},
    {"_MN", "Nötron kütlesi", "g"},
    {"_MP", "Proton kütlesi", "g"},
    {"_Plnc", "Planck sabiti", "Js"},
    {"_Rydb", "Rydberg sabiti", "m^-1"},
    {"_g", "Yerçekimi ivmesi", "m/s2"},
    {"_c", "Vakumda ışık hızı", "m/s"},
    {"_Frdy", "Faraday sabiti", "C/mol"},
    {"_ec", "Elektron yükü", "C"},
    {"_R", "Dünyanın ort yarıçapı", "m"},
    {"_M", "Dünyanın kütlesi", "kg"},
    {"_amu", "Atomik kütle birimi", "kg"},
};
// clang-format on

const HelpRow kFunctionHeadings{"Fonksiyon", "Açıklama", "Örnek"};
const HelpRow kConstantHeadings{"Sabit Adı", "Sembol", "Birim"};

void Fill(TStringGrid* grid, const HelpRow& headings, std::initializer_list<HelpRow> rows) {
    auto put = [grid](int row, const HelpRow& r) {
        grid->SetCell(0, row, QString::fromUtf8(r.name));
        grid->SetCell(1, row, QString::fromUtf8(r.description));
        grid->SetCell(2, row, QString::fromUtf8(r.example));
    };
    put(0, headings);
    int row = 1;
    for (const HelpRow& r : rows) put(row++, r);
}

QWidget* AddPage(QTabWidget* pages, const char* name, const char* caption) {
    auto* page = new QWidget;
    page->setObjectName(QString::fromLatin1(name));
    pages->addTab(page, QString::fromUtf8(caption));
    return page;
}

}  // namespace

TStringGrid::TStringGrid(QWidget* parent, const char* name, int row_count,
                         const std::array<int, 3>& column_widths)
    : QTableWidget(row_count - 1, 2, parent) {
    setObjectName(QString::fromLatin1(name));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setCornerButtonEnabled(false);
    setWordWrap(false);

    // Row 0 and column 0 are the table's headers, so they stay in place while it scrolls.
    QHeaderView* top = horizontalHeader();
    QHeaderView* left = verticalHeader();
    for (QHeaderView* header : {top, left}) {
        header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        header->setHighlightSections(false);
        header->setSectionsClickable(false);
        header->setMinimumSectionSize(kGridRowHeight);
    }
    top->setSectionResizeMode(QHeaderView::Fixed);
    top->setFixedHeight(kGridRowHeight);
    top->resizeSection(0, column_widths[1]);
    top->resizeSection(1, column_widths[2]);
    left->setSectionResizeMode(QHeaderView::Fixed);
    left->setDefaultSectionSize(kGridRowHeight);
    left->setFixedWidth(column_widths[0]);
    for (int row = 0; row < rowCount(); ++row) setVerticalHeaderItem(row, new QTableWidgetItem);
    for (int col = 0; col < columnCount(); ++col)
        setHorizontalHeaderItem(col, new QTableWidgetItem);

    // The cell where the fixed row and column meet is the table's corner button.
    corner_ = findChild<QAbstractButton*>();
    if (corner_ != nullptr) corner_->installEventFilter(this);
}

void TStringGrid::SetCell(int col, int row, const QString& text) {
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) return;
    if (row == 0 && col == 0) {
        corner_text_ = text;
        if (corner_ != nullptr) corner_->update();
    } else if (row == 0) {
        horizontalHeaderItem(col - 1)->setText(text);
    } else if (col == 0) {
        verticalHeaderItem(row - 1)->setText(text);
    } else {
        auto* cell = new QTableWidgetItem(text);
        cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        setItem(row - 1, col - 1, cell);
    }
}

QString TStringGrid::Cell(int col, int row) const {
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) return {};
    if (row == 0 && col == 0) return corner_text_;
    if (row == 0) return horizontalHeaderItem(col - 1)->text();
    if (col == 0) return verticalHeaderItem(row - 1)->text();
    const QTableWidgetItem* cell = item(row - 1, col - 1);
    return cell != nullptr ? cell->text() : QString();
}

bool TStringGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == corner_ && event->type() == QEvent::Paint) {
        QStylePainter painter(corner_);
        QStyleOptionHeader option;
        option.initFrom(corner_);
        // The corner does not react to clicks, but its heading reads like the others.
        option.state |= QStyle::State_Enabled;
        option.palette = horizontalHeader()->palette();
        option.rect = corner_->rect();
        option.text = corner_text_;
        option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        option.position = QStyleOptionHeader::OnlyOneSection;
        option.state |= QStyle::State_Raised;
        painter.drawControl(QStyle::CE_Header, option);
        return true;
    }
    return QTableWidget::eventFilter(watched, event);
}

TFAbout::TFAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FAbout"));
    setWindowTitle(QStringLiteral("Hakkında"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kAboutWidth, kAboutHeight);
    setFont(ui::PixelFont(ui::kTahoma, 11));

    PC = new QTabWidget(this);
    PC->setObjectName(QStringLiteral("PC"));
    PC->setGeometry(8, 8, 369, 225);
    PC->setAccessibleName(QStringLiteral("Yardım"));
    // Tabs as narrow as the classic page control's, so that all six captions fit the
    // window's width without scroll buttons.
    auto* tab_style = new ui::PixelMetricStyle(QStyle::PM_TabBarTabHSpace, 12);
    tab_style->setParent(PC);
    PC->tabBar()->setStyle(tab_style);

    QWidget* page = AddPage(PC, "TabSheet1", "Hakkında");
    Memo1 = new QTextEdit(page);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(16, 3, 321, 182);
    Memo1->setReadOnly(true);
    Memo1->setFont(ui::PixelFont(ui::kTahoma, 13, true));
    Memo1->setAccessibleName(QStringLiteral("Hakkında"));
    {
        // The green text is fixed, so its background is too: the classic tooltip colour,
        // not the desktop's, which a dark palette makes dark.
        QPalette palette = Memo1->palette();
        palette.setColor(QPalette::Base, ui::kInfoBackground);
        palette.setColor(QPalette::Text, ui::kGreen);
        Memo1->setPalette(palette);
    }

    const std::array<int, 3> widths{64, 118, 348};
    sgGenel = new TStringGrid(AddPage(PC, "TabSheet2", "Genel"), "sgGenel", 21, widths);
    sgTrigo = new TStringGrid(AddPage(PC, "TabSheet3", "Trigonometrik"), "sgTrigo", 13, widths);
    sgLogar = new TStringGrid(AddPage(PC, "Logaritmik", "Logaritmik"), "sgLogar", 4, widths);
    sgStat = new TStringGrid(AddPage(PC, "Statistik", "İstatistik"), "sgStat", 12, {64, 115, 348});
    sgSabit = new TStringGrid(AddPage(PC, "TabSheet4", "Sabitler"), "sgSabit", 20, {64, 167, 348});
    for (TStringGrid* grid : {sgGenel, sgTrigo, sgLogar, sgStat, sgSabit}) {
        grid->setGeometry(8, 8, 345, 177);
        // Each table is announced by its page's caption.
        grid->setAccessibleName(PC->tabText(PC->indexOf(grid->parentWidget())));
    }

    FormCreate();
}

void TFAbout::FormCreate() {
    Memo1->setPlainText(
        QStringLiteral("\nZentu\nBilimsel Hesap Makinesi\nSürüm " ZENTU_VERSION "\n\n"
                       "Her satıra bir ifade yazın,\nEXEC ya da Enter ile hesaplayın.\n\n"
                       "Fonksiyonlar, sabitler ve örnekler\nbu penceredeki sayfalarda."));
    QTextCursor all(Memo1->document());
    all.select(QTextCursor::Document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    all.mergeBlockFormat(centred);

    Fill(sgGenel, kFunctionHeadings, kGenel);
    Fill(sgTrigo, kFunctionHeadings, kTrigo);
    Fill(sgLogar, kFunctionHeadings, kLogar);
    Fill(sgStat, kFunctionHeadings, kStat);
    Fill(sgSabit, kConstantHeadings, kSabit);
}

void TFAbout::showEvent(QShowEvent* event) {
    // Opens centred over the calculator window, inside the screen.
    if (QWidget* owner = parentWidget()) {
        QRect frame = frameGeometry();
        frame.moveCenter(owner->frameGeometry().center());
        const QScreen* desktop = owner->screen();
        move(desktop != nullptr ? ui::KeepInside(frame, desktop->availableGeometry())
                                : frame.topLeft());
    }
    QDialog::showEvent(event);
}

}  // namespace zentu::app
