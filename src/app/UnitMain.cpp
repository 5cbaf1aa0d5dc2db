#include "UnitMain.h"

#include "FileType.h"
#include "TreeList.h"
#include "UnitBLL.h"
#include "UnitCulcControler.h"
#include "UnitD2RectThread.h"
#include "UnitData.h"
#include "UnitFileOpt.h"
#include "UnitSettings.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScrollArea>
#include <QSoundEffect>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

const QString ProjectFilter = u"FBL (*.FBL *.fbl)"_s;
const QString ProjectSuffix = u"FBL"_s;
const QString ShowColumns[5] = {u"ShowXH"_s, u"ShowName"_s, u"ShowDemo"_s, u"ShowSize"_s, u"ShowBin"_s};
constexpr int StartPicture = 500;

int Trunc(double v)
{
    return int(std::trunc(v));
}

// The two input lists as the project reader fills them.
class InputLists final : public TProjectLists {
public:
    InputLists(TTreeList* raw, TTreeList* ele) : m_raw(raw), m_ele(ele) {}
    int SheetRowCount() const override { return m_raw->RowCount(); }
    int PartRowCount() const override { return m_ele->RowCount(); }
    void SetSheetCell(int row, int column, const QString& text) override { m_raw->SetCell(row, column, text); }
    void SetPartCell(int row, int column, const QString& text) override { m_ele->SetCell(row, column, text); }
    void ShowInfo(const QString& message) override { ::ShowInfo(message); }

private:
    TTreeList* m_raw;
    TTreeList* m_ele;
};

QTreeWidget* ResultList(const QStringList& captions, QWidget* parent)
{
    auto* tree = new QTreeWidget(parent);
    tree->setColumnCount(int(captions.size()));
    tree->setHeaderLabels(captions);
    tree->setRootIsDecorated(false);
    tree->setUniformRowHeights(true);
    tree->setAlternatingRowColors(true);
    return tree;
}

QPixmap BlankPicture(int width, int height)
{
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::white);
    return pixmap;
}

// The cells of a list, to carry typed rows over a rebuild of the list.
std::vector<std::vector<QString>> Snapshot(const TTreeList* list, int columns)
{
    std::vector<std::vector<QString>> rows;
    for (int r = 0; r < list->RowCount(); ++r) {
        std::vector<QString> cells;
        bool any = false;
        for (int c = 1; c < columns; ++c) {
            cells.push_back(list->Cell(r, c));
            any = any || !cells.back().isEmpty();
        }
        rows.push_back(any ? std::move(cells) : std::vector<QString>{});
    }
    while (!rows.empty() && rows.back().empty())
        rows.pop_back();
    return rows;
}

// Puts the rows back; returns how many filled rows did not fit.
int Restore(TTreeList* list, const std::vector<std::vector<QString>>& rows)
{
    int dropped = 0;
    for (size_t r = 0; r < rows.size(); ++r) {
        if (int(r) >= list->RowCount()) {
            dropped += !rows[r].empty();
            continue;
        }
        for (size_t c = 0; c < rows[r].size(); ++c)
            list->SetCell(int(r), int(c) + 1, rows[r][c]);
    }
    return dropped;
}

} // namespace

TfrmMain::TfrmMain(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(u"《卡沃》玻璃切割优化系统 "_s + QApplication::applicationVersion());
    resize(1000, 600);
    BuildActions();
    BuildMenus();
    BuildToolBar();
    BuildPanels();

    m_panelWidthTimer = new QTimer(this);
    m_panelWidthTimer->setSingleShot(true);
    m_panelWidthTimer->setInterval(400);
    connect(m_panelWidthTimer, &QTimer::timeout, this,
            [this] { RunCommand([this] { TBLL().SavePnlWidth(pnlLeft->width()); }); });
    connect(Splitter1, &QSplitter::splitterMoved, this, [this](int, int index) {
        if (index == 1)
            m_panelWidthTimer->start();
    });

    PlaySound = [this](const QString& file) {
        if (!QFile::exists(file))
            return; // no bell file, no bell
        if (!m_bell)
            m_bell = new QSoundEffect(this);
        // Never waited on: without an audio device it reports playing for ever.
        m_bell->setSource(QUrl::fromLocalFile(file));
        m_bell->play();
    };

    SelLayout = -1;
    // A refused registration is reported; the program starts all the same.
    RunCommand([] { TFileType::RegisterFileType(ProjectSuffix); });
    SetupLists();
    LoadPrm();
    LoadShowSet();
}

TfrmMain::~TfrmMain()
{
    StopWorkers();
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (m_controler)
        m_controler->imgCancelClick();
    StopWorkers();
    QMainWindow::closeEvent(event);
}

// A worker still running when the program ends is stopped and waited for, so
// that nothing is freed under it. Events are handled meanwhile: a worker may
// be waiting on the main thread to take its progress or its result.
void TfrmMain::StopWorkers()
{
    m_closing = true;
    tlOpt->setEnabled(false);
    const QList<QPointer<TD2Rect>> workers = m_workers;
    for (const QPointer<TD2Rect>& w : workers)
        if (w)
            w->RequestStop();
    // No user input meanwhile: nothing may start while the program ends.
    for (const QPointer<TD2Rect>& w : workers)
        while (w && !w->wait(20))
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    m_workers.clear();
}

void TfrmMain::BuildActions()
{
    QStyle* st = style();
    const auto make = [this](const QString& text, const QIcon& icon = QIcon()) {
        auto* a = new QAction(icon, text, this);
        return a;
    };
    tlNew = make(u"新建"_s, st->standardIcon(QStyle::SP_FileIcon));
    tlOpenFile = make(u"打开"_s, st->standardIcon(QStyle::SP_DialogOpenButton));
    tlSave = make(u"保存"_s, st->standardIcon(QStyle::SP_DialogSaveButton));
    tlSave->setToolTip(u"保存数据"_s);
    tlOpt = make(u"计算"_s, st->standardIcon(QStyle::SP_MediaPlay));
    tlPrint = make(u"打印"_s, st->standardIcon(QStyle::SP_FileDialogDetailedView));
    tlExcel = make(u"导出XLS"_s, st->standardIcon(QStyle::SP_DriveFDIcon));
    tlZoomMax = make(u"放大"_s, st->standardIcon(QStyle::SP_ArrowUp));
    tlZoomMin = make(u"缩小"_s, st->standardIcon(QStyle::SP_ArrowDown));
    tlWuLiao = make(u"物料"_s, st->standardIcon(QStyle::SP_DirHomeIcon));
    tlLabel = make(u"标签"_s, st->standardIcon(QStyle::SP_FileDialogListView));
    tlSetting = make(u"设置"_s, st->standardIcon(QStyle::SP_FileDialogInfoView));
    N3 = make(u"另存为(&A)..."_s);
    X1 = make(u"退出(&X)"_s);

    connect(tlNew, &QAction::triggered, this, [this] { RunCommand([this] { tlNewClick(); }); });
    connect(tlOpenFile, &QAction::triggered, this, [this] { RunCommand([this] { tlOpenFileClick(); }); });
    connect(tlSave, &QAction::triggered, this, [this] { RunCommand([this] { tlSaveClick(); }); });
    connect(N3, &QAction::triggered, this, [this] { RunCommand([this] { N3Click(); }); });
    connect(X1, &QAction::triggered, this, &QWidget::close);
    connect(tlSetting, &QAction::triggered, this, [this] { RunCommand([this] { tlSettingClick(); }); });
    connect(tlZoomMax, &QAction::triggered, this, [this] { RunCommand([this] { tlZoomMaxClick(); }); });
    connect(tlZoomMin, &QAction::triggered, this, [this] { RunCommand([this] { tlZoomMinClick(); }); });

    // Commands whose windows come later stay visible but disabled.
    connect(tlOpt, &QAction::triggered, this, [this] { RunCommand([this] { tlOptClick(); }); });
    for (QAction* later : {tlPrint, tlExcel, tlWuLiao, tlLabel})
        later->setEnabled(false);

    popMnuShow = new QMenu(this);
    const QString captions[5] = {u"显示序号"_s, u"显示名称"_s, u"显示备注"_s, u"显示尺寸"_s, u"显示余料"_s};
    for (int i = 0; i < 5; ++i) {
        if (i == 3)
            popMnuShow->addSeparator();
        ShowItems[i] = popMnuShow->addAction(captions[i]);
        ShowItems[i]->setCheckable(true);
        ShowItems[i]->setData(i + 1); // the tag
        connect(ShowItems[i], &QAction::triggered, this,
                [this, i] { RunCommand([this, i] { popShowXhClick(ShowItems[i]); }); });
    }
}

void TfrmMain::BuildMenus()
{
    QMenuBar* bar = menuBar();
    const auto later = [](QMenu* menu, const QString& text) {
        QAction* a = menu->addAction(text);
        a->setEnabled(false);
        return a;
    };

    QMenu* file = bar->addMenu(u"文件(&F)"_s);
    QAction* n = file->addAction(u"新建(&N)"_s);
    connect(n, &QAction::triggered, tlNew, &QAction::trigger);
    QAction* o = file->addAction(u"打开(&O)"_s);
    connect(o, &QAction::triggered, tlOpenFile, &QAction::trigger);
    file->addSeparator();
    QAction* s = file->addAction(u"保存(&S)"_s);
    connect(s, &QAction::triggered, tlSave, &QAction::trigger);
    file->addAction(N3);
    file->addSeparator();
    file->addAction(X1);

    QMenu* calc = bar->addMenu(u"计算(&E)"_s);
    QAction* optimise = calc->addAction(u"优化计算(&C)"_s);
    optimise->setObjectName(u"N2"_s);
    connect(optimise, &QAction::triggered, tlOpt, &QAction::trigger);

    QMenu* print = bar->addMenu(u"打印(&P)"_s);
    later(print, u"打印排版图"_s);

    QMenu* report = bar->addMenu(u"报表(&R)"_s);
    later(report, u"导出排版图"_s);
    report->addSeparator();
    later(report, u"导出余料尺寸"_s);
    later(report, u"导出未切割尺寸"_s);

    QMenu* stock = bar->addMenu(u"物料(&O)"_s);
    later(stock, u"原材库存"_s);
    stock->addSeparator();
    later(stock, u"冲减库存"_s);
    later(stock, u"余料入库"_s);

    QMenu* data = bar->addMenu(u"数据(&D)"_s);
    later(data, u"数据备份"_s);
    later(data, u"数据还原"_s);

    QMenu* tools = bar->addMenu(u"工具(&T)"_s);
    later(tools, u"尺寸合并工具"_s);
    later(tools, u"标签设计打印"_s);

    QMenu* settings = bar->addMenu(u"设置(&S)"_s);
    QAction* d = settings->addAction(u"默认配置(&D)"_s);
    connect(d, &QAction::triggered, tlSetting, &QAction::trigger);

    QMenu* help = bar->addMenu(u"帮助(&H)"_s);
    QAction* about = help->addAction(u"关于(&A)"_s);
    connect(about, &QAction::triggered, this, &TfrmMain::A1Click);
}

void TfrmMain::BuildToolBar()
{
    QToolBar* bar = addToolBar(u"工具栏"_s);
    bar->setObjectName(u"ToolBar1"_s);
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->addAction(tlNew);
    bar->addAction(tlOpenFile);
    bar->addAction(tlSave);
    bar->addSeparator();
    bar->addAction(tlOpt);
    bar->addAction(tlPrint);

    auto* exportMenu = new QMenu(this);
    for (const QString& text : {u"导出切割排版图"_s, QString(), u"按排版图顺序导出切割尺寸"_s, QString(),
                                u"导出未切割尺寸"_s, u"导出余料尺寸"_s}) {
        if (text.isEmpty())
            exportMenu->addSeparator();
        else
            exportMenu->addAction(text)->setEnabled(false);
    }
    tlExcel->setMenu(exportMenu);
    bar->addAction(tlExcel);
    if (auto* b = qobject_cast<QToolButton*>(bar->widgetForAction(tlExcel)))
        b->setPopupMode(QToolButton::MenuButtonPopup);

    auto* draw = new QToolButton(bar);
    draw->setObjectName(u"ToolButton5"_s);
    draw->setText(u"绘制"_s);
    draw->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    draw->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    draw->setMenu(popMnuShow);
    draw->setPopupMode(QToolButton::InstantPopup);
    bar->addWidget(draw);
    bar->addAction(tlZoomMax);
    bar->addAction(tlZoomMin);
    bar->addSeparator();
    bar->addAction(tlWuLiao);
    bar->addAction(tlLabel);
    bar->addAction(tlSetting);
}

void TfrmMain::BuildPanels()
{
    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setChildrenCollapsible(false);

    // Left: the two input lists.
    auto* left = new QSplitter(Qt::Vertical, Splitter1);
    left->setChildrenCollapsible(false);
    pnlLeft = left;
    auto* rawPage = new QTabWidget(left);
    rawPage->setDocumentMode(true);
    treeRaw = new TTreeList(rawPage);
    treeRaw->setObjectName(u"treeRaw"_s);
    const auto right = Qt::AlignRight | Qt::AlignVCenter;
    const auto rowNo = [](const QString& caption) {
        TColumnDef c;
        c.Caption = caption;
        c.Width = 34;
        c.Align = Qt::AlignCenter;
        c.ReadOnly = true;
        return c;
    };
    const auto text = [](const QString& caption, int width, bool visible = true, Qt::Alignment align = {}) {
        TColumnDef c;
        c.Caption = caption;
        c.Width = width;
        c.Visible = visible;
        if (align)
            c.Align = align;
        return c;
    };
    TColumnDef prio = text(u"优先"_s, 50, false);
    prio.Kind = TColumnKind::Choice;
    prio.Choices = {u"普通"_s, u"优先"_s};
    TColumnDef price = text(u"单价"_s, 70, false, right);
    price.Kind = TColumnKind::Currency;
    // Widths that fit the default panel of 240 pixels.
    treeRaw->SetColumns({rowNo(u"序号"_s), prio, text(u"名称"_s, 56), text(u"备注"_s, 60, false),
                         text(u"长"_s, 42, true, right), text(u"宽"_s, 42, true, right), price,
                         text(u"可用量"_s, 48, true, right), text(QString(), 40, false)});
    rawPage->addTab(treeRaw, u"原材尺寸"_s);

    auto* elePage = new QTabWidget(left);
    elePage->setDocumentMode(true);
    treeEle = new TTreeList(elePage);
    treeEle->setObjectName(u"treeEle"_s);
    TColumnDef grain = text(u"有纹路"_s, 46, false);
    grain.Kind = TColumnKind::Tick;
    grain.TickOn = u"0"_s;
    grain.TickOff = u"1"_s;
    treeEle->SetColumns({rowNo(u"序号"_s), text(u"名称"_s, 52), text(u"备注"_s, 60, false),
                         text(u"长"_s, 38, true, right), text(u"宽"_s, 38, true, right),
                         text(u"数量"_s, 34, true, right), grain});
    elePage->addTab(treeEle, u"下料尺寸"_s);
    left->setStretchFactor(0, 1);
    left->setStretchFactor(1, 2);

    connect(treeRaw, &TTreeList::EditingStarted, this, &TfrmMain::RawEditingStarted);
    connect(treeEle, &TTreeList::EditingStarted, this, &TfrmMain::EleEditingStarted);
    connect(treeRaw, &TTreeList::CellEdited, this, [this](int row, int) { TBLL::CheckRawRow(*treeRaw, row); });
    connect(treeEle, &TTreeList::CellEdited, this, [this](int row, int) { TBLL::CheckEleRow(*treeEle, row); });

    // Centre: the summary over the drawing of the selected layout.
    auto* centrePage = new QTabWidget(Splitter1);
    auto* centre = new QSplitter(Qt::Vertical, centrePage);
    centre->setChildrenCollapsible(false);
    treeResult = new TTreeList(centre);
    treeResult->setObjectName(u"treeResult"_s);
    QList<TColumnDef> resultColumns;
    for (const QString& caption :
         {u"下料总长"_s, u"切割总长"_s, u"下料数量"_s, u"切割数量"_s, u"原材用量"_s, u"利用率"_s}) {
        TColumnDef c = text(caption, resultColumns.isEmpty() ? 130 : 90);
        c.ReadOnly = true;
        resultColumns.append(c);
    }
    treeResult->SetColumns(resultColumns);
    treeResult->setHeaderHidden(true);
    treeResult->RowMenu->clear();
    scrollPnl = new QScrollArea(centre);
    scrollPnl->setBackgroundRole(QPalette::Base);
    imgPnl = new QLabel;
    imgPnl->setObjectName(u"imgPnl"_s);
    imgPnl->setPixmap(BlankPicture(StartPicture, StartPicture));
    imgPnl->setFixedSize(StartPicture, StartPicture);
    imgPnl->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(imgPnl, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { popMnuShow->popup(imgPnl->mapToGlobal(pos)); });
    scrollPnl->setWidget(imgPnl);
    centre->addWidget(treeResult);
    centre->addWidget(scrollPnl);
    centre->setSizes({130, 400});
    centre->setStretchFactor(1, 1);
    centrePage->addTab(centre, u"切割方案"_s);

    // Right: thumbnails over the remnant and uncut lists.
    auto* rightPanel = new QSplitter(Qt::Vertical, Splitter1);
    rightPanel->setChildrenCollapsible(false);
    rightPanel->setMinimumWidth(185);
    pgThumbs = new QTabWidget(rightPanel);
    lstGrapSmall = new QListWidget(pgThumbs);
    lstGrapSmall->setObjectName(u"lstGrapSmall"_s);
    lstGrapSmall->setViewMode(QListView::IconMode);
    lstGrapSmall->setIconSize(QSize(128, 128));
    lstGrapSmall->setFlow(QListView::TopToBottom);
    lstGrapSmall->setWrapping(false);
    lstGrapSmall->setMovement(QListView::Static);
    lstGrapSmall->setResizeMode(QListView::Adjust);
    lstGrapSmall->setSpacing(4);
    lstGrapSmall->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(lstGrapSmall, &QListWidget::currentRowChanged, this, [this] { RunCommand([this] { DrawPBT(); }); });
    pgThumbs->addTab(lstGrapSmall, u"缩略图"_s);
    pgLower = new QTabWidget(rightPanel);
    treeBin = ResultList({u"原料名称"_s, u"长"_s, u"宽"_s, u"数量"_s, u"DbID"_s}, pgLower);
    treeBin->setObjectName(u"treeBin"_s);
    treeBin->setColumnHidden(4, true);
    treeNoCutEle = ResultList({u"零件名称"_s, u"长"_s, u"宽"_s, u"数量"_s}, pgLower);
    treeNoCutEle->setObjectName(u"treeNoCutEle"_s);
    for (QTreeWidget* t : {treeBin, treeNoCutEle}) {
        t->setColumnWidth(0, 70);
        for (int c = 1; c < 4; ++c)
            t->setColumnWidth(c, 42);
    }
    pgLower->addTab(treeBin, u"余料尺寸"_s);
    pgLower->addTab(treeNoCutEle, u"未切割尺寸"_s);
    rightPanel->setStretchFactor(0, 3);
    rightPanel->setStretchFactor(1, 2);

    Splitter1->addWidget(left);
    Splitter1->addWidget(centrePage);
    Splitter1->addWidget(rightPanel);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setStretchFactor(2, 0);
    Splitter1->setSizes({240, 575, 185});
    setCentralWidget(Splitter1);

    const QString texts[3] = {u"欢迎使用《卡沃》系列软件！"_s, QString(), u"卡沃玻璃切割 单机版"_s};
    const int widths[3] = {200, 500, 0};
    for (int i = 0; i < 3; ++i) {
        StatusPanel[i] = new QLabel(texts[i], this);
        StatusPanel[i]->setObjectName(u"StatusPanel%1"_s.arg(i));
        if (widths[i])
            StatusPanel[i]->setMinimumWidth(widths[i]);
    }
    StatusPanel[2]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    statusBar()->addWidget(StatusPanel[0]);
    statusBar()->addWidget(StatusPanel[1], 1);
    statusBar()->addPermanentWidget(StatusPanel[2]);
}

void TfrmMain::SetStatusFile(const QString& path)
{
    StatusPanel[1]->setText(path);
}

void TfrmMain::RawEditingStarted(int row, int)
{
    if ((!treeRaw->Cell(row, RawCol::Length).isEmpty() || !treeRaw->Cell(row, RawCol::Width).isEmpty()) &&
        treeRaw->Cell(row, RawCol::Count).isEmpty())
        treeRaw->SetCell(row, RawCol::Count, u"999999"_s);
}

void TfrmMain::EleEditingStarted(int row, int)
{
    if ((!treeEle->Cell(row, EleCol::Length).isEmpty() || !treeEle->Cell(row, EleCol::Width).isEmpty()) &&
        treeEle->Cell(row, EleCol::Count).isEmpty())
        treeEle->SetCell(row, EleCol::Count, u"1"_s);
}

void TfrmMain::SetupLists()
{
    // The reader falls back to the defaults, so setting up cannot fail half-way.
    Config = TBLL().ReadConfig();
    QList<int> sizes = Splitter1->sizes();
    const int total = sizes[0] + sizes[1];
    sizes[0] = Config.PnlWidth;
    sizes[1] = std::max(100, total - Config.PnlWidth);
    Splitter1->setSizes(sizes);
    treeRaw->SetRowCount(Config.rawRC);
    treeEle->SetRowCount(Config.eleRC);
    treeRaw->SetColumnCaption(RawCol::Name, Config.rawName);
    treeRaw->SetColumnCaption(RawCol::Demo, Config.rawDemo);
    treeRaw->SetColumnCaption(RawCol::Length, Config.rawLength);
    treeRaw->SetColumnCaption(RawCol::Width, Config.rawWidth);
    treeRaw->SetColumnCaption(RawCol::Count, Config.rawCount);
    treeRaw->SetColumnCaption(RawCol::Prio, Config.rawPrio);
    treeRaw->SetColumnCaption(RawCol::Price, Config.rawPrice);
    treeRaw->SetColumnVisible(RawCol::Name, Config.rawShowName == 1);
    treeRaw->SetColumnVisible(RawCol::Demo, Config.rawShowDemo == 1);
    treeRaw->SetColumnVisible(RawCol::Prio, Config.rawShowPrio == 1);
    treeRaw->SetColumnVisible(RawCol::Price, Config.rawShowPrice == 1);
    treeRaw->SetColumnVisible(RawCol::DbID, false);
    ShowItems[1]->setText(u"显示"_s + Config.eleName);
    ShowItems[2]->setText(u"显示"_s + Config.eleDemo);
    treeEle->SetColumnCaption(EleCol::Name, Config.eleName);
    treeEle->SetColumnCaption(EleCol::Demo, Config.eleDemo);
    treeEle->SetColumnCaption(EleCol::Length, Config.eleLength);
    treeEle->SetColumnCaption(EleCol::Width, Config.eleWidth);
    treeEle->SetColumnCaption(EleCol::Count, Config.eleCount);
    treeEle->SetColumnCaption(EleCol::Grain, Config.eleWL);
    treeEle->SetColumnVisible(EleCol::Name, Config.eleShowName == 1);
    treeEle->SetColumnVisible(EleCol::Demo, Config.eleShowDemo == 1);
    treeEle->SetColumnVisible(EleCol::Grain, Config.eleShowWL == 1);
}

void TfrmMain::LoadPrm()
{
    SetPrm = TBLL().ReadPrm();
}

void TfrmMain::LoadShowSet()
{
    ShowCfg = TBLL().ReadShowSet();
    // A switch for a column the part list does not show is off while hidden.
    const bool nameShown = treeEle->IsColumnVisible(EleCol::Name);
    const bool demoShown = treeEle->IsColumnVisible(EleCol::Demo);
    ShowItems[1]->setVisible(nameShown);
    ShowItems[2]->setVisible(demoShown);
    if (!nameShown)
        ShowCfg.ShowName = 0;
    if (!demoShown)
        ShowCfg.ShowDemo = 0;
    const int values[5] = {ShowCfg.ShowXH, ShowCfg.ShowName, ShowCfg.ShowDemo, ShowCfg.ShowSize, ShowCfg.ShowBin};
    for (int i = 0; i < 5; ++i)
        ShowItems[i]->setChecked(values[i] == 1);
}

void TfrmMain::OpenCommandLine(const QStringList& arguments)
{
    FileName = arguments.join(u' ').trimmed();
    if (FileName.isEmpty() || !QFile::exists(FileName))
        return;
    RunCommand([this] { OpenProject(FileName); });
}

void TfrmMain::OpenProject(const QString& path)
{
    CurRaw.clear();
    CurEle.clear();
    FileName = path;
    SetStatusFile(path);
    InputLists lists(treeRaw, treeEle);
    TD2File::LoadProject(lists, path, CurSchame, RunPrm, CurEle, CurRaw);
    CurRslt = TD2Result::BuildRslt(CurSchame, RunPrm, CurEle);
    OutResult();
    Draw2D(CurSchame);
}

bool TfrmMain::WriteProject(const QString& path)
{
    return RunCommand([&] { TD2File::SaveProject(CurRaw, CurEle, path, CurSchame, RunPrm); });
}

void TfrmMain::tlNewClick()
{
    treeRaw->ClearRows();
    treeEle->ClearRows();
    treeResult->clear();
    lstGrapSmall->clear();
    treeBin->clear();
    treeNoCutEle->clear();
    CurRaw.clear();
    CurEle.clear();
    CurSchame.clear();
    FileName.clear();
    // Cover the old drawing.
    QPixmap blank = BlankPicture(imgPnl->width(), imgPnl->height());
    QPainter(&blank).drawRect(0, 0, blank.width() - 1, blank.height() - 1);
    imgPnl->setPixmap(blank);
    SetStatusFile(QString());
}

void TfrmMain::tlOpenFileClick()
{
    const QString path = Dialogs().OpenFileName(ProjectFilter);
    if (!path.isEmpty())
        OpenProject(path);
}

void TfrmMain::tlSaveClick()
{
    if (!FileName.isEmpty()) {
        WriteProject(FileName);
        return;
    }
    N3Click();
}

void TfrmMain::N3Click()
{
    const QString path = Dialogs().SaveFileName(ProjectFilter, ProjectSuffix);
    if (path.isEmpty())
        return;
    FileName = path;
    SetStatusFile(path);
    WriteProject(path);
}

void TfrmMain::tlSettingClick()
{
    TfrmSettings dialog(this);
    dialog.exec();
    if (!dialog.Saved)
        return;
    LoadPrm();
    if (!dialog.DispChanged)
        return;
    // Rebuilding the lists would lose what was typed: carry the rows over.
    const auto raws = Snapshot(treeRaw, RawCol::Columns);
    const auto eles = Snapshot(treeEle, EleCol::Columns);
    SetupLists();
    LoadShowSet();
    const int dropped = Restore(treeRaw, raws) + Restore(treeEle, eles);
    if (dropped > 0)
        ShowInfo(u"表格行数减少，有 %1 行数据超出新的行数，未能保留。"_s.arg(dropped));
    DrawPBT();
}

void TfrmMain::popShowXhClick(QAction* item)
{
    const int tag = item->data().toInt();
    const bool on = item->isChecked();
    TBLL().SaveShowSet(ShowColumns[tag - 1], on);
    int* fields[5] = {&ShowCfg.ShowXH, &ShowCfg.ShowName, &ShowCfg.ShowDemo, &ShowCfg.ShowSize, &ShowCfg.ShowBin};
    *fields[tag - 1] = on ? 1 : 0;
    DrawPBT();
}

void TfrmMain::tlZoomMaxClick()
{
    if (SelLayout == -1)
        return;
    // A picture beyond this would not fit in memory; zooming stops there.
    constexpr int MaxPicture = 12000;
    imgPnl->setFixedWidth(std::min(MaxPicture, Trunc(imgPnl->width() * 1.2)));
    DrawPBT();
}

void TfrmMain::tlZoomMinClick()
{
    if (SelLayout == -1)
        return;
    imgPnl->setFixedWidth(std::max(20, Trunc(imgPnl->width() / 1.2)));
    DrawPBT();
}

void TfrmMain::A1Click()
{
    QDialog about(this);
    about.setWindowTitle(u"《卡沃》系列软件"_s);
    auto* layout = new QVBoxLayout(&about);
    auto* picture = new QLabel(&about);
    picture->setPixmap(windowIcon().pixmap(96, 96));
    picture->setAlignment(Qt::AlignCenter);
    auto* text = new QLabel(u"《卡沃》玻璃切割优化系统\n版本 "_s + QApplication::applicationVersion() +
                                u"\n\n矩形玻璃的一刀切排版优化、余料管理与标签打印。"_s,
                            &about);
    text->setAlignment(Qt::AlignCenter);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &about);
    connect(buttons, &QDialogButtonBox::accepted, &about, &QDialog::accept);
    layout->addWidget(picture);
    layout->addWidget(text);
    layout->addWidget(buttons);
    about.exec();
}

void TfrmMain::OutResult()
{
    TD2Result::FillResult(treeResult, CurRslt, Config.rawShowPrice == 1);
    TD2Result::FillBin(treeBin, CurRslt);
    TD2Result::FillNoCut(treeNoCutEle, CurRslt);
    if (!CurRslt.NoCuts.empty()) {
        pgLower->setCurrentWidget(treeNoCutEle);
        ShowInfo(u"提示：当前有未切割尺寸！\n1.原材可用量是否足够用？\n2.未切割尺寸是否大于原材尺寸？"_s);
    }
}

void TfrmMain::Draw2D(const TD2RSchame& plan)
{
    lstGrapSmall->blockSignals(true);
    lstGrapSmall->clear();
    lstGrapSmall->blockSignals(false);
    pgThumbs->setTabText(0, u"缩略图:"_s + QString::number(plan.size()));
    for (size_t i = 0; i < plan.size(); ++i) {
        auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(TD2Result::Thumbnail(plan[i]))),
                                         QString::fromStdString(TD2Result::ThumbnailCaption(int(i), plan[i])));
        lstGrapSmall->addItem(item);
    }
    if (lstGrapSmall->count() > 0)
        lstGrapSmall->setCurrentRow(0); // draws it large
    else
        DrawPBT();
}

void TfrmMain::DrawPBT()
{
    SelLayout = -1;
    const int row = lstGrapSmall->currentRow();
    if (row < 0 || size_t(row) >= CurSchame.size())
        return;
    SelLayout = row;
    const TD2RGene& g = CurSchame[size_t(row)];
    const int m = std::max(1, Trunc(imgPnl->logicalDpiX() / 25.4));
    const int width = imgPnl->width();
    Scale = g.Length / std::max(1, width - 10);
    if (!(Scale > 0))
        return;

    // Draw once to learn where the sheet ends, then size the picture to it.
    QImage probe(width, std::clamp(Trunc(g.Width / Scale) + 100, 1, 32000), QImage::Format_RGB32);
    probe.fill(Qt::white);
    int bottom;
    {
        QPainter p(&probe);
        bottom = TD2Result::DrawLayout(SelLayout, 1, ShowCfg, RunPrm.BinW, RunPrm.BinL, Scale, CurRslt, p, g, m, 1);
    }
    const int height = std::clamp(bottom + Trunc(RunPrm.EdgB / Scale) + 10, 1, 32000);
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter p(&picture);
        TD2Result::DrawLayout(SelLayout, 1, ShowCfg, RunPrm.BinW, RunPrm.BinL, Scale, CurRslt, p, g, m, 1);
    }
    imgPnl->setFixedSize(width, height);
    imgPnl->setPixmap(QPixmap::fromImage(picture));
}

void TfrmMain::tlOptClick()
{
    // End any cell editing, keeping what was typed.
    for (TTreeList* list : {treeRaw, treeEle}) {
        list->CommitEditing();
        if (QTreeWidgetItem* item = list->currentItem())
            list->setCurrentItem(item, 0);
    }
    TD2RRawArr raws;
    TD2REleArr eles;
    if (!TBLL().ReadInput(*treeRaw, *treeEle, eles, raws))
        return;

    bool changed = TBLL::RawChanged(raws, CurRaw);
    if (changed)
        CurRaw = raws;
    if (TBLL::EleChanged(eles, CurEle)) {
        CurEle = eles;
        changed = true;
    }
    if (TBLL::PrmChanged(SetPrm, RunPrm)) {
        RunPrm = SetPrm;
        changed = true;
    } else {
        RunPrm.OptTm = SetPrm.OptTm;
        RunPrm.WenLu = SetPrm.WenLu;
        RunPrm.BinL = SetPrm.BinL;
        RunPrm.BinW = SetPrm.BinW;
        RunPrm.lingyin = SetPrm.lingyin;
    }

    auto* controler = new TfrmCulcControler(this, RunPrm.OptTm);
    m_controler = controler;
    connect(controler, &TfrmCulcControler::StopRequested, this, &TfrmMain::ReciveStopMsg);
    RunPrm.CtrlWnd = controler;
    RunPrm.MainWnd = this;

    // Each run has its number: the late result of a cancelled run must not
    // touch the state or close the dialog of a run started after it.
    auto* worker = new TD2Rect(CurRaw, RunPrm, CurEle, ++m_run, SearchSeed);
    D2Rect = worker;
    m_workers.append(worker);
    m_workers.removeAll(nullptr);
    connect(worker, &TD2Rect::PlanBuilt, controler, &TfrmCulcControler::ReciveProcess2, Qt::BlockingQueuedConnection);
    connect(worker, &TD2Rect::GenerationDone, controler, &TfrmCulcControler::ReciveProcess,
            Qt::BlockingQueuedConnection);
    connect(worker, &TD2Rect::PostResult, this, &TfrmMain::PostResult, Qt::BlockingQueuedConnection);
    m_delivered = false;
    worker->start();
    controler->exec();
    // Only a plan this run delivered is judged.
    const bool accepted = controler->Accepted && m_delivered;
    // Released now: a worker still reporting to it is let go with its report.
    delete controler;
    if (!accepted)
        return;

    if (TakesNewPlan(changed)) {
        CurSchame = NewSchame;
        CurRslt = NewRslt;
        if (!FileName.isEmpty())
            WriteProject(FileName);
    }
    OutResult();
    Draw2D(CurSchame);
}

bool TfrmMain::TakesNewPlan(bool changed) const
{
    if (changed)
        return true;
    switch (RunPrm.PriCut) {
    case 0:
        return NewRslt.Uti > CurRslt.Uti;
    case 2:
        return NewRslt.Price < CurRslt.Price;
    default:
        return NewSchame.size() < CurSchame.size();
    }
}

void TfrmMain::PostResult(TD2Rect* worker)
{
    if (m_closing || worker->Run != m_run)
        return;
    m_delivered = true;
    ReciveResult(worker);
    if (m_controler)
        m_controler->ReciveMsg();
}

void TfrmMain::ReciveResult(TD2Rect* worker)
{
    NewSchame = worker->Best();
    NewRslt = TD2Result::BuildRslt(NewSchame, RunPrm, CurEle);
    if (m_controler)
        m_controler->accept();
    if (SetPrm.lingyin == 1 && PlaySound)
        PlaySound(QDir(ProgramFolder()).filePath(u"ringin.wav"_s));
}

TfrmCulcControler* TfrmMain::Controler() const
{
    return m_controler;
}

void TfrmMain::ReciveStopMsg()
{
    if (D2Rect)
        D2Rect->RequestStop();
}
