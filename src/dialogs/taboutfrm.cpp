#include "taboutfrm.h"

#include "appversion.h"
#include "artwork.h"
#include "datamodule.h"
#include "dialogkeys.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* link(const QString& href, const QString& text, QWidget* parent)
{
    auto* l = new QLabel(QStringLiteral("<a href=\"%1\" style=\"color:#1f5fa8;text-decoration:none\">%2</a>")
                             .arg(href.toHtmlEscaped(), text.toHtmlEscaped()),
                         parent);
    l->setTextFormat(Qt::RichText);
    l->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    l->setOpenExternalLinks(false);
    l->setCursor(Qt::PointingHandCursor);
    return l;
}

} // namespace

TAboutFrm::TAboutFrm(TDataModule1* dm, IDesktop* desktop, QWidget* parent)
    : QDialog(parent), dm_(dm), desktop_(desktop)
{
    Artwork::init();
    setObjectName(QStringLiteral("TAboutFrm"));
    setWindowTitle(QStringLiteral("关于"));
    setWindowIcon(Artwork::icon(QStringLiteral("about")));
    setFixedSize(607, 315);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setFixedSize(177, 225);
    picture->setPixmap(QPixmap(QStringLiteral(":/images/about.png")));
    picture->setScaledContents(true);
    picture->setFrameShape(QFrame::NoFrame);

    auto* title = new QLabel(QStringLiteral("Zelko家庭理财"), this);
    QFont tf = title->font();
    tf.setPointSizeF(tf.pointSizeF() * 1.6);
    tf.setBold(true);
    title->setFont(tf);
    title->setStyleSheet(QStringLiteral("color:#12355b"));

    Label7 = new QLabel(QStringLiteral("Version "), this);
    Label7->setObjectName(QStringLiteral("Label7"));
    Label7->setText(Label7->text() + kProgramVersion);
    Label7->setStyleSheet(QStringLiteral("color:#5f6b7a"));

    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    auto* story = new QVBoxLayout;
    story->setSpacing(6);
    for (const QString& s : {QStringLiteral("现象：每个月的钱都不知道怎么就给花光了(主要是挣的太少)"),
                             QStringLiteral("目标：赚钱买房娶老婆"),
                             QStringLiteral("步骤：通过本软件对日常费用进行记录，希望能先找到问题再解决问题^-^")}) {
        auto* l = new QLabel(s, this);
        l->setWordWrap(true);
        story->addWidget(l);
    }

    Label11 = new QLabel(QStringLiteral("你知道中国抗日战争胜利纪念日是哪一天吗？"), this);
    Label11->setObjectName(QStringLiteral("Label11"));
    Label11->setToolTip(QStringLiteral("请不要忘记9月3日是中国抗日战争胜利纪念日！"));
    Label11->setStyleSheet(QStringLiteral("color:#b03a2e"));

    const QString mail = TDataModule1::supportAddress();
    LabelMail = link(QStringLiteral("mailto:") + mail, mail, this);
    LabelMail->setObjectName(QStringLiteral("LabelMail"));
    LabelHome = link(homePage(), homePage(), this);
    LabelHome->setObjectName(QStringLiteral("LabelHome"));
    connect(LabelMail, &QLabel::linkActivated, this, &TAboutFrm::openLink);
    connect(LabelHome, &QLabel::linkActivated, this, &TAboutFrm::openLink);
    auto* contacts = new QGridLayout;
    contacts->setHorizontalSpacing(4);
    contacts->addWidget(new QLabel(QStringLiteral("邮箱："), this), 0, 0);
    contacts->addWidget(LabelMail, 0, 1);
    contacts->addWidget(new QLabel(QStringLiteral("主页："), this), 1, 0);
    contacts->addWidget(LabelHome, 1, 1);
    contacts->setColumnStretch(2, 1);

    BitBtn2 = new QPushButton(QStringLiteral("确定"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setMinimumWidth(80);
    BitBtn2->setAutoDefault(false);
    connect(BitBtn2, &QPushButton::clicked, this, &TAboutFrm::BitBtn2Click);

    auto* right = new QVBoxLayout;
    right->setSpacing(6);
    auto* head = new QHBoxLayout;
    head->addWidget(title);
    head->addSpacing(8);
    head->addWidget(Label7, 0, Qt::AlignBottom);
    head->addStretch();
    right->addLayout(head);
    right->addWidget(rule);
    right->addLayout(story);
    right->addSpacing(4);
    right->addWidget(Label11);
    right->addStretch();
    right->addLayout(contacts);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn2);
    right->addLayout(buttons);

    auto* main = new QHBoxLayout(this);
    main->setContentsMargins(20, 20, 20, 16);
    main->setSpacing(22);
    main->addWidget(picture, 0, Qt::AlignVCenter);
    main->addLayout(right, 1);

    DialogKeys::install(this, BitBtn2);
}

void TAboutFrm::openLink(const QString& link)
{
    if (desktop_)
        desktop_->openUrl(link);
}

void TAboutFrm::BitBtn2Click()
{
    dm_->clickSound();
    accept();
}
