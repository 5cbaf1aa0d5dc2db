#include "UnitDataUi.h"

#include "NumText.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>

using namespace Qt::StringLiterals;

namespace {

const QString Caption = u"信息提示"_s;

QWidget* Parent()
{
    return QApplication::activeWindow();
}

} // namespace

void TMessageBoxDialogs::Info(const QString& message)
{
    QMessageBox::information(Parent(), Caption, message, QMessageBox::Ok);
}

bool TMessageBoxDialogs::Ask(const QString& message)
{
    QMessageBox box(QMessageBox::Information, Caption, message, QMessageBox::Ok | QMessageBox::Cancel, Parent());
    return box.exec() == QMessageBox::Ok;
}

void TMessageBoxDialogs::Error(const QString& message)
{
    QMessageBox::critical(Parent(), QApplication::applicationDisplayName(), message, QMessageBox::Ok);
}

QString TMessageBoxDialogs::OpenFileName(const QString& filter)
{
    QFileDialog dialog(Parent());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(filter);
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().front()
                                                                                    : QString();
}

QString TMessageBoxDialogs::SaveFileName(const QString& filter, const QString& defaultSuffix)
{
    QFileDialog dialog(Parent());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(defaultSuffix);
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().front()
                                                                                    : QString();
}

bool IsEditEmpty(QLineEdit* edit, const QString& message)
{
    if (!edit->text().trimmed().isEmpty())
        return false;
    ShowInfo(message);
    edit->setFocus();
    return true;
}

bool IsEditNumber(QLineEdit* edit)
{
    const QString text = edit->text().trimmed();
    if (text.isEmpty())
        return false;
    if (TextToFloat(text.toStdString()))
        return true;
    edit->clear();
    ShowInfo(u"数字非法！"_s);
    return false;
}

void FillModelCombo(QComboBox* names, QComboBox* ids)
{
    const auto q = OpenQuery(u"SELECT mdID,mdName FROM labmdal"_s);
    names->clear();
    ids->clear();
    while (q->isActive() && q->next()) {
        names->addItem(FieldText(*q, "mdName"));
        ids->addItem(FieldText(*q, "mdID"));
    }
}
