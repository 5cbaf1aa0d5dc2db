#include "FileType.h"

#include "UnitFileOpt.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

QString DataHome()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString ProgId(const QString& ext)
{
    return ext + u"_Auto_File"_s;
}

QString MimeType(const QString& ext)
{
    return u"application/x-kavo-"_s + ext.toLower();
}

void Write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        throw TFileError(u"无法登记文件类型：%1：%2"_s.arg(path, f.errorString()));
}

// An argument of a desktop entry's Exec line: quoted, with the characters the
// quoting reserves escaped, the backslashes once more for the entry's own
// string escapes, and "%" doubled so it is no field code.
QString Quoted(const QString& path)
{
    QString escaped = path;
    escaped.replace(u'\\', u"\\\\"_s).replace(u'"', u"\\\""_s).replace(u'$', u"\\$"_s).replace(u'`', u"\\`"_s);
    escaped.replace(u'\\', u"\\\\"_s).replace(u'%', u"%%"_s);
    return u'"' + escaped + u'"';
}

} // namespace

QString TFileType::DesktopEntryPath(const QString& ext)
{
    return DataHome() + u"/applications/kavo-"_s + ProgId(ext) + u".desktop"_s;
}

QString TFileType::MimePackagePath(const QString& ext)
{
    return DataHome() + u"/mime/packages/kavo-"_s + ext.toLower() + u".xml"_s;
}

bool TFileType::RegisterFileType(const QString& ext, const QString& programFolder)
{
    QString folder = programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder;
    folder = QDir(folder).absolutePath() + u'/';
    const QString entryPath = DesktopEntryPath(ext);
    const QString pathLine = u"X-KAVO-Path="_s + folder;

    // Already registered for this folder: nothing to write.
    QFile existing(entryPath);
    if (existing.open(QIODevice::ReadOnly)) {
        const QStringList lines = QString::fromUtf8(existing.readAll()).split(u'\n');
        if (lines.contains(pathLine) && QFileInfo::exists(MimePackagePath(ext)))
            return false;
    }

    const QString mime = MimeType(ext);
    Write(MimePackagePath(ext), (u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                                 "  <mime-type type=\""_s +
                                 mime + u"\">\n    <comment>卡沃文件</comment>\n    <glob pattern=\"*."_s + ext +
                                 u"\" case-sensitive=\"false\"/>\n  </mime-type>\n</mime-info>\n"_s)
                                    .toUtf8());
    const QString icon = QFileInfo::exists(folder + u"kavocut.svg"_s) ? folder + u"kavocut.svg"_s : u"kavocut"_s;
    Write(entryPath, (u"[Desktop Entry]\n"
                      "Type=Application\n"
                      "Name=卡沃文件\n"
                      "Exec="_s +
                      Quoted(folder + u"KAVOCut"_s) + u" %f\n"_s + u"Icon="_s + icon + u"\n"_s + u"MimeType="_s + mime +
                      u";\n"_s + u"NoDisplay=true\n"_s + pathLine + u"\n"_s)
                         .toUtf8());

    // Tell the desktop, without waiting for it; the tools may be missing.
    const QString mimeTool = QStandardPaths::findExecutable(u"update-mime-database"_s);
    if (!mimeTool.isEmpty())
        QProcess::startDetached(mimeTool, {DataHome() + u"/mime"_s});
    const QString desktopTool = QStandardPaths::findExecutable(u"update-desktop-database"_s);
    if (!desktopTool.isEmpty())
        QProcess::startDetached(desktopTool, {DataHome() + u"/applications"_s});
    return true;
}
