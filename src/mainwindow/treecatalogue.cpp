#include "treecatalogue.h"

#include "catalogue.h"
#include "dates.h"

namespace TreeCatalogue {

namespace {

TypeRow rowAt(const QueryResult& r, int i)
{
    TypeRow t;
    t.typeId = r.text(i, QStringLiteral("TypeID"));
    t.typeName = r.text(i, QStringLiteral("TypeName"));
    t.typeFlag = r.text(i, QStringLiteral("TypeFlag"));
    t.useFlag = r.text(i, QStringLiteral("UseFlag"));
    t.fundFlag = r.boolean(i, QStringLiteral("FundFlag"));
    t.balance = r.money(i, QStringLiteral("Balance"));
    return t;
}

} // namespace

QVector<TypeRow> listInUse(TDataModule1& dm)
{
    QVector<TypeRow> rows;
    if (!Catalogue(&dm).list())
        return rows;
    const QueryResult r = dm.ADOQuery1();
    for (int i = 0; i < r.size(); ++i)
        rows << rowAt(r, i);
    return rows;
}

bool readType(TDataModule1& dm, const QString& typeId, TypeRow* out)
{
    if (!dm.query(QStringLiteral("SELECT * FROM AC_Type WHERE UserID = ? AND TypeID = ?"), {dm.currentUserId(), typeId})
        || dm.ADOQuery1().isEmpty())
        return false;
    *out = rowAt(dm.ADOQuery1(), 0);
    return true;
}

QString createType(TDataModule1& dm, const QString& name, const QString& cls, bool flag)
{
    return Catalogue(&dm).create(name, cls, flag);
}

bool renameType(TDataModule1& dm, const QString& typeId, const QString& name, bool flag)
{
    return Catalogue(&dm).rename(typeId, name, flag);
}

bool retireType(TDataModule1& dm, const QString& typeId) { return Catalogue(&dm).retire(typeId); }

bool rekey(TDataModule1& dm, const QString& cls, const QString& from, const QString& to)
{
    const int user = dm.currentUserId();
    QStringList statements;
    if (cls == QLatin1String("1")) {
        statements << QStringLiteral("UPDATE AC_List SET TypeID = ? WHERE UserID = ? AND TypeID = ?")
                   << QStringLiteral("UPDATE AC_List SET RelateTypeID = ? WHERE UserID = ? AND RelateTypeID = ?")
                   << QStringLiteral("UPDATE AC_Info SET TypeID = ? WHERE UserID = ? AND TypeID = ?");
    } else if (cls == QLatin1String("2") || cls == QLatin1String("3")) {
        statements << QStringLiteral("UPDATE AC_List SET TypeID2 = ? WHERE UserID = ? AND TypeID2 = ?");
    } else if (cls == QLatin1String("5")) {
        statements << QStringLiteral("UPDATE AC_Address SET TypeID = ? WHERE UserID = ? AND TypeID = ?");
    } else if (cls == QLatin1String("6")) {
        statements << QStringLiteral("UPDATE AC_Memo SET TypeID = ? WHERE UserID = ? AND TypeID = ?");
    }
    statements << QStringLiteral("UPDATE AC_Type SET TypeID = ? WHERE UserID = ? AND TypeID = ?");
    bool ok = true;
    for (const QString& sql : statements) {
        if (!dm.exec(sql, {to, user, from})) {
            ok = false;
            break; // the unit of work is rolled back anyway
        }
    }
    return ok;
}

QString codeAfterMove(const QString& code, int a, int b)
{
    const int n = code.toInt();
    if (n == a)
        return QString::number(b < a ? b : b - 1);
    if (b < a && n >= b && n <= a - 1)
        return QString::number(n + 1);
    if (b > a && n >= a + 1 && n <= b - 1)
        return QString::number(n - 1);
    return code;
}

bool moveMember(TDataModule1& dm, const QString& source, const QString& target, QString* newCode)
{
    const int a = source.toInt();
    const int b = target.toInt();
    const QString cls = source.left(1);
    if (a == b || cls != target.left(1))
        return false;
    const QString sNew = codeAfterMove(source, a, b);
    TDataModule1::Work work(dm);
    bool ok = rekey(dm, cls, source, QStringLiteral("-1"));
    if (b < a) {
        for (int n = a - 1; ok && n >= b; --n)
            ok = rekey(dm, cls, QString::number(n), QString::number(n + 1));
    } else {
        for (int n = a + 1; ok && n <= b - 1; ++n)
            ok = rekey(dm, cls, QString::number(n), QString::number(n - 1));
    }
    ok = ok && rekey(dm, cls, QStringLiteral("-1"), sNew);
    if (!ok || !work.commit())
        return false;
    if (newCode)
        *newCode = sNew;
    return true;
}

bool readDetails(TDataModule1& dm, const QString& typeId, AccountDetails* out)
{
    *out = AccountDetails();
    if (!dm.query(QStringLiteral("SELECT * FROM AC_Info WHERE UserID = ? AND TypeID = ?"), {dm.currentUserId(), typeId})
        || dm.ADOQuery1().isEmpty())
        return false;
    const QueryResult& r = dm.ADOQuery1();
    out->actName = r.text(0, QStringLiteral("ActName"));
    out->cardNo = r.text(0, QStringLiteral("CardNo"));
    out->actNo = r.text(0, QStringLiteral("ActNo"));
    out->rate = r.text(0, QStringLiteral("Rate"));
    out->term = r.text(0, QStringLiteral("Term"));
    out->misc = r.text(0, QStringLiteral("Misc"));
    out->address = r.text(0, QStringLiteral("Address"));
    out->phone = r.text(0, QStringLiteral("Phone"));
    out->url = r.text(0, QStringLiteral("URL"));
    const QDate d = r.date(0, QStringLiteral("OpenDate"));
    out->openDate = d.isValid() ? d : QDate::currentDate();
    return true;
}

bool insertDetails(TDataModule1& dm, const QString& typeId, const AccountDetails& d)
{
    return dm.exec(QStringLiteral("INSERT INTO AC_Info VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                   {typeId, d.actName, d.cardNo, d.actNo, d.rate, Dates::toIso(d.openDate), d.term, d.misc, d.address,
                    d.phone, d.url, dm.currentUserId()});
}

bool saveDetails(TDataModule1& dm, const QString& typeId, const AccountDetails& d)
{
    if (!dm.query(QStringLiteral("SELECT TypeID FROM AC_Info WHERE UserID = ? AND TypeID = ?"), {dm.currentUserId(), typeId}))
        return false;
    if (dm.ADOQuery1().isEmpty())
        return insertDetails(dm, typeId, d);
    return dm.exec(QStringLiteral("UPDATE AC_Info SET ActName = ?, CardNo = ?, ActNo = ?, Rate = ?, OpenDate = ?, Term = ?, "
                                  "Misc = ?, Address = ?, Phone = ?, URL = ? WHERE UserID = ? AND TypeID = ?"),
                   {d.actName, d.cardNo, d.actNo, d.rate, Dates::toIso(d.openDate), d.term, d.misc, d.address, d.phone,
                    d.url, dm.currentUserId(), typeId});
}

bool deleteDetails(TDataModule1& dm, const QString& typeId)
{
    return dm.exec(QStringLiteral("DELETE FROM AC_Info WHERE UserID = ? AND TypeID = ?"), {dm.currentUserId(), typeId});
}

} // namespace TreeCatalogue
