#include "UnitCulcControler.h"

#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QToolButton* ClickableImage(const QIcon& icon, const QString& caption, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setIcon(icon);
    button->setIconSize(QSize(24, 24));
    button->setText(caption);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

TfrmCulcControler::TfrmCulcControler(QWidget* mainWindow, int generations) : QDialog(mainWindow)
{
    setWindowTitle(u"计算控制器"_s);
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(3);
    layout->addWidget(new QLabel(u"搜索计算    "_s, this));
    ProgressBar2 = new QProgressBar(this);
    ProgressBar2->setRange(0, 30);
    ProgressBar2->setValue(0);
    ProgressBar2->setTextVisible(false);
    layout->addWidget(ProgressBar2);
    layout->addWidget(new QLabel(u"总进度："_s, this));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setRange(0, std::max(1, generations));
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    layout->addWidget(ProgressBar1);

    auto* bottom = new QHBoxLayout;
    auto* box = new QFrame(this);
    box->setFrameShape(QFrame::StyledPanel);
    auto* boxLayout = new QGridLayout(box);
    boxLayout->setContentsMargins(4, 2, 4, 2);
    boxLayout->setVerticalSpacing(0);
    auto* clock = new QLabel(box);
    clock->setPixmap(style()->standardIcon(QStyle::SP_BrowserReload).pixmap(14, 14));
    Label4 = new QLabel(u"0.00"_s, box);
    auto* star = new QLabel(box);
    star->setPixmap(style()->standardIcon(QStyle::SP_DialogApplyButton).pixmap(14, 14));
    Label5 = new QLabel(u"00.00%"_s, box);
    Label5->setStyleSheet(u"color: red"_s);
    boxLayout->addWidget(clock, 0, 0);
    boxLayout->addWidget(Label4, 0, 1);
    boxLayout->addWidget(star, 1, 0);
    boxLayout->addWidget(Label5, 1, 1);
    bottom->addWidget(box);
    bottom->addStretch();
    auto* commands = new QVBoxLayout;
    commands->setSpacing(0);
    Image2 = ClickableImage(style()->standardIcon(QStyle::SP_DialogOkButton), u"接受当前方案   "_s, this);
    imgCancel = ClickableImage(style()->standardIcon(QStyle::SP_DialogCancelButton), u"取消本次计算"_s, this);
    commands->addWidget(Image2);
    commands->addWidget(imgCancel);
    bottom->addLayout(commands);
    layout->addLayout(bottom);

    connect(Image2, &QToolButton::clicked, this, &TfrmCulcControler::Image2Click);
    connect(imgCancel, &QToolButton::clicked, this, &TfrmCulcControler::imgCancelClick);

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TfrmCulcControler::Timer1Timer);
    Timer1->start();

    setFixedSize(sizeHint().expandedTo(QSize(297, 146)));
    // Centred on the desktop.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TfrmCulcControler::ReciveProcess2(int plans)
{
    ProgressBar2->setValue(plans);
}

void TfrmCulcControler::ReciveProcess(const QString& best)
{
    ProgressBar1->setValue(ProgressBar1->value() + 1);
    Label5->setText(best);
}

void TfrmCulcControler::ReciveMsg()
{
    Accepted = true;
}

void TfrmCulcControler::Timer1Timer()
{
    ++Seconds;
    Label4->setText(QString::number(Seconds / 60) + u':' + QString::number(Seconds % 60));
}

void TfrmCulcControler::Image2Click()
{
    // The dialog stays until the worker has stopped and delivered its plan.
    Accepted = true;
    emit StopRequested();
}

void TfrmCulcControler::imgCancelClick()
{
    // A cancel after an accept still cancels: nothing of this run is taken.
    Accepted = false;
    emit StopRequested();
    QDialog::reject();
}

void TfrmCulcControler::reject()
{
    imgCancelClick();
}
