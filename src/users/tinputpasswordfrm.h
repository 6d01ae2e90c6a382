#pragma once
// The small password prompt: asks for the password of a given user (the
// administrator, before user administration opens).

#include <QDialog>

class IMessageBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TDataModule1;

class TInputPassWordFrm : public QDialog {
    Q_OBJECT
public:
    TInputPassWordFrm(TDataModule1* dm, IMessageBox* msg, QWidget* parent = nullptr);

    // The UserID (as text) whose password is asked; set before showing.
    QString UserID;

    QLabel* Label1;
    QLineEdit* MaskEdit1;
    QPushButton* BitBtn1; // 确定
    QPushButton* BitBtn2; // 取消

protected:
    void showEvent(QShowEvent* e) override;

private:
    void BitBtn1Click();
    void BitBtn2Click();

    TDataModule1* dm_;
    IMessageBox* msg_;
};
