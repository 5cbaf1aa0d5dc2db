#pragma once

// The main window: the two input lists, the plan shown with its drawings, the
// project commands, and the job state kept between them.

#include "D2Config.h"
#include "D2Records.h"
#include "UnitD2RectDisp.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <optional>

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QScrollArea;
class QSplitter;
class QTabWidget;
class QTimer;
class QToolButton;
class QTreeWidget;
class QSoundEffect;
class TD2Rect;
class TTreeList;
class TfrmCulcControler;

class TfrmMain final : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The job: the input and parameters of the last calculation or of the
    // project last opened (not the lists on screen), the stored parameters,
    // the plan shown and the plan last delivered, with their summaries.
    TD2RRawArr CurRaw;
    TD2REleArr CurEle;
    TD2RPrm RunPrm;
    TD2RPrm SetPrm;
    TD2RSchame CurSchame;
    TD2RSchame NewSchame;
    TD2Rslt CurRslt;
    TD2Rslt NewRslt;
    TShowSet ShowCfg;
    TConfig Config;
    QString FileName;
    int SelLayout = -1;
    double Scale = 1;
    QPointer<TD2Rect> D2Rect; // the worker of the calculation in progress

    // For repeatable runs (tests): the seed of every search; the clock when unset.
    std::optional<uint64_t> SearchSeed;
    // Plays the bell without waiting for it; tests listen here instead.
    std::function<void(const QString& wavFile)> PlaySound;

    // Controls, named as the commands and tests refer to them.
    TTreeList* treeRaw;
    TTreeList* treeEle;
    TTreeList* treeResult;
    QTreeWidget* treeBin;
    QTreeWidget* treeNoCutEle;
    QListWidget* lstGrapSmall;
    QLabel* imgPnl;
    QScrollArea* scrollPnl;
    QWidget* pnlLeft;
    QSplitter* Splitter1;
    QTabWidget* pgThumbs;
    QTabWidget* pgLower;
    QMenu* popMnuShow;
    QLabel* StatusPanel[3];
    QAction* tlNew;
    QAction* tlOpenFile;
    QAction* tlSave;
    QAction* tlOpt;
    QAction* tlPrint;
    QAction* tlExcel;
    QAction* tlZoomMax;
    QAction* tlZoomMin;
    QAction* tlWuLiao;
    QAction* tlLabel;
    QAction* tlSetting;
    QAction* N3;           // 另存为
    QAction* X1;           // 退出
    QAction* ShowItems[5]; // the drawing switches, tags 1 to 5

    // Start-up with the command line: the arguments joined with single blanks
    // name a project to open when such a file exists.
    void OpenCommandLine(const QStringList& arguments);

    // Commands.
    void tlNewClick();
    void tlOpenFileClick();
    void tlSaveClick();
    void N3Click();
    void tlSettingClick();
    void popShowXhClick(QAction* item);
    void tlZoomMaxClick();
    void tlZoomMinClick();
    void A1Click();
    // The calculation: collects the lists, runs the worker under the progress
    // dialog, and shows the new plan when it is taken.
    void tlOptClick();
    // The worker's end, on the main thread while it waits.
    void ReciveResult(TD2Rect* worker);
    // The progress dialog asks the running worker to stop.
    void ReciveStopMsg();
    // Whether the plan just delivered replaces the one shown.
    bool TakesNewPlan(bool changed) const;
    // The dialog of the calculation in progress, if any.
    TfrmCulcControler* Controler() const;

    // Loads a project into the lists and the job, and shows its plan.
    void OpenProject(const QString& path);
    // Writes the job (not the lists) to path; errors go to the error box.
    bool WriteProject(const QString& path);

    void SetupLists();
    void LoadPrm();
    void LoadShowSet();
    void OutResult();
    void Draw2D(const TD2RSchame& plan);
    void DrawPBT();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void PostResult(TD2Rect* worker);
    void StopWorkers();
    void BuildActions();
    void BuildMenus();
    void BuildToolBar();
    void BuildPanels();
    void SetStatusFile(const QString& path);
    void RawEditingStarted(int row, int column);
    void EleEditingStarted(int row, int column);

    QTimer* m_panelWidthTimer;
    QPointer<TfrmCulcControler> m_controler;
    QList<QPointer<TD2Rect>> m_workers; // every worker not yet ended, cancelled ones too
    int m_run = 0;                      // the number of the latest calculation
    bool m_closing = false;
    bool m_delivered = false; // the latest run's plan has arrived
    QSoundEffect* m_bell = nullptr;
};
