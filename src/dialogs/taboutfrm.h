#pragma once
// The about box "关于": picture, the program's story, version, contacts.

#include <QDialog>

class IDesktop;
class QLabel;
class QPushButton;
class TDataModule1;

class TAboutFrm : public QDialog {
    Q_OBJECT
public:
    TAboutFrm(TDataModule1* dm, IDesktop* desktop, QWidget* parent = nullptr);

    static QString homePage() { return QStringLiteral("https://www.zelko-soft.cn"); }

    QLabel* Label7;  // "Version 2.8"
    QLabel* Label11; // the question with its hint
    QLabel* LabelMail;
    QLabel* LabelHome;
    QPushButton* BitBtn2;

public slots:
    void BitBtn2Click();

private:
    void openLink(const QString& link);
    TDataModule1* dm_;
    IDesktop* desktop_;
};
