// The real main window, driven as a user drives it: fresh program folder,
// projects opened and saved, lists typed and pasted into, settings changed,
// drawings switched and zoomed.

#include "FileType.h"
#include "GridView.h"
#include "TreeList.h"
#include "UnitBLL.h"
#include "UnitFileOpt.h"
#include "UnitMain.h"
#include "UnitSettings.h"
#include "WindowSandbox.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QScopeGuard>
#include <QSlider>
#include <QSplitter>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

TD2RPrm JobPrm()
{
    TD2RPrm prm;
    prm.Blade = 3.5;
    prm.EdgB = 10;
    prm.BinL = 200;
    prm.BinW = 200;
    return prm;
}

// A project of three sheet types, two parts and a plan of one 2440 x 1830
// layout that leaves part 2 partly uncut.
void WriteJob(const QString& path, bool withUncut = false)
{
    const TD2RRawArr sheets = {{1, "白玻", "-1", "", 35, 2440, 1830, 10, 0},
                               {2, "超白", "17", "库存", 80, 3300, 2440, 2, 1},
                               {3, "茶玻", "-1", "", 0, 1830, 1220, 5, 0}};
    const TD2REleArr parts = {{1, "门", "左", 800, 600, 2, 1}, {2, "窗", "", 1000, 500, withUncut ? 9 : 1, 1}};
    TD2RGene g;
    g.Name = "白玻";
    g.DbID = "-1";
    g.Length = 2440;
    g.Width = 1830;
    g.Count = 1;
    g.Price = 35;
    g.Eles = {{0, 1, "门", "左", 0, 0, 800, 600},
              {0, 1, "门", "左", 803.5, 0, 800, 600},
              {1, 2, "窗", "", 0, 603.5, 1000, 500}};
    g.Rects = {{1607, 0, 833, 600}, {1003.5, 603.5, 1436.5, 500}, {0, 1107, 2440, 723}};
    g.EleArea = 2 * 800 * 600 + 1000 * 500;
    g.MaxBin = 2440 * 723;
    TD2File::SaveProject(sheets, parts, path, {g}, JobPrm());
}

// Types into the current cell of a list as a user does: the first key opens
// the editor, the rest go to it, Return stores the text.
void Type(TTreeList* list, const QString& text)
{
    list->setFocus();
    for (qsizetype i = 0; i < text.size(); ++i) {
        QWidget* target = i == 0 ? static_cast<QWidget*>(list) : QApplication::focusWidget();
        QTest::keyClick(target, text[i].toLatin1());
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QApplication::processEvents(); // the editor commits and closes through a queued call
}

QAction* MenuEntry(QMenu* menu, const QString& text)
{
    for (QAction* a : menu->actions())
        if (a->text() == text)
            return a;
    return nullptr;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TWindowSandbox> m_box;
    std::unique_ptr<TfrmMain> m_win;

    TfrmMain& Start()
    {
        m_win = std::make_unique<TfrmMain>();
        m_win->show();
        m_win->activateWindow();
        [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(m_win.get());
        return *m_win;
    }
    TfrmMain& Restart()
    {
        m_win.reset();
        m_box->Reconnect();
        return Start();
    }
    QString Job(bool withUncut = false)
    {
        const QString path = m_box->Home.Path() + u"/作业 一.FBL"_s;
        WriteJob(path, withUncut);
        return path;
    }

private slots:
    void init() { m_box = std::make_unique<TWindowSandbox>(); }
    void cleanup()
    {
        m_win.reset();
        m_box.reset();
    }

    void startsWithTheDefaultsOfAFreshDatabase()
    {
        TfrmMain& w = Start();
        QCOMPARE(w.treeRaw->RowCount(), 50);
        QCOMPARE(w.treeEle->RowCount(), 500);
        QCOMPARE(w.treeRaw->Cell(49, 0), u"50"_s);
        QCOMPARE(w.Splitter1->sizes().front(), 240);
        QVERIFY(w.treeEle->IsColumnVisible(EleCol::Grain));
        QVERIFY(!w.treeRaw->IsColumnVisible(RawCol::Demo));
        QCOMPARE(w.SelLayout, -1);
        QCOMPARE(w.SetPrm, TD2RPrm{});
        QVERIFY(w.ShowItems[0]->isChecked());
        QVERIFY(!w.ShowItems[2]->isChecked());
        QCOMPARE(w.windowTitle().contains(u"卡沃"_s), true);
        // The project file type is registered with the desktop.
        QVERIFY(QFile::exists(TFileType::DesktopEntryPath(u"FBL"_s)));
        QVERIFY(m_box->Dialogs.Infos.isEmpty());
        QVERIFY(m_box->Dialogs.Errors.isEmpty());
        // Commands whose windows come later are there but disabled.
        QVERIFY(!w.tlLabel->isEnabled());
        QVERIFY(w.tlOpt->isEnabled());
        QVERIFY(!w.tlWuLiao->isEnabled());
        QVERIFY(w.tlNew->isEnabled());
    }

    void aRefusedFileTypeRegistrationIsReportedAndStartUpGoesOn()
    {
        QFile blocker(m_box->Xdg.filePath(u"applications"_s));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        TfrmMain& w = Start();
        QCOMPARE(m_box->Dialogs.Errors.size(), 1);
        QCOMPARE(w.treeRaw->RowCount(), 50);
    }

    void opensAProjectNamedOnTheCommandLineInPieces()
    {
        const QString path = Job();
        TfrmMain& w = Start();
        w.OpenCommandLine(path.split(u' ')); // a path with a blank arrives as two arguments
        QCOMPARE(w.FileName, path);
        QCOMPARE(w.StatusPanel[1]->text(), path);
        QCOMPARE(w.treeRaw->Cell(1, RawCol::Name), u"超白"_s);
        QCOMPARE(w.treeRaw->Cell(1, RawCol::Prio), u"优先"_s);
        QCOMPARE(w.treeRaw->Cell(1, RawCol::DbID), u"17"_s);
        QCOMPARE(w.treeEle->Cell(0, EleCol::Length), u"800"_s);
        QCOMPARE(w.CurRaw.size(), size_t(3));
        QCOMPARE(w.CurSchame.size(), size_t(1));
        QCOMPARE(w.RunPrm.Blade, 3.5);
        QCOMPARE(w.lstGrapSmall->count(), 1);
        QCOMPARE(w.lstGrapSmall->item(0)->text(), u"图[1]32.7%"_s);
        QCOMPARE(w.SelLayout, 0);
        QCOMPARE(w.treeResult->topLevelItem(0)->text(5), u"32.7%"_s);
        QCOMPARE(w.treeBin->topLevelItemCount(), 3);

        // A name that is no file: nothing is loaded, the name is kept.
        TfrmMain& other = Restart();
        other.OpenCommandLine({u"  no"_s, u"such.FBL "_s});
        QCOMPARE(other.FileName, u"no such.FBL"_s);
        QVERIFY(other.CurRaw.empty());
    }

    void newThenSaveAsksForANameAndWritesTheLastInput()
    {
        TfrmMain& w = Start();
        w.OpenProject(Job());
        w.treeEle->SetCell(0, EleCol::Name, u"edited"_s); // the lists are not what is saved
        w.tlNewClick();
        QVERIFY(w.FileName.isEmpty());
        QVERIFY(w.StatusPanel[1]->text().isEmpty());
        QVERIFY(w.treeEle->Cell(0, EleCol::Name).isEmpty());
        QCOMPARE(w.lstGrapSmall->count(), 0);
        QCOMPARE(w.treeResult->topLevelItemCount(), 0);

        const QString saved = m_box->Home.Path() + u"/new.FBL"_s;
        m_box->Dialogs.Files.push_back(saved);
        w.tlSave->trigger();
        QCOMPARE(m_box->Dialogs.FileDialogs.size(), 1);
        QCOMPARE(w.FileName, saved);
        QCOMPARE(w.StatusPanel[1]->text(), saved);
        QFile f(saved);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.contains("BladeWidth=\"3.5\"")); // the parameters of the last input
        QVERIFY(bytes.contains("<RLST>\r\n</RLST>\r\n<ELST>\r\n</ELST>\r\n<FYS>\r\n</FYS>"));

        // Saving again writes at once, without asking.
        w.tlSave->trigger();
        QCOMPARE(m_box->Dialogs.FileDialogs.size(), 1);
        // A cancelled dialog changes nothing.
        w.tlNewClick();
        w.N3->trigger();
        QCOMPARE(m_box->Dialogs.FileDialogs.size(), 2);
        QVERIFY(w.FileName.isEmpty());
    }

    void openingLeavesRowsBelowTheFileAsTheyWere()
    {
        TfrmMain& w = Start();
        for (int r = 0; r < 10; ++r) {
            w.treeRaw->SetCell(r, RawCol::Name, u"typed %1"_s.arg(r + 1));
            w.treeRaw->SetCell(r, RawCol::Length, u"1000"_s);
        }
        m_box->Dialogs.Files.push_back(Job());
        w.tlOpenFile->trigger();
        QCOMPARE(w.treeRaw->Cell(2, RawCol::Name), u"茶玻"_s);
        QCOMPARE(w.treeRaw->Cell(3, RawCol::Name), u"typed 4"_s);
        QCOMPARE(w.treeRaw->Cell(9, RawCol::Name), u"typed 10"_s);
    }

    void openingAPlanWithUncutPartsShowsThem()
    {
        TfrmMain& w = Start();
        w.OpenProject(Job(true));
        QCOMPARE(w.pgLower->currentWidget(), static_cast<QWidget*>(w.treeNoCutEle));
        QCOMPARE(w.treeNoCutEle->topLevelItemCount(), 1);
        QCOMPARE(w.treeNoCutEle->topLevelItem(0)->text(3), u"8"_s);
        QCOMPARE(m_box->Dialogs.Infos,
                 QStringList{u"提示：当前有未切割尺寸！\n1.原材可用量是否足够用？\n2.未切割尺寸是否大于原材尺寸？"_s});
    }

    void pastingTwoSpreadsheetRowsIntoRowThree()
    {
        TfrmMain& w = Start();
        QApplication::clipboard()->setText(u"Float Glass 5\t2440\t1830\r\n超白 8\t3300\t2440\r\n"_s);
        w.treeRaw->setCurrentItem(w.treeRaw->topLevelItem(2), RawCol::Name);
        MenuEntry(w.treeRaw->RowMenu, u"粘贴数据"_s)->trigger();
        QCOMPARE(w.treeRaw->Cell(2, RawCol::Name), u"Float Glass 5"_s);
        QCOMPARE(w.treeRaw->Cell(2, RawCol::Length), u"2440"_s); // the hidden remark is skipped
        QCOMPARE(w.treeRaw->Cell(3, RawCol::Width), u"2440"_s);
        QVERIFY(w.treeRaw->Cell(2, RawCol::Demo).isEmpty());
        QVERIFY(w.treeRaw->Cell(4, RawCol::Name).isEmpty());
    }

    void typingFillsTheCountAndDropsWhatIsNoNumber()
    {
        TfrmMain& w = Start();
        w.treeEle->SetCell(0, EleCol::Length, u"800"_s);
        w.treeEle->setCurrentItem(w.treeEle->topLevelItem(0), EleCol::Width);
        Type(w.treeEle, u"6x0"_s);
        QCOMPARE(w.treeEle->Cell(0, EleCol::Count), u"1"_s);  // filled when editing began
        QVERIFY(w.treeEle->Cell(0, EleCol::Width).isEmpty()); // "6x0" is no number
        w.treeEle->setCurrentItem(w.treeEle->topLevelItem(0), EleCol::Width);
        Type(w.treeEle, u"600"_s);
        QCOMPARE(w.treeEle->Cell(0, EleCol::Width), u"600"_s);

        w.treeRaw->SetCell(0, RawCol::Width, u"1830"_s);
        w.treeRaw->setCurrentItem(w.treeRaw->topLevelItem(0), RawCol::Length);
        Type(w.treeRaw, u"2440"_s);
        QCOMPARE(w.treeRaw->Cell(0, RawCol::Length), u"2440"_s);
        QCOMPARE(w.treeRaw->Cell(0, RawCol::Count), u"999999"_s);
        // A row without sizes gets no count.
        w.treeRaw->setCurrentItem(w.treeRaw->topLevelItem(1), RawCol::Name);
        Type(w.treeRaw, u"abc"_s);
        QCOMPARE(w.treeRaw->Cell(1, RawCol::Name), u"abc"_s);
        QVERIFY(w.treeRaw->Cell(1, RawCol::Count).isEmpty());
    }

    void settingsThatRebuildTheListsAndSettingsThatDoNot()
    {
        TfrmMain& w = Start();
        w.treeEle->SetCell(0, EleCol::Name, u"typed"_s);
        // The slider alone: only the parameters are read again.
        QTimer::singleShot(0, this, [] {
            auto* dialog = qobject_cast<TfrmSettings*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->TrackBar1->setValue(40);
            dialog->btnOKClick();
        });
        w.tlSettingClick();
        QCOMPARE(w.SetPrm.OptTm, 40);
        QCOMPARE(m_box->Dialogs.Infos, QStringList{u"设置成功！"_s});
        QCOMPARE(w.treeEle->Cell(0, EleCol::Name), u"typed"_s);

        // A caption changed and the name column hidden: the lists are set up
        // again with the new captions; what was typed is kept.
        QTimer::singleShot(0, this, [] {
            auto* dialog = qobject_cast<TfrmSettings*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->GridView2->item(2, 2)->setText(u"长度"_s);
            dialog->chkEleShowName->click();
            dialog->btnOKClick();
        });
        w.tlSettingClick();
        QCOMPARE(w.Config.eleLength, u"长度"_s);
        QCOMPARE(w.treeEle->headerItem()->text(EleCol::Length), u"长度"_s);
        QVERIFY(!w.treeEle->IsColumnVisible(EleCol::Name));
        QVERIFY(!w.ShowItems[1]->isVisible());
        QCOMPARE(w.ShowCfg.ShowName, 0);
        QCOMPARE(TBLL().ReadShowSet().ShowName, 1); // the stored switch is untouched
        QCOMPARE(w.treeEle->Cell(0, EleCol::Name), u"typed"_s);
    }

    void theLeftPanelWidthIsStoredWhenTheSplitterMoves()
    {
        TfrmMain& w = Start();
        QList<int> sizes = w.Splitter1->sizes();
        sizes[1] += sizes[0] - 310;
        sizes[0] = 310;
        w.Splitter1->setSizes(sizes);
        emit w.Splitter1->splitterMoved(310, 1); // as a drag of the handle ends
        QTRY_COMPARE(TBLL().ReadConfig().PnlWidth, w.pnlLeft->width());
        QCOMPARE(w.pnlLeft->width(), 310);
        TfrmMain& again = Restart();
        QCOMPARE(again.Splitter1->sizes().front(), 310);
    }

    void savingSettingsByItsKeyKeepsTheCaptionBeingTyped()
    {
        TfrmMain& w = Start();
        QTimer::singleShot(0, this, [] {
            auto* dialog = qobject_cast<TfrmSettings*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto close = qScopeGuard([dialog] { dialog->close(); }); // never leave the test hanging
            dialog->Pages->setCurrentIndex(1);
            dialog->GridView2->setCurrentCell(2, 2);
            dialog->GridView2->editItem(dialog->GridView2->item(2, 2));
            auto* editor = dialog->GridView2->viewport()->findChild<QLineEdit*>();
            QVERIFY(editor);
            editor->selectAll();
            editor->insert(u"长度"_s);
            dialog->btnOKClick(); // as Alt+S does: the editor is still open
        });
        w.tlSettingClick();
        QCOMPARE(TBLL().ReadConfig().eleLength, u"长度"_s);
        QCOMPARE(w.treeEle->headerItem()->text(EleCol::Length), u"长度"_s);
    }

    void aDrawingSwitchSurvivesARestart()
    {
        TfrmMain& w = Start();
        QVERIFY(w.ShowItems[3]->isChecked());
        w.ShowItems[3]->trigger(); // 显示尺寸 off
        QCOMPARE(w.ShowCfg.ShowSize, 0);
        TfrmMain& again = Restart();
        QVERIFY(!again.ShowItems[3]->isChecked());
        QCOMPARE(again.ShowCfg.ShowSize, 0);
    }

    void zoomingRedrawsAtTheNewScale()
    {
        TfrmMain& w = Start();
        w.tlZoomMax->trigger(); // nothing selected: nothing happens
        QCOMPARE(w.imgPnl->width(), 500);
        w.OpenProject(Job());
        QCOMPARE(w.imgPnl->width(), 500);
        QCOMPARE(w.Scale, 2440.0 / 490);
        const int height = w.imgPnl->height();
        w.tlZoomMax->trigger();
        QCOMPARE(w.imgPnl->width(), 600);
        QCOMPARE(w.Scale, 2440.0 / 590);
        QVERIFY(w.imgPnl->height() > height);
        w.tlZoomMin->trigger();
        QCOMPARE(w.imgPnl->width(), 500);
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
