#pragma once
// "利息计算方法": a read-only text of the rate rules (deposit.txt, loan.txt, tax.txt).

#include <QDialog>

class QPlainTextEdit;

class TProvisionDlg : public QDialog {
    Q_OBJECT
public:
    TProvisionDlg(const QString& text, QWidget* parent = nullptr);
    QPlainTextEdit* Memo1;
};
