#include "FileType.h"
#include "UnitFileOpt.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QString Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

TEST(FileType, IsRegisteredOncePerProgramFolder)
{
    QTemporaryDir xdg;
    qputenv("XDG_DATA_HOME", xdg.path().toUtf8());
    const QString entry = TFileType::DesktopEntryPath(u"FBL"_s);
    ASSERT_TRUE(entry.startsWith(xdg.path()));

    EXPECT_TRUE(TFileType::RegisterFileType(u"FBL"_s, u"/opt/kavo one"_s));
    const QString text = Read(entry);
    EXPECT_TRUE(text.contains(u"Exec=\"/opt/kavo one/KAVOCut\" %f"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"MimeType=application/x-kavo-fbl;"_s));
    EXPECT_TRUE(Read(TFileType::MimePackagePath(u"FBL"_s)).contains(u"pattern=\"*.FBL\""_s));

    // Started again from the same folder: nothing is written.
    EXPECT_FALSE(TFileType::RegisterFileType(u"FBL"_s, u"/opt/kavo one/"_s));
    // From another folder: written anew.
    EXPECT_TRUE(TFileType::RegisterFileType(u"FBL"_s, u"/home/w/kavo"_s));
    EXPECT_TRUE(Read(entry).contains(u"Exec=\"/home/w/kavo/KAVOCut\" %f"_s));
    // Characters the Exec line reserves are escaped.
    EXPECT_TRUE(TFileType::RegisterFileType(u"FBL"_s, u"/opt/100% \"glass\""_s));
    EXPECT_TRUE(Read(entry).contains(u"Exec=\"/opt/100%% \\\\\"glass\\\\\"/KAVOCut\" %f"_s))
        << Read(entry).toStdString();
    qunsetenv("XDG_DATA_HOME");
}

TEST(FileType, ARefusedWriteIsAnError)
{
    QTemporaryDir xdg;
    qputenv("XDG_DATA_HOME", xdg.path().toUtf8());
    QFile blocker(xdg.filePath(u"applications"_s)); // a file where the folder must be
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_THROW(TFileType::RegisterFileType(u"FBL"_s, u"/opt/kavo"_s), TFileError);
    qunsetenv("XDG_DATA_HOME");
}
