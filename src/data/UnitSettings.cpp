#include "UnitSettings.h"

#include "GridView.h"
#include "NumText.h"
#include "UnitBLL.h"
#include "UnitData.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QLabel* Emphasised(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    label->setStyleSheet(u"color: red"_s);
    return label;
}

QLineEdit* NumberBox(QWidget* parent, int width = 48)
{
    auto* edit = new QLineEdit(parent);
    edit->setFixedWidth(width);
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

// The grid cell of a caption row: "当前名称" read-only, "修改为" editable.
void SetCaptionRow(TGridView* grid, int row, const QString& current, const QString& editable)
{
    auto* fixed = new QTableWidgetItem(current);
    fixed->setFlags(fixed->flags() & ~Qt::ItemIsEditable & ~Qt::ItemIsSelectable);
    grid->setItem(row, 1, fixed);
    grid->setItem(row, 2, new QTableWidgetItem(editable));
    auto* show = new QTableWidgetItem();
    show->setFlags(show->flags() & ~Qt::ItemIsEditable & ~Qt::ItemIsSelectable);
    grid->setItem(row, 3, show);
}

QString Trimmed(const TGridView* grid, int row)
{
    const QTableWidgetItem* item = grid->item(row, 2);
    return item ? item->text().trimmed() : QString();
}

QString OrFallback(const QLineEdit* edit, const QString& fallback)
{
    const QString text = edit->text().trimmed();
    return text.isEmpty() ? fallback : text;
}

QString Flag(const QCheckBox* box)
{
    return box->isChecked() ? u"1"_s : u"0"_s;
}

} // namespace

TfrmSettings::TfrmSettings(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(u"设置"_s);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    Pages = new QTabWidget(this);

    // The calculation parameters. Hidden controls are filled and stored but
    // not shown.
    auto* calc = new QWidget;
    auto* prio = new QGroupBox(u"优先方案"_s, calc);
    optPrioUti = new QRadioButton(u"利用率最高"_s, prio);
    optPrioCut = new QRadioButton(u"切割图最少"_s, prio);
    optPrioPrice = new QRadioButton(u"按价格最低"_s, prio);
    optPrioCut->hide();
    auto* prioLayout = new QVBoxLayout(prio);
    for (QRadioButton* b : {optPrioUti, optPrioCut, optPrioPrice})
        prioLayout->addWidget(b);
    prioLayout->addStretch();

    auto* firCut = new QGroupBox(u"第一刀方向"_s, calc);
    optFirCutReg = new QRadioButton(u"任意"_s, firCut);
    optFirCutH = new QRadioButton(u"横向"_s, firCut);
    optFirCutV = new QRadioButton(u"纵向"_s, firCut);
    auto* firLayout = new QVBoxLayout(firCut);
    for (QRadioButton* b : {optFirCutReg, optFirCutH, optFirCutV})
        firLayout->addWidget(b);
    firCut->hide();

    auto* lay = new QGroupBox(u"排样方案"_s, calc);
    optLayReg = new QRadioButton(u"任意"_s, lay);
    optLayHStrip = new QRadioButton(u"横向开条"_s, lay);
    optLayVStrip = new QRadioButton(u"纵向开条"_s, lay);
    auto* layLayout = new QVBoxLayout(lay);
    for (QRadioButton* b : {optLayReg, optLayHStrip, optLayVStrip})
        layLayout->addWidget(b);
    lay->hide();

    auto* loss = new QGroupBox(u"损耗设置"_s, calc);
    txtWch = NumberBox(loss);
    txtBinL = NumberBox(loss);
    txtBinW = NumberBox(loss);
    txtBladeWidth = NumberBox(loss);
    auto* lossLayout = new QGridLayout(loss);
    lossLayout->addWidget(Emphasised(u"切割误差："_s, loss), 0, 0);
    lossLayout->addWidget(txtWch, 0, 1);
    lossLayout->addWidget(new QLabel(u"（切割尺寸允许的切割误差）"_s, loss), 0, 2, 1, 3);
    lossLayout->addWidget(new QLabel(u"余料可再利用尺寸："_s, loss), 1, 0);
    lossLayout->addWidget(txtBinL, 1, 1);
    lossLayout->addWidget(new QLabel(u"×"_s, loss), 1, 2);
    lossLayout->addWidget(txtBinW, 1, 3);
    auto* bladeLabel = new QLabel(u"刀口损耗："_s, loss);
    lossLayout->addWidget(bladeLabel, 2, 0);
    lossLayout->addWidget(txtBladeWidth, 2, 1);
    bladeLabel->hide();
    txtBladeWidth->hide();
    lossLayout->setColumnStretch(4, 1);

    auto* defaults = new QGroupBox(u"默认设置"_s, calc);
    chkWenLu = new QCheckBox(u"有纹路。粘贴数据后，软件自动设置尺寸为有纹路。 "_s, defaults);
    chkWenLu->hide();
    CheckBox1 = new QCheckBox(u"计算结束后，铃音提示！"_s, defaults);
    TrackBar1 = new QSlider(Qt::Horizontal, defaults);
    TrackBar1->setRange(10, 100);
    TrackBar1->setTickInterval(10);
    TrackBar1->setSingleStep(10);
    TrackBar1->setPageStep(10);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    auto* defaultsLayout = new QVBoxLayout(defaults);
    defaultsLayout->addWidget(CheckBox1);
    defaultsLayout->addWidget(Emphasised(u"计算时间调节器："_s, defaults));
    defaultsLayout->addWidget(TrackBar1);

    auto* edges = new QGroupBox(u"板料周边损耗"_s, calc);
    txtedgeTop = NumberBox(edges);
    txtEdgB = NumberBox(edges);
    txtedgeLeft = NumberBox(edges);
    txtedgeRight = NumberBox(edges);
    auto* edgeLayout = new QGridLayout(edges);
    edgeLayout->addWidget(new QLabel(u"上"_s, edges), 0, 1);
    edgeLayout->addWidget(txtedgeTop, 0, 2);
    edgeLayout->addWidget(new QLabel(u"左"_s, edges), 1, 0);
    edgeLayout->addWidget(txtedgeLeft, 1, 1);
    edgeLayout->addWidget(new QLabel(u"右"_s, edges), 1, 3);
    edgeLayout->addWidget(txtedgeRight, 1, 4);
    edgeLayout->addWidget(new QLabel(u"下"_s, edges), 2, 1);
    edgeLayout->addWidget(txtEdgB, 2, 2);
    edges->hide();

    auto* calcLayout = new QGridLayout(calc);
    calcLayout->addWidget(prio, 0, 0);
    calcLayout->addWidget(defaults, 0, 1);
    calcLayout->addWidget(loss, 1, 0, 1, 2);
    calcLayout->addWidget(firCut, 2, 0);
    calcLayout->addWidget(lay, 2, 1);
    calcLayout->addWidget(edges, 3, 0, 1, 2);
    calcLayout->setRowStretch(4, 1);
    Pages->addTab(calc, u"设置计算参数"_s);

    // The captions of the input lists.
    auto* lists = new QWidget;
    const auto makeGrid = [&](const QString& title, int rows, TGridView*& grid) {
        auto* box = new QGroupBox(title, lists);
        grid = new TGridView(box);
        grid->setColumnCount(4);
        grid->setRowCount(rows);
        grid->SetCaption(u"序|当前名称|修改为|是否显示"_s);
        const int widths[] = {22, 64, 60, 64}; // room for the captions in this font
        int total = 2 * grid->frameWidth();
        for (int c = 0; c < 4; ++c) {
            grid->setColumnWidth(c, widths[c]);
            total += widths[c];
        }
        // As wide as its columns, so that both grids fit the dialog side by side.
        grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        grid->setFixedWidth(total);
        auto* layout = new QVBoxLayout(box);
        layout->setContentsMargins(4, 4, 4, 4);
        layout->addWidget(grid);
        return box;
    };
    QGroupBox* rawBox = makeGrid(u"原材表格"_s, 8, GridView1);
    QGroupBox* eleBox = makeGrid(u"零件表格"_s, 6, GridView2);
    const auto tick = [](TGridView* grid, int row) {
        auto* box = new QCheckBox(grid);
        auto* holder = new QWidget(grid);
        auto* l = new QHBoxLayout(holder);
        l->setContentsMargins(0, 0, 0, 0);
        l->addWidget(box, 0, Qt::AlignCenter);
        grid->setCellWidget(row, 3, holder);
        return box;
    };
    chkRawShowName = tick(GridView1, 0);
    chkRawShowDemo = tick(GridView1, 1);
    chkRawPrio = tick(GridView1, 2);
    chkRawPrice = tick(GridView1, 3);
    chkEleShowName = tick(GridView2, 0);
    chkEleShowDemo = tick(GridView2, 1);
    auto* listsLayout = new QHBoxLayout(lists);
    listsLayout->addWidget(rawBox);
    listsLayout->addWidget(eleBox);
    Pages->addTab(lists, u"设置数据表格"_s);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* btnOK = buttons->addButton(u"保存(&S)"_s, QDialogButtonBox::AcceptRole);
    QPushButton* btnClose = buttons->addButton(u"取消(&C)"_s, QDialogButtonBox::RejectRole);
    btnOK->setObjectName(u"btnOK"_s);
    btnClose->setObjectName(u"btnClose"_s);
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &TfrmSettings::btnOKClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);

    auto* main = new QVBoxLayout(this);
    main->addWidget(Pages);
    main->addWidget(buttons);

    Fill();

    // Only "修改为" takes the selection; touching a caption or a tick is a change.
    for (TGridView* grid : {GridView1, GridView2}) {
        connect(grid, &QTableWidget::currentCellChanged, this, [grid](int row, int column) {
            if (row >= 0 && column != 2)
                grid->setCurrentCell(row, 2);
        });
        connect(grid, &QTableWidget::itemChanged, this, [this] { DispChanged = true; });
    }
    for (QCheckBox* box : {chkRawShowName, chkRawShowDemo, chkRawPrio, chkRawPrice, chkEleShowName, chkEleShowDemo})
        connect(box, &QCheckBox::clicked, this, [this] { DispChanged = true; });

    setFixedSize(sizeHint().expandedTo(QSize(492, 311)));
}

void TfrmSettings::Fill()
{
    TBLL bll;
    const TConfig c = bll.ReadConfig();
    const TD2RPrm p = bll.ReadPrm();

    const QString rawCaptions[] = {c.rawName, c.rawDemo, c.rawPrio, c.rawPrice, c.rawLength, c.rawWidth, c.rawCount};
    for (int row = 0; row < 7; ++row)
        SetCaptionRow(GridView1, row, rawCaptions[row], rawCaptions[row]);
    SetCaptionRow(GridView1, 7, u"表格行数"_s, QString::number(c.rawRC));
    const QString eleCaptions[] = {c.eleName, c.eleDemo, c.eleLength, c.eleWidth, c.eleCount};
    for (int row = 0; row < 5; ++row)
        SetCaptionRow(GridView2, row, eleCaptions[row], eleCaptions[row]);
    SetCaptionRow(GridView2, 5, u"表格行数"_s, QString::number(c.eleRC));
    chkRawShowName->setChecked(c.rawShowName == 1);
    chkRawShowDemo->setChecked(c.rawShowDemo == 1);
    chkRawPrio->setChecked(c.rawShowPrio == 1);
    chkRawPrice->setChecked(c.rawShowPrice == 1);
    chkEleShowName->setChecked(c.eleShowName == 1);
    chkEleShowDemo->setChecked(c.eleShowDemo == 1);

    (p.PriCut == 1 ? optPrioCut : p.PriCut == 2 ? optPrioPrice : optPrioUti)->setChecked(true);
    (p.FirCut == 1 ? optFirCutH : p.FirCut == 2 ? optFirCutV : optFirCutReg)->setChecked(true);
    (p.LayOut == 1 ? optLayHStrip : p.LayOut == 2 ? optLayVStrip : optLayReg)->setChecked(true);
    txtedgeTop->setText(QString::number(p.EdgT));
    txtEdgB->setText(QString::number(p.EdgB));
    txtedgeLeft->setText(QString::number(p.EdgL));
    txtedgeRight->setText(QString::number(p.EdgR));
    txtBinL->setText(QString::number(p.BinL));
    txtBinW->setText(QString::number(p.BinW));
    txtWch->setText(QString::number(p.wucha));
    txtBladeWidth->setText(QString::fromStdString(FloatText(p.Blade)));
    chkWenLu->setChecked(p.WenLu == 1);
    CheckBox1->setChecked(p.lingyin == 1);
    TrackBar1->setValue(p.OptTm);
}

void TfrmSettings::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    DispChanged = false; // filling the boxes is no change
    GridView1->setCurrentCell(0, 2);
    GridView2->setCurrentCell(0, 2);
}

void TfrmSettings::btnOKClick()
{
    // "保存(&S)" by its key leaves the caption editor open: store what it holds.
    GridView1->CommitEditing();
    GridView2->CommitEditing();
    RunCommand([this] {
        const auto orDefault = [](const QString& text, const QString& fallback) {
            return text.isEmpty() ? fallback : text;
        };
        TBLL bll;
        bll.SaveConfig({{u"rawRC"_s, orDefault(Trimmed(GridView1, 7), u"50"_s)},
                        {u"eleRC"_s, orDefault(Trimmed(GridView2, 5), u"500"_s)},
                        {u"rawName"_s, Trimmed(GridView1, 0)},
                        {u"rawShowName"_s, Flag(chkRawShowName)},
                        {u"rawDemo"_s, Trimmed(GridView1, 1)},
                        {u"rawShowDemo"_s, Flag(chkRawShowDemo)},
                        {u"rawPrio"_s, Trimmed(GridView1, 2)},
                        {u"rawShowPrio"_s, Flag(chkRawPrio)},
                        {u"rawPrice"_s, Trimmed(GridView1, 3)},
                        {u"rawShowPrice"_s, Flag(chkRawPrice)},
                        {u"rawLength"_s, Trimmed(GridView1, 4)},
                        {u"rawWidth"_s, Trimmed(GridView1, 5)},
                        {u"rawCount"_s, Trimmed(GridView1, 6)},
                        {u"eleName"_s, Trimmed(GridView2, 0)},
                        {u"eleShowName"_s, Flag(chkEleShowName)},
                        {u"eleDemo"_s, Trimmed(GridView2, 1)},
                        {u"eleShowDemo"_s, Flag(chkEleShowDemo)},
                        {u"eleLength"_s, Trimmed(GridView2, 2)},
                        {u"eleWidth"_s, Trimmed(GridView2, 3)},
                        {u"eleCount"_s, Trimmed(GridView2, 4)},
                        {u"eleWL"_s, u"有纹路"_s},
                        {u"eleShowWL"_s, u"0"_s}});
        const QString priCut = optPrioCut->isChecked() ? u"2"_s : optPrioPrice->isChecked() ? u"3"_s : u"1"_s;
        const QString layOut = optLayHStrip->isChecked() ? u"2"_s : optLayVStrip->isChecked() ? u"3"_s : u"1"_s;
        const QString firCut = optFirCutH->isChecked() ? u"2"_s : optFirCutV->isChecked() ? u"3"_s : u"1"_s;
        const bool stored = bll.SavePrm({{u"EdgT"_s, OrFallback(txtedgeTop, u"0"_s)},
                                         {u"EdgB"_s, OrFallback(txtEdgB, u"0"_s)},
                                         {u"EdgL"_s, OrFallback(txtedgeLeft, u"0"_s)},
                                         {u"EdgR"_s, OrFallback(txtedgeRight, u"0"_s)},
                                         {u"Blade"_s, OrFallback(txtBladeWidth, u"0"_s)},
                                         {u"BinL"_s, OrFallback(txtBinL, u"100"_s)},
                                         {u"BinW"_s, OrFallback(txtBinW, u"100"_s)},
                                         {u"WenLu"_s, Flag(chkWenLu)},
                                         {u"OptTm"_s, QString::number(TrackBar1->value())},
                                         {u"PriCut"_s, priCut},
                                         {u"LayOut"_s, layOut},
                                         {u"FirCut"_s, firCut},
                                         {u"lingyin"_s, Flag(CheckBox1)},
                                         {u"wucha"_s, OrFallback(txtWch, u"0"_s)}});
        if (!stored)
            return;
        ShowInfo(u"设置成功！"_s);
        Saved = true;
        accept();
    });
}
