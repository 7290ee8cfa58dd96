// SPDX-License-Identifier: GPL-3.0-or-later
// The help window: its pages, the texts of its five tables and their fixed headings.
#include <QHeaderView>
#include <QLineEdit>
#include <QTabWidget>
#include <QTextEdit>
#include <QtTest>

#include "app/about.h"
#include "ui/look.h"

using zentu::app::TFAbout;
using zentu::app::TStringGrid;

class AboutTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TFAbout> about;

    TStringGrid* grid(const QString& name) { return about->findChild<TStringGrid*>(name); }

  private slots:
    void initTestCase() { zentu::ui::InstallFonts(); }
    void init() { about = std::make_unique<TFAbout>(); }
    void cleanup() { about.reset(); }

    void windowAndPages() {
        QCOMPARE(about->windowTitle(), QStringLiteral("Hakkında"));
        QCOMPARE(about->size(), QSize(386, 242));
        QVERIFY(about->windowFlags() & Qt::Tool);
        auto* pages = about->findChild<QTabWidget*>(QStringLiteral("PC"));
        const QStringList captions{"Hakkında",   "Genel",      "Trigonometrik",
                                   "Logaritmik", "İstatistik", "Sabitler"};
        QCOMPARE(pages->count(), 6);  // the credits page and five tables
        for (int i = 0; i < pages->count(); ++i) QCOMPARE(pages->tabText(i), captions[i]);
        QCOMPARE(pages->currentIndex(), 0);
        auto* memo = about->findChild<QTextEdit*>(QStringLiteral("Memo1"));
        QVERIFY(memo->isReadOnly());
        QVERIFY(memo->toPlainText().contains(QStringLiteral("Zentu")));
    }

    void gridsHoldTheListedTexts_data() {
        QTest::addColumn<QString>("grid");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        auto row = [](const char* name, const char* g, int c, int r, const char* t) {
            QTest::newRow(name) << g << c << r << QString::fromUtf8(t);
        };
        row("Genel heading 0", "sgGenel", 0, 0, "Fonksiyon");
        row("Genel heading 1", "sgGenel", 1, 0, "Açıklama");
        row("Genel heading 2", "sgGenel", 2, 0, "Örnek");
        row("POW", "sgGenel", 0, 1, "POW");
        row("separator example", "sgGenel", 2, 5, "Fonksiyonlarda parametre ayracı");
        row("GRAPH example is empty", "sgGenel", 2, 8, "");
        row("SIGN", "sgGenel", 1, 13, "İşaret");
        row("INT example", "sgGenel", 2, 19, "int(sin(x);x;0;pi;100)");
        row("DIF last row", "sgGenel", 0, 20, "DIF");
        row("SINC", "sgTrigo", 1, 9, "=sin(x)/x");
        row("CSCH", "sgTrigo", 2, 11, "csch(pi/6)");
        row("Trigo row 12 empty", "sgTrigo", 0, 12, "");
        row("LOG", "sgLogar", 1, 2, "10 Tabanlı logaritma");
        row("Logar row 3 empty", "sgLogar", 0, 3, "");
        row("Stat heading", "sgStat", 2, 0, "Örnek");
        row("DAT unclosed", "sgStat", 2, 1, "DAT(5;1;-1;3)=4 (Sonuç veri sayısıdır.");
        row("DHAR", "sgStat", 2, 11, "DHar()");
        row("Sabit heading 0", "sgSabit", 0, 0, "Sabit Adı");
        row("Sabit heading 1", "sgSabit", 1, 0, "Sembol");
        row("Sabit heading 2", "sgSabit", 2, 0, "Birim");
        row("_Pi unit empty", "sgSabit", 2, 1, "");
        row("_Eul unit empty", "sgSabit", 2, 4, "");
        row("_AuRate", "sgSabit", 0, 3, "_AuRate");
        row("_Avgd", "sgSabit", 1, 5, "Avagadro sayısı");
        row("_c", "sgSabit", 1, 13, "Vakumda ışık hızı");
        row("_amu", "sgSabit", 2, 18, "kg");
        row("Sabit row 19 empty", "sgSabit", 1, 19, "");
    }
    void gridsHoldTheListedTexts() {
        QFETCH(QString, grid);
        QFETCH(int, col);
        QFETCH(int, row);
        QFETCH(QString, text);
        QCOMPARE(this->grid(grid)->Cell(col, row), text);
    }

    void gridShapes_data() {
        QTest::addColumn<QString>("grid");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("width1");
        QTest::newRow("sgGenel") << "sgGenel" << 21 << 118;
        QTest::newRow("sgTrigo") << "sgTrigo" << 13 << 118;
        QTest::newRow("sgLogar") << "sgLogar" << 4 << 118;
        QTest::newRow("sgStat") << "sgStat" << 12 << 115;
        QTest::newRow("sgSabit") << "sgSabit" << 20 << 167;
    }
    void gridShapes() {
        QFETCH(QString, grid);
        QFETCH(int, rows);
        QFETCH(int, width1);
        TStringGrid* g = this->grid(grid);
        QCOMPARE(g->RowCount(), rows);
        QCOMPARE(g->ColCount(), 3);
        QCOMPARE(g->verticalHeader()->width(), 64);
        QCOMPARE(g->columnWidth(0), width1);
        QCOMPARE(g->columnWidth(1), 348);
        QCOMPARE(g->horizontalHeader()->height(), 16);
        QCOMPARE(g->rowHeight(rows - 2), 16);
        QCOMPARE(g->geometry(), QRect(8, 8, 345, 177));
    }

    void cellsCanBeSelectedButNotEdited() {
        about->show();
        auto* pages = about->findChild<QTabWidget*>(QStringLiteral("PC"));
        pages->setCurrentIndex(1);
        TStringGrid* g = grid(QStringLiteral("sgGenel"));
        g->setFocus();
        g->setCurrentCell(0, 0);
        QVERIFY(g->item(0, 0)->isSelected());
        QTest::keyClick(g, Qt::Key_X);
        QTest::keyClick(g, Qt::Key_F2);
        QTest::keyClick(g, Qt::Key_Delete);
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, {},
                           g->visualItemRect(g->item(0, 0)).center());
        QCOMPARE(g->Cell(1, 1), QStringLiteral("Üs Alma"));
        QVERIFY(g->findChild<QLineEdit*>() == nullptr || !g->findChild<QLineEdit*>()->isVisible());
    }
};

QTEST_MAIN(AboutTest)
#include "test_about.moc"
