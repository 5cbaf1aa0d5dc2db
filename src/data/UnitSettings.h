#pragma once

// The settings dialog: the calculation parameters and the captions, visibility
// and row counts of the two input lists.

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QSlider;
class QTabWidget;
class TGridView;

class TfrmSettings final : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSettings(QWidget* parent = nullptr);

    bool Saved = false;       // the parameters were stored
    bool DispChanged = false; // a caption cell or a show box was touched

    // Stores both tables as the dialog shows them; closes it when the
    // parameters were stored. Errors go to the standard error box.
    void btnOKClick();

    QTabWidget* Pages;
    QRadioButton* optPrioUti;
    QRadioButton* optPrioCut;
    QRadioButton* optPrioPrice;
    QRadioButton* optFirCutReg;
    QRadioButton* optFirCutH;
    QRadioButton* optFirCutV;
    QRadioButton* optLayReg;
    QRadioButton* optLayHStrip;
    QRadioButton* optLayVStrip;
    QLineEdit* txtWch;
    QLineEdit* txtBinL;
    QLineEdit* txtBinW;
    QLineEdit* txtBladeWidth;
    QCheckBox* chkWenLu;
    QCheckBox* CheckBox1;
    QSlider* TrackBar1;
    QLineEdit* txtedgeTop;
    QLineEdit* txtEdgB;
    QLineEdit* txtedgeLeft;
    QLineEdit* txtedgeRight;
    TGridView* GridView1;
    TGridView* GridView2;
    QCheckBox* chkRawShowName;
    QCheckBox* chkRawShowDemo;
    QCheckBox* chkRawPrio;
    QCheckBox* chkRawPrice;
    QCheckBox* chkEleShowName;
    QCheckBox* chkEleShowDemo;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Fill();
};
