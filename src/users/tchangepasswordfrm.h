#pragma once
// "设置密码": sets the password of the user selected in user administration.

#include <QDialog>

class IMessageBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TDataModule1;

class TChangePassWordFrm : public QDialog {
    Q_OBJECT
public:
    TChangePassWordFrm(TDataModule1* dm, IMessageBox* msg, const QString& userName, QWidget* parent = nullptr);

    QLabel* Label1;
    QLabel* Label2;
    QLineEdit* Edit1; // 新密码
    QLineEdit* Edit2; // 确认新密码
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void BitBtn1Click();
    void BitBtn2Click();

    TDataModule1* dm_;
    IMessageBox* msg_;
    QString userName_;
};
