#include "festivals.h"
#include "lunar.h"

#include <QStringList>

void FestivalList::add(const QString& code, const QString& name, quint32 color)
{
    for (Festival& f : rows_)
        if (f.code == code) {
            f.name = name;
            f.color = color;
            return;
        }
    rows_.append({code, name, color});
}

const Festival* FestivalList::find(const QString& code) const
{
    for (const Festival& f : rows_)
        if (f.code == code)
            return &f;
    return nullptr;
}

void FestivalLists::clear()
{
    solar.clear();
    lunar.clear();
    weekday.clear();
}

namespace {
QString code4(int a, int b) { return QStringLiteral("%1%2").arg(a, 2, 10, QLatin1Char('0')).arg(b, 2, 10, QLatin1Char('0')); }
} // namespace

QString FestivalLists::solarCode(const QDate& d) { return d.isValid() ? code4(d.month(), d.day()) : QString(); }

QString FestivalLists::lunarCode(const QDate& d)
{
    const Lunar::LunarDate l = Lunar::fromSolar(d);
    if (!l.isValid() || l.leap)
        return QString();
    return code4(l.month, l.day);
}

QString FestivalLists::lastLunarDayCode(const QDate& d)
{
    if (!d.isValid())
        return QString();
    const Lunar::LunarDate next = Lunar::fromSolar(d.addDays(1));
    if (!next.isValid() || next.leap || next.day != 1)
        return QString();
    return code4(next.month, 0);
}

QStringList FestivalLists::weekdayCodes(const QDate& d)
{
    QStringList codes;
    if (!d.isValid())
        return codes;
    const int weekday = d.dayOfWeek() % 7; // 0 = Sunday
    const int week = (d.day() - 1) / 7 + 1;
    if (week <= 4)
        codes << QStringLiteral("%1%2%3").arg(d.month(), 2, 10, QLatin1Char('0')).arg(week).arg(weekday);
    if (d.day() + 7 > d.daysInMonth())
        codes << QStringLiteral("%1%2%3").arg(d.month(), 2, 10, QLatin1Char('0')).arg(5).arg(weekday);
    return codes;
}

QList<Festival> FestivalLists::on(const QDate& d) const
{
    QList<Festival> r;
    for (const QString& c : {lunarCode(d), lastLunarDayCode(d)})
        if (!c.isEmpty())
            if (const Festival* f = lunar.find(c))
                r.append(*f);
    if (const Festival* f = solar.find(solarCode(d)))
        r.append(*f);
    for (const QString& c : weekdayCodes(d))
        if (const Festival* f = weekday.find(c))
            r.append(*f);
    return r;
}

namespace Festivals {

QString shortName(const QString& name)
{
    const int space = name.indexOf(QLatin1Char(' '));
    return space < 0 ? name : name.left(space);
}

void fillDefault(FestivalLists& lists)
{
    lists.clear();
    struct Row {
        const char* code;
        const char* name;
    };
    static const Row solar[] = {
        {"0101", "新年元旦"},
        {"0108", "周恩来逝世纪念日"},
        {"0202", "世界湿地日"},
        {"0207", "国际声援南非日"},
        {"0210", "国际气象节"},
        {"0212", "国际足球比赛日"},
        {"0214", "西方情人节"},
        {"0301", "国际海豹日"},
        {"0303", "全国爱耳日"},
        {"0305", "周恩来诞辰纪念日"},
        {"0308", "国际妇女节"},
        {"0312", "植树节 孙中山逝世纪念日"},
        {"0314", "国际警察日"},
        {"0315", "国际消费者权益日"},
        {"0317", "中国国医节 国际航海日"},
        {"0321", "世界睡眠日 世界森林日 消除种族歧视国际日 世界儿歌日"},
        {"0322", "世界水日"},
        {"0323", "世界气象日"},
        {"0324", "世界防治结核病日"},
        {"0401", "愚人节 全国爱国卫生运动月(四月) 税收宣传月(四月)"},
        {"0407", "世界卫生日"},
        {"0422", "世界地球日"},
        {"0423", "世界读书日 世界图书和版权日"},
        {"0424", "亚非新闻工作者日"},
        {"0426", "世界知识产权日"},
        {"0430", "全国交通安全反思日"},
        {"0501", "国际劳动节"},
        {"0503", "太阳日"},
        {"0504", "中国五四青年节"},
        {"0505", "碘缺乏病防治日"},
        {"0508", "世界红十字日"},
        {"0512", "国际护士节"},
        {"0515", "国际家庭日"},
        {"0517", "世界电信日"},
        {"0518", "国际博物馆日"},
        {"0520", "全国学生营养日"},
        {"0522", "国际生物多样性日"},
        {"0530", "五卅纪念日"},
        {"0531", "世界无烟日"},
        {"0601", "国际儿童节 国际牛奶日"},
        {"0605", "世界环境日"},
        {"0606", "全国爱眼日"},
        {"0614", "世界献血日"},
        {"0617", "防治荒漠化和干旱日"},
        {"0623", "国际奥林匹克日"},
        {"0625", "全国土地日"},
        {"0626", "国际禁毒日"},
        {"0701", "香港回归纪念 中国共产党建党日"},
        {"0702", "国际体育记者日"},
        {"0707", "中国人民抗日战争纪念日 七七事变"},
        {"0711", "世界人口日"},
        {"0730", "非洲妇女日"},
        {"0801", "八一建军节"},
        {"0808", "中国男子节(爸爸节)"},
        {"0815", "日本正式宣布无条件投降日"},
        {"0822", "邓小平诞辰纪念日"},
        {"0903", "抗日战争胜利纪念日"},
        {"0908", "国际扫盲日 世界新闻记者日"},
        {"0909", "毛泽东逝世纪念日"},
        {"0910", "教师节"},
        {"0914", "世界清洁地球日"},
        {"0916", "国际臭氧层保护日"},
        {"0917", "甲午海战(1894年)"},
        {"0918", "国耻日 九·一八事变纪念日"},
        {"0920", "国际爱牙日"},
        {"0921", "国际和平日"},
        {"0922", "欧洲无车日"},
        {"0927", "世界旅游日"},
        {"0928", "孔子诞辰纪念日"},
        {"1001", "国庆节 国际音乐日 国际老人节"},
        {"1002", "国际和平与民主自由斗争日"},
        {"1004", "世界动物日"},
        {"1008", "全国高血压日"},
        {"1009", "世界邮政日 万国邮联日"},
        {"1010", "辛亥革命纪念日 世界精神卫生日"},
        {"1012", "世界视觉日"},
        {"1013", "世界保健日 国际教师节"},
        {"1014", "世界标准日"},
        {"1015", "国际盲人节(白手杖节)"},
        {"1016", "世界粮食日"},
        {"1017", "世界消除贫困日"},
        {"1022", "世界传统医药日"},
        {"1024", "联合国日 世界发展信息日"},
        {"1031", "世界勤俭日"},
        {"1101", "万圣节"},
        {"1107", "十月社会主义革命纪念日"},
        {"1108", "中国记者日"},
        {"1109", "全国消防安全宣传教育日"},
        {"1110", "世界青年节"},
        {"1111", "光棍节 国际科学与和平周(本日所属的一周)"},
        {"1112", "孙中山诞辰纪念日"},
        {"1114", "世界糖尿病日"},
        {"1116", "国际宽容日"},
        {"1117", "国际大学生节 世界学生节"},
        {"1120", "国际儿童日"},
        {"1121", "世界问候日 世界电视日"},
        {"1129", "国际声援巴勒斯坦人民国际日"},
        {"1201", "世界艾滋病日"},
        {"1203", "世界残疾人日"},
        {"1205", "国际经济和社会发展志愿人员日"},
        {"1204", "中国法制宣传日"},
        {"1209", "一二.九运动纪念日 世界足球日"},
        {"1210", "世界人权日"},
        {"1212", "西安事变纪念日"},
        {"1213", "南京大屠杀(1937年)纪念日！紧记血泪史！"},
        {"1220", "澳门回归纪念日"},
        {"1221", "国际篮球日"},
        {"1224", "平安夜"},
        {"1225", "圣诞节"},
        {"1226", "毛泽东诞辰纪念日"},
    };
    static const Row lunar[] = {
        {"0101", "春节"},         {"0115", "元宵节 中国情人节"}, {"0202", "龙抬头节"},
        {"0323", "妈祖生辰 (天上圣母诞辰)"},                     {"0505", "端午节"},
        {"0707", "七夕中国情人节"}, {"0715", "中元节"},          {"0815", "中秋节"},
        {"0909", "重阳节"},       {"1208", "腊八节"},            {"1223", "灶君(祭灶)节"},
        {"1224", "小年"},         {"0100", "除夕"},
    };
    static const Row weekday[] = {
        {"0110", "黑人日"},
        {"0131", "马丁·路德·金纪念日"},
        {"0150", "世界麻风日"},
        {"0351", "全国中小学生安全教育日"},
        {"0520", "母亲节"},
        {"0530", "全国助残日"},
        {"0630", "父亲节"},
        {"0911", "劳动节"},
        {"0940", "国际聋人节"},
        {"0950", "世界海事日"},
        {"1011", "世界建筑日 世界人居日(世界住房日)"},
        {"1023", "国际减轻自然灾害日(减灾日)"},
        {"1144", "感恩节"},
    };
    for (const Row& r : solar)
        lists.solar.add(QString::fromLatin1(r.code), QString::fromUtf8(r.name), kRed);
    for (const Row& r : lunar)
        lists.lunar.add(QString::fromLatin1(r.code), QString::fromUtf8(r.name), kMaroon);
    for (const Row& r : weekday)
        lists.weekday.add(QString::fromLatin1(r.code), QString::fromUtf8(r.name), kGreen);
}

} // namespace Festivals
