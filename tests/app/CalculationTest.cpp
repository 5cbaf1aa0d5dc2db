// The calculation run end to end: typed lists, the worker, the progress
// dialog with accept and cancel, judging the new plan, saving and the bell.

#include "TreeList.h"
#include "UnitBLL.h"
#include "UnitCulcControler.h"
#include "UnitD2RectThread.h"
#include "UnitFileOpt.h"
#include "UnitMain.h"
#include "WindowSandbox.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include <atomic>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

void TypeSheet(TfrmMain& w, int row, const QString& length, const QString& width, const QString& count)
{
    w.treeRaw->SetCell(row, RawCol::Name, u"白玻"_s);
    w.treeRaw->SetCell(row, RawCol::Length, length);
    w.treeRaw->SetCell(row, RawCol::Width, width);
    w.treeRaw->SetCell(row, RawCol::Count, count);
}

void TypePart(TfrmMain& w, int row, const QString& length, const QString& width, const QString& count)
{
    w.treeEle->SetCell(row, EleCol::Name, u"件%1"_s.arg(row + 1));
    w.treeEle->SetCell(row, EleCol::Length, length);
    w.treeEle->SetCell(row, EleCol::Width, width);
    w.treeEle->SetCell(row, EleCol::Count, count);
}

void SmallJob(TfrmMain& w)
{
    TypeSheet(w, 0, u"2440"_s, u"1830"_s, u"20"_s);
    TypePart(w, 0, u"800"_s, u"600"_s, u"5"_s);
    TypePart(w, 1, u"1200"_s, u"450"_s, u"3"_s);
    TypePart(w, 2, u"500"_s, u"500"_s, u"7"_s);
}

// A job big enough that a run takes a while.
void BigJob(TfrmMain& w)
{
    TypeSheet(w, 0, u"3300"_s, u"2440"_s, u"999"_s);
    for (int i = 0; i < 120; ++i)
        TypePart(w, i, QString::number(150 + (i * 37) % 1500), QString::number(100 + (i * 53) % 900),
                 QString::number(1 + i % 9));
}

QByteArray Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class CalculationTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TWindowSandbox> m_box;
    std::unique_ptr<TfrmMain> m_win;
    QStringList m_bells;

    TfrmMain& Start()
    {
        m_win = std::make_unique<TfrmMain>();
        m_win->SearchSeed = 11;
        m_win->PlaySound = [this](const QString& file) { m_bells << file; };
        m_win->show();
        return *m_win;
    }
    // Runs the calculation, doing `during` once the dialog is up.
    void Calculate(TfrmMain& w, std::function<void(TfrmCulcControler*)> during = {})
    {
        if (during)
            QTimer::singleShot(0, this, [&w, during] {
                QTRY_VERIFY(w.Controler() != nullptr);
                during(w.Controler());
            });
        w.tlOptClick();
    }
    // A small job calculated into a project file; the file's path.
    QString SavedSmallRun(TfrmMain& w)
    {
        SmallJob(w);
        const QString path = m_box->Home.Path() + u"/job.FBL"_s;
        m_box->Dialogs.Files.push_back(path);
        w.N3Click();
        Calculate(w);
        return path;
    }
    // The big job with 100 generations: a run long enough to stop.
    void LongJob(TfrmMain& w)
    {
        SetStored("OptTm", u"100"_s);
        w.LoadPrm();
        BigJob(w);
    }
    static void SetStored(const char* column, const QString& value)
    {
        SetSQL(u"UPDATE fxPrm SET "_s + QLatin1StringView(column) + u"=:v"_s);
        SetParam(u"v"_s, value);
        QVERIFY(ExecCommon());
    }

private slots:
    void init()
    {
        m_box = std::make_unique<TWindowSandbox>();
        m_bells.clear();
    }
    void cleanup()
    {
        m_win.reset();
        m_box.reset();
    }

    void aTypedJobBecomesAPlanOnTheScreen()
    {
        TfrmMain& w = Start();
        SmallJob(w);
        Calculate(w);
        QVERIFY(!w.CurSchame.empty());
        QCOMPARE(w.CurSchame, w.NewSchame);
        QCOMPARE(w.CurRaw.size(), size_t(1));
        QCOMPARE(w.CurEle.size(), size_t(3));
        QCOMPARE(w.treeResult->topLevelItem(0)->text(0), u"成品面积："_s);
        QCOMPARE(w.treeResult->topLevelItem(1)->text(1), QString::number(w.CurRslt.RawCount) + u" 张"_s);
        QCOMPARE(w.lstGrapSmall->count(), int(w.CurSchame.size()));
        QVERIFY(w.lstGrapSmall->item(0)->text().startsWith(u"图[1]"_s));
        QCOMPARE(w.Controler(), nullptr); // released once the run has ended
        QVERIFY(m_bells.isEmpty());       // the bell is off by default
    }

    void aFaultyRowStartsNoRun()
    {
        TfrmMain& w = Start();
        SmallJob(w);
        w.treeEle->SetCell(3, EleCol::Length, u"100"_s);
        Calculate(w);
        QCOMPARE(m_box->Dialogs.Infos, QStringList{TBLL::RowErrorMessage(4)});
        QVERIFY(w.CurRaw.empty());
        QVERIFY(w.CurSchame.empty());
    }

    void theSecondRunMustBeStrictlyBetterWhenNothingChanged_data()
    {
        QTest::addColumn<int>("priCut");
        QTest::newRow("utilisation") << 1;
        QTest::newRow("layouts") << 2;
        QTest::newRow("price") << 3;
    }
    void theSecondRunMustBeStrictlyBetterWhenNothingChanged()
    {
        QFETCH(int, priCut);
        SetStored("PriCut", QString::number(priCut));
        TfrmMain& w = Start();
        const QString path = SavedSmallRun(w);
        const TD2RSchame first = w.CurSchame;
        QVERIFY(Read(path).contains("<FPB "));
        // The same input and seed give an equal plan: it is no better, so the
        // plan shown stays and the file is not written again.
        QFile(path).resize(0);
        Calculate(w);
        QCOMPARE(w.NewSchame, first);
        QVERIFY(Read(path).isEmpty());

        // Judged by the priority, equal values keeping the plan shown.
        w.NewRslt = w.CurRslt;
        w.NewSchame = w.CurSchame;
        QVERIFY(!w.TakesNewPlan(false));
        QVERIFY(w.TakesNewPlan(true));
        switch (priCut) {
        case 1:
            w.NewRslt.Uti += 0.01;
            break;
        case 2:
            w.NewSchame.pop_back();
            break;
        default:
            w.NewRslt.Price -= 1;
            break;
        }
        QVERIFY(w.TakesNewPlan(false));
    }

    void whatCountsAsAChange()
    {
        TfrmMain& w = Start();
        const QString path = SavedSmallRun(w);
        // OptTm and the remnant sizes are no change: the equal plan is kept.
        SetStored("OptTm", u"2"_s);
        SetStored("BinL", u"300"_s);
        w.LoadPrm();
        QFile(path).resize(0);
        Calculate(w);
        QCOMPARE(w.RunPrm.OptTm, 2);
        QCOMPARE(w.RunPrm.BinL, 300);
        QVERIFY(Read(path).isEmpty());
        // The tolerance is a change: the plan is taken and written, better or not.
        SetStored("wucha", u"1"_s);
        w.LoadPrm();
        Calculate(w);
        QCOMPARE(w.RunPrm.wucha, 1);
        QVERIFY(Read(path).contains("wucha=\"1\""));
        QCOMPARE(w.CurSchame, w.NewSchame);
    }

    void acceptDuringTheFirstGenerationTakesTheBestSoFar()
    {
        TfrmMain& w = Start();
        LongJob(w);
        bool stayedOpen = false;
        int generations = -1;
        Calculate(w, [&](TfrmCulcControler* dialog) {
            QTRY_VERIFY(dialog->ProgressBar2->value() >= 1);
            QCOMPARE(dialog->ProgressBar1->maximum(), 100);
            dialog->Image2->click();
            stayedOpen = dialog->isVisible(); // until the worker delivers
            QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), 20000);
            generations = dialog->ProgressBar1->value();
        });
        QVERIFY(stayedOpen);
        QVERIFY2(generations >= 0 && generations < 100, qPrintable(QString::number(generations)));
        QVERIFY(!w.CurSchame.empty());
        QCOMPARE(w.CurSchame, w.NewSchame);
    }

    void acceptThenCancelTakesNothing()
    {
        TfrmMain& w = Start();
        const QString path = SavedSmallRun(w);
        const TD2RSchame shown = w.CurSchame;
        const QByteArray file = Read(path);
        LongJob(w);
        Calculate(w, [](TfrmCulcControler* dialog) {
            QTRY_VERIFY(dialog->ProgressBar2->value() >= 1);
            dialog->Image2->click();
            dialog->imgCancel->click();
        });
        QCOMPARE(w.CurSchame, shown);
        QCOMPARE(Read(path), file);
    }

    void cancelKeepsThePlanTheListsAndTheFile()
    {
        TfrmMain& w = Start();
        const QString path = SavedSmallRun(w);
        const TD2RSchame shown = w.CurSchame;
        const QByteArray file = Read(path);
        const QString remnants = w.treeBin->topLevelItemCount() ? w.treeBin->topLevelItem(0)->text(0) : QString();

        SetStored("lingyin", u"1"_s);
        LongJob(w); // a changed input, which would be taken
        QPointer<TD2Rect> worker;
        std::shared_ptr<std::atomic<int>> plans = std::make_shared<std::atomic<int>>(0);
        Calculate(w, [&](TfrmCulcControler* dialog) {
            worker = w.D2Rect;
            connect(
                worker, &TD2Rect::PlanBuilt, worker, [plans](int) { ++*plans; }, Qt::DirectConnection);
            QTRY_VERIFY(dialog->ProgressBar2->value() >= 1);
            dialog->imgCancel->click();
        });
        QCOMPARE(w.CurSchame, shown);
        QCOMPARE(Read(path), file);
        QCOMPARE(w.treeBin->topLevelItemCount() ? w.treeBin->topLevelItem(0)->text(0) : QString(), remnants);
        QCOMPARE(w.treeEle->Cell(100, EleCol::Count), u"2"_s);
        // The cancelled worker stops soon, still delivers, and the bell rings for it.
        QTRY_VERIFY_WITH_TIMEOUT(m_bells.size() == 1, 20000);
        QTRY_VERIFY(!worker || worker->isFinished());
        QVERIFY2(*plans < 100 * 30, qPrintable(QString::number(*plans)));
        QVERIFY(m_bells.front().endsWith(u"/ringin.wav"_s));
        QVERIFY(!w.NewSchame.empty());
        QCOMPARE(w.CurSchame, shown);
    }

    void theLateResultOfACancelledRunLeavesTheNextRunAlone()
    {
        TfrmMain& w = Start();
        LongJob(w);
        Calculate(w, [](TfrmCulcControler* dialog) {
            QTRY_VERIFY(dialog->ProgressBar2->value() >= 1);
            dialog->imgCancel->click();
        });
        // A small job at once, while the cancelled worker still finishes its plans.
        w.tlNewClick();
        SetStored("OptTm", u"1"_s);
        w.LoadPrm();
        SmallJob(w);
        Calculate(w);
        QCOMPARE(w.CurEle.size(), size_t(3));
        int pieces = 0;
        for (const TD2RGene& g : w.NewSchame)
            pieces += int(g.Eles.size()) * g.Count;
        QCOMPARE(pieces, 15); // the small job's plan, not the big one's
        QCOMPARE(w.CurSchame, w.NewSchame);
    }

    void emptyListsEndAtOnceWithAnEmptyPlan()
    {
        TfrmMain& w = Start();
        Calculate(w);
        QVERIFY(w.CurSchame.empty());
        QVERIFY(w.NewSchame.empty());
        QCOMPARE(w.Controler(), nullptr);
    }

    void theElapsedTimeCountsMinutesAndSeconds()
    {
        TfrmCulcControler dialog(nullptr, 10);
        QCOMPARE(dialog.Label4->text(), u"0.00"_s);
        for (int i = 0; i < 59; ++i)
            dialog.Timer1Timer();
        QCOMPARE(dialog.Label4->text(), u"0:59"_s);
        dialog.Timer1Timer();
        QCOMPARE(dialog.Label4->text(), u"1:0"_s);
        for (int i = 0; i < 5; ++i)
            dialog.Timer1Timer();
        QCOMPARE(dialog.Label4->text(), u"1:5"_s);
        dialog.ReciveProcess(u"87.53%:4"_s);
        QCOMPARE(dialog.Label5->text(), u"87.53%:4"_s);
        QCOMPARE(dialog.ProgressBar1->value(), 1);
        QCOMPARE(dialog.windowTitle(), u"计算控制器"_s);
        QCOMPARE(dialog.Image2->cursor().shape(), Qt::PointingHandCursor);
    }

    void theKeyboardReachesTheCalculation()
    {
        TfrmMain& w = Start();
        SmallJob(w);
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QMenu* calc = nullptr;
        for (QAction* a : w.menuBar()->actions())
            if (a->text() == u"计算(&E)"_s)
                calc = a->menu();
        QVERIFY(calc);
        QTimer::singleShot(0, this, [calc] {
            QTRY_VERIFY(calc->isVisible());
            QTest::keyClick(calc, Qt::Key_C);
        });
        QTest::keyClick(&w, Qt::Key_E, Qt::AltModifier);
        QTRY_VERIFY(!w.CurSchame.empty());
    }

    void quittingDuringARunStopsAndWaitsForTheWorker()
    {
        TfrmMain& w = Start();
        LongJob(w);
        QPointer<TD2Rect> worker;
        int generations = -1;
        Calculate(w, [&](TfrmCulcControler* dialog) {
            QTRY_VERIFY(dialog->ProgressBar2->value() >= 1);
            worker = w.D2Rect;
            w.close(); // stops the worker and waits for it
            QVERIFY(!worker || worker->isFinished());
            generations = dialog->ProgressBar1->value();
        });
        QVERIFY2(generations >= 0 && generations < 100, qPrintable(QString::number(generations)));
        QVERIFY(!worker || worker->isFinished());
        QVERIFY(w.CurSchame.empty());
    }
};

QTEST_MAIN(CalculationTest)
#include "CalculationTest.moc"
