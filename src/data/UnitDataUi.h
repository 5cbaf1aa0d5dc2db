#pragma once

// The shared routines that work on controls, and the message boxes the desktop
// program installs into the dialog seam.

#include "UnitData.h"

class QComboBox;
class QLineEdit;
class QWidget;

class TMessageBoxDialogs final : public TDialogs {
public:
    void Info(const QString& message) override;
    bool Ask(const QString& message) override;
    void Error(const QString& message) override;
    QString OpenFileName(const QString& filter) override;
    QString SaveFileName(const QString& filter, const QString& defaultSuffix) override;
};

// When the box holds only blanks: shows the message, puts the focus into the
// box and returns true.
bool IsEditEmpty(QLineEdit* edit, const QString& message);
// True when the trimmed text is a number; false for an empty box; otherwise
// empties the box, shows "数字非法！" and returns false.
bool IsEditNumber(QLineEdit* edit);
// The templates' names into names and their ids into ids, position by position.
void FillModelCombo(QComboBox* names, QComboBox* ids);
