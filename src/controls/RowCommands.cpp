#include "RowCommands.h"

#include "UnitData.h"
#include "UnitFileOpt.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QSaveFile>

using namespace Qt::StringLiterals;

QMenu* CreateRowMenu(QWidget* owner, const TRowCommands& commands)
{
    auto* menu = new QMenu(owner);
    const auto add = [&](const QString& text, const std::function<void()>& command) {
        QAction* action = menu->addAction(text);
        action->setObjectName(text);
        QObject::connect(action, &QAction::triggered, owner, command);
    };
    add(u"粘贴数据"_s, commands.PasteData);
    menu->addSeparator();
    add(u"插入一行"_s, commands.InsertRow);
    add(u"上移一行"_s, commands.MoveRowUp);
    add(u"下移一行"_s, commands.MoveRowDown);
    menu->addSeparator();
    add(u"删除该行"_s, commands.DeleteRow);
    add(u"删除全部"_s, commands.ClearRows);
    menu->addSeparator();
    add(u"导出Excel"_s, commands.ExportList);
    return menu;
}

QList<QStringList> ClipboardCells(const QString& text)
{
    QList<QStringList> lines;
    qsizetype from = 0;
    for (qsizetype cr = text.indexOf(u'\r'); cr >= 0; cr = text.indexOf(u'\r', from)) {
        lines.append(text.mid(from, cr - from).split(u'\t'));
        from = cr + 2;
    }
    if (from < text.size())
        lines.append(text.mid(from).split(u'\t'));
    return lines;
}

QList<QStringList> ClipboardCells()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard ? ClipboardCells(clipboard->text()) : QList<QStringList>{};
}

QString AskExportFile(QWidget*, const QString& defaultSuffix, const QString& filter)
{
    // Through the dialog seam, like every modal box of the program.
    return Dialogs().SaveFileName(filter, defaultSuffix);
}

bool WriteGbkFile(const QString& path, const QString& text, QString* error)
{
    const QByteArray bytes = EncodeGbk(text);
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = u"无法保存文件 %1：%2"_s.arg(path, file.errorString());
    return false;
}
