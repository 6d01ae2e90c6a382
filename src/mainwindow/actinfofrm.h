#pragma once
// The account dialog: creates an account with its bank details, edits both,
// or shows them read-only.

#include <QDialog>

class QCheckBox;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QPushButton;
class IDesktop;
class TDataModule1;

class TActInfoFrm : public QDialog {
    Q_OBJECT
public:
    enum Mode { Add, Edit, View };
    // Add mode: `code` is the class code ("1"); edit and view: the account's code.
    TActInfoFrm(TDataModule1* dm, IDesktop* desktop, Mode mode, const QString& code, QWidget* parent = nullptr);

    Mode mode() const { return mode_; }
    QString newCode() const { return newCode_; }

    QLineEdit* TypeNameEdit;
    QCheckBox* FlagCheckBox;
    QGroupBox* GroupBox1;
    QLineEdit* ActNameEdit;
    QLineEdit* RateEdit;
    QLineEdit* CardNoEdit;
    QLineEdit* ActNoEdit;
    QLineEdit* TermEdit;
    QLineEdit* MiscEdit;
    QDateEdit* OpenDatePicker1;
    QGroupBox* GroupBox2;
    QLineEdit* BankAddressEdit;
    QLineEdit* BankPhoneEdit;
    QLineEdit* BankURLEdit;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

public slots:
    void BitBtn1Click();
    void BitBtn2Click();
    void BankURLEditClick();

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void build();
    void load();
    TDataModule1* dm_;
    IDesktop* desktop_;
    Mode mode_;
    QString code_;
    QString newCode_;
};
