#pragma once
// The options dialog "选项": the backup reminder, the splash screen and the
// default ledger view, the week and quarter label positions of the charts.
// Each setting is stored as soon as its field has passed its check.

#include <QDialog>

class IMessageBox;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class TDataModule1;

class TOptionsFrm : public QDialog {
    Q_OBJECT
public:
    TOptionsFrm(TDataModule1* dm, IMessageBox* messages, QWidget* parent = nullptr);

    QTabWidget* PageControl1;
    QWidget* TabGeneral;
    QWidget* TabInOut;
    QCheckBox* CheckBoxBackup;
    QLineEdit* EditBackupDays;
    QCheckBox* CheckBoxSkipFlashBox;
    QLineEdit* EditLastDays;
    QLineEdit* EditLeastRec;
    QLineEdit* EditMostRec;
    QComboBox* ComboBoxWeekStat;
    QComboBox* ComboBoxSeasonStat;
    QPushButton* BitBtn1; // 确定
    QPushButton* BitBtn2; // 取消

public slots:
    void BitBtn1Click();
    void BitBtn2Click();

private:
    void load();
    // Reads a trimmed whole number above zero; otherwise shows the matching
    // message on the field's tab, focuses the field and returns false.
    bool checkNumber(QLineEdit* edit, QWidget* tab, const QString& wrong, const QString& notPositive, int* value);

    TDataModule1* dm_;
    IMessageBox* messages_;
};
