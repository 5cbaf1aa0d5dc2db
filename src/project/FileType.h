#pragma once

// The desktop's file-type association for project files: a shared-mime-info
// type for "*.FBL" and a desktop entry that opens them with the program.

#include <QString>

class TFileType final {
public:
    // Registers ext (without its dot) under $XDG_DATA_HOME for the program in
    // folder (the executable's folder when empty). Writes only when the
    // association is missing or names another folder; true when it wrote.
    // Throws TFileError when a file cannot be written.
    static bool RegisterFileType(const QString& ext, const QString& folder = QString());
    static QString DesktopEntryPath(const QString& ext);
    static QString MimePackagePath(const QString& ext);
};
