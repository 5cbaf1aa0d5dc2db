// KAVOCut: the desktop program.

#include "UnitDataUi.h"
#include "UnitMain.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>

using namespace Qt::StringLiterals;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    app.setApplicationName(u"KAVOCut"_s);
    app.setApplicationDisplayName(u"《卡沃》系列软件"_s);
    app.setApplicationVersion(QStringLiteral(KAVO_VERSION));
    app.setWindowIcon(QIcon(u":/icons/kavocut.svg"_s));

    TMessageBoxDialogs dialogs;
    SetDialogs(&dialogs);
    TsysData data;
    TfrmMain frmMain;
    // Without a window manager to maximise it, the window takes the screen itself.
    frmMain.setGeometry(frmMain.screen()->availableGeometry());
    frmMain.showMaximized();
    frmMain.OpenCommandLine(app.arguments().mid(1));
    const int result = app.exec();
    SetDialogs(nullptr);
    return result;
}
