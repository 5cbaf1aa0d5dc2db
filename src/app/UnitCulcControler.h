#pragma once

// The progress dialog of a calculation: progress within the generation and
// over all generations, the time taken, the best result so far, and the two
// commands that accept the best plan so far or cancel the run.

#include <QDialog>

class QLabel;
class QProgressBar;
class QTimer;
class QToolButton;

class TfrmCulcControler final : public QDialog {
    Q_OBJECT
public:
    TfrmCulcControler(QWidget* mainWindow, int generations);

    int Seconds = 0;
    bool Accepted = false; // the run's plan is to be taken

    // The worker's reports; each only sets a bar or a label.
    void ReciveProcess2(int plans);
    void ReciveProcess(const QString& best);
    // The run has ended: its plan is to be judged.
    void ReciveMsg();
    void Timer1Timer();
    void Image2Click();    // 接受当前方案
    void imgCancelClick(); // 取消本次计算

    QProgressBar* ProgressBar1;
    QProgressBar* ProgressBar2;
    QLabel* Label4;
    QLabel* Label5;
    QToolButton* Image2;
    QToolButton* imgCancel;
    QTimer* Timer1;

signals:
    // The stand-in for the stop message to the main window.
    void StopRequested();

protected:
    // Escape, or the window closed another way, cancels as the cancel image does.
    void reject() override;
};
