#pragma once
// The progress dialog of long operations (import, upgrade, compact and
// repair). The caller shows it without a modal loop, sets the maximum,
// steps it after each item and destroys it when done:
//
//     TProgressBarDlg dlg(dm, mainWindow);
//     dlg.setWindowTitle("正在导入数据...");
//     dlg.show();
//     dlg.setMaximum(items.size());
//     for (...) { ...; dlg.step(); }

#include <QDialog>

class QProgressBar;
class QPushButton;
class TDataModule1;

class TProgressBarDlg : public QDialog {
    Q_OBJECT
public:
    explicit TProgressBarDlg(TDataModule1* dm, QWidget* parent = nullptr);

    void setMaximum(int maximum);
    // Raises the position by one and paints the bar at once (the caller
    // keeps the thread busy, so nothing else would paint it).
    void step();
    int position() const;

    QProgressBar* ProgressBar1;
    QPushButton* CloseBitBtn;

public slots:
    void CloseBitBtnClick();

protected:
    void showEvent(QShowEvent* e) override;

private:
    TDataModule1* dm_;
};
